#include "settings/title_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "scene/title_text.h"
#include "settings/open_for_reading.h"

namespace quorbel {

const char* const kTitleFileName = "Text.TXT";

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A byte-order mark and 80 characters of at most four bytes each.
constexpr std::size_t kTitleReadBytes = 3 + 4 * kTitleReadLimit;

bool HasHighByte(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 127) return true;
    return false;
}

// The UTF-8 text of the title's characters when the file is UTF-8.
std::optional<std::string_view> Utf8Title(std::string_view bytes) {
    const bool marked = bytes.starts_with(kByteOrderMark);
    if (marked) bytes.remove_prefix(kByteOrderMark.size());
    std::optional<std::string_view> text = LeadingUtf8(bytes, kTitleReadLimit);
    if (text && (marked || HasHighByte(*text))) return text;
    return std::nullopt;
}

}  // namespace

std::string TitleFromFileBytes(std::string_view bytes) {
    if (std::optional<std::string_view> text = Utf8Title(bytes)) return TitleFromText(*text);
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return TitleFromText(Windows1252ToUtf8(bytes.substr(0, kTitleReadLimit)));
}

std::string TitleFileBytes(std::string_view title) {
    std::optional<std::string> eightBit = Utf8ToWindows1252(title);
    if (eightBit && !Utf8Title(*eightBit)) return *eightBit;
    return std::string(kByteOrderMark).append(title);
}

std::optional<std::string> ReadTitleFile(const std::string& path, TextField& title) {
    std::string error;
    FileHandle file = OpenForReading(path, error);
    if (!file) return error;
    char bytes[kTitleReadBytes];
    errno = 0;
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file.get());
    if (std::ferror(file.get())) return std::string(std::strerror(errno ? errno : EIO));
    title.Assign(TitleFromFileBytes(std::string_view(bytes, got)));
    return std::nullopt;
}

}  // namespace quorbel
