#include "app/core/FontConfigWarmup.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include <fontconfig/fontconfig.h>

namespace orvane {

FontConfigWarmup::FontConfigWarmup() : thread_([this] { Run(); }) {}

FontConfigWarmup::~FontConfigWarmup() {
    {
        const std::lock_guard lock(mutex_);
        if (next_ == Next::kUndecided) {
            next_ = Next::kEnd;
        }
    }
    changed_.notify_all();
    thread_.join();
}

void FontConfigWarmup::Run() {
    FcInit();
    std::unique_lock lock(mutex_);
    configRead_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return next_ != Next::kUndecided; });
    if (next_ != Next::kFontDatabase) {
        return;
    }
    lock.unlock();
    // Both land in process-wide caches: the list of the system's fonts, and the match of the
    // application font with its fallback families. The font engines this thread loads are its
    // own and go with it.
    QFontDatabase::families();
    QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("Ab"));
}

void FontConfigWarmup::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return configRead_; });
}

void FontConfigWarmup::ApplicationReady() {
    {
        const std::lock_guard lock(mutex_);
        if (next_ == Next::kUndecided) {
            next_ = Next::kFontDatabase;
        }
    }
    changed_.notify_all();
}

}  // namespace orvane
