// The settings record's layout: 216 fields of 8 bytes, each bound to one
// scene parameter. The record has no header, version or count; the order of
// this table is the file's only key, so a row must never move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "scene/scene_state.h"

namespace quorbel {

constexpr std::size_t kSettingsFieldCount = 216;
constexpr std::size_t kSettingsFieldSize = 8;
constexpr std::size_t kSettingsFileSize = kSettingsFieldCount * kSettingsFieldSize;  // 1,728

// How a field's first word holds its parameter.
enum class StoredAs {
    Int32,           // an integer parameter, unchanged
    FloatWholePart,  // a float parameter truncated toward zero to a 32-bit integer
    Float32,         // a float parameter, all its bits
};

// One row: the field's index in the file, how it is stored, and its
// parameter (the integer member for Int32, the float member otherwise).
struct SettingsField {
    std::size_t index;
    StoredAs storedAs;
    std::int32_t SceneState::*intParameter;
    float SceneState::*floatParameter;
    const char* name;  // the parameter's scene-field name
};

// All 216 rows in file order.
std::span<const SettingsField> SettingsFields();

}  // namespace quorbel
