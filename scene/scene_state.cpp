#include "scene/scene_state.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "scene/number_text.h"
#include "scene/title_text.h"

namespace quorbel {

SceneState scene;

namespace {

template <typename T> FieldInfo MakeInfo(const char* name, T SceneState::*member);
template <> FieldInfo MakeInfo(const char* name, std::int32_t SceneState::*m) {
    FieldInfo info{name, FieldKind::Int32};
    info.int32Field = m;
    return info;
}
// Colour references are the unsigned fields named for a colour or a tint.
bool NamesAColour(std::string_view name) { return name.ends_with("Colour") || name.ends_with("Tint"); }

template <> FieldInfo MakeInfo(const char* name, std::uint32_t SceneState::*m) {
    FieldInfo info{name, FieldKind::UInt32};
    info.uint32Field = m;
    info.colour = NamesAColour(name);
    return info;
}
template <> FieldInfo MakeInfo(const char* name, float SceneState::*m) {
    FieldInfo info{name, FieldKind::Float};
    info.floatField = m;
    return info;
}
template <> FieldInfo MakeInfo(const char* name, TextField SceneState::*m) {
    FieldInfo info{name, FieldKind::Text};
    info.textField = m;
    return info;
}

std::vector<FieldInfo> BuildTable() {
    std::vector<FieldInfo> table;
#define QUORBEL_FIELD_INFO(type, name, start) table.push_back(MakeInfo<type>(#name, &SceneState::name));
    QUORBEL_SCENE_FIELDS(QUORBEL_FIELD_INFO)
#undef QUORBEL_FIELD_INFO
    return table;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string Refusal(std::string_view value, const std::string& what, std::string_view name) {
    // Built by appending: GCC 12 warns falsely about "'" + std::string.
    std::string message(1, '\'');
    message.append(value).append("' is not ").append(what).append(" (field ").append(name).append(")");
    return message;
}

std::optional<std::string> SetWhole(SceneState& state, const FieldInfo& info, std::string_view value) {
    const bool isSigned = info.kind == FieldKind::Int32;
    const std::int64_t low = isSigned ? INT32_MIN : 0, high = isSigned ? INT32_MAX : UINT32_MAX;
    ParsedNumber<std::int64_t> parsed = ParseWholeNumber(value, low, high);
    if (!parsed.ok()) return Refusal(value, "a whole number " + RangeText(low, high), info.name);
    if (isSigned) state.*(info.int32Field) = static_cast<std::int32_t>(parsed.value);
    else state.*(info.uint32Field) = static_cast<std::uint32_t>(parsed.value);
    return std::nullopt;
}

std::optional<std::string> SetColour(SceneState& state, const FieldInfo& info, std::string_view value) {
    ParsedNumber<std::uint32_t> parsed = ParseColourText(value);
    if (!parsed.ok())
        return Refusal(value, "a colour: 0xRRGGBB, or a colour reference " + RangeText(0, UINT32_MAX), info.name);
    state.*(info.uint32Field) = parsed.value;
    return std::nullopt;
}

std::optional<std::string> SetFloat(SceneState& state, const FieldInfo& info, std::string_view value) {
    ParsedNumber<float> parsed = ParseFiniteFloat(value);
    if (parsed.status == NumberStatus::OutOfRange)
        return Refusal(value, "a number a float can hold (at most about 3.4e38 either side of zero)", info.name);
    if (!parsed.ok()) return Refusal(value, "a finite number", info.name);
    state.*(info.floatField) = parsed.value;
    return std::nullopt;
}

// Text fields hold UTF-8; the title also follows the title's rules.
std::optional<std::string> SetText(SceneState& state, const FieldInfo& info, std::string_view value) {
    const bool title = info.textField == &SceneState::titleText;
    const std::string text = title ? TitleFromText(value) : TextAsUtf8(value);
    if (const std::size_t count = CharacterCount(text); count > TextField::kMaxCharacters)
        return "a text of " + std::to_string(count) + " characters is longer than the 255 field " +
               info.name + " holds";
    (state.*(info.textField)).Assign(text);
    return std::nullopt;
}

std::optional<std::string> SetKnownField(SceneState& state, const FieldInfo& info, std::string_view value) {
    switch (info.kind) {
        case FieldKind::Int32: return SetWhole(state, info, value);
        case FieldKind::UInt32: return info.colour ? SetColour(state, info, value) : SetWhole(state, info, value);
        case FieldKind::Float: return SetFloat(state, info, value);
        case FieldKind::Text: return SetText(state, info, value);
    }
    return std::nullopt;
}

}  // namespace

const std::vector<FieldInfo>& SceneFieldTable() {
    static const std::vector<FieldInfo> table = BuildTable();
    return table;
}

const FieldInfo* FindSceneField(std::string_view name) {
    for (const FieldInfo& info : SceneFieldTable())
        if (name == info.name) return &info;
    return nullptr;
}

std::optional<std::string> SetSceneField(SceneState& state, std::string_view name, std::string_view value) {
    const FieldInfo* info = FindSceneField(name);
    if (!info) {
        std::string message = "unknown scene field '" + std::string(name) + "'";
        auto close = CloseFieldNames(name);
        if (!close.empty()) {
            message += "; did you mean";
            for (std::size_t i = 0; i < close.size(); ++i) message += (i ? ", " : " ") + close[i];
            message += "?";
        }
        return message;
    }
    return SetKnownField(state, *info, value);
}

std::optional<std::string> GetSceneField(const SceneState& state, std::string_view name) {
    const FieldInfo* info = FindSceneField(name);
    if (!info) return std::nullopt;
    char buffer[64];
    switch (info->kind) {
        case FieldKind::Int32: return std::to_string(state.*(info->int32Field));
        case FieldKind::UInt32: return std::to_string(state.*(info->uint32Field));
        case FieldKind::Float: {
            // As printf's %.9g, but with a decimal point whatever the desktop's locale.
            auto end = std::to_chars(buffer, buffer + sizeof buffer, state.*(info->floatField),
                                     std::chars_format::general, 9).ptr;
            return std::string(buffer, end);
        }
        case FieldKind::Text: return std::string((state.*(info->textField)).view());
    }
    return std::nullopt;
}

std::vector<std::string> CloseFieldNames(std::string_view name, std::size_t limit) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const FieldInfo& info : SceneFieldTable()) {
        std::string_view candidate = info.name;
        std::size_t distance = EditDistance(name, candidate);
        bool contains = !name.empty() && candidate.find(name) != std::string_view::npos;
        if (contains) distance = std::min<std::size_t>(distance, 1);
        if (distance <= std::max<std::size_t>(3, name.size() / 3)) ranked.emplace_back(distance, info.name);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ranked.size() && i < limit; ++i) names.push_back(ranked[i].second);
    return names;
}

}  // namespace quorbel
