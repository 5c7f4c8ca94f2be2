#include "app/core/FontConfigWarmup.h"

#include <fontconfig/fontconfig.h>

namespace orvane {

FontConfigWarmup::FontConfigWarmup() : thread_([] { FcInit(); }) {}

FontConfigWarmup::~FontConfigWarmup() {
    Wait();
}

void FontConfigWarmup::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace orvane
