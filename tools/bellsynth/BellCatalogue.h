#pragma once

#include <string>
#include <vector>

namespace orvane::bellsynth {

// One row of the bell catalogue, reduced to what the sound needs.
struct BellEntry {
    int index = 0;          // row number, 0 = first row
    std::string soundFile;  // column 1: bare file name such as "bell00.wav"
    double weightKg = 0.0;  // column 4
};

// Reads the bell catalogue (Windows-1251 text, lines ended by CR LF, LF or CR, columns separated
// by ";"). Only the ASCII columns 1 (sound file) and 4 (weight in kg) are interpreted; empty
// lines are skipped. Throws std::runtime_error naming the file and line when the file cannot be
// read, a row has fewer than five columns, the file name is not a plain ".wav" name, two rows
// name the same file, or the weight is not a positive number.
std::vector<BellEntry> ReadBellCatalogue(const std::string& path);

}  // namespace orvane::bellsynth
