#include "app/ui/BackBufferReserve.h"

#include "app/core/PageFaults.h"

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include <cstdint>

namespace orvane {

BackBufferReserve::BackBufferReserve(QWidget& window) {
    QBackingStore* store = window.isWindow() && window.isVisible() ? window.backingStore() : nullptr;
    if (store == nullptr) {
        return;
    }
    // The size the first paint gives it; that paint then keeps the buffer made here.
    if (store->size() != window.size()) {
        store->resize(window.size());
    }
    QPaintDevice* device = store->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) {
        return;
    }
    auto* image = static_cast<QImage*>(device);
    const auto from = reinterpret_cast<std::uintptr_t>(image->constBits());
    const auto to = from + std::uintptr_t(image->sizeInBytes());
    if (image->isNull() || !FaultInWritable(from, from + 1)) {
        return;
    }
    bytes_ = std::size_t(to - from);
    // The buffer stays while the window is not resized; a resize meanwhile only makes the call
    // fault in a range no longer used, or fail.
    thread_ = std::thread([from, to] { FaultInWritable(from, to); });
}

BackBufferReserve::~BackBufferReserve() {
    Wait();
}

void BackBufferReserve::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace orvane
