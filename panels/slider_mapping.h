// Slider mappings as table rows. Every slider runs 0 to 100; each row says
// which scene values a position gives (the live value the effect reads and
// the stored copy the settings file saves) and, read backwards, where a
// stored value puts the slider.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

namespace quorbel {

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 100;

// A slider position for any computed value: clamped to 0..100 (NaN gives 0).
int ClampedPosition(double position);
// The whole part of a value (truncated towards zero) as an int32, held within
// the int32 range; NaN gives 0.
std::int32_t WholePart(double value);

// value = position / divisor * multiplier + offset, in whole numbers with the
// division truncating towards zero.
struct Linear {
    int divisor = 1;
    int multiplier = 1;
    int offset = 0;

    constexpr int Value(int position) const { return position / divisor * multiplier + offset; }
    // The slider position that gives `value`, clamped to the slider's range
    // (a stored value from a file may be anything, NaN included).
    int Position(double value) const { return ClampedPosition((value - offset) / multiplier * divisor); }
};

constexpr Linear kSame{};
constexpr Linear Plus(int offset) { return Linear{1, 1, offset}; }
constexpr Linear DividedBy(int divisor, int offset = 0) { return Linear{divisor, 1, offset}; }
constexpr Linear Times(int multiplier) { return Linear{1, multiplier, 0}; }

// One int32 or float field of the scene state, or none.
class SceneValue {
public:
    constexpr SceneValue() = default;
    constexpr SceneValue(std::int32_t SceneState::*field) : int_(field) {}  // NOLINT: implicit on purpose
    constexpr SceneValue(float SceneState::*field) : float_(field) {}      // NOLINT: implicit on purpose

    constexpr explicit operator bool() const { return int_ || float_; }
    void Set(SceneState& state, int value) const;
    // Takes a value of either kind; into an int32 field truncated towards
    // zero and held within the int32 range (NaN gives 0).
    void Assign(SceneState& state, double value) const;
    double Get(const SceneState& state) const;

private:
    std::int32_t SceneState::*int_ = nullptr;
    float SceneState::*float_ = nullptr;
};

struct SliderMapping {
    int id;
    SceneValue live;
    Linear liveMap;
    SceneValue stored;  // may be none: the live value is all there is
    Linear storedMap;
    // Read only while this holds (null: always).
    bool (*applies)(const SceneState&) = nullptr;
};

// The usual row: live value and stored copy both take the same mapping.
constexpr SliderMapping Slider(int id, SceneValue live, SceneValue stored, Linear map = kSame) {
    return SliderMapping{id, live, map, stored, map, nullptr};
}
// A row whose live value and stored copy map differently.
constexpr SliderMapping Slider(int id, SceneValue live, Linear liveMap, SceneValue stored, Linear storedMap) {
    return SliderMapping{id, live, liveMap, stored, storedMap, nullptr};
}
constexpr SliderMapping When(bool (*applies)(const SceneState&), SliderMapping row) {
    row.applies = applies;
    return row;
}

}  // namespace quorbel
