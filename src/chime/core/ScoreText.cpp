#include "chime/core/ScoreText.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace orvane {

const std::array<ScoreTextRule, 13>& ScoreTextRules() {
    static const std::array<ScoreTextRule, 13> kRules{{
        {u"_", u"\r\n"},
        {u"&", u"\r\n"},
        {u"@", u"\r\n"},
        {u"$", u"\r\n"},
        {u"^%", u","},
        {u"~", u","},
        {u"*]", u","},
        {u")", u","},
        {u"{", u"s"},
        {u"[}", u"m"},
        {u"!", u"b"},
        {u"<", u""},
        {u">", u""},
    }};
    return kRules;
}

namespace {

// A text written through a pointer, growing when needed.
class TextBuilder {
  public:
    explicit TextBuilder(qsizetype capacity)
        : text_(std::max<qsizetype>(capacity, 16), Qt::Uninitialized), data_(text_.data()) {}

    void Append(const QChar* chars, qsizetype count) {
        Reserve(count);
        std::copy_n(chars, count, data_ + size_);
        size_ += count;
    }
    void Append(QStringView chars) { Append(chars.data(), chars.size()); }
    void Append(QChar c) {
        Reserve(1);
        data_[size_++] = c;
    }
    bool EndsWith(QStringView tail) const {
        return size_ >= tail.size() &&
               QStringView(data_ + size_ - tail.size(), tail.size()) == tail;
    }
    void Chop(qsizetype count) { size_ -= count; }
    QString Take() {
        text_.resize(size_);
        return std::move(text_);
    }

  private:
    void Reserve(qsizetype extra) {
        if (size_ + extra > text_.size()) {
            text_.resize(std::max(text_.size() * 2, size_ + extra));
            data_ = text_.data();
        }
    }

    QString text_;
    QChar* data_;
    qsizetype size_ = 0;
};

// The rules as a chain of stages that the text streams through, one character at a time, each
// stage passing its output to the next. A stage holds at most the first character of a
// two-character pattern. This gives the result of the repeated search of every rule because a
// streamable rule's replacement shares no character with its pattern, so no replacement can
// form an occurrence of its own pattern with the text around it (a deletion could join its
// neighbours, hence only one-character patterns may be deleted).
template <class Out>
class RulePipeline {
  public:
    static bool Streams(const ScoreTextRule& rule) {
        const QStringView p = rule.pattern;
        if (p.isEmpty() || p.size() > 2 || (p.size() == 2 && rule.replacement.isEmpty())) {
            return false;
        }
        for (QChar c : p) {
            if (c.unicode() >= 128 || rule.replacement.contains(c)) {
                return false;
            }
        }
        return true;
    }

    RulePipeline(const std::array<ScoreTextRule, 13>& rules, Out& out) : out_(out) {
        for (size_t k = 0; k < rules.size(); ++k) {
            const ScoreTextRule& rule = rules[k];
            const QChar second = rule.pattern.size() == 2 ? rule.pattern[1] : QChar();
            stages_[k] = {rule.pattern[0], second, rule.replacement, rule.pattern.size() == 2,
                          false};
            starts_[rule.pattern[0].unicode()] = true;
        }
    }

    // True when c would pass every stage unchanged while no stage holds a character.
    bool Plain(QChar c) const { return c.unicode() >= 128 || !starts_[c.unicode()]; }
    bool Idle() const { return holding_ == 0; }

    void Feed(QChar c) { Feed(0, c); }
    void Feed(QStringView text) {
        for (QChar c : text) {
            Feed(0, c);
        }
    }

    // Flushes the held characters at the end of the text.
    void Finish() {
        for (size_t k = 0; k < stages_.size(); ++k) {
            if (stages_[k].holding) {
                stages_[k].holding = false;
                --holding_;
                Feed(k + 1, stages_[k].first);
            }
        }
    }

  private:
    struct Stage {
        QChar first;
        QChar second;
        QStringView replacement;
        bool twoCharacters;
        bool holding;
    };

