#pragma once

#include <QObject>
#include <QStringList>
#include <chrono>
#include <optional>
#include <functional>
#include <memory>
#include <random>

class QCheckBox;
class QTimer;

namespace orvane {

class AudioOutput;

class BadDataFileReporter;
class BellPreview;
class BellSetModel;
class FacesController;
struct ProgramData;
class SettingsController;
class AudioEngine;
class Mci;
class VoicePlayer;
class VoiceWorkers;

// The voices' widgets, all read only here but the reset timer.
// Filled from the main window's form by VoiceWidgetsOf (app/ui/ControllerWidgets.h).
struct VoiceWidgets {
    QCheckBox* cbStereo;  // set from the settings at start-up
    QCheckBox* cbShowMovie;  // set from the settings at start-up
    QTimer* mmResetTimer;  // started here and by the player, stopped by the faces
};

// The bell voices: striking a bell, the sweep of finished voices and its workers, and the sound
// folder that the "Stereo" check box selects. Owns the sound engine: the output, the audio
// engine, the voice commands over it, the voice player (which holds the voice list) and the
// deferred strike and sweep calls. The playback controller opens its voices through Player(),
// giving the frame of a scheduled start with each.
// Lives on the user-interface thread, owned by the main window. Every member runs there.
class VoiceController : public QObject {
    Q_OBJECT

  public:
    // Makes the sound output; empty, or giving none: the sound device.
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

    // Opens the output that the factory gives (the sound device when it gives none);
    // a failed open leaves the engine without a device, and every voice command is rejected.
    VoiceController(VoiceWidgets widgets, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, std::mt19937& rng, BellPreview& strip, SettingsController& settings, FacesController& faces,
                    const OutputFactory& outputFactory);
    // Stops the workers, closes the voices that are still open, then the output.
    ~VoiceController() override;

    // Connects the widgets of this subsystem to their handlers.
    void Connect();

    // Start-up: a fresh, empty voice list.
    void CreateVoiceList();
    // Shutdown, after FinalSweep: the voice list goes; voices still listed stay open in the
    // engine until this controller is destroyed.
    void ReleaseVoiceList();
    // The open aliases, oldest first (empty once the list is released).
    const QStringList& VoiceList() const;

    // Plays the sound of catalogue bell 0 to 14 at once from the sound folder; a missing sound
    // file is fatal (the data-file message). Animates the bell when "Animation" is checked.
    // Never throws; a failure ends the strike silently.
    void StrikeBell(int bell);
    // As StrikeBell, at a linear gain 0 to 1 (1 = a key strike's level): a MIDI stroke.
    void StrikeBell(int bell, float gain);
    // The rest of a strike whose voice an instrument's input thread has already started on the
    // engine: reports it (BellStruck, at `at`, now when not known) and animates it as StrikeBell
    // does, then refreshes the preview as the strike worker does. Never throws.
    void InstrumentStruck(int bell, std::optional<std::chrono::steady_clock::time_point> at);
    // The sweep: closes every voice that no longer plays.
    void ReleaseVoices();
    // A worker whose call strikes the bell that is current when the call runs, then refreshes
    // the preview.
    void StartStrikeWorker();
    // As StartStrikeWorker, the strike sounding at a linear gain 0 to 1; pressed: when the input
    // that asked for the strike happened (BellStruck).
    void StartStrikeWorker(float gain, std::optional<std::chrono::steady_clock::time_point> pressed = std::nullopt);
    // A worker whose call runs the sweep.
    void StartReleaseWorker();
    // Shutdown, after the timers are off: stops the workers (calls not run yet are dropped),
    // then sweeps the finished voices once. Voices that still play are left open.
    void FinalSweep();

    // The "Stereo" check box: sets the sound folder; the next voice opens from it.
    void cbStereoClick();
    // Has the engine decode the sounds of every catalogue bell from both sound folders on its
    // background thread, the current folder first, so that no strike waits for a decode.
    void PreloadBellSet();
    // Decodes now the heads of the sounds of the bells in the set, from the current folder,
    // that are not decoded yet, so that a strike right after a change of the set or of
    // "Stereo" starts without decoding on this thread.
    void PrepareBellSet();

    AudioEngine& Engine() { return *engine_; }
    Mci& Commands() { return *mci_; }
    // The voice player; throws std::logic_error once the voice list has been released.
    VoicePlayer& Player();
    VoiceWorkers& Workers() { return *workers_; }

  signals:
    // A bell was struck (keys, mouse, any strike through StrikeBell): catalogue bell 0..14 and
    // the engine's output frame of the moment of the input (of the strike call when the input's
    // time is not known).
    void BellStruck(int bell, qint64 frame);

  private:
    // After a bell's voice has started: BellStruck at `at`, and the animation when it is on.
    void Announce(int bell, std::chrono::steady_clock::time_point at);

    const VoiceWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    BadDataFileReporter& reporter_;
    std::mt19937& rng_;
    BellPreview& strip_;
    SettingsController& settings_;
    FacesController& faces_;
    // Declared in the order of construction; destroyed in reverse.
    std::unique_ptr<AudioEngine> engine_;
    std::unique_ptr<Mci> mci_;
    std::unique_ptr<VoicePlayer> player_;
    std::unique_ptr<VoiceWorkers> workers_;
    // The input time of the strike being run by a strike worker.
    std::optional<std::chrono::steady_clock::time_point> strikeTime_;
};

}  // namespace orvane
