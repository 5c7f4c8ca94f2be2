#include "practice/core/StrokeMatcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

// Far enough in the future that no window of an unknown step ever closes.
constexpr std::int64_t kUnknownFrame = std::numeric_limits<std::int64_t>::max() / 4;

}  // namespace

NoteResult ClassOfError(double errorMs) {
    const double size = std::abs(errorMs);
    if (size <= kOnTimeMs) {
        return NoteResult::OnTime;
    }
    return size <= kSlightlyOffMs ? NoteResult::SlightlyOff : NoteResult::Off;
}

StrokeMatcher::StrokeMatcher(std::vector<ExpectedNote> notes,
                             const std::array<int, BellSet::kBellCount>& groupOfBell, int stepCount,
                             int sampleRate)
    : notes_(std::move(notes)), sampleRate_(sampleRate > 0 ? sampleRate : 48000), groupOfBell_(groupOfBell) {
    outcomes_.resize(notes_.size());
    for (std::size_t i = 0; i < notes_.size(); ++i) {
        const int bell = notes_[i].bell;
        if (bell >= 0 && bell < BellSet::kBellCount) {
            notesOfBell_[std::size_t(bell)].push_back(int(i));
        }
    }
    // Room for about one stroke per note, so that a pass does not grow its lists as it goes.
    strokes_.reserve(notes_.size() + 16);
    strokeOrder_.reserve(notes_.size() + 16);
    for (std::size_t bell = 0; bell < notesOfBell_.size(); ++bell) {
        strokesOfBell_[bell].reserve(notesOfBell_[bell].size() + 4);
        const int group = groupOfBell_[bell];
        if (group >= 0 && group < 3) {
            strokesOfGroup_[std::size_t(group)].reserve(strokesOfGroup_[std::size_t(group)].capacity() +
                                                        notesOfBell_[bell].size() + 4);
        }
    }
    stepFrames_.assign(std::size_t(std::max(stepCount, 0)), 0);
    stepHalves_.assign(std::size_t(std::max(stepCount, 0)), 0);
}

std::int64_t StrokeMatcher::StepFrame(int step) const {
    if (step < reportedSteps_) {
        return stepFrames_[std::size_t(step)];
    }
    return anchored_ ? anchorFrame_ + (step - anchorStep_) * interval_ : kUnknownFrame;
}

std::int64_t StrokeMatcher::HalfWindow(int step) const {
    return step < reportedSteps_ ? stepHalves_[std::size_t(step)] : interval_ / 2;
}

void StrokeMatcher::StepSounded(int step, std::int64_t frame, std::int64_t intervalFrames) {
    if (step < reportedSteps_ || step >= int(stepFrames_.size()) || finished_) {
        return;
    }
    // Steps passed over (winding) keep the frames they were expected at.
    for (int s = reportedSteps_; s < step; ++s) {
        stepFrames_[std::size_t(s)] = StepFrame(s);
        stepHalves_[std::size_t(s)] = HalfWindow(s);
    }
    interval_ = std::max<std::int64_t>(intervalFrames, 0);
    anchorStep_ = step;
    anchorFrame_ = frame;
    anchored_ = true;
    stepFrames_[std::size_t(step)] = frame;
    stepHalves_[std::size_t(step)] = interval_ / 2;
    reportedSteps_ = step + 1;
}

void StrokeMatcher::Expect(int step, std::int64_t frame, std::int64_t intervalFrames) {
    if (step < reportedSteps_ || finished_) {
        return;
    }
    interval_ = std::max<std::int64_t>(intervalFrames, 0);
    anchorStep_ = step;
    anchorFrame_ = frame;
    anchored_ = true;
}

bool StrokeMatcher::AddStroke(int bell, std::int64_t frame) {
    if (finished_ || bell < 0 || bell >= BellSet::kBellCount || frame < acceptFrom_) {
        return false;
    }
    const int index = int(strokes_.size());
    strokes_.push_back({bell, frame, StrokeResult::Pending, -1});
    const auto byFrame = [this](int a, std::int64_t f) { return strokes_[std::size_t(a)].frame <= f; };
    auto insertSorted = [&](std::vector<int>& list, std::size_t from) {
        const auto at = std::lower_bound(list.begin() + std::ptrdiff_t(from), list.end(), frame, byFrame);
        list.insert(at, index);
    };
    insertSorted(strokesOfBell_[std::size_t(bell)], 0);
    if (const int group = groupOfBell_[std::size_t(bell)]; group >= 0 && group < 3) {
        insertSorted(strokesOfGroup_[std::size_t(group)], 0);
    }
    // A stroke that arrives after its time was settled is settled with the next ones.
    insertSorted(strokeOrder_, settledStrokes_);
    return true;
}

bool StrokeMatcher::InBellWindow(int bell, std::int64_t frame) const {
    const std::vector<int>& list = notesOfBell_[std::size_t(bell)];
    // The first note whose window does not end before the frame.
    const auto it = std::lower_bound(list.begin(), list.end(), frame, [this](int n, std::int64_t f) {
        const int step = notes_[std::size_t(n)].step;
        return StepFrame(step) + HalfWindow(step) < f;
    });
    if (it == list.end()) {
        return false;
    }
    const int step = notes_[std::size_t(*it)].step;
    return StepFrame(step) - HalfWindow(step) <= frame;
}

