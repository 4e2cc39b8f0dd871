#include "settings/title_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "settings/open_for_reading.h"

namespace quorbel {

const char* const kTitleFileName = "Text.TXT";

std::optional<std::string> ReadTitleFile(const std::string& path, TextField& title) {
    std::string error;
    FileHandle file = OpenForReading(path, error);
    if (!file) return error;
    char bytes[kTitleReadLimit];
    errno = 0;
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file.get());
    if (std::ferror(file.get())) return std::string(std::strerror(errno ? errno : EIO));
    title.Assign(std::string_view(bytes, got));
    return std::nullopt;
}

std::span<const std::uint8_t> TitleFileBytes(const TextField& title) {
    const std::string_view text = title.view();
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace quorbel
