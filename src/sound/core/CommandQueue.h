#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

namespace orvane {

// A bounded single-producer/single-consumer ring of trivially copyable items. Exactly one thread
// pushes and exactly one (other or the same) thread pops. The storage is part of the object: no
// operation allocates, locks or blocks, so the audio thread may be either side. Capacity is a
// power of two.
template <typename T, std::size_t Capacity>
class CommandQueue {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0);

  public:
    static constexpr std::size_t kCapacity = Capacity;

    // Producer side. False (and nothing stored) when the ring is full.
    bool Push(const T& item) {
        const std::uint64_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - headCache_ >= Capacity) {
            headCache_ = head_.load(std::memory_order_acquire);
            if (tail - headCache_ >= Capacity) {
                return false;
            }
        }
        items_[tail & (Capacity - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Producer side: the number of items that can be pushed now without failing (a lower bound;
    // the consumer may free more at any time).
    std::size_t FreeSpace() const {
        const std::uint64_t tail = tail_.load(std::memory_order_relaxed);
        return Capacity - static_cast<std::size_t>(tail - head_.load(std::memory_order_acquire));
    }

    // Consumer side. False when the ring is empty.
    bool Pop(T& item) {
        const std::uint64_t head = head_.load(std::memory_order_relaxed);
        if (head == tailCache_) {
            tailCache_ = tail_.load(std::memory_order_acquire);
            if (head == tailCache_) {
                return false;
            }
        }
        item = items_[head & (Capacity - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

  private:
    static constexpr std::size_t kLine = 64;

    // Written by the producer.
    alignas(kLine) std::atomic<std::uint64_t> tail_{0};
    std::uint64_t headCache_ = 0;
    // Written by the consumer.
    alignas(kLine) std::atomic<std::uint64_t> head_{0};
    std::uint64_t tailCache_ = 0;
    alignas(kLine) std::array<T, Capacity> items_{};
};

}  // namespace orvane
