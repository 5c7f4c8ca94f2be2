#pragma once

#include "BenchRegistry.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// The median of the values (the upper one of the two middle values for an even count).
inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One line "name median unit (min m, max M, n N)": the median is the figure, the minimum and
// the maximum show how much the runs spread.
inline void PrintSpread(const std::string& name, const std::vector<double>& values,
                        const std::string& unit) {
    if (values.empty()) {
        std::fprintf(stderr, "%s: no measurement\n", name.c_str());
        return;
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("%s %.4g %s (min %.4g, max %.4g, n %zu)\n", name.c_str(), Median(values),
                unit.c_str(), *low, *high, values.size());
    std::fflush(stdout);
}

}  // namespace bench
