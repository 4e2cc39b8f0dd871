// Fuzz entry point for the BMP decoder. libFuzzer calls it directly; the
// replay driver (replay_main.cpp) calls it once for each file it is given.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/bmp_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorbel::DibError error = quorbel::DibError::None;
    std::unique_ptr<quorbel::ImageRecord> image =
        quorbel::DecodeDib(std::span<const std::uint8_t>(data, size), error);
    // Beyond "no crash": a picture always fills its record exactly, and a
    // refusal always says why.
    if (image) {
        bool consistent =
            image->width > 0 && image->height > 0 && error == quorbel::DibError::None &&
            image->pixels.size() == static_cast<std::size_t>(image->width) * image->height * 3;
        if (!consistent) std::abort();
    } else if (error == quorbel::DibError::None || error == quorbel::DibError::OpenFailed) {
        std::abort();
    }
    return 0;
}
