#include "app/ui/BackBufferReserve.h"

#include <QBackingStore>
#include <QImage>
#include <QWidget>

#include <cstdint>

namespace orvane {

namespace {

// The window's back buffer, sized as its first paint would size it; empty when it has none in
// memory.
BackgroundFaultIn::Range BackBufferOf(QWidget& window) {
    QBackingStore* store = window.isWindow() && window.isVisible() ? window.backingStore() : nullptr;
    if (store == nullptr) {
        return {};
    }
    // The size the first paint gives it; that paint then keeps the buffer made here.
    if (store->size() != window.size()) {
        store->resize(window.size());
    }
    QPaintDevice* device = store->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) {
        return {};
    }
    const auto* image = static_cast<const QImage*>(device);
    if (image->isNull()) {
        return {};
    }
    const auto from = reinterpret_cast<std::uintptr_t>(image->constBits());
    return {from, from + std::uintptr_t(image->sizeInBytes())};
}

}  // namespace

// The buffer stays while the window is not resized; a resize meanwhile only makes the
// faulting-in touch a range no longer used, or fail.
BackBufferReserve::BackBufferReserve(QWidget& window) : BackgroundFaultIn(BackBufferOf(window)) {}

}  // namespace orvane
