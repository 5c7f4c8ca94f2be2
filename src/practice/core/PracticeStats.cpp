#include "practice/core/PracticeStats.h"

#include <cmath>

namespace orvane {

void MeanAndSpread(const std::vector<double>& values, double& mean, double& spread) {
    mean = 0.0;
    spread = 0.0;
    if (values.empty()) {
        return;
    }
    // Welford's update: stable for long passes with a large common offset.
    double m = 0.0;
    double squares = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double delta = values[i] - m;
        m += delta / double(i + 1);
        squares += delta * (values[i] - m);
    }
    mean = m;
    spread = values.size() > 1 ? std::sqrt(squares / double(values.size() - 1)) : 0.0;
}

PracticeSummary Summarise(const StrokeMatcher& matcher) {
    PracticeSummary summary;
    std::vector<double> allErrors;
    std::array<std::vector<double>, 3> groupErrors;
    std::array<std::vector<double>, BellSet::kBellCount> bellErrors;
    const auto& notes = matcher.Notes();
    const auto& outcomes = matcher.NoteOutcomes();
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const NoteResult result = outcomes[i].result;
        if (result == NoteResult::Pending || result == NoteResult::Unreached) {
            continue;
        }
        const int group = notes[i].group;
        const int bell = notes[i].bell;
        StrokeSummary* targets[] = {&summary.all, group >= 0 && group < 3 ? &summary.groups[std::size_t(group)] : nullptr,
                                    &summary.bells[std::size_t(bell)]};
        const double error = matcher.Milliseconds(outcomes[i].errorFrames);
        for (StrokeSummary* s : targets) {
            if (!s) {
                continue;
            }
            ++s->notes;
            switch (result) {
                case NoteResult::OnTime:
                    ++s->onTime;
                    [[fallthrough]];
                case NoteResult::SlightlyOff:
                case NoteResult::Off:
                    ++s->hits;
                    break;
                case NoteResult::WrongBell:
                    ++s->wrongBell;
                    break;
                default:
                    ++s->missed;
                    break;
            }
        }
        if (result == NoteResult::OnTime || result == NoteResult::SlightlyOff || result == NoteResult::Off) {
            allErrors.push_back(error);
            if (group >= 0 && group < 3) {
                groupErrors[std::size_t(group)].push_back(error);
            }
            bellErrors[std::size_t(bell)].push_back(error);
        }
    }
    const auto& groupOfBell = matcher.GroupOfBell();
    for (const StrokeOutcome& stroke : matcher.Strokes()) {
        if (stroke.result == StrokeResult::Pending) {
            continue;
        }
        // A stroke belongs to the group of the note it was taken for, else to its bell's.
        int group = stroke.note >= 0 ? notes[std::size_t(stroke.note)].group : groupOfBell[std::size_t(stroke.bell)];
        StrokeSummary* targets[] = {&summary.all, group >= 0 && group < 3 ? &summary.groups[std::size_t(group)] : nullptr,
                                    &summary.bells[std::size_t(stroke.bell)]};
        for (StrokeSummary* s : targets) {
            if (!s) {
                continue;
            }
            ++s->strokes;
            if (stroke.result == StrokeResult::Extra) {
                ++s->extra;
            }
        }
    }
    auto finish = [](StrokeSummary& s, const std::vector<double>& errors) {
        MeanAndSpread(errors, s.meanError, s.spread);
        s.withinOnTime = s.hits > 0 ? double(s.onTime) / double(s.hits) : 0.0;
    };
    finish(summary.all, allErrors);
    for (std::size_t g = 0; g < 3; ++g) {
        finish(summary.groups[g], groupErrors[g]);
    }
    for (std::size_t b = 0; b < summary.bells.size(); ++b) {
        finish(summary.bells[b], bellErrors[b]);
    }
    return summary;
}

}  // namespace orvane
