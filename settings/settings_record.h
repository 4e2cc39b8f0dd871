// The settings record in memory: 216 fields, each read into and written from
// its own 8-byte buffer. The buffers live for the whole run. A read fills
// them from the file; a write puts each parameter's value into the first
// word of its buffer and writes all 8 bytes. The second word is never
// interpreted, only carried from the last read to the next write, and a
// field past the end of a short file keeps what its buffer held (the value
// last read or written in this run, or zero).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "scene/scene_state.h"
#include "settings/settings_fields.h"

namespace quorbel {

using SettingsBytes = std::array<std::uint8_t, kSettingsFileSize>;

// Sets every parameter from `bytes`; bytes beyond the record are ignored.
// Any 32-bit value is accepted: the users of each parameter keep it safe.
void LoadSettingsRecord(std::span<const std::uint8_t> bytes, SceneState& state);
// The record of `state`, with the second words as last read.
SettingsBytes StoreSettingsRecord(const SceneState& state);
// Zeroes the buffers, as at program start (tests, fuzzing).
void ForgetSettingsBuffers();

// What a float stored as its whole part becomes in the file: truncated
// toward zero and held within the 32-bit range (a NaN is stored as 0), so
// even a runaway value is written as a defined number.
std::int32_t WholePartForFile(float value);

// Reads the record from the file's current position into `state`. Returns a
// description of the failure when the file cannot be read; nothing changes
// then. A short file is not a failure.
std::optional<std::string> ReadSettings(std::FILE* file, SceneState& state);

}  // namespace quorbel
