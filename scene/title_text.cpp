#include "scene/title_text.h"

#include <array>

namespace quorbel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What Windows-1252 puts at 0x80..0x9F; the rest of its codes are Latin-1's.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char Byte(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

// The length of the valid UTF-8 character at `at` with its code, or 0.
std::size_t DecodeAt(std::string_view text, std::size_t at, char32_t& code) {
    const unsigned char lead = Byte(text, at);
    if (lead < 0x80) return code = lead, 1;
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
    code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = Byte(text, at + i);
        if ((next & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < kLeast[length] || surrogate || code > 0x10FFFF) return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t Windows1252Code(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

std::optional<unsigned char> Windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == code) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}



}  // namespace

std::optional<std::string_view> LeadingUtf8(std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    char32_t code = 0;
    for (std::size_t n = 0; n < limit && at < text.size(); ++n) {
        const std::size_t length = DecodeAt(text, at, code);
        if (length == 0) return std::nullopt;
        at += length;
    }
    return text.substr(0, at);
}

bool IsValidUtf8(std::string_view text) {
    auto valid = LeadingUtf8(text, text.size());
    return valid && valid->size() == text.size();
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    return count;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) AppendUtf8(out, Windows1252Code(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    char32_t code = 0;
    for (std::size_t at = 0, length = 0; at < utf8.size(); at += length) {
        length = DecodeAt(utf8, at, code);
        std::optional<unsigned char> byte = length ? Windows1252Byte(code) : std::nullopt;
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string TextAsUtf8(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark) && IsValidUtf8(bytes.substr(kByteOrderMark.size())))
        return std::string(bytes.substr(kByteOrderMark.size()));
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string TitleFromText(std::string_view bytes) {
    const std::string text = TextAsUtf8(bytes);
    std::string title;
    title.reserve(text.size());
    char32_t code = 0;
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        length = DecodeAt(text, at, code);
        if (!IsDroppedTitleControl(code)) title.append(text, at, length);
    }
    return title;
}

bool IsDroppedTitleControl(char32_t code) { return (code < 0x20 && code != '\n') || (code >= 0x7F && code < 0xA0); }

bool FitsInTitle(std::string_view utf8) { return CharacterCount(utf8) <= kMaxTitleCharacters; }

std::string UnescapeTitle(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == 'n' || next == '\\')) {
            out += next == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace quorbel
