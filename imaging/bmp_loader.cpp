#include "imaging/bmp_loader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include "imaging/paths.h"
#include "imaging/picture_report.h"

namespace quorbel {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kMaskBytes = 12;
// A side longer than this is either hostile or far beyond any texture the
// graphics card could take; refusing it keeps allocations bounded.
constexpr std::int64_t kMaxSide = 16384;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// One colour channel of a 16- or 32-bit pixel, described by its bit mask.
// Values are scaled to 0..255 with rounding, so 5-bit 31 becomes 255.
class MaskChannel {
public:
    explicit MaskChannel(std::uint32_t mask = 0)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask >> shift_) {}

    std::uint8_t Extract(std::uint32_t pixel) const {
        if (max_ == 0) return 0;
        std::uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((value * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t max_;
};

// Everything the pixel conversion needs, taken from the headers.
struct DibLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive; see topDown
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::array<Rgb, 256> palette{};  // entries the file does not give stay black
    std::array<MaskChannel, 3> masks;
    std::uint64_t pixelOffset = 0;
};

// Bounds-checked little-endian access to the file's bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t Size() const { return bytes_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    // Callers check Has() first.
    std::uint16_t U16(std::uint64_t at) const {
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::uint32_t U32(std::uint64_t at) const {
        return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }
    const std::uint8_t* At(std::uint64_t at) const { return bytes_.data() + at; }

private:
    std::span<const std::uint8_t> bytes_;
};

std::uint32_t PaletteSizeForBitCount(std::uint32_t bitCount) {
    switch (bitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

// What the header fields say, before any check of the pixel data.
struct HeaderFields {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t paletteCount = 0;
    std::uint32_t paletteEntrySize = 0;
};

DibError ReadHeaderFields(const ByteReader& in, std::uint64_t at, HeaderFields& fields) {
    if (!in.Has(at, 4)) return DibError::UnknownFormat;
    fields.headerSize = in.U32(at);
    if (fields.headerSize == kCoreHeaderSize) {
        if (!in.Has(at, kCoreHeaderSize)) return DibError::UnknownFormat;
        fields.width = in.U16(at + 4);
        fields.height = in.U16(at + 6);
        fields.bitCount = in.U16(at + 10);
        fields.paletteCount = PaletteSizeForBitCount(fields.bitCount);
        fields.paletteEntrySize = 3;
        return DibError::None;
    }
    if (fields.headerSize == kInfoHeaderSize) {
        if (!in.Has(at, kInfoHeaderSize)) return DibError::UnknownFormat;
        fields.width = static_cast<std::int32_t>(in.U32(at + 4));
        fields.height = static_cast<std::int32_t>(in.U32(at + 8));
        fields.bitCount = in.U16(at + 14);
        fields.compression = in.U32(at + 16);
        std::uint32_t coloursUsed = in.U32(at + 32) & 0xFFFF;
        fields.paletteCount = coloursUsed ? coloursUsed : PaletteSizeForBitCount(fields.bitCount);
        fields.paletteEntrySize = 4;
        return DibError::None;
    }
    return DibError::UnknownFormat;
}

bool IsSupportedEncoding(std::uint32_t bitCount, std::uint32_t compression, bool topDown) {
    switch (compression) {
        case kRgb:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case kRle8: return bitCount == 8 && !topDown;
        case kRle4: return bitCount == 4 && !topDown;
        case kBitFields: return bitCount == 16 || bitCount == 32;
        default: return false;
    }
}

void SetDefaultMasks(DibLayout& layout) {
    if (layout.bitCount == 16) {
        layout.masks = {MaskChannel(0x7C00), MaskChannel(0x03E0), MaskChannel(0x001F)};
    } else {
        layout.masks = {MaskChannel(0xFF0000), MaskChannel(0xFF00), MaskChannel(0xFF)};
    }
}

// Reads the palette (only the entries a pixel can index) and the bit-field
// masks, and finds the pixel data. `pixelOffset` is known only when the file
// has the "BM" header; a bare DIB's pixels follow the masks and palette.
DibError ReadTables(const ByteReader& in, std::uint64_t headerAt, const HeaderFields& fields,
                    std::optional<std::uint64_t> pixelOffset, DibLayout& layout) {
    std::uint64_t tablesAt = headerAt + fields.headerSize;
    SetDefaultMasks(layout);
    if (layout.compression == kBitFields) {
        if (!in.Has(tablesAt, kMaskBytes)) return DibError::ConversionError;
        for (int i = 0; i < 3; ++i) layout.masks[i] = MaskChannel(in.U32(tablesAt + 4 * i));
        tablesAt += kMaskBytes;
    }
    std::uint64_t usable =
        std::min<std::uint64_t>(fields.paletteCount, PaletteSizeForBitCount(layout.bitCount));
    if (!in.Has(tablesAt, usable * fields.paletteEntrySize)) return DibError::ConversionError;
    for (std::uint64_t i = 0; i < usable; ++i) {
        const std::uint8_t* entry = in.At(tablesAt + i * fields.paletteEntrySize);
        layout.palette[i] = {entry[2], entry[1], entry[0]};
    }
    layout.pixelOffset =
        pixelOffset ? *pixelOffset
                    : tablesAt + std::uint64_t{fields.paletteCount} * fields.paletteEntrySize;
    if (layout.pixelOffset > in.Size()) return DibError::ConversionError;
    return DibError::None;
}

DibError ReadLayout(const ByteReader& in, DibLayout& layout) {
    std::uint64_t headerAt = 0;
    std::optional<std::uint64_t> pixelOffset;
    if (in.Has(0, 2) && in.U16(0) == 0x4D42) {
        if (!in.Has(0, kFileHeaderSize)) return DibError::UnknownFormat;
        pixelOffset = in.U32(10);
        headerAt = kFileHeaderSize;
    }
    HeaderFields fields;
    if (DibError error = ReadHeaderFields(in, headerAt, fields); error != DibError::None) {
        return error;
    }
    layout.width = fields.width;
    layout.height = fields.height < 0 ? -fields.height : fields.height;
    layout.topDown = fields.height < 0;
    layout.bitCount = fields.bitCount;
    layout.compression = fields.compression;
    if (layout.width <= 0 || layout.width > kMaxSide || layout.height <= 0 ||
        layout.height > kMaxSide) {
        return DibError::OutOfMemory;
    }
    if (!IsSupportedEncoding(layout.bitCount, layout.compression, layout.topDown)) {
        return DibError::ConversionError;
    }
    return ReadTables(in, headerAt, fields, pixelOffset, layout);
}

// ---- uncompressed pixels ---------------------------------------------------

std::uint64_t StoredRowBytes(const DibLayout& layout) {
    return (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
}

std::uint64_t UsedRowBytes(const DibLayout& layout) {
    return (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 7) / 8;
}

void PutRgb(std::uint8_t* out, Rgb colour) {
    out[0] = colour.red;
    out[1] = colour.green;
    out[2] = colour.blue;
}

void ConvertIndexedRow(const std::uint8_t* src, const DibLayout& layout, std::uint8_t* out) {
    const unsigned bits = layout.bitCount;
    const unsigned perByte = 8 / bits;
    const unsigned valueMask = (1u << bits) - 1;
    for (std::int64_t x = 0; x < layout.width; ++x) {
        unsigned byte = src[x / perByte];
        unsigned shift = 8 - bits * (static_cast<unsigned>(x % perByte) + 1);
        PutRgb(out + 3 * x, layout.palette[(byte >> shift) & valueMask]);
    }
}

void ConvertMaskedRow(const std::uint8_t* src, const DibLayout& layout, std::uint8_t* out) {
    const unsigned bytesPerPixel = layout.bitCount / 8;
    for (std::int64_t x = 0; x < layout.width; ++x) {
        const std::uint8_t* p = src + bytesPerPixel * x;
        std::uint32_t pixel = p[0] | p[1] << 8;
        if (bytesPerPixel == 4) pixel |= static_cast<std::uint32_t>(p[2] | p[3] << 8) << 16;
        out[3 * x] = layout.masks[0].Extract(pixel);
        out[3 * x + 1] = layout.masks[1].Extract(pixel);
        out[3 * x + 2] = layout.masks[2].Extract(pixel);
    }
}

void ConvertBgrRow(const std::uint8_t* src, const DibLayout& layout, std::uint8_t* out) {
    for (std::int64_t x = 0; x < layout.width; ++x) {
        out[3 * x] = src[3 * x + 2];
        out[3 * x + 1] = src[3 * x + 1];
        out[3 * x + 2] = src[3 * x];
    }
}

void ConvertRow(const std::uint8_t* src, const DibLayout& layout, std::uint8_t* out) {
    if (layout.bitCount <= 8) {
        ConvertIndexedRow(src, layout, out);
    } else if (layout.bitCount == 24) {
        ConvertBgrRow(src, layout, out);
    } else {
        ConvertMaskedRow(src, layout, out);
    }
}

// A file whose rows stop short is refused rather than partly shown: a cut
// file is damaged, and the last row may leave out its padding only.
DibError ConvertUncompressed(const ByteReader& in, const DibLayout& layout, std::uint8_t* out) {
    const std::uint64_t stride = StoredRowBytes(layout);
    const std::uint64_t needed = stride * (layout.height - 1) + UsedRowBytes(layout);
    if (!in.Has(layout.pixelOffset, needed)) return DibError::ConversionError;
    const std::uint64_t outStride = static_cast<std::uint64_t>(layout.width) * 3;
    for (std::int64_t row = 0; row < layout.height; ++row) {
        // Output is bottom row first whatever order the file stores.
        std::int64_t outRow = layout.topDown ? layout.height - 1 - row : row;
        ConvertRow(in.At(layout.pixelOffset + stride * row), layout, out + outStride * outRow);
    }
    return DibError::None;
}

// ---- run-length encoded pixels ---------------------------------------------

// Decodes RLE8 and RLE4. Pixels the data never sets (skipped by a delta or an
// early end of line or bitmap) keep palette entry 0. Pixels beyond the right
// edge are dropped; a pixel above the top row, a command cut off by the end
// of the data, or data without an end-of-bitmap mark fail the conversion.
class RleDecoder {
public:
    RleDecoder(const ByteReader& in, const DibLayout& layout, std::uint8_t* out)
        : in_(in),
          layout_(layout),
          out_(out),
          at_(layout.pixelOffset),
          nibbles_(layout.compression == kRle4) {}

    DibError Run() {
        Fill(layout_.palette[0]);
        for (;;) {
            if (!in_.Has(at_, 2)) return DibError::ConversionError;
            unsigned count = *in_.At(at_);
            unsigned value = *in_.At(at_ + 1);
            at_ += 2;
            if (count > 0) {
                if (!PutRun(count, value)) return DibError::ConversionError;
                continue;
            }
            switch (value) {
                case 0: NextLine(); break;
                case 1: return DibError::None;
                case 2:
                    if (!Delta()) return DibError::ConversionError;
                    break;
                default:
                    if (!PutAbsolute(value)) return DibError::ConversionError;
                    break;
            }
        }
    }

private:
    void Fill(Rgb colour) {
        std::uint64_t pixels = static_cast<std::uint64_t>(layout_.width) * layout_.height;
        for (std::uint64_t i = 0; i < pixels; ++i) PutRgb(out_ + 3 * i, colour);
    }

    bool Put(unsigned index) {
        if (y_ >= layout_.height) return false;
        if (x_ < layout_.width) {
            PutRgb(out_ + 3 * (static_cast<std::uint64_t>(y_) * layout_.width + x_),
                   layout_.palette[index]);
        }
        ++x_;
        return true;
    }

    // Index i of a run or absolute block: RLE4 alternates high and low nibble.
    unsigned IndexAt(unsigned byte, unsigned i) const {
        if (!nibbles_) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    bool PutRun(unsigned count, unsigned value) {
        for (unsigned i = 0; i < count; ++i) {
            if (!Put(IndexAt(value, i))) return false;
        }
        return true;
    }

    bool PutAbsolute(unsigned count) {
        std::uint64_t bytes = nibbles_ ? (count + 1) / 2 : count;
        std::uint64_t padded = (bytes + 1) & ~std::uint64_t{1};  // blocks end on a 16-bit boundary
        if (!in_.Has(at_, padded)) return false;
        for (unsigned i = 0; i < count; ++i) {
            unsigned byte = *in_.At(at_ + (nibbles_ ? i / 2 : i));
            if (!Put(IndexAt(byte, i))) return false;
        }
        at_ += padded;
        return true;
    }

    bool Delta() {
        if (!in_.Has(at_, 2)) return false;
        x_ += *in_.At(at_);
        y_ += *in_.At(at_ + 1);
        at_ += 2;
        return true;
    }

    void NextLine() {
        x_ = 0;
        ++y_;
    }

    const ByteReader& in_;
    const DibLayout& layout_;
    std::uint8_t* out_;
    std::uint64_t at_;
    bool nibbles_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

std::unique_ptr<ImageRecord> Fail(DibError reason, DibError& error) {
    error = reason;
    return nullptr;
}

// Why a file could not be opened, in words for the user.
std::string OpenProblem(int error) {
    switch (error) {
        case ENOENT: return "The file does not exist.";
        case EACCES:
        case EPERM: return "Permission denied.";
        default: return std::string(std::strerror(error)) + ".";
    }
}

// Maps a whole file read-only; unmaps when it goes out of scope. Only a
// non-empty regular file is mapped; otherwise Problem() says why not.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        // Non-blocking, so that a named pipe given as a picture is refused
        // rather than waited on for ever; regular files read as usual.
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            problem_ = OpenProblem(errno);
            return;
        }
        Map(fd);
        ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool IsOpen() const { return data_ != nullptr; }
    const std::string& Problem() const { return problem_; }
    std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }

private:
    void Map(int fd) {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            problem_ = OpenProblem(errno);
        } else if (S_ISDIR(info.st_mode)) {
            problem_ = "It is a folder, not a picture file.";
        } else if (!S_ISREG(info.st_mode)) {
            problem_ = "It is not a regular file.";
        } else if (info.st_size == 0) {
            problem_ = "The file is empty.";
        } else {
            void* view = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (view == MAP_FAILED) {
                problem_ = OpenProblem(errno);
                return;
            }
            data_ = static_cast<const std::uint8_t*>(view);
            size_ = static_cast<std::size_t>(info.st_size);
        }
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::string problem_;
};

}  // namespace

std::unique_ptr<ImageRecord> DecodeDib(std::span<const std::uint8_t> bytes, DibError& error) {
    error = DibError::None;
    const ByteReader in(bytes);
    DibLayout layout;
    if (DibError reason = ReadLayout(in, layout); reason != DibError::None) {
        return Fail(reason, error);
    }
    std::unique_ptr<ImageRecord> image(new (std::nothrow) ImageRecord);
    if (!image) return Fail(DibError::OutOfMemory, error);
    try {
        image->pixels.resize(static_cast<std::size_t>(layout.width * layout.height * 3));
    } catch (const std::bad_alloc&) {
        return Fail(DibError::OutOfMemory, error);
    }
    DibError reason = layout.compression == kRle8 || layout.compression == kRle4
                          ? RleDecoder(in, layout, image->pixels.data()).Run()
                          : ConvertUncompressed(in, layout, image->pixels.data());
    if (reason != DibError::None) return Fail(reason, error);
    image->width = static_cast<std::int32_t>(layout.width);
    image->height = static_cast<std::int32_t>(layout.height);
    return image;
}

std::string DibErrorMessage(DibError error, const std::string& path) {
    switch (error) {
        case DibError::None: return {};
        case DibError::OpenFailed: return "Failed to open DIB file " + path + ".\n";
        case DibError::OutOfMemory: return "Out of memory.";
        case DibError::UnknownFormat: return "Unknown DIB file format.";
        case DibError::ConversionError: return "Image file conversion error.";
    }
    return {};
}

std::unique_ptr<ImageRecord> LoadDibImage(const std::string& path) {
    // The user sees the loader's own message, then what it does not say: the
    // reason the file could not be opened, or which file the decoder refused.
    const MappedFile file(ResolvePath(path));
    if (!file.IsOpen()) {
        const std::string& reason = file.Problem();
        ReportUnusablePicture(path, reason, DibErrorMessage(DibError::OpenFailed, path) + reason);
        return nullptr;
    }
    DibError error = DibError::None;
    std::unique_ptr<ImageRecord> image = DecodeDib(file.Bytes(), error);
    if (!image) {
        const std::string reason = DibErrorMessage(error, path);
        ReportUnusablePicture(path, reason, reason + "\nFile: " + path);
        return nullptr;
    }
    NotePictureUsable(path);
    return image;
}

std::unique_ptr<ImageRecord> LoadImageFile(const char* path) {
    if (path == nullptr) return nullptr;
    return LoadDibImage(path);
}

}  // namespace quorbel
