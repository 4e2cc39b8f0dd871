#include "app/headless/headless_runner.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <set>

#include "app/headless/headless_engine.h"
#include "app/headless/open_settings_option.h"
#include "app/headless/settings_options.h"
#include "effects/text.h"
#include "commands/panel_wiring.h"
#include "imaging/png_writer.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "scene/number_text.h"
#include "scene/scene_state.h"
#include "scene/title_text.h"

namespace quorbel {

const char* const kHeadlessUsage =
    "Usage: quorbel [--snapshot FILE.png] [--frames N] [--size WIDTHxHEIGHT]\n"
    "               [--set NAME=VALUE]... [--get NAME]... [--seed N] [--path classic|fast]\n"
    "               [--settings FILE.qrl] [--save-settings FILE.qrl]\n"
    "  --snapshot FILE   render without a window and write the last frame as PNG\n"
    "  --frames N        number of frames to render (default 1)\n"
    "  --size WxH        surface size in pixels (default 720x480)\n"
    "  --set NAME=VALUE  set a scene field before the first frame (repeatable)\n"
    "  --get NAME        print a scene field after the last frame (repeatable)\n"
    "  --seed N          fix the random seed so a render can be repeated exactly\n"
    "  --settings FILE   after the first frame, open FILE (and Text.TXT in the\n"
    "                    current folder) as the window's Open does, then render\n"
    "                    the --frames frames\n"
    "  --save-settings FILE  after the last frame, write the settings to FILE and\n"
    "                    the title to Text.TXT in the current folder\n"
    "  --path P          'fast' (the default) or 'classic', the plain OpenGL 1.1 drawing\n"
    "       quorbel --record FILE [--frames N] [--standard ntsc|pal | --size WxH --fps RATE]\n"
    "               [--alpha] [--codec NAME] [--quality 1-100] [--set NAME=VALUE]... [--seed N]\n"
    "       quorbel --codec list [--record FILE] [--standard ntsc|pal | --size WxH --fps RATE] [--alpha]\n"
    "  --record FILE     record N frames (default: 10 seconds); the extension chooses the\n"
    "                    kind: .avi (also for any other name), .mov, .mp4, .webm, or .png\n"
    "                    for numbered pictures FILE_00001.png, ...; Ctrl+C stops early and\n"
    "                    keeps what was recorded\n"
    "  --standard S      ntsc: 720x480 at 30 frames per second; pal: 720x576 at 25;\n"
    "                    without it, the --size (rounded down to multiples of 4, up to\n"
    "                    3840x2160) at the --fps\n"
    "  --fps RATE        frames per second: 24, 25, 30, 50, 60, 30000/1001, 29.97, ...\n"
    "                    (default 30); the scene moves one step per frame, so the same\n"
    "                    frames at 60 play twice as fast as at 30\n"
    "  --alpha           transparent background (.mov, .webm, .png): the title's faces,\n"
    "                    the tunnel and the tiles are opaque, glows add light\n"
    "  --codec NAME      the encoder (see --codec list; default: the first listed)\n"
    "  --quality Q       1 (smallest) to 100 (best), for encoders that have a quality\n";

namespace {

constexpr int kMaxSide = 16384;
constexpr long kMaxFrames = 100000000;

std::optional<long> ParseWhole(const std::string& text, long low, long high) {
    ParsedNumber<std::int64_t> parsed = ParseWholeNumber(text, low, high);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<long>(parsed.value);
}

std::optional<std::string> ParseSize(const std::string& text, HeadlessOptions& options) {
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

std::optional<std::string> ParseSet(const std::string& text, HeadlessOptions& options) {
    auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return "bad --set '" + text + "': expected NAME=VALUE";
    std::string name = text.substr(0, eq), value = text.substr(eq + 1);
    // Check against a scratch copy now, so a typo fails before any rendering.
    SceneState scratch;
    if (auto error = SetSceneField(scratch, name, value)) return "bad --set: " + *error;
    options.sets.emplace_back(name, value);
    return std::nullopt;
}

std::optional<std::string> ParseGet(const std::string& name, HeadlessOptions& options) {
    if (!FindSceneField(name)) {
        SceneState scratch;
        return "bad --get: " + *SetSceneField(scratch, name, "0");
    }
    options.gets.push_back(name);
    return std::nullopt;
}

std::optional<std::string> CheckWritable(const std::string& path) {
    auto slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (access(folder.c_str(), W_OK) != 0) return "cannot write " + path + ": folder '" + folder + "' is not writable";
    return std::nullopt;
}

// The title as typed on a command line: "\n" is a line break.
std::optional<std::string> ParseTitle(const std::string& text, HeadlessOptions& options) {
    std::string title = TitleFromText(UnescapeTitle(text));
    if (!FitsInTitle(title))
        return "bad --title: it has " + std::to_string(CharacterCount(title)) +
               " characters; a title holds at most " + std::to_string(kMaxTitleCharacters);
    options.title = std::move(title);
    return std::nullopt;
}

bool ChangesGlyphs(const std::string& name) {
    static const std::set<std::string> fontFields = {"textFontFace", "textFontWeight", "textFontItalic",
                                                     "textWireframe", "textDepth"};
    return fontFields.count(name) > 0;
}

}  // namespace

std::optional<std::string> ParseHeadlessOptions(const std::vector<std::string>& args, HeadlessOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (IsRecordFlag(arg)) {
            ParseRecordFlag(arg, options.record);
            continue;
        }
        if (i + 1 >= args.size()) return "option '" + arg + "' is unknown or lacks its value";
        const std::string& value = args[++i];
        std::optional<std::string> error;
        if (arg == "--snapshot") {
            options.snapshotPath = value;
        } else if (arg == "--frames") {
            auto n = ParseWhole(value, 0, kMaxFrames);
            if (!n) error = "bad --frames '" + value + "': expected a whole number of at least 1";
            else options.frames = static_cast<int>(*n), options.framesGiven = true;
        } else if (arg == "--size") {
            error = ParseSize(value, options);
        } else if (arg == "--set") {
            error = ParseSet(value, options);
        } else if (arg == "--get") {
            error = ParseGet(value, options);
        } else if (arg == "--settings") {
            options.openSettingsPath = value;
        } else if (arg == "--save-settings") {
            options.saveSettingsPath = value;
        } else if (arg == "--seed") {
            auto n = ParseWhole(value, 0, 0x7fffffffL);
            if (!n) error = "bad --seed '" + value + "': expected a whole number";
            else options.seed = static_cast<unsigned>(*n);
        } else if (IsRecordOption(arg)) {
            error = ParseRecordOption(arg, value, options.record);
        } else if (arg == "--path") {
            if (value != "classic" && value != "fast") error = "bad --path '" + value + "': expected classic or fast";
            else options.classicPath = value == "classic";
        } else {
            error = "unknown option '" + arg + "'";
        }
        if (error) return error;
    }
    if ((options.record.alpha || options.record.fps) && !options.record.active())
        return std::string("--alpha and --fps belong to a recording: add --record FILE");
    // Recording nothing is a choice; rendering nothing for a snapshot is not.
    if (options.frames == 0 && options.record.path.empty())
        return std::string("bad --frames '0': expected a whole number of at least 1");
    return std::nullopt;
}

int RunHeadless(const HeadlessOptions& given) {
    HeadlessOptions options = given;
    if (options.record.active()) {
        if (auto error = PrepareRecording(options)) {
            std::fprintf(stderr, "quorbel: %s\n", error->c_str());
            return 2;
        }
        if (options.record.listCodecs()) return ListCodecs(options);
    }
    const std::string titleOutput = options.saveSettingsPath.empty() ? "" : "Text.TXT";
    for (const std::string& output : {options.snapshotPath, options.saveSettingsPath, titleOutput}) {
        if (output.empty()) continue;
        if (auto error = CheckWritable(output)) {
            std::fprintf(stderr, "quorbel: %s\n", error->c_str());
            return 2;
        }
    }
    std::string error;
    auto engine = HeadlessEngine::Create(options.width, options.height, error);
    if (!engine) {
        std::fprintf(stderr, "quorbel: no usable OpenGL: %s\n", error.c_str());
        return 3;
    }
    if (options.seed) SetFixedRandomSeed(*options.seed);
    RequestRenderPath(options.classicPath ? RenderPath::Classic : RenderPath::Fast);
    InstallControlPanels();
    if (!engine->InitialiseScene())  // the picture at fault was named as it failed
        std::fprintf(stderr, "quorbel: warning: a start-up picture in Data/ or gfx/ could not be used; "
                             "the scene is only partly set up\n");
    bool rebuildGlyphs = false;
    for (const auto& [name, value] : options.sets) {
        SetSceneField(scene, name, value);
        rebuildGlyphs = rebuildGlyphs || ChangesGlyphs(name);
    }
    if (rebuildGlyphs) BuildTextFont();
    if (options.title) scene.titleText.Assign(*options.title);
    InstallHeadlessStartup(options);
    int status = OpenSettingsAfterFirstFrame(*engine, options);
    if (status) return status;
    if (options.record.active()) status = RecordHeadless(*engine, options);
    else engine->RenderFrames(options.frames);
    for (const std::string& name : options.gets)
        std::printf("%s=%s\n", name.c_str(), GetSceneField(scene, name)->c_str());
    if (!options.saveSettingsPath.empty()) {
        if (int saved = SaveSettingsAfterRun(options.saveSettingsPath)) return saved;
    }
    if (options.snapshotPath.empty()) return status;
    if (auto failure = WritePngBottomUp(options.snapshotPath, engine->width(), engine->height(), engine->ReadPixels())) {
        std::fprintf(stderr, "quorbel: %s\n", failure->c_str());
        return 2;
    }
    std::fprintf(stderr, "quorbel: wrote %s (%dx%d, frame %d)\n", options.snapshotPath.c_str(), engine->width(),
                 engine->height(), options.frames);
    return 0;
}

}  // namespace quorbel
