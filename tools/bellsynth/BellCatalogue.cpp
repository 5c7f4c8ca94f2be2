#include "BellCatalogue.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

namespace orvane::bellsynth {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

std::vector<std::string> SplitColumns(const std::string& line) {
    std::vector<std::string> columns;
    std::string::size_type start = 0;
    while (true) {
        const auto end = line.find(';', start);
        columns.push_back(line.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return columns;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool IsPlainWavName(const std::string& name) {
    if (name.size() < 5 || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') ||
                        (u >= 'a' && u <= 'z') || c == '_' || c == '-' || c == '.';
        if (!ok) {
            return false;
        }
    }
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext == ".wav";
}

}  // namespace

std::vector<BellEntry> ReadBellCatalogue(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    std::vector<BellEntry> bells;
    std::set<std::string> names;
    const auto lines = SplitLines(text);
    for (std::size_t lineNo = 0; lineNo < lines.size(); ++lineNo) {
        if (Trim(lines[lineNo]).empty()) {
            continue;
        }
        auto fail = [&](const std::string& why) {
            std::ostringstream msg;
            msg << path << ":" << lineNo + 1 << ": " << why;
            throw std::runtime_error(msg.str());
        };
        const auto columns = SplitColumns(lines[lineNo]);
        if (columns.size() < 5) {
            fail("expected at least 5 columns separated by ';'");
        }
        BellEntry bell;
        bell.index = static_cast<int>(bells.size());
        bell.soundFile = Trim(columns[1]);
        if (!IsPlainWavName(bell.soundFile)) {
            fail("sound file '" + bell.soundFile + "' is not a plain .wav file name");
        }
        if (!names.insert(bell.soundFile).second) {
            fail("sound file '" + bell.soundFile + "' is named twice");
        }
        const std::string weight = Trim(columns[4]);
        const char* first = weight.data();
        const char* last = weight.data() + weight.size();
        const auto [end, ec] = std::from_chars(first, last, bell.weightKg);
        if (weight.empty() || ec != std::errc() || end != last || !std::isfinite(bell.weightKg) ||
            bell.weightKg <= 0.0) {
            fail("weight '" + weight + "' is not a positive number");
        }
        bells.push_back(bell);
    }
    if (bells.empty()) {
        throw std::runtime_error(path + ": no bells");
    }
    return bells;
}

}  // namespace orvane::bellsynth
