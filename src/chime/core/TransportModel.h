#pragma once

#include "app/core/ModelValue.h"

#include <QObject>

namespace orvane {

// Where playback stands: the step position in the combined step list (0-based), the score page
// shown (0-based), and the play mode (casual play, study chime; neither: a whole or custom
// chime). The step interval stays with the score (TChannels::StepInterval). Written only by its
// owner, the player; the chime library, casual play, the page selector and printing ask it
// through TransportRequests. The start-up sequence sets the first values. Read by the score
// view, the keys and the tests. User-interface thread.
class TransportModel : public QObject {
    Q_OBJECT

public:
    explicit TransportModel(QObject* parent = nullptr) : QObject(parent) {}

    ModelValue<int> StepPosition{[this](int v) { emit StepPositionChanged(v); }};
    ModelValue<int> CurrentPage{[this](int v) { emit CurrentPageChanged(v); }};
    ModelValue<bool> CasualMode{[this](bool v) { emit CasualModeChanged(v); }};
    ModelValue<bool> StudyMode{[this](bool v) { emit StudyModeChanged(v); }};

signals:
    void StepPositionChanged(int position);
    void CurrentPageChanged(int page);
    void CasualModeChanged(bool on);
    void StudyModeChanged(bool on);
};

}  // namespace orvane
