// Heap allocations made on the audio thread: 60 s of audio rendered offline while strikes and
// sweeps arrive from the UI thread between buffers, through the voice commands. The global
// allocation functions of the benchmark program count while the calling thread is inside an
// output's render call.

#include <QTemporaryDir>
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "BenchRegistry.h"
#include "sound/core/Mci.h"
#include "sound/core/OfflineOutput.h"
#include "sound/SoundFiles.h"

namespace {

std::atomic<long> gAudioAllocations{0};
std::atomic<long> gAudioFrees{0};

void* Allocate(std::size_t size) {
    if (orvane::InAudioCallback()) {
        gAudioAllocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    if (orvane::InAudioCallback()) {
        gAudioAllocations.fetch_add(1, std::memory_order_relaxed);
    }
    const auto a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) {
        return p;
    }
    throw std::bad_alloc();
}

void Free(void* p) {
    if (p != nullptr && orvane::InAudioCallback()) {
        gAudioFrees.fetch_add(1, std::memory_order_relaxed);
    }
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t align) {
    return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return AllocateAligned(size, align);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    Free(p);
}
void operator delete[](void* p) noexcept {
    Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Free(p);
}

namespace {

bench::Register allocations({"audio_thread_allocations"}, [] {
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 8; ++i) {
        paths << dir.filePath(QString("bell %1.wav").arg(i));
        bench::WriteBellSound(paths.back(), i % 2 + 1, 1.0 + i, 150.0 + 50.0 * i);
    }
    // The counter sees an allocation made inside a render call, and only there.
    {
        orvane::AudioCallbackScope scope;
        ::operator delete(::operator new(16));
    }
    ::operator delete(::operator new(16));
    const bool counts = gAudioAllocations.exchange(0) == 1 && gAudioFrees.exchange(0) == 1;

    auto output = std::make_unique<orvane::OfflineOutput>();
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    engine.SetStartLog(true);
    orvane::Mci mci(engine);
    std::mt19937 random(7);
    QStringList open;
    int strikes = 0;
    std::size_t started = 0;
    const std::int64_t total = 60 * 48000;
    // A step every 144 ms (54 buffers) and a sweep every 64 steps, as playback does, plus a
    // few key strikes.
    for (std::int64_t buffer = 0; buffer * 128 < total; ++buffer) {
        if (buffer % 54 == 0 || random() % 200 == 0) {
            const QString alias = QString::number(random() % 65565);
            if (!open.contains(alias) &&
                mci.SendString("open waveaudio!" + paths[random() % 8] + " alias " + alias,
                               nullptr) == orvane::kMciOk) {
                open << alias;
                if (random() % 2) {
                    mci.SendString("play " + alias, nullptr);
                } else {
                    mci.PlayAt(alias, engine.FramesRendered() + 500);
                }
                ++strikes;
            }
        }
        if (buffer % (54 * 64) == 0) {
            for (int i = static_cast<int>(open.size()) - 1; i >= 0; --i) {
                QString mode;
                mci.SendString("status " + open[i] + " mode", &mode);
                if (mode != "playing") {
                    mci.SendString("close " + open[i], nullptr);
                    open.removeAt(i);
                }
            }
        }
        offline->Render(128);
        if (buffer % 1000 == 0) {
            started += engine.TakeVoiceStarts().size();
        }
    }
    started += engine.TakeVoiceStarts().size();
    const bool sane = counts && strikes > 400 && started == static_cast<std::size_t>(strikes);
    if (!sane) {
        std::fprintf(stderr, "allocation bench: counter %d, strikes %d, starts %zu\n", counts,
                     strikes, started);
    }
    bench::Print("audio_thread_allocations", sane ? gAudioAllocations.load() : -1.0, "allocations");
    bench::Print("audio_thread_frees", sane ? gAudioFrees.load() : -1.0, "frees");
});

}  // namespace
