// The program's own pages, opened by the About box and the Help menu. They
// ship with the program (doc/ in the checkout, share/doc/quorbel when
// installed), so they open without a network.
#pragma once

#include <string>

namespace quorbel {

enum class WebPage { Home, Help, Faq };

// A file:// address of the page, looked up beside the executable in
// `executableDir` (installed layout first, then the checkout's).
std::string WebPageAddress(WebPage page, const std::string& executableDir);
// The same, beside the running executable.
std::string WebPageAddress(WebPage page);

// Asks the desktop to show the page; says so when the desktop cannot.
void OpenOwnPage(WebPage page);

}  // namespace quorbel
