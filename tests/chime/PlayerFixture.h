#pragma once

#include "app/core/TextFile.h"
#include "support/ChimeRig.h"
#include "support/MainWindowFixture.h"
#include "support/TestWindow.h"
#include "catalogue/core/TBellData.h"
#include "chime/core/ChimeScore.h"
#include "chime/ui/PlayerController.h"
#include "chime/core/TChannels.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/ui/VoiceController.h"
#include "support/ChimeRig.h"
#include "support/MainWindowFixture.h"
#include "support/TestWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QTimer>
#include <chrono>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The chime controllers on their rig (no main window) with the full bell set (great bells
// rows 0-4, medium-size 5-11, small 12-14),
// the player's clock on the offline output's time, and the engine's start log on. Ticks are
// run only by calling mmTimerTimer (the timer runs, but its ticks are not connected). The
// engine's sequencer plays the steps as the offline output renders; a tick that finds no new
// step renders until the sequencer has played one (as the sound card would have by the time the
// timer fires), and those frames count towards the test's next Render.
//
// `Base` starts the controllers: ChimeRigFixture on their rig, MainWindowFixture in the whole
// window (for the controllers the rig does not hold).
template <class Base>
class PlayerFixtureOn : public Base {
protected:
    static constexpr int kRate = 48000;
    static constexpr std::int64_t kLookAhead = 960;  // 20 ms

    // The whole bell set, the score shown, animation off unless asked for.
    auto StartPlayer(const QString& bells = "111111111111111",
                     const QString& types = "bbbbbmmmmmmmsss") {
        this->WriteSettings({"[View]", "Tools=1", "Bells=1", "Info=1", "Groups=1", "[Serial]",
                       "Bells=" + bells, "Types=" + types, "[Settings]", "Grid=0", "Stereo=0",
                       "Animate=0", "Notes=1", "View=0"});
        auto w = this->Start();
        w->rng.seed(7);
        orvane::OfflineOutput* output = this->offline;
        w->player->SetClock([output] {
            return output->OpenTime() +
                   std::chrono::nanoseconds(output->FramesRendered() * 1'000'000'000 / kRate);
        });
        Engine(*w).SetStartLog(true);
        // Ticks come only from the test, never from the wall clock.
        QObject::disconnect(w->form.mmTimer, &QTimer::timeout, w->player, nullptr);
        pumped_ = 0;
        w->player->SetBeforeFollow([this, player = w->player, &engine = Engine(*w)] {
            const orvane::StepSequencer& sequencer = engine.Sequencer();
            const std::uint64_t target = player->StepsShown() + 1;
            const std::uint64_t ends = sequencer.Ends();
            // At most two seconds of sound (the longest step is one).
            for (int chunk = 0; chunk < 2 * kRate / kPumpChunk; ++chunk) {
                if (sequencer.StepsPlayed() >= target) {
                    break;
                }
                if (sequencer.Ends() != ends || (chunk > 0 && !sequencer.Playing())) {
                    pumped_ = 0;  // the chime has stopped; the next Play starts a new grid
                    break;
                }
                this->offline->Render(kPumpChunk);
                pumped_ += kPumpChunk;
            }
        });
        return w;
    }

    template <class W>
    static orvane::AudioEngine& Engine(W& w) { return w.voices->Engine(); }

    // Writes a whole chime (header and step lines) and loads it as the rig's score,
    // after a player reset, as choosing a chime does.
    template <class W>
    void LoadWhole(W& w, const QStringList& lines) {
        const QString path = this->folder.Root() + "/score.kol";
        ASSERT_TRUE(orvane::WriteTextLines(path, lines));
        w.player->ResetPlayer();
        orvane::LoadChimeScore(*w.Channels, orvane::kWholeChime, path, w.player->ScoreObserver());
    }

    // The sound file of catalogue row.
    template <class W>
    static QString SoundOf(W& w, int row) {
        return w.AppPath.SoundDir +
               orvane::NativePath(w.BellData->Cell(orvane::TBellData::kSound, row));
    }

    // Renders frames (less those a tick rendered ahead) and returns the voices that started,
    // in start order.
    template <class W>
    std::vector<orvane::VoiceStart> Render(W& w, std::int64_t frames) {
        const std::int64_t ahead = std::min(frames, pumped_);
        pumped_ -= ahead;
        if (frames > ahead) {
            this->offline->Render(frames - ahead);
        }
        return Engine(w).TakeVoiceStarts();
    }

    // The frames of one step interval, then a tick, as the sound card and the timer would.
    template <class W>
    std::vector<orvane::VoiceStart> TickAndRender(W& w) {
        auto starts = Render(w, std::int64_t(w.Channels->StepInterval) * kRate / 1000);
        w.player->mmTimerTimer();
        return starts;
    }

    static constexpr int kPumpChunk = 32;
    std::int64_t pumped_ = 0;
};

using PlayerFixture = PlayerFixtureOn<ChimeRigFixture>;
using WindowPlayerFixture = PlayerFixtureOn<MainWindowFixture>;
