#include "scene/scene_state.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorbel {

SceneState scene;

namespace {

template <typename T> FieldInfo MakeInfo(const char* name, T SceneState::*member);
template <> FieldInfo MakeInfo(const char* name, std::int32_t SceneState::*m) {
    FieldInfo info{name, FieldKind::Int32};
    info.int32Field = m;
    return info;
}
template <> FieldInfo MakeInfo(const char* name, std::uint32_t SceneState::*m) {
    FieldInfo info{name, FieldKind::UInt32};
    info.uint32Field = m;
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

std::optional<long long> ParseInteger(std::string_view text) {
    std::string s(text);
    if (s.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(s.c_str(), &end, 0);  // base 0 takes 0x.. colour references
    if (errno != 0 || end == s.c_str() || *end != '\0') return std::nullopt;
    return value;
}

std::optional<float> ParseFloat(std::string_view text) {
    std::string s(text);
    if (s.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    float value = std::strtof(s.c_str(), &end);
    if (errno != 0 || end == s.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
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
    auto malformed = [&](const char* what) {
        std::string message(1, '\'');
        message.append(value).append("' is not ").append(what).append(" (field ").append(name).append(")");
        return message;
    };
    switch (info->kind) {
        case FieldKind::Int32: {
            auto v = ParseInteger(value);
            if (!v || *v < INT32_MIN || *v > INT32_MAX) return malformed("a 32-bit integer");
            state.*(info->int32Field) = static_cast<std::int32_t>(*v);
            return std::nullopt;
        }
        case FieldKind::UInt32: {
            auto v = ParseInteger(value);
            if (!v || *v < 0 || *v > UINT32_MAX) return malformed("an unsigned 32-bit integer");
            state.*(info->uint32Field) = static_cast<std::uint32_t>(*v);
            return std::nullopt;
        }
        case FieldKind::Float: {
            auto v = ParseFloat(value);
            if (!v) return malformed("a finite number");
            state.*(info->floatField) = *v;
            return std::nullopt;
        }
        case FieldKind::Text:
            if (value.size() >= TextField::kCapacity) return malformed("a text of at most 255 characters");
            (state.*(info->textField)).Assign(value);
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> GetSceneField(const SceneState& state, std::string_view name) {
    const FieldInfo* info = FindSceneField(name);
    if (!info) return std::nullopt;
    char buffer[64];
    switch (info->kind) {
        case FieldKind::Int32: return std::to_string(state.*(info->int32Field));
        case FieldKind::UInt32: return std::to_string(state.*(info->uint32Field));
        case FieldKind::Float:
            std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(state.*(info->floatField)));
            return std::string(buffer);
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