    void Feed(size_t k, QChar c) {
        if (holding_ == 0 && Plain(c)) {
            out_.Append(c);
            return;
        }
        for (; k < stages_.size(); ++k) {
            Stage& stage = stages_[k];
            if (!stage.twoCharacters) {
                if (c == stage.first) {
                    Replace(k);
                    return;
                }
                continue;
            }
            if (stage.holding) {
                stage.holding = false;
                --holding_;
                if (c == stage.second) {
                    Replace(k);
                    return;
                }
                Feed(k + 1, stage.first);
            }
            if (c == stage.first) {
                stage.holding = true;
                ++holding_;
                return;
            }
        }
        out_.Append(c);
    }

    void Replace(size_t k) {
        for (QChar r : stages_[k].replacement) {
            Feed(k + 1, r);
        }
    }

    Out& out_;
    std::array<Stage, 13> stages_{};
    std::array<bool, 128> starts_{};  // the first characters of the patterns
    int holding_ = 0;
};

bool IsBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// The code of a character of a text being normalised: a QChar, or a byte below 128.
constexpr char16_t Code(QChar c) {
    return c.unicode();
}
constexpr char16_t Code(unsigned char c) {
    return c;
}

// Receives the normalised text and hands out its lines, split as SplitLines does: each CR and
// each LF that does not follow a CR ends a line; characters after the last break form a last
// line.
class LineSink {
  public:
    explicit LineSink(const ScoreLineVisitor& visit) : visit_(visit) {}

    void Append(QChar c) {
        const char16_t u = c.unicode();
        if (u == u'\r') {
            EndLine();
            afterCr_ = true;
            return;
        }
        if (u == u'\n') {
            if (!afterCr_) {
                EndLine();
            }
            afterCr_ = false;
            return;
        }
        afterCr_ = false;
        line_.push_back(c);
    }
    template <class Char>
    void Append(const Char* chars, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            const char16_t u = Code(chars[i]);
            if (u == u'\r' || u == u'\n' || afterCr_) {
                Append(QChar(u));
            } else {
                line_.push_back(QChar(u));
            }
        }
    }
    void Finish() {
        if (!line_.empty()) {
            EndLine();
        }
    }

  private:
    void EndLine() {
        static const QChar kNothing;
        visit_(line_.empty() ? &kNothing : line_.data(), qsizetype(line_.size()));
        line_.clear();
    }

    const ScoreLineVisitor& visit_;
    std::vector<QChar> line_;
    bool afterCr_ = false;
};

// The rules applied to the characters of data (QChar, or bytes below 128 read as Latin-1), as
// one pass, into out; with joinLines, the text is first made its lines each followed by CR LF
// (JoinLines).
template <class Char, class Out>
void StreamRules(const Char* data, qsizetype n, bool joinLines, Out& out) {
    RulePipeline<Out> pipeline(ScoreTextRules(), out);
    // Characters that end a run copied as it is: the starts of the patterns and, when joining,
    // a CR or LF that is not part of a CR LF.
    std::array<bool, 128> stops{};
    for (char16_t c = 0; c < 128; ++c) {
        stops[c] = !pipeline.Plain(QChar(c)) || (joinLines && IsBreak(QChar(c)));
    }
    qsizetype i = 0;
    while (i < n) {
        if (pipeline.Idle()) {
            qsizetype j = i;
            while (j < n) {
                const char16_t c = Code(data[j]);
                if (c >= 128 || !stops[c]) {
                    ++j;
                } else if (joinLines && c == u'\r' && j + 1 < n && Code(data[j + 1]) == u'\n') {
                    j += 2;
                } else {
                    break;
                }
            }
            out.Append(data + i, j - i);
            i = j;
            if (i >= n) {
                break;
            }
        }
        const QChar c(Code(data[i++]));
        if (joinLines && IsBreak(c)) {
            if (c == u'\r' && i < n && Code(data[i]) == u'\n') {
                ++i;
            }
            pipeline.Feed(QStringView(u"\r\n"));
            continue;
        }
        pipeline.Feed(c);
    }
    if (joinLines && n > 0 && !IsBreak(QChar(Code(data[n - 1])))) {
        pipeline.Feed(QStringView(u"\r\n"));
    }
    pipeline.Finish();
}

