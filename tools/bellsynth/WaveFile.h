#pragma once

#include <string>
#include <vector>

namespace orvane::bellsynth {

// Figures of a written file, for the tool's log.
struct WaveFileInfo {
    double seconds = 0.0;
    double peakDbfs = 0.0;
};

// Finishes a rendered sound and writes it as a 16-bit PCM wave file:
// - scales all channels together so that the highest peak is at peakDbfs;
// - ends the sound where the last sample of any channel exceeds -60 dB of that peak, with a
//   raised-cosine fade of fadeS seconds so that the file ends on silence;
// - rounds to 16 bits (nearest, halves to even), clamped, and writes the file through a
//   temporary name and a rename, so a failed run never leaves half a file.
// channels holds one vector per channel, all of the same length. Throws std::runtime_error when
// the file cannot be written or the sound is silent.
WaveFileInfo WriteFinishedWave(const std::string& path, std::vector<std::vector<double>> channels,
                               int sampleRate, double peakDbfs, double fadeS = 0.08);

}  // namespace orvane::bellsynth
