#include "settings/settings_record.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace quorbel {

namespace {

using FieldBuffer = std::array<std::uint8_t, kSettingsFieldSize>;
std::array<FieldBuffer, kSettingsFieldCount> fieldBuffers{};

std::uint32_t FirstWord(const FieldBuffer& buffer) {
    return static_cast<std::uint32_t>(buffer[0]) | static_cast<std::uint32_t>(buffer[1]) << 8 |
           static_cast<std::uint32_t>(buffer[2]) << 16 | static_cast<std::uint32_t>(buffer[3]) << 24;
}

void SetFirstWord(FieldBuffer& buffer, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i) buffer[i] = static_cast<std::uint8_t>(word >> (8 * i));
}

void SetParameter(const SettingsField& field, std::uint32_t word, SceneState& state) {
    const auto whole = static_cast<std::int32_t>(word);
    switch (field.storedAs) {
        case StoredAs::Int32: state.*field.intParameter = whole; break;
        case StoredAs::FloatWholePart: state.*field.floatParameter = static_cast<float>(whole); break;
        case StoredAs::Float32: state.*field.floatParameter = std::bit_cast<float>(word); break;
    }
}

std::uint32_t ParameterWord(const SettingsField& field, const SceneState& state) {
    switch (field.storedAs) {
        case StoredAs::Int32: return static_cast<std::uint32_t>(state.*field.intParameter);
        case StoredAs::FloatWholePart:
            return static_cast<std::uint32_t>(WholePartForFile(state.*field.floatParameter));
        case StoredAs::Float32: return std::bit_cast<std::uint32_t>(state.*field.floatParameter);
    }
    return 0;
}

}  // namespace

std::int32_t WholePartForFile(float value) {
    if (std::isnan(value)) return 0;
    // 2^31 is exactly representable; anything at or beyond it saturates.
    constexpr float kLimit = 2147483648.0f;
    if (value >= kLimit) return INT32_MAX;
    if (value < -kLimit) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

void LoadSettingsRecord(std::span<const std::uint8_t> bytes, SceneState& state) {
    for (const SettingsField& field : SettingsFields()) {
        FieldBuffer& buffer = fieldBuffers[field.index];
        const std::size_t offset = field.index * kSettingsFieldSize;
        if (offset < bytes.size()) {
            const std::size_t available = std::min(kSettingsFieldSize, bytes.size() - offset);
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), available, buffer.begin());
        }
        SetParameter(field, FirstWord(buffer), state);
    }
}

SettingsBytes StoreSettingsRecord(const SceneState& state) {
    SettingsBytes bytes{};
    for (const SettingsField& field : SettingsFields()) {
        FieldBuffer& buffer = fieldBuffers[field.index];
        SetFirstWord(buffer, ParameterWord(field, state));
        const auto offset = static_cast<std::ptrdiff_t>(field.index * kSettingsFieldSize);
        std::copy(buffer.begin(), buffer.end(), bytes.begin() + offset);
    }
    return bytes;
}

void ForgetSettingsBuffers() { fieldBuffers = {}; }

std::optional<std::string> ReadSettings(std::FILE* file, SceneState& state) {
    SettingsBytes bytes{};
    std::size_t got = 0;
    errno = 0;
    while (got < bytes.size()) {
        const std::size_t n = std::fread(bytes.data() + got, 1, bytes.size() - got, file);
        if (n == 0) break;
        got += n;
    }
    // A folder opens like a file but cannot be read; neither can a file on a
    // failing disk. Taking such a read as a short file would load nothing yet
    // look like success.
    if (std::ferror(file)) return std::string(std::strerror(errno ? errno : EIO));
    LoadSettingsRecord(std::span<const std::uint8_t>(bytes.data(), got), state);
    return std::nullopt;
}

}  // namespace quorbel
