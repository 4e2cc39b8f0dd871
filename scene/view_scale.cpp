#include "scene/view_scale.h"

#include <algorithm>
#include <cmath>

namespace quorbel {

float ViewScale(int width, int height) {
    if (width <= 0 || height <= 0) return 1.0f;
    return std::min(static_cast<float>(width) / kDesignWidth, static_cast<float>(height) / kDesignHeight);
}

int ScaledPixels(int designPixels, int width, int height) {
    return std::max(1, static_cast<int>(std::lround(designPixels * ViewScale(width, height))));
}

}  // namespace quorbel
