#include "sound/ui/VoiceController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/ui/SettingsController.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/DataFileCheck.h"
#include "catalogue/core/TBellData.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/Mci.h"
#include "sound/core/SdlOutput.h"
#include "sound/core/VoicePlayer.h"
#include "sound/core/VoiceWorkers.h"
#include "sound/ui/BellPreview.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QTimer>
#include <random>
#include <stdexcept>

namespace orvane {

namespace {

std::unique_ptr<AudioOutput> MakeOutput(const VoiceController::OutputFactory& factory) {
    if (factory) {
        if (auto output = factory()) {
            return output;
        }
    }
    return std::make_unique<SdlOutput>(SdlOutput::kBufferFrames);
}

}  // namespace

VoiceController::VoiceController(VoiceWidgets widgets, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, std::mt19937& rng, BellPreview& strip, SettingsController& settings, FacesController& faces, const OutputFactory& outputFactory)
    : widgets_(widgets), data_(data), bells_(bells), reporter_(reporter), rng_(rng), strip_(strip), settings_(settings), faces_(faces),
      engine_(std::make_unique<AudioEngine>(MakeOutput(outputFactory))),
      mci_(std::make_unique<Mci>(*engine_)),
      workers_(std::make_unique<VoiceWorkers>()) {
    CreateVoiceList();
}

VoiceController::~VoiceController() {
    // Workers first: a pending strike must not reach a player or an engine that is gone.
    workers_->Shutdown();
}

void VoiceController::Connect() {
    const VoiceWidgets& f = widgets_;
    Wire(f.cbStereo, &QCheckBox::clicked, this, &VoiceController::cbStereoClick);
    // The background decode of every bell starts once the event loop runs, that is after the
    // window is shown: on a machine with few cores it would otherwise take the processor from
    // building and showing the window. A strike before then has its sound's head decoded first, off this thread.
    QTimer::singleShot(0, this, [this] { PreloadBellSet(); });
}

void VoiceController::CreateVoiceList() {
    // Random(n) from the program's generator, which start-up seeds from the clock.
    player_ = std::make_unique<VoicePlayer>(
        *mci_, [this](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); });
}

void VoiceController::ReleaseVoiceList() {
    player_.reset();
}

VoicePlayer& VoiceController::Player() {
    if (!player_) {
        throw std::logic_error("the voice list has been released");
    }
    return *player_;
}

const QStringList& VoiceController::VoiceList() const {
    static const QStringList kEmpty;
    return player_ ? player_->Voices() : kEmpty;
}

void VoiceController::StrikeBell(int bell) {
    StrikeBell(bell, 1.0f);
}

void VoiceController::StrikeBell(int bell, float gain) {
    Guarded([&] {
        if (!player_ || bell < 0 || bell >= TBellData::kBellCount) {
            return;
        }
        const QString path = data_.AppPath.SoundDir + data_.BellData->SoundFile(bell);
        CheckDataFile(path, reporter_);
        if (reporter_.Terminating()) {
            return;  // the fatal message has been shown; the program is ending
        }
        player_->StrikeFile(path, gain);
        Announce(bell, strikeTime_.value_or(std::chrono::steady_clock::now()));
    });
}

void VoiceController::Announce(int bell, std::chrono::steady_clock::time_point at) {
    emit BellStruck(bell, engine_->FrameAt(at));
    if (widgets_.cbShowMovie->isChecked()) {
        faces_.AnimateBell(bell);
        widgets_.mmResetTimer->start();
    }
}

void VoiceController::InstrumentStruck(int bell,
                                       std::optional<std::chrono::steady_clock::time_point> at) {
    Guarded([&] {
        if (bell < 0 || bell >= TBellData::kBellCount) {
            return;
        }
        Announce(bell, at.value_or(std::chrono::steady_clock::now()));
    });
    Guarded([&] { strip_.RefreshPreview(); });
}

void VoiceController::ReleaseVoices() {
    Guarded([&] {
        if (player_) {
            player_->ReleaseVoices();
        }
    });
}

void VoiceController::StartStrikeWorker() {
    StartStrikeWorker(1.0f);
}

void VoiceController::StartStrikeWorker(float gain, std::optional<std::chrono::steady_clock::time_point> pressed) {
    workers_->StartStrikeWorker([this, gain, pressed] {
        // The bell under the cursor when this runs, not when the key was pressed.
        strikeTime_ = pressed;
        StrikeBell(bells_.CurrentBell, gain);
        strikeTime_.reset();
        strip_.RefreshPreview();
    });
}

void VoiceController::StartReleaseWorker() {
    workers_->StartReleaseWorker([this] { ReleaseVoices(); });
}

void VoiceController::FinalSweep() {
    Guarded([&] { workers_->Shutdown(); });
    if (player_) {
        player_->FinalSweep();
    }
}

void VoiceController::cbStereoClick() {
    settings_.SetSoundFolder();
    PreloadBellSet();
    PrepareBellSet();
}

void VoiceController::PrepareBellSet() {
    if (!engine_->HasDevice() || !data_.BellData) {
        return;
    }
    QStringList paths;
    for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
        if (bells_.Bells.inSet[bell]) {
            paths.append(data_.AppPath.SoundDir + data_.BellData->SoundFile(bell));
        }
    }
    engine_->PrepareSounds(paths);
}

void VoiceController::PreloadBellSet() {
    if (!engine_->HasDevice() || !data_.BellData) {
        return;
    }
    // Every catalogue bell, from the folder in use first, then from the other one, so that
    // neither a change of the set nor of "Stereo" meets a sound that is not decoded.
    const bool stereo = widgets_.cbStereo->isChecked();
    QStringList folders{data_.AppPath.SoundDir};
    folders.append((stereo ? data_.MonoTempDir : data_.StereoTempDir) + u'/');
    QStringList paths;
    for (const QString& folder : folders) {
        for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
            const QString path = folder + data_.BellData->SoundFile(bell);
            // A missing file is left to the strike, which reports it.
            if (QFileInfo(path).isFile()) {
                paths.append(path);
            }
        }
    }
    engine_->Preload(paths);
}

}  // namespace orvane