QString StreamRules(const QString& text, bool joinLines) {
    const qsizetype n = text.size();
    TextBuilder out(n + n / 4);
    StreamRules(text.constData(), n, joinLines, out);
    return out.Take();
}

bool AllRulesStream() {
    static const bool streams =
        std::all_of(ScoreTextRules().begin(), ScoreTextRules().end(), &RulePipeline<TextBuilder>::Streams);
    return streams;
}

}  // namespace

QString ReplaceRestarting(const QString& text, QStringView pattern, QStringView replacement) {
    if (pattern.isEmpty() || !text.contains(pattern)) {
        return text;
    }
    if (replacement.contains(pattern)) {
        throw std::invalid_argument("replacement holds the pattern");
    }
    // out holds the text before the scan point and never holds an occurrence of the pattern;
    // pending holds, last char first, replacement text that still has to be scanned before the
    // rest of the input. An occurrence can only be completed by the pattern's last character,
    // so runs of other characters are copied whole. The first occurrence to complete is the
    // leftmost one of the whole text, because all occurrences have the same length.
    const QStringView input(text);
    const QChar last = pattern.back();
    const qsizetype n = input.size();
    TextBuilder out(n + (replacement.size() > pattern.size() ? n / 4 : 0));
    std::vector<QChar> pending;
    qsizetype i = 0;
    for (;;) {
        QChar c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else {
            if (i >= n) {
                break;
            }
            const qsizetype j = input.indexOf(last, i);
            if (j < 0) {
                out.Append(input.mid(i));
                break;
            }
            out.Append(input.mid(i, j - i));
            c = input[j];
            i = j + 1;
        }
        out.Append(c);
        if (out.EndsWith(pattern)) {
            out.Chop(pattern.size());
            for (qsizetype k = replacement.size() - 1; k >= 0; --k) {
                pending.push_back(replacement[k]);
            }
        }
    }
    return out.Take();
}

QString JoinLines(const QString& text) {
    const qsizetype n = text.size();
    const QChar* data = text.constData();
    TextBuilder out(n + n / 8 + 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (!IsBreak(c)) {
            continue;
        }
        out.Append(data + start, i - start);
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
        out.Append(u"\r\n");
    }
    if (start < n) {
        out.Append(data + start, n - start);
        out.Append(u"\r\n");
    }
    return out.Take();
}

QString NormaliseScoreText(const QString& text) {
    if (AllRulesStream()) {
        return StreamRules(text, false);
    }
    QString result = text;
    for (const ScoreTextRule& rule : ScoreTextRules()) {
        result = ReplaceRestarting(result, rule.pattern, rule.replacement);
    }
    return result;
}

QString JoinAndNormaliseScoreText(const QString& fileText) {
    if (AllRulesStream()) {
        return StreamRules(fileText, true);
    }
    return NormaliseScoreText(JoinLines(fileText));
}

void ForEachScoreLine(const QString& fileText, const ScoreLineVisitor& visit) {
    LineSink sink(visit);
    if (AllRulesStream()) {
        StreamRules(fileText.constData(), fileText.size(), true, sink);
    } else {
        const QString text = NormaliseScoreText(JoinLines(fileText));
        sink.Append(text.constData(), text.size());
    }
    sink.Finish();
}

bool ForEachScoreLine(const QByteArray& asciiText, const ScoreLineVisitor& visit) {
    const auto* data = reinterpret_cast<const unsigned char*>(asciiText.constData());
    const qsizetype n = asciiText.size();
    if (std::any_of(data, data + n, [](unsigned char c) { return c >= 128; })) {
        return false;
    }
    if (!AllRulesStream()) {
        ForEachScoreLine(QString::fromLatin1(asciiText), visit);
        return true;
    }
    LineSink sink(visit);
    StreamRules(data, n, true, sink);
    sink.Finish();
    return true;
}

}  // namespace orvane
