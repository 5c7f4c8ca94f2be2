#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace orvane {

// The steady-clock time at which an input event happened, from the window system's timestamp
// of the event. X servers stamp events with the monotonic clock in whole milliseconds, wrapped
// at 32 bits; the steady clock runs on the same monotonic clock, so the stamp places the event
// within half a millisecond (the middle of its millisecond is taken). A stamp that is not
// plausible for an event seen at `now` (in the future, or older than `maxAge`, as stamps of
// synthetic events or of other clocks are) gives nothing: the caller then uses `now`.
// Pure function, any thread.
std::optional<std::chrono::steady_clock::time_point> InputEventTime(
    std::uint64_t timestampMs, std::chrono::steady_clock::time_point now,
    std::chrono::milliseconds maxAge = std::chrono::milliseconds(1000));

}  // namespace orvane
