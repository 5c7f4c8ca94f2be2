#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A benchmark registers the names of the figures it prints and a function that measures them
// and prints each as one line "name value unit" through Print.
namespace bench {

struct Benchmark {
    std::vector<std::string> figures;
    std::function<void()> run;
};

std::vector<Benchmark>& Registry();

struct Register {
    Register(std::vector<std::string> figures, std::function<void()> run) {
        Registry().push_back({std::move(figures), std::move(run)});
    }
};

inline void Print(const std::string& name, double value, const std::string& unit) {
    std::printf("%s %.4g %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

}  // namespace bench
