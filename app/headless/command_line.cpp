#include "app/headless/command_line.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scene/number_text.h"
#include "scene/scene_state.h"
#include "scene/title_text.h"
#include "video/encoder_catalog.h"
#include "video/frame_rate.h"
#include "video/recording_standards.h"

namespace quorbel {

namespace {

constexpr int kMaxSide = 16384;
constexpr long kMaxFrames = 100000000;

std::optional<long> ParseWhole(const std::string& text, long low, long high) {
    ParsedNumber<std::int64_t> parsed = ParseWholeNumber(text, low, high);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<long>(parsed.value);
}

OptionError ParseFrames(const std::string& text, HeadlessOptions& options) {
    auto n = ParseWhole(text, 0, kMaxFrames);
    if (!n) return "bad --frames '" + text + "': expected a whole number of at least 1";
    options.frames = static_cast<int>(*n);
    options.framesGiven = true;
    return std::nullopt;
}

OptionError ParseSize(const std::string& text, HeadlessOptions& options) {
    auto x = text.find('x');
    if (x == std::string::npos) return "bad --size '" + text + "': expected WIDTHxHEIGHT, e.g. 720x480";
    auto w = ParseWhole(text.substr(0, x), 1, kMaxSide);
    auto h = ParseWhole(text.substr(x + 1), 1, kMaxSide);
    if (!w || !h) return "bad --size '" + text + "': each side must be a whole number from 1 to 16384";
    options.width = static_cast<int>(*w);
    options.height = static_cast<int>(*h);
    options.sizeGiven = true;
    return std::nullopt;
}

OptionError ParseSet(const std::string& text, HeadlessOptions& options) {
    auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return "bad --set '" + text + "': expected NAME=VALUE";
    std::string name = text.substr(0, eq), value = text.substr(eq + 1);
    // Check against a scratch copy now, so a typo fails before any rendering.
    SceneState scratch;
    if (auto error = SetSceneField(scratch, name, value)) return "bad --set: " + *error;
    options.sets.emplace_back(name, value);
    return std::nullopt;
}

OptionError ParseGet(const std::string& name, HeadlessOptions& options) {
    if (!FindSceneField(name)) {
        SceneState scratch;
        return "bad --get: " + *SetSceneField(scratch, name, "0");
    }
    options.gets.push_back(name);
    return std::nullopt;
}

// The title as typed on a command line, "\n" for a line break.
OptionError ParseTitle(const std::string& text, HeadlessOptions& options) {
    std::string title = TitleFromText(UnescapeTitle(text));
    if (!FitsInTitle(title))
        return "bad --title: it has " + std::to_string(CharacterCount(title)) + " characters; a title holds at most " +
               std::to_string(kMaxTitleCharacters);
    options.title = std::move(title);
    return std::nullopt;
}

OptionError ParseSeed(const std::string& text, HeadlessOptions& options) {
    auto n = ParseWhole(text, 0, 0x7fffffffL);
    if (!n) return "bad --seed '" + text + "': expected a whole number";
    options.seed = static_cast<unsigned>(*n);
    return std::nullopt;
}

OptionError ParsePath(const std::string& text, HeadlessOptions& options) {
    if (text != "classic" && text != "fast") return "bad --path '" + text + "': expected classic or fast";
    options.classicPath = text == "classic";
    return std::nullopt;
}

OptionError ParseRecord(const std::string& text, HeadlessOptions& options) {
    if (text.empty()) return std::string("bad --record '': expected a file name");
    options.record.path = text;
    return std::nullopt;
}

OptionError ParseStandard(const std::string& text, HeadlessOptions& options) {
    if (!FindRecordingStandard(text)) return "bad --standard '" + text + "': expected " + StandardNames();
    options.record.standard = text;
    return std::nullopt;
}

OptionError ParseFps(const std::string& text, HeadlessOptions& options) {
    std::string error;
    options.record.fps = ParseFrameRate(text, error);
    if (!options.record.fps) return "bad --fps '" + text + "': " + error;
    return std::nullopt;
}

OptionError ParseCodec(const std::string& text, HeadlessOptions& options) {
    if (text != "list" && !FindEncoderSpec(text)) return "unknown --codec '" + text + "': see quorbel --codec list";
    options.record.codec = text;
    return std::nullopt;
}

OptionError ParseQuality(const std::string& text, HeadlessOptions& options) {
    char* end = nullptr;
    const long quality = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || quality < 1 || quality > 100)
        return "bad --quality '" + text + "': expected a whole number from 1 to 100";
    options.record.quality = static_cast<int>(quality);
    return std::nullopt;
}

OptionError TakeAlpha(const std::string&, HeadlessOptions& options) {
    options.record.alpha = true;
    return std::nullopt;
}

OptionError TakeHelp(const std::string&, HeadlessOptions& options) {
    options.help = true;
    return std::nullopt;
}

OptionError TakeVersion(const std::string&, HeadlessOptions& options) {
    options.version = true;
    return std::nullopt;
}

// clang-format off
constexpr CommandLineOption kOptions[] = {
    {"--snapshot", "FILE.png", [](const std::string& v, HeadlessOptions& o) -> OptionError {
         o.snapshotPath = v; return std::nullopt; },
     "render without a window and write the last frame as PNG (quorbel-snapshot.png when nothing else is "
     "asked for: no --record, --get or --save-settings)"},
    {"--frames", "N", ParseFrames, "number of frames to render (default 1)"},
    {"--size", "WIDTHxHEIGHT", ParseSize, "surface size in pixels (default 720x480)"},
    {"--set", "NAME=VALUE", ParseSet, "set a scene field before the first frame (repeatable)"},
    {"--get", "NAME", ParseGet, "print a scene field after the last frame (repeatable)"},
    {"--title", "TEXT", ParseTitle,
     "the title of this run (UTF-8; \\n starts a new line): Text.TXT is not read, and written only by "
     "--save-settings"},
    {"--seed", "N", ParseSeed, "fix the random seed so a render can be repeated exactly"},
    {"--settings", "FILE.qrl", [](const std::string& v, HeadlessOptions& o) -> OptionError {
         o.openSettingsPath = v; return std::nullopt; },
     "after the first frame, open FILE (and Text.TXT in the current folder, unless --title is given) as the "
     "window's Open does, then "
     "render the --frames frames"},
    {"--save-settings", "FILE.qrl", [](const std::string& v, HeadlessOptions& o) -> OptionError {
         o.saveSettingsPath = v; return std::nullopt; },
     "after the last frame, write the settings to FILE and the title to Text.TXT in the current folder"},
    {"--path", "classic|fast", ParsePath, "'fast' (the default) or 'classic', the plain OpenGL 1.1 drawing"},
    {"--record", "FILE", ParseRecord,
     "record N frames (default: 10 seconds); the extension chooses the kind: .avi (also for any other name), "
     ".mov, .mp4, .webm, or .png for numbered pictures FILE_00001.png, ...; Ctrl+C stops early and keeps what "
     "was recorded; not with --snapshot"},
    {"--standard", "ntsc|pal", ParseStandard,
     "ntsc: 720x480 at 30 frames per second; pal: 720x576 at 25; without it, the --size (rounded down to "
     "multiples of 4, up to 3840x2160) at the --fps"},
    {"--fps", "RATE", ParseFps,
     "frames per second: 24, 25, 30, 50, 60, 30000/1001, 29.97, ... (default 30); the scene moves one step per "
     "frame, so the same frames at 60 play twice as fast as at 30"},
    {"--alpha", nullptr, TakeAlpha,
     "transparent background (.mov, .webm, .png): the title's faces, the tunnel and the tiles are opaque, glows "
     "add light"},
    {"--codec", "NAME", ParseCodec,
     "the encoder (see --codec list; default: the first listed); --codec list prints the encoders for the "
     "--standard or --size, --fps and --alpha asked, for the --record file's kind or for every kind"},
    {"--quality", "1-100", ParseQuality, "1 (smallest) to 100 (best), for encoders that have a quality"},
    {"--help", nullptr, TakeHelp, "print this help and end"},
    {"--version", nullptr, TakeVersion, "print the version and end"},
    {"-h", nullptr, TakeHelp, nullptr},
};
// clang-format on

const char* const kWithoutOptions = "Without options, quorbel opens its window when a display is available.";

const CommandLineOption* FindOption(std::string_view name) {
    for (const CommandLineOption& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

std::string Synopsis(const CommandLineOption& option) {
    std::string synopsis = option.name;
    if (option.value) synopsis.append(" ").append(option.value);
    return synopsis;
}

// Appends `words` wrapped at `width` columns; lines after the first start
// with `indent` spaces, the first continues at `column`.
void AppendWrapped(std::string& out, std::string_view words, std::size_t column, std::size_t indent,
                   std::size_t width) {
    std::size_t start = 0;
    bool first = true;
    while (start < words.size()) {
        std::size_t end = words.find(' ', start);
        if (end == std::string_view::npos) end = words.size();
        const std::size_t length = end - start;
        if (!first && column + 1 + length > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            first = true;
        }
        if (!first) out += ' ', ++column;
        out.append(words.substr(start, length));
        column += length;
        first = false;
        start = end + 1;
    }
    out += '\n';
}

// Roff text: backslashes and hyphens escaped, a leading dot or quote made
// literal.
std::string Roff(std::string_view text) {
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out += "\\&";
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    return out;
}

}  // namespace

std::span<const CommandLineOption> CommandLineOptions() { return kOptions; }

std::optional<std::string> ParseHeadlessOptions(const std::vector<std::string>& args, HeadlessOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const CommandLineOption* option = FindOption(arg);
        std::string value;
        if (!option || option->value) {
            if (i + 1 >= args.size()) return "option '" + arg + "' is unknown or lacks its value";
            value = args[++i];
        }
        if (!option) return "unknown option '" + arg + "'";
        if (auto error = option->parse(value, options)) return error;
    }
    if ((options.record.alpha || options.record.fps) && !options.record.active())
        return std::string("--alpha and --fps belong to a recording: add --record FILE");
    // Recording nothing is a choice; rendering nothing for a snapshot is not.
    if (options.frames == 0 && options.record.path.empty())
        return std::string("bad --frames '0': expected a whole number of at least 1");
    return std::nullopt;
}

std::string HelpText() {
    constexpr std::size_t kWidth = 80, kUsageIndent = 14, kHelpColumn = 24;
    std::string text = "Usage: quorbel";
    std::size_t column = text.size();
    for (const CommandLineOption& option : kOptions) {
        if (!option.help) continue;
        const std::string synopsis = Synopsis(option);
        if (column + synopsis.size() + 3 > kWidth) {
            text.append("\n").append(kUsageIndent, ' ');
            column = kUsageIndent;
        }
        text.append(" [").append(synopsis).append("]");
        column += synopsis.size() + 3;
    }
    text += '\n';
    // A name too long for the column pushes its first line of help along.
    for (const CommandLineOption& option : kOptions) {
        if (!option.help) continue;
        std::string head = "  " + Synopsis(option);
        head.resize(std::max(head.size() + 2, kHelpColumn), ' ');
        text += head;
        AppendWrapped(text, option.help, head.size(), kHelpColumn, kWidth);
    }
    return text.append(kWithoutOptions).append("\n");
}

std::string ManPage() {
    std::string page =
        ".TH QUORBEL 1 \"\" \"Quorbel\" \"User Commands\"\n"
        ".nh\n.ad l\n"
        ".SH NAME\n"
        "quorbel \\- render and record animated 3D video titles\n"
        ".SH SYNOPSIS\n"
        ".B quorbel\n";
    for (const CommandLineOption& option : kOptions) {
        if (!option.help) continue;
        page.append("[\\fB").append(Roff(option.name)).append("\\fR");
        if (option.value) page.append("\\ \\fI").append(Roff(option.value)).append("\\fR");
        page.append("]\n");
    }
    page.append(".SH DESCRIPTION\n").append(Roff(kWithoutOptions)).append(
        " With options, or without a display, it renders headless on an EGL pbuffer: it writes a snapshot, "
        "records a video, prints scene fields or saves the settings, and says on stderr what it did.\n"
        ".SH OPTIONS\n");
    for (const CommandLineOption& option : kOptions) {
        if (!option.help) continue;
        page.append(".TP\n.B ").append(Roff(option.name));
        if (option.value) page.append(" \\fI").append(Roff(option.value)).append("\\fR");
        page.append("\n").append(Roff(option.help)).append("\n");
    }
    page +=
        ".SH EXIT STATUS\n"
        "0 when done; 1 when a recording could not be completed; 2 for a refused option or a file that could "
        "not be read or written; 3 when no usable OpenGL was found; 130 when Ctrl+C stopped a recording before "
        "its first frame.\n";
    return page;
}

}  // namespace quorbel
