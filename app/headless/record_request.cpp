#include "app/headless/record_request.h"

#include <cmath>

#include "app/headless/headless_runner.h"
#include "video/avi_writer.h"
#include "video/custom_recording.h"
#include "video/recording_standards.h"

namespace quorbel {

namespace {

std::string Names(const std::vector<const EncoderSpec*>& encoders) {
    std::string names;
    for (const EncoderSpec* spec : encoders) names += (names.empty() ? "" : ", ") + std::string(spec->id);
    return names.empty() ? "none" : names;
}

// Containers that can hold a stream with transparency from this FFmpeg.
std::vector<const ContainerSpec*> AlphaContainers(RecordingFormat format) {
    std::vector<const ContainerSpec*> containers;
    format.alpha = true;
    for (const ContainerSpec& container : ContainerCatalog()) {
        format.container = &container;
        if (!AvailableEncoders(format).empty()) containers.push_back(&container);
    }
    return containers;
}

bool CanKeepAlpha(const ContainerSpec& container) {
    for (const EncoderSpec& spec : EncoderCatalog())
        if (ContainerHolds(container, spec) && CarriesAlpha(spec)) return true;
    return false;
}

std::optional<std::string> ApplyStandard(const HeadlessOptions& options, RecordRequest& request) {
    const RecordOptions& record = options.record;
    if (const RecordingStandard* standard = FindRecordingStandard(record.standard)) {
        if (options.sizeGiven || record.fps)
            return "--standard " + record.standard + " sets the size and the rate; for others use --size and --fps "
                   "without it";
        request.surfaceWidth = standard->width;
        request.surfaceHeight = standard->height;
        request.format.rate = standard->rate;
        return std::nullopt;
    }
    request.surfaceWidth = options.width;
    request.surfaceHeight = options.height;
    request.format.rate = record.fps.value_or(FrameRate{30, 1});
    return CheckRecordingSize(options.width, options.height);
}

}  // namespace

std::string FormatText(const RecordingFormat& format) {
    return std::to_string(format.width) + "x" + std::to_string(format.height) + " at " + FrameRateText(format.rate) +
           " frames per second";
}

std::optional<std::string> ResolveRecording(const HeadlessOptions& options, RecordRequest& request) {
    if (auto error = ApplyStandard(options, request)) return error;
    AviWriter naming;
    naming.fileName = options.record.path;
    if (!naming.fileName.empty()) naming.EnsureAviExtension();
    request.path = naming.fileName;
    request.container = &naming.container();
    const BitmapInfoHeader info = BitmapInfoForView(request.surfaceWidth, request.surfaceHeight);
    request.format.container = request.container;
    request.format.width = info.width;
    request.format.height = info.height;
    request.format.alpha = options.record.alpha;
    request.defaultFrames = static_cast<int>(std::lround(10.0 * request.format.rate.perSecond()));
    if (request.defaultFrames < 1) request.defaultFrames = 1;
    return std::nullopt;
}

std::optional<std::string> CheckCodec(const RecordRequest& request, const std::string& codec) {
    const RecordingFormat& format = request.format;
    const std::string extension = format.container->extension;
    const EncoderSpec* spec = codec.empty() ? nullptr : FindEncoderSpec(codec);
    if (spec && !ContainerHolds(*format.container, *spec)) {
        RecordingFormat any = format;
        any.alpha = false;
        return "--codec " + codec + " cannot be stored in a " + extension + " file; " + extension + " files take: " +
               Names(AvailableEncoders(any));
    }
    if (format.alpha && !CanKeepAlpha(*format.container))
        return "--alpha needs a format that keeps transparency: " + ExtensionList(AlphaContainers(format)) +
               " (a " + extension + " file has none here)";
    if (spec && format.alpha && !CarriesAlpha(*spec)) {
        return "--codec " + codec + " cannot keep transparency; with --alpha a " + extension + " file takes: " +
               Names(AvailableEncoders(format));
    }
    const auto offered = AvailableEncoders(format);
    bool found = !offered.empty() && codec.empty();
    for (const EncoderSpec* candidate : offered) found = found || codec == candidate->id;
    if (found) return std::nullopt;
    return "cannot record " + FormatText(format) + (format.alpha ? " with transparency" : "") + " into a " + extension +
           " file with " + (codec.empty() ? std::string("any encoder") : "--codec " + codec) +
           " here; offered: " + Names(offered);
}

}  // namespace quorbel
