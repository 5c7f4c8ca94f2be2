#include "app/core/FontConfigWarmup.h"

#include <fontconfig/fontconfig.h>

namespace orvane {

FontConfigWarmup::FontConfigWarmup() : thread_([] { FcInit(); }) {}

FontConfigWarmup::~FontConfigWarmup() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace orvane
