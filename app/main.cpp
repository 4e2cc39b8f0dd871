// Quorbel's entry point. Until the window exists every run is headless: it
// renders offscreen and, with no options, writes a snapshot and says where.
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless/headless_runner.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    quorbel::HeadlessOptions options;
    if (auto error = quorbel::ParseHeadlessOptions(args, options)) {
        std::fprintf(stderr, "quorbel: %s\n%s", error->c_str(), quorbel::kHeadlessUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(quorbel::kHeadlessUsage, stdout);
        return 0;
    }
    if (options.snapshotPath.empty() && options.gets.empty() && options.saveSettingsPath.empty())
        options.snapshotPath = "quorbel-snapshot.png";
    return quorbel::RunHeadless(options);
}
