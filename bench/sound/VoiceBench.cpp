#include "BenchRegistry.h"
#include "sound/core/VoicePlayer.h"
#include "sound/core/VoiceWorkers.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Every opened voice rings until closed; counts the commands it is sent.
struct RingingMci : orvane::MciInterface {
    QSet<QString> open;
    long commands = 0;
    int SendString(const QString& command, QString* answer) override {
        ++commands;
        const QString alias = command.section(u' ', -1);
        if (command.startsWith(u"open ")) {
            open.insert(alias);
        } else if (command.startsWith(u"close ")) {
            open.remove(alias);
        } else if (command.startsWith(u"status ")) {
            *answer = open.contains(command.section(u' ', 1, 1)) ? QStringLiteral("playing")
                                                                 : QStringLiteral("stopped");
        }
        return 0;
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A strike when all 64 strike aliases ring: the longest-ringing voice gives way.
bench::Register fullPool({"strike_full_pool_us", "strike_full_pool_commands"}, [] {
    RingingMci mci;
    std::uint32_t seed = 12345;
    orvane::VoicePlayer player(mci, [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % std::uint32_t(n));
    });
    while (player.Voices().size() < orvane::VoicePlayer::kStrikeAliasCount) {
        player.StrikeFile("bell.wav");
    }
    constexpr int kStrikes = 2000;
    mci.commands = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kStrikes; ++i) {
        player.StrikeFile("bell.wav");
    }
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    bench::Print("strike_full_pool_us", us / kStrikes, "us");
    bench::Print("strike_full_pool_commands", double(mci.commands) / kStrikes, "commands");
});

// From starting a striking worker to its call running on the user-interface thread, with the
// event loop otherwise idle.
bench::Register workerRoundTrip({"key_worker_handoff_median_ms", "key_worker_handoff_max_ms"}, [] {
    orvane::VoiceWorkers workers;
    std::vector<double> delays;
    for (int i = 0; i < 300; ++i) {
        bool ran = false;
        Clock::time_point called;
        const auto start = Clock::now();
        workers.StartStrikeWorker([&] {
            called = Clock::now();
            ran = true;
        });
        while (!ran) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        delays.push_back(std::chrono::duration<double, std::milli>(called - start).count());
    }
    bench::Print("key_worker_handoff_median_ms", Median(delays), "ms");
    bench::Print("key_worker_handoff_max_ms", *std::max_element(delays.begin(), delays.end()),
                 "ms");
});

}  // namespace
