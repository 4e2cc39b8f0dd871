#include "support/video_probe.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "support/process.h"

namespace quorbel::testing {

namespace {

int WholeOr(const std::string& text, int fallback) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return text.empty() || *end != '\0' ? fallback : static_cast<int>(value);
}

// One stream's key=value lines.
void ReadStream(const std::map<std::string, std::string>& stream, VideoProbe& probe) {
    auto value = [&stream](const char* key) {
        auto it = stream.find(key);
        return it == stream.end() ? std::string() : it->second;
    };
    if (value("codec_type") != "video") {
        ++probe.otherStreams;
        return;
    }
    if (probe.videoStreams++ > 0) return;
    probe.codec = value("codec_name");
    probe.frameRate = value("r_frame_rate");
    probe.width = WholeOr(value("width"), 0);
    probe.height = WholeOr(value("height"), 0);
    probe.frames = WholeOr(value("nb_read_frames"), -1);
    probe.pixelFormat = value("pix_fmt");
    probe.alphaMode = value("TAG:ALPHA_MODE") == "1" || value("TAG:alpha_mode") == "1";
}

}  // namespace

bool HaveFfmpegTools() {
    static const bool have = RunCommand("(ffprobe -version && ffmpeg -version)").exitCode == 0;
    return have;
}

VideoProbe Probe(const std::string& path) {
    VideoProbe probe;
    // One "[STREAM]" block per stream, key=value lines inside.
    const auto run = RunCommand("ffprobe -v error -count_frames -show_entries "
                                "stream=codec_type,codec_name,width,height,r_frame_rate,nb_read_frames,pix_fmt:stream_tags=alpha_mode "
                                "-of default " +
                                Quoted(path));
    if (run.exitCode != 0 || !run.err.empty()) {
        probe.error = run.err.empty() ? "ffprobe failed" : run.err;
        return probe;
    }
    std::istringstream lines(run.out);
    std::string line;
    std::map<std::string, std::string> stream;
    while (std::getline(lines, line)) {
        if (line == "[/STREAM]") ReadStream(stream, probe);
        if (line == "[STREAM]" || line == "[/STREAM]") stream.clear();
        const auto equals = line.find('=');
        if (equals != std::string::npos) stream[line.substr(0, equals)] = line.substr(equals + 1);
    }
    probe.ok = true;
    return probe;
}

std::string DecodeErrors(const std::string& path) {
    const auto run = RunCommand("ffmpeg -nostdin -v error -xerror -i " + Quoted(path) + " -f null -");
    if (run.exitCode != 0 && run.err.empty()) return "ffmpeg exited with " + std::to_string(run.exitCode);
    return run.err;
}

std::vector<std::vector<std::uint8_t>> DecodeRgbFrames(const std::string& path, int width, int height) {
    return FfmpegFrames("-i " + Quoted(path) + " -f rawvideo -pix_fmt rgb24 -",
                        static_cast<std::size_t>(width) * height * 3);
}

std::vector<std::vector<std::uint8_t>> DecodeRgbaFrames(const std::string& path, int width, int height,
                                                        const std::string& inputOptions) {
    return FfmpegFrames(inputOptions + " -i " + Quoted(path) + " -f rawvideo -pix_fmt rgba -",
                        static_cast<std::size_t>(width) * height * 4);
}

std::vector<std::vector<std::uint8_t>> FfmpegFrames(const std::string& arguments, std::size_t frameBytes) {
    const auto run = RunCommand("ffmpeg -nostdin -v error " + arguments);
    std::vector<std::vector<std::uint8_t>> frames;
    if (run.exitCode != 0 || frameBytes == 0) return frames;
    for (std::size_t at = 0; at + frameBytes <= run.out.size(); at += frameBytes)
        frames.emplace_back(run.out.begin() + static_cast<std::ptrdiff_t>(at),
                            run.out.begin() + static_cast<std::ptrdiff_t>(at + frameBytes));
    return frames;
}

int CountChangedPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int threshold) {
    int changed = 0;
    for (std::size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
        const int difference = std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
        if (difference > threshold) ++changed;
    }
    return changed;
}

}  // namespace quorbel::testing
