// The one scene state that the shell, the renderer, the panels and the
// settings file share. Switches follow the program-wide convention: 2 (or
// more) is on, 0 or 1 is off. Everything here is plain data; `scene` is the
// single instance, touched only on the UI thread.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/scene_fields.h"

namespace quorbel {

// A fixed text field (the title, the font face) holding UTF-8: room for 255
// characters of up to four bytes each, no allocation, and copying the whole
// scene stays a plain memberwise copy.
struct TextField {
    static constexpr std::size_t kMaxCharacters = 255;
    static constexpr std::size_t kCapacity = 4 * kMaxCharacters + 4;
    char chars[kCapacity] = {};

    TextField() = default;
    TextField(const char* text) { Assign(text); }  // NOLINT: implicit on purpose
    // Text too long for the field is cut before the character that would
    // not fit, never inside one.
    void Assign(std::string_view text) {
        std::size_t n = text.size() < kCapacity - 1 ? text.size() : kCapacity - 1;
        if (n < text.size())
            while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0u) == 0x80u) --n;
        std::memcpy(chars, text.data(), n);
        chars[n] = '\0';
    }
    const char* c_str() const { return chars; }
    std::string_view view() const { return chars; }
    bool operator==(std::string_view other) const { return view() == other; }
};

constexpr bool On(std::int32_t value) { return value >= 2; }

// Colour references are 0x00BBGGRR (red in the low byte), as colour choosers
// give them; each byte times 1/255 is a channel.
constexpr float kColourByteScale = 0.003921569f;
constexpr float RedOf(std::uint32_t colour) { return static_cast<float>(colour & 0xFFu) * kColourByteScale; }
constexpr float GreenOf(std::uint32_t colour) {
    return static_cast<float>((colour >> 8) & 0xFFu) * kColourByteScale;
}
constexpr float BlueOf(std::uint32_t colour) {
    return static_cast<float>((colour >> 16) & 0xFFu) * kColourByteScale;
}

struct SceneState {
#define QUORBEL_DECLARE_FIELD(type, name, start) type name = start;
    QUORBEL_SCENE_FIELDS(QUORBEL_DECLARE_FIELD)
#undef QUORBEL_DECLARE_FIELD

    // Texture sets loaded at start-up; the first of tileTexturesB is also the
    // tile layer one slot.
    std::array<std::uint32_t, 4> baseTextures{};
    std::array<std::uint32_t, 5> tileTexturesA{};
    std::array<std::uint32_t, 5> tileTexturesB{};
    std::uint32_t& tileTexture1() { return tileTexturesB[0]; }
};

extern SceneState scene;

// ----- access by name -------------------------------------------------------

enum class FieldKind { Int32, UInt32, Float, Text };

struct FieldInfo {
    const char* name;
    FieldKind kind;
    std::int32_t SceneState::*int32Field = nullptr;
    std::uint32_t SceneState::*uint32Field = nullptr;
    float SceneState::*floatField = nullptr;
    TextField SceneState::*textField = nullptr;
    // A colour reference (0x00BBGGRR): also takes 0xRRGGBB text.
    bool colour = false;
};

const std::vector<FieldInfo>& SceneFieldTable();
const FieldInfo* FindSceneField(std::string_view name);

// Sets a field from its text form: whole numbers in decimal ("2", "-7"),
// floats ("-0.5", "1e-3"), colours also as 0xRRGGBB ("0xff8000" is orange),
// any text for a text field. Returns an error message, or nothing on success;
// a refused value leaves the field as it was.
std::optional<std::string> SetSceneField(SceneState& state, std::string_view name, std::string_view value);
// The field's value as text, or nothing for an unknown name.
std::optional<std::string> GetSceneField(const SceneState& state, std::string_view name);
// Up to `limit` known names closest to `name`, for error messages.
std::vector<std::string> CloseFieldNames(std::string_view name, std::size_t limit = 5);

}  // namespace quorbel
