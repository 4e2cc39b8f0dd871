#include "panels/slider_mapping.h"

#include <algorithm>
#include <cmath>

namespace quorbel {

int ClampedPosition(double position) {
    if (!(position >= kSliderMin)) return kSliderMin;  // NaN lands here too
    if (position >= kSliderMax) return kSliderMax;
    return static_cast<int>(std::trunc(position));
}

std::int32_t WholePart(double value) {
    if (!(value == value)) return 0;
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), double{INT32_MIN}, double{INT32_MAX}));
}

void SceneValue::Set(SceneState& state, int value) const {
    if (int_) state.*int_ = value;
    if (float_) state.*float_ = static_cast<float>(value);
}

void SceneValue::Assign(SceneState& state, double value) const {
    if (float_) state.*float_ = static_cast<float>(value);
    if (int_) state.*int_ = WholePart(value);
}

double SceneValue::Get(const SceneState& state) const {
    if (int_) return state.*int_;
    if (float_) return state.*float_;
    return 0.0;
}

}  // namespace quorbel
