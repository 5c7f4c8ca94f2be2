#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <functional>

namespace orvane {

// The text normalisation of a chime score file. Pure functions, safe on any thread.

// One rule of the normalisation table: every occurrence of pattern is replaced by replacement
// (an empty replacement deletes).
struct ScoreTextRule {
    QStringView pattern;
    QStringView replacement;
};

// The thirteen rules, in the order they are applied: "_", "&", "@", "$" become a line break
// (CR LF); "^%", "~", "*]", ")" become ","; "{" becomes "s", "[}" "m", "!" "b"; "<" and ">"
// are deleted.
const std::array<ScoreTextRule, 13>& ScoreTextRules();

// The text after replacing the leftmost occurrence of pattern, again and again, each search
// starting over at the beginning of the text, until none is left. A replacement may form a
// new occurrence with the text around it (also one that overlaps text already scanned); the
// result is exactly that of the repeated search. Runs in time linear in the text plus the
// text that replacements insert. The replacement must not contain the pattern (the repeated
// search would never end); such a rule throws std::invalid_argument when the text holds the
// pattern. An empty pattern leaves the text as it is.
QString ReplaceRestarting(const QString& text, QStringView pattern, QStringView replacement);

// The lines of text (split at CR LF, LF or CR, a break after the last line adding no empty
// line), each followed by CR LF: every break becomes CR LF, and a CR LF ends a last line
// that had no break. Splitting the result gives the same lines again.
QString JoinLines(const QString& text);

// Applies the thirteen rules of ScoreTextRules to text, one after the other, each as
// ReplaceRestarting does. One pass over the text.
QString NormaliseScoreText(const QString& text);

// NormaliseScoreText(JoinLines(fileText)), in one pass: the normalised text of a score file.
QString JoinAndNormaliseScoreText(const QString& fileText);

// Called with each line of a normalised score text; the characters (never a null pointer, also
// for an empty line) are valid only during the call.
using ScoreLineVisitor = std::function<void(const QChar* line, qsizetype length)>;

// Visits, in order, the lines of JoinAndNormaliseScoreText(fileText) as SplitLines would split
// them, without building the normalised text.
void ForEachScoreLine(const QString& fileText, const ScoreLineVisitor& visit);

// The same for a text of bytes below 128 (for which every single-byte code page reads as
// ASCII), read straight from the bytes. False, with nothing visited, when a byte is 128 or
// above.
bool ForEachScoreLine(const QByteArray& asciiText, const ScoreLineVisitor& visit);

}  // namespace orvane
