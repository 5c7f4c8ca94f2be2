#include "sound/core/InputEventTime.h"

namespace orvane {

std::optional<std::chrono::steady_clock::time_point> InputEventTime(std::uint64_t timestampMs,
                                                                    std::chrono::steady_clock::time_point now,
                                                                    std::chrono::milliseconds maxAge) {
    using namespace std::chrono;
    const auto nowMs = duration_cast<milliseconds>(now.time_since_epoch()).count();
    // Age in whole milliseconds, modulo the 32-bit wrap of the stamp.
    const std::uint32_t age = std::uint32_t(std::uint64_t(nowMs) - timestampMs);
    if (timestampMs == 0 || age > std::uint64_t(maxAge.count())) {
        return std::nullopt;
    }
    const auto stamped = steady_clock::time_point(milliseconds(nowMs - std::int64_t(age))) + microseconds(500);
    return stamped < now ? stamped : now;
}

}  // namespace orvane
