#include "chime/ui/ExportController.h"
#include "score/ScoreWindowUtil.h"
#include "support/ChimeRig.h"

#include <sndfile.h>
#include <QCheckBox>
#include <QMenu>
#include <QTemporaryDir>

using namespace orvane;

namespace {

// The export on its rig: the chime controllers with the voices and volume it reads.
class ExportMenu : public ChimeRigFixture {
protected:
    QTemporaryDir out;
};

}  // namespace

TEST_F(ExportMenu, ExportsTheLoadedChimeAsItWouldPlay) {
    auto w = Start();
    ASSERT_NE(w->form.nExportAudio, nullptr);
    EXPECT_EQ(w->form.nExportAudio->text(), "Export to audio ...");
    EXPECT_TRUE(w->form.mFile->actions().contains(w->form.nExportAudio));

    // Without a chime there is nothing to export: the user is told, no file is asked for.
    QStringList messages;
    bool asked = false;
    w->exporter->SetMessageSink([&](const QString& text) { messages << text; });
    w->exporter->SetSaveDialog([&](QString& path, ExportFormat& format) {
        asked = true;
        path = out.filePath("chime.flac");
        format = ExportFormat::kFlac16;
        return true;
    });
    w->Channels->Steps.clear();
    w->form.nExportAudio->trigger();
    EXPECT_FALSE(asked);
    EXPECT_EQ(messages.size(), 1);

    SetBells(*w, {0}, {1, 2, 3, 4}, {12, 13, 14});
    LoadWholeChime(*w, WriteChime(folder.Path("test.kol"), "200", SteadySteps(32)));
    // The great bells are switched off: the export follows the group boxes.
    w->form.cbBig->setChecked(false);
    const ExportSettings settings = CurrentExportSettings(ExportWidgetsOf(w->form), w->data, w->Bells, *w->voices, *w->volume);
    EXPECT_EQ(settings.steps.size(), 32);
    EXPECT_EQ(settings.intervalMs, w->Channels->StepInterval);
    EXPECT_EQ(settings.context.groupChecked, (std::array<bool, 3>{true, true, false}));
    EXPECT_EQ(settings.context.soundFolder, w->AppPath.SoundDir);

    w->form.nExportAudio->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(w->exporter->LastResult(), ChimeExporter::Result::kDone);
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(out.filePath("chime.flac")).constData(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    // At least the 32 steps, then the ring-out.
    EXPECT_GT(info.frames, ChimeExporter::StepFrame(32, settings.intervalMs, info.samplerate));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
