// Quorbel's entry point. Without options it opens the window when there is
// a display to open it on, and renders headless otherwise; with options it
// is the headless renderer. It says on stderr which it does.
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless/command_line.h"
#include "app/headless/headless_folder.h"
#include "app/headless/headless_runner.h"
#include "commands/display_probe.h"
#include "platform/program_version.h"
#include "platform/steady_memory.h"

#ifdef QUORBEL_HAVE_GUI
#include "app/gui/pravik_app.h"
#endif

namespace {

// Nothing when the window should not be opened (and says why).
bool ShouldOpenWindow() {
#ifdef QUORBEL_HAVE_GUI
    quorbel::DisplayProbe display = quorbel::ProbeDisplay();
    if (display.available) {
        std::fprintf(stderr, "quorbel: opening the window (%s)\n", display.description.c_str());
        return true;
    }
    std::fprintf(stderr, "quorbel: no display (%s); rendering headless\n", display.description.c_str());
#else
    std::fprintf(stderr, "quorbel: built without the window (Qt 6 was not found); rendering headless\n");
#endif
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    quorbel::KeepResidentMemorySteady();
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef QUORBEL_HAVE_GUI
    if (args.empty() && ShouldOpenWindow()) return quorbel::gui::CPravikApp::Instance().Run(argc, argv);
#else
    if (args.empty()) ShouldOpenWindow();
#endif
    quorbel::HeadlessOptions options;
    if (auto error = quorbel::ParseHeadlessOptions(args, options)) {
        std::fprintf(stderr, "quorbel: %s\n%s", error->c_str(), quorbel::HelpText().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(quorbel::HelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("quorbel %s\n", quorbel::ProgramVersion());
        return 0;
    }
    if (options.snapshotPath.empty() && options.gets.empty() && options.saveSettingsPath.empty() &&
        !options.record.active())
        options.snapshotPath = "quorbel-snapshot.png";
    quorbel::EnterHeadlessWorkingFolder(options);
    return quorbel::RunHeadless(options);
}
