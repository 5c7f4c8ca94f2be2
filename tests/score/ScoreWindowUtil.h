#pragma once

#include "animation/ui/FacesController.h"
#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"

#include <QFile>
#include <QStringList>
#include <initializer_list>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Helpers for the tests of the score view, printing and the bell faces, on a real main window
// or on a controller rig.

// Loads chime files into the window's score as the chime library does, forwarding the chord
// groups to the bell faces.
class TestScoreObserver : public orvane::ChimeScoreObserver {
public:
    explicit TestScoreObserver(orvane::FacesController& faces) : faces_(faces) {}
    void ClearGroupFrames(QChar letter) override { faces_.ClearGroupFrames(letter); }
    void ShowTempo() override {}
    void ShowTotalDuration() override {}

private:
    orvane::FacesController& faces_;
};

// Puts a bell set into the window directly: great, medium-size and small bells by catalogue
// index. `W` is the main window or a controller rig holding the bell set as `Bells`.
template <class W>
void SetBells(W& w, std::initializer_list<int> great,
                     std::initializer_list<int> middle, std::initializer_list<int> small) {
    w.Bells.Clear();
    for (auto [list, code] :
         {std::pair{great, orvane::kGreatGroup}, std::pair{middle, orvane::kMiddleGroup},
          std::pair{small, orvane::kSmallGroup}}) {
        for (int bell : list) {
            w.Bells.inSet[bell] = true;
            w.Bells.group[bell] = code;
        }
    }
}

// Writes a whole chime file: header line, then one line per step.
inline QString WriteChime(const QString& path, const QString& header, const QStringList& steps) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write((QStringList{header} + steps).join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    }
    return path;
}

// `count` steps in which every group sounds now and then: "s1" on every fourth step, "m2" on
// every eighth, "b1" at the start of each bar.
inline QStringList SteadySteps(int count) {
    QStringList steps;
    for (int i = 0; i < count; ++i) {
        QStringList marks;
        if (i % 4 == 0) {
            marks << QStringLiteral("s1");
        }
        if (i % 8 == 2) {
            marks << QStringLiteral("m2");
        }
        if (i % 16 == 0) {
            marks << QStringLiteral("b1");
        }
        steps << marks.join(u',');
    }
    return steps;
}

// `W` is the main window or a controller rig holding `Channels` and `faces`.
template <class W>
void LoadWholeChime(W& w, const QString& path) {
    TestScoreObserver observer(*w.faces);
    orvane::LoadChimeScore(*w.Channels, orvane::kWholeChime, path, observer);
}
