// orvane-bellsynth: synthesises the bell sounds of the program from the bell catalogue.
//
//   orvane-bellsynth <desc.kli> <mono folder> <stereo folder> [--verbose]
//
// Writes, for every row of the catalogue, <mono folder>/<sound file> (mono) and
// <stereo folder>/<sound file> (stereo), 48000 Hz 16-bit PCM. The output depends only on the
// catalogue: the same input gives byte-identical files. Exit code 0 on success, 1 on any error
// (message on stderr).

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Belfry.h"
#include "BellCatalogue.h"
#include "BellModel.h"
#include "ModalSynth.h"
#include "WaveFile.h"

namespace {

constexpr int kSampleRate = 48000;

int Run(int argc, char** argv) {
    using namespace orvane::bellsynth;
    std::vector<std::string> args(argv + 1, argv + argc);
    bool verbose = false;
    std::erase_if(args, [&](const std::string& a) {
        if (a == "--verbose") {
            verbose = true;
            return true;
        }
        return false;
    });
    if (args.size() != 3) {
        std::fprintf(
            stderr,
            "usage: orvane-bellsynth <desc.kli> <mono folder> <stereo folder> [--verbose]\n");
        return 1;
    }
    const std::filesystem::path monoDir = args[1];
    const std::filesystem::path stereoDir = args[2];
    std::filesystem::create_directories(monoDir);
    std::filesystem::create_directories(stereoDir);

    for (const BellEntry& entry : ReadBellCatalogue(args[0])) {
        const BellModel bell = MakeBellModel(entry);
        const std::vector<double> dry = RenderBell(bell, kSampleRate);
        const WaveFileInfo mono = WriteFinishedWave((monoDir / entry.soundFile).string(), {dry},
                                                    kSampleRate, bell.peakDbfs);
        StereoSound placed = PlaceInBelfry(dry, bell, kSampleRate);
        const WaveFileInfo stereo = WriteFinishedWave(
            (stereoDir / entry.soundFile).string(),
            {std::move(placed.left), std::move(placed.right)}, kSampleRate, bell.peakDbfs);
        if (verbose) {
            std::printf(
                "%-12s %7.1f kg  prime %7.2f Hz  peak %5.1f dBFS  mono %5.2f s  stereo %5.2f s  "
                "pan %+.2f\n",
                entry.soundFile.c_str(), entry.weightKg, bell.primeHz, mono.peakDbfs, mono.seconds,
                stereo.seconds, bell.pan);
            for (const Partial& p : bell.partials) {
                std::printf("    %-10s %6.3f  %8.2f Hz  split %5.2f Hz  amp %.3f  t60 %6.2f s\n",
                            p.name.c_str(), p.ratio, p.freqHz, p.splitHz, p.amplitude, p.t60S);
            }
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-bellsynth: %s\n", e.what());
        return 1;
    }
}
