#include "platform/display.h"

#include "platform/platform_error.h"

namespace zk {

void checkDisplaySize(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxDisplaySide || height > kMaxDisplaySide) {
        throw PlatformError("Display size " + std::to_string(width) + " x " +
                            std::to_string(height) + " is not supported");
    }
}

}  // namespace zk
