#include "commands/web_pages.h"

#include <array>
#include <filesystem>

#include "commands/command_table.h"
#include "commands/working_folder.h"
#include "platform/platform.h"

namespace quorbel {

namespace fs = std::filesystem;

namespace {

const char* FileOf(WebPage page) {
    switch (page) {
        case WebPage::Home: return "index.html";
        case WebPage::Help: return "help.html";
        case WebPage::Faq: return "faq.html";
    }
    return "index.html";
}

}  // namespace

std::string WebPageAddress(WebPage page, const std::string& executableDir) {
    const fs::path base = executableDir;
    const std::array<fs::path, 2> candidates = {
        base / ".." / "share" / "doc" / "quorbel" / FileOf(page),  // installed: bin/ beside share/
        base / ".." / "doc" / FileOf(page),                        // built in a folder of the checkout
    };
    std::error_code error;
    fs::path chosen = candidates[0];
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) {
            chosen = candidate;
            break;
        }
    }
    fs::path resolved = fs::weakly_canonical(chosen, error);
    return "file://" + (resolved.empty() ? chosen : resolved).string();
}

std::string WebPageAddress(WebPage page) { return WebPageAddress(page, ExecutableDir()); }

void OpenOwnPage(WebPage page) {
    std::string address = WebPageAddress(page);
    if (CurrentPlatform().OpenWebPage(address)) return;
    CurrentPlatform().ShowMessage("Could not open " + address + ": the desktop has no program set up for web pages.",
                                  kApplicationName, MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace quorbel
