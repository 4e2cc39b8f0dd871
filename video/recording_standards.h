// The television standards a DV recording follows, as one table: the frame,
// the rate a recording asks for, the rate a DV stream of the standard stores
// (and its chroma layout), how the AVI Properties box and the command line
// name it, and the main window size Generate AVI sets for it. Generate AVI,
// the AVI Properties box, the command line's --standard and the DV encoder
// all read it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

extern "C" {
#include <libavutil/pixfmt.h>
}

#include "video/frame_rate.h"

namespace quorbel {

// Generate AVI's choice, as the main window keeps it: a standard's code,
// kStandardCustom, or anything else for neither.
constexpr std::int32_t kStandardNtsc = 2;
constexpr std::int32_t kStandardPal = 4;
// Neither standard: the size, rate and background of the custom recording,
// for video editors.
constexpr std::int32_t kStandardCustom = 6;

struct RecordingStandard {
    std::int32_t code;    // kStandardNtsc, kStandardPal
    const char* name;     // the command line's word
    const char* caption;  // the AVI Properties box's
    int width, height;    // the DV frame
    FrameRate rate;       // what a recording asks for
    FrameRate dvRate;     // what a DV stream of the standard stores; asking for it gives the same stream
    AVPixelFormat dvPixelFormat;
    int windowWidth, windowHeight;  // the DV frame with the main window's borders, as the command has always set
};

// A DV frame carries its television system, so the 525-line frame is
// stored at 30000/1001 whether 30 or 30000/1001 was asked.
inline constexpr RecordingStandard kRecordingStandards[] = {
    {kStandardNtsc, "ntsc", "NTSC", 720, 480, {30, 1}, {30000, 1001}, AV_PIX_FMT_YUV411P, 732, 564},
    {kStandardPal, "pal", "PAL", 720, 576, {25, 1}, {25, 1}, AV_PIX_FMT_YUV420P, 732, 660},
};

// Nothing for a name or code no standard has.
const RecordingStandard* FindRecordingStandard(std::string_view name);
const RecordingStandard* FindRecordingStandard(std::int32_t code);
// "720 x 480 @ 30 Fps", as the AVI Properties box shows it.
std::string StandardSizeText(const RecordingStandard& standard);
// "ntsc or pal", for a message about a name that is none of them.
std::string StandardNames();

}  // namespace quorbel
