#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace orvane {

// A bounded multi-producer/single-consumer ring of trivially copyable items. Any number of
// threads push at once; exactly one thread pops. The storage is part of the object: no operation
// allocates, locks or blocks, so the audio thread may be the consumer (or a producer).
// Capacity is a power of two.
//
// Items come out in the order of their positions: every push claims the next position of the
// ring (0, 1, 2, ... over the ring's life) and PushWith hands that position to the caller's fill,
// so a number derived from it (a serial) increases strictly in the order the consumer sees.
// A producer that stalls between claiming a position and filling it holds back the items behind
// it; the consumer then simply finds the ring empty until it is filled.
//
// ProducerPause::AfterTailRead() runs in a push between its reading of the producers' position
// and of the consumer's: nothing in the program, a place where a test stops a producer as the
// scheduler may.
struct NoProducerPause {
    static void AfterTailRead() {}
};

template <typename T, std::size_t Capacity, typename ProducerPause = NoProducerPause>
class MultiProducerQueue {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0);

  public:
    static constexpr std::size_t kCapacity = Capacity;

    // Producer side, any thread. False (and nothing stored) when the ring is full.
    bool Push(const T& item) {
        return PushWith(0, [&item](T& slot, std::uint64_t) { slot = item; });
    }

    // Producer side, any thread. Claims a position while more than `reserve` places are free
    // (counting items claimed by other producers but not yet popped), calls fill(slot, position)
    // to write the item in place, then publishes it. False, without calling fill, when the ring
    // has `reserve` or fewer free places. `fill` must not throw.
    template <typename Fill>
    bool PushWith(std::size_t reserve, Fill&& fill) {
        if (reserve >= Capacity) {
            return false;
        }
        std::uint64_t position = tail_.load(std::memory_order_relaxed);
        ProducerPause::AfterTailRead();
        for (;;) {
            const std::uint64_t head = head_.load(std::memory_order_acquire);
            if (position < head) {
                // Read before other pushes that the consumer has already taken: out of date,
                // and not a full ring. Read after the consumer's position, it is at least that.
                position = tail_.load(std::memory_order_relaxed);
                continue;
            }
            if (position - head >= Capacity - reserve) {
                return false;
            }
            if (tail_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed,
                                            std::memory_order_relaxed)) {
                break;
            }
        }
        // The consumer has read this cell's previous item: head passed it before we claimed.
        Cell& cell = cells_[position & (Capacity - 1)];
        fill(cell.item, position);
        cell.sequence.store(position + 1, std::memory_order_release);
        return true;
    }

    // Any thread: the number of free places now (a snapshot; producers and the consumer may
    // change it at any time).
    std::size_t FreeSpace() const {
        const std::uint64_t head = head_.load(std::memory_order_acquire);
        const std::uint64_t tail = tail_.load(std::memory_order_acquire);
        return tail - head >= Capacity ? 0 : Capacity - static_cast<std::size_t>(tail - head);
    }

    // Consumer side. False when the ring is empty, or when the next item's producer has not
    // finished writing it.
    bool Pop(T& item) {
        const std::uint64_t head = head_.load(std::memory_order_relaxed);
        Cell& cell = cells_[head & (Capacity - 1)];
        if (cell.sequence.load(std::memory_order_acquire) != head + 1) {
            return false;
        }
        item = cell.item;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

  private:
    static constexpr std::size_t kLine = 64;

    struct Cell {
        // position + 1 once the item of `position` is written; older values before.
        std::atomic<std::uint64_t> sequence{0};
        T item{};
    };

    // Claimed by the producers.
    alignas(kLine) std::atomic<std::uint64_t> tail_{0};
    // Written by the consumer.
    alignas(kLine) std::atomic<std::uint64_t> head_{0};
    alignas(kLine) std::array<Cell, Capacity> cells_{};
};

}  // namespace orvane
