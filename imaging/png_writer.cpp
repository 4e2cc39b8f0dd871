#include "imaging/png_writer.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/write_target.h"

namespace quorbel {

namespace {

bool WriteRows(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int row = height - 1; row >= 0; --row)
        png_write_row(png, const_cast<png_bytep>(rgb.data() + stride * static_cast<std::size_t>(row)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// A fresh, uniquely named temporary beside `path`: a fixed name could be a
// pipe someone left there, and opening that would wait for ever. It gets
// the permissions any new file of this user gets.
std::FILE* CreateTemporary(const std::string& path, std::string& temporary) {
    std::string name = path + ".XXXXXX.part";
    const int fd = mkstemps(name.data(), 5);
    if (fd < 0) return nullptr;
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    temporary = name;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(name.c_str());
    }
    return file;
}

}  // namespace

std::optional<std::string> WritePngBottomUp(const std::string& path, int width, int height,
                                            const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() < static_cast<std::size_t>(width) * height * 3)
        return "no picture to write";
    if (auto refusal = WriteTargetRefusal(path)) return refusal;
    std::string temporary;
    std::FILE* file = CreateTemporary(path, temporary);
    if (!file) return "cannot write " + path + ": " + std::strerror(errno);
    bool written = WriteRows(file, width, height, rgb);
    bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        return "cannot write " + path + ": the PNG could not be completed";
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        return "cannot write " + path + ": " + reason;
    }
    return std::nullopt;
}

}  // namespace quorbel