bool StrokeMatcher::InGroupWindow(int group, int bell, std::int64_t frame) const {
    for (int other = 0; other < BellSet::kBellCount; ++other) {
        const std::vector<int>& list = notesOfBell_[std::size_t(other)];
        if (other != bell && !list.empty() && notes_[std::size_t(list.front())].group == group &&
            InBellWindow(other, frame)) {
            return true;
        }
    }
    return false;
}

template <typename Skip>
int StrokeMatcher::NearestPending(const std::vector<int>& list, std::int64_t t, std::int64_t half,
                                  Skip skip) const {
    auto it = std::lower_bound(list.begin(), list.end(), t - half,
                               [this](int s, std::int64_t f) { return strokes_[std::size_t(s)].frame < f; });
    int best = -1;
    std::int64_t bestDistance = 0;
    for (; it != list.end() && strokes_[std::size_t(*it)].frame <= t + half; ++it) {
        const StrokeOutcome& stroke = strokes_[std::size_t(*it)];
        if (stroke.result != StrokeResult::Pending || skip(stroke)) {
            continue;
        }
        const std::int64_t distance = std::abs(stroke.frame - t);
        if (best < 0 || distance < bestDistance) {
            best = *it;
            bestDistance = distance;
        }
    }
    return best;
}

int StrokeMatcher::OwnStroke(const ExpectedNote& note, std::int64_t t, std::int64_t half) const {
    return NearestPending(strokesOfBell_[std::size_t(note.bell)], t, half,
                          [](const StrokeOutcome&) { return false; });
}

int StrokeMatcher::WrongBellStroke(const ExpectedNote& note, std::int64_t t, std::int64_t half) const {
    if (note.group < 0 || note.group >= 3) {
        return -1;
    }
    return NearestPending(strokesOfGroup_[std::size_t(note.group)], t, half,
                          [&](const StrokeOutcome& stroke) {
                              return stroke.bell == note.bell || InBellWindow(stroke.bell, stroke.frame);
                          });
}

void StrokeMatcher::DecideNote(int index) {
    const ExpectedNote& note = notes_[std::size_t(index)];
    NoteOutcome& outcome = outcomes_[std::size_t(index)];
    const std::int64_t t = StepFrame(note.step);
    const std::int64_t half = HalfWindow(note.step);
    outcome.frame = t;
    if (const int own = OwnStroke(note, t, half); own >= 0) {
        StrokeOutcome& stroke = strokes_[std::size_t(own)];
        stroke.result = StrokeResult::Hit;
        stroke.note = index;
        outcome.stroke = own;
        outcome.errorFrames = stroke.frame - t;
        outcome.result = ClassOfError(Milliseconds(outcome.errorFrames));
        return;
    }
    if (const int wrong = WrongBellStroke(note, t, half); wrong >= 0) {
        StrokeOutcome& stroke = strokes_[std::size_t(wrong)];
        stroke.result = StrokeResult::WrongBell;
        stroke.note = index;
        outcome.stroke = wrong;
        outcome.result = NoteResult::WrongBell;
        return;
    }
    outcome.result = NoteResult::Missed;
}

void StrokeMatcher::SettleStrokes(std::int64_t before) {
    while (settledStrokes_ < strokeOrder_.size()) {
        StrokeOutcome& stroke = strokes_[std::size_t(strokeOrder_[settledStrokes_])];
        if (stroke.frame >= before) {
            break;
        }
        if (stroke.result == StrokeResult::Pending) {
            const int group = groupOfBell_[std::size_t(stroke.bell)];
            const bool wrong = !InBellWindow(stroke.bell, stroke.frame) && group >= 0 &&
                               InGroupWindow(group, stroke.bell, stroke.frame);
            stroke.result = wrong ? StrokeResult::WrongBell : StrokeResult::Extra;
        }
        ++settledStrokes_;
    }
}

int StrokeMatcher::Advance(std::int64_t now) {
    if (finished_) {
        return 0;
    }
    const int first = nextNote_;
    while (nextNote_ < int(notes_.size())) {
        const int step = notes_[std::size_t(nextNote_)].step;
        if (now <= StepFrame(step) + HalfWindow(step)) {
            break;
        }
        DecideNote(nextNote_);
        ++nextNote_;
    }
    if (nextNote_ < int(notes_.size())) {
        const int step = notes_[std::size_t(nextNote_)].step;
        SettleStrokes(std::min(now, StepFrame(step) - HalfWindow(step)));
    } else {
        SettleStrokes(now);
    }
    return nextNote_ - first;
}

void StrokeMatcher::Finish(std::int64_t now) {
    if (finished_) {
        return;
    }
    Advance(now);
    for (; nextNote_ < int(notes_.size()); ++nextNote_) {
        if (StepFrame(notes_[std::size_t(nextNote_)].step) <= now) {
            DecideNote(nextNote_);
        } else {
            outcomes_[std::size_t(nextNote_)].frame = StepFrame(notes_[std::size_t(nextNote_)].step);
            outcomes_[std::size_t(nextNote_)].result = NoteResult::Unreached;
        }
    }
    SettleStrokes(std::numeric_limits<std::int64_t>::max());
    finished_ = true;
}

}  // namespace orvane
