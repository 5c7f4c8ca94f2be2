#pragma once

#include "app/ui/TfrmMain.h"
#include "sound/core/OfflineOutput.h"

#include <functional>
#include <memory>
#include <utility>

#include <QString>

namespace bench {

// Copies the built program folder to a folder of a benchmark's own, linking the sound files,
// so that a main window can start on it and write beside itself.
void CopyProgramFolder(const QString& to);

// Copies the program folder to root + "/program" and gives the start options of a main window
// on it, with its temporary sound folders in root + "/cache".
orvane::StartOptions ProgramCopyOptions(const QString& root);

// An output factory for StartOptions: an offline output of `sampleRate` and `bufferFrames`,
// whose address goes to `created` when the window opens it.
std::function<std::unique_ptr<orvane::AudioOutput>()> OfflineOutputFactory(
    orvane::OfflineOutput*& created, int sampleRate = 48000, int bufferFrames = 128);

// The main window as the benchmarks drive it: the parts they measure, opened.
class BenchWindow : public orvane::TfrmMain {
public:
    explicit BenchWindow(orvane::StartOptions options) : TfrmMain(std::move(options)) {}

    using TfrmMain::bellModel;
    using TfrmMain::data;
    using TfrmMain::form;
    using TfrmMain::instrument;
    using TfrmMain::player;
    using TfrmMain::practice;
    using TfrmMain::print;
    using TfrmMain::score;
    using TfrmMain::transportModel;
    using TfrmMain::voices;
    using TfrmMain::volume;
};

// Gives the window a twelve-bell set (as the score benchmarks use it: bells 0-1 great, 2-8 medium-size, 12-14 small) and loads the library's whole chime
// `chimeFile` (relative to the program folder) into its score.
void LoadChimeOnTwelveBells(BenchWindow& w, const QString& chimeFile);

}  // namespace bench
