#include "chime/ui/ExportController.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "catalogue/core/BellSet.h"
#include "catalogue/core/TBellData.h"
#include "chime/core/TChannels.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRegularExpression>
#include <tuple>
#include "sound/core/VolumeControl.h"

namespace orvane {

namespace {

struct FormatChoice {
    const char* filter;
    ExportFormat format;
};

constexpr FormatChoice kChoices[] = {
    {"WAV, 16 bit (*.wav)", ExportFormat::kWav16},
    {"WAV, 24 bit (*.wav)", ExportFormat::kWav24},
    {"FLAC, 16 bit (*.flac)", ExportFormat::kFlac16},
    {"FLAC, 24 bit (*.flac)", ExportFormat::kFlac24},
};

constexpr int kProgressSteps = 1000;

}  // namespace

ExportSettings CurrentExportSettings(const ExportWidgets& f, const ProgramData& data,
                                     const BellSet& bells, VoiceController& voices,
                                     VolumeController& volume) {
    ExportSettings settings;
    if (data.Channels) {
        settings.steps = data.Channels->Steps;
        settings.intervalMs = data.Channels->StepInterval;
    }
    StepContext& context = settings.context;
    context.bellSet = bells;
    context.groupChecked = {f.cbSmall->isChecked(), f.cbMiddle->isChecked(), f.cbBig->isChecked()};
    // Without a sound device the output level reads 0 and playback is silent anyway; a file
    // made then starts from the full level, where a device starts.
    context.volumeLevel = voices.Engine().HasDevice() ? volume.GetVolume()
                                                            : VolumeControl::kMaxLevel;
    context.soundFolder = data.AppPath.SoundDir;
    if (data.BellData) {
        context.soundColumn = data.BellData->SoundFiles();
    }
    settings.sampleRate = voices.Engine().SampleRate();
    if (f.cbCommon->currentIndex() > 0) {
        settings.name = f.cbCommon->currentText();
    }
    return settings;
}

ExportController::ExportController(QWidget& window, QAction* item,
                                   std::function<ExportSettings()> current)
    : QObject(&window), window_(window), item_(item), current_(std::move(current)) {
    dialog_ = [this](QString& path, ExportFormat& format) { return RunSaveDialog(path, format); };
    message_ = [this](const QString& text) {
        QMessageBox::information(&window_, QStringLiteral("Export to audio"), text);
    };
}

void ExportController::Connect() {
    if (item_) {
        connect(item_, &QAction::triggered, this,
                [this] { Guarded([&] { nExportAudioClick(); }); });
    }
}

bool ExportController::RunSaveDialog(QString& path, ExportFormat& format) {
    QStringList filters;
    for (const FormatChoice& choice : kChoices) {
        filters << QString::fromLatin1(choice.filter);
    }
    QString selected = filters.first();
    const QString folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
    QString chosen = QFileDialog::getSaveFileName(
        &window_, QStringLiteral("Export to audio"), QDir(folder).filePath(path),
        filters.join(QStringLiteral(";;")), &selected);
    if (chosen.isEmpty()) {
        return false;
    }
    std::tie(chosen, format) =
        ChimeExporter::Target(chosen, kChoices[qMax(0, filters.indexOf(selected))].format);
    lastFolder_ = QFileInfo(chosen).absolutePath();
    path = chosen;
    return true;
}

void ExportController::nExportAudioClick() {
    last_ = ChimeExporter::Result::kFailed;
    ExportSettings settings = current_ ? current_() : ExportSettings{};
    if (settings.steps.isEmpty()) {
        message_(QStringLiteral("There is no chime to export: choose or load a chime first."));
        return;
    }
    // The chime's name, without characters a file name cannot hold.
    QString base = settings.name;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    QString path = (base.trimmed().isEmpty() ? QStringLiteral("chime") : base.trimmed()) +
                   QStringLiteral(".wav");
    ExportFormat format = ExportFormat::kWav16;
    if (!dialog_ || !dialog_(path, format)) {
        return;
    }
    settings.format = format;

    QProgressDialog progress(QStringLiteral("Exporting the chime to %1 ...")
                                 .arg(QFileInfo(path).fileName()),
                             QStringLiteral("Cancel"), 0, kProgressSteps, &window_);
    progress.setWindowTitle(QStringLiteral("Export to audio"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoReset(false);
    progress.setValue(0);
    ChimeExporter exporter(settings);
    last_ = exporter.Export(path, [&progress](double fraction) {
        progress.setValue(static_cast<int>(fraction * kProgressSteps));
        return !progress.wasCanceled();
    });
    progress.close();
    if (last_ == ChimeExporter::Result::kFailed) {
        message_(QStringLiteral("The chime could not be exported to %1: %2")
                     .arg(QDir::toNativeSeparators(path), exporter.ErrorText()));
    }
}

}  // namespace orvane
