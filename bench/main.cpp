#include "BenchRegistry.h"

#include <QApplication>
#include <algorithm>
#include <cstdlib>

namespace bench {
std::vector<Benchmark>& Registry() {
    static std::vector<Benchmark> registry;
    return registry;
}
}  // namespace bench

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<std::string> wanted(argv + 1, argv + argc);
    int ran = 0;
    for (const bench::Benchmark& b : bench::Registry()) {
        const bool selected =
            wanted.empty() || std::any_of(b.figures.begin(), b.figures.end(), [&](const std::string& f) {
                return std::find(wanted.begin(), wanted.end(), f) != wanted.end();
            });
        if (selected) {
            b.run();
            ++ran;
        }
    }
    return ran > 0 || wanted.empty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
