// The headless mode's command line as one table: each option is one row
// (its name, the value it takes if any, its parser, one line of help). The
// parser, --help (also printed after a refused option) and the man page are
// all made from that table, so adding an option is adding a row to
// command_line.cpp.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/headless/headless_runner.h"

namespace quorbel {

// An error message for a refused value, or nothing when it was taken.
using OptionError = std::optional<std::string>;

struct CommandLineOption {
    const char* name;   // "--frames"
    const char* value;  // what follows it, as the help calls it ("N"); nullptr: the option stands alone
    OptionError (*parse)(const std::string& value, HeadlessOptions& options);  // value is "" for a lone option
    const char* help;   // one line, wrapped when shown; nullptr keeps the row out of --help and the man page
};

// Every option, in the order --help lists them.
std::span<const CommandLineOption> CommandLineOptions();

// Parses argv[1..] with the table, then checks the options against each
// other; an error message for a bad option, value or combination.
std::optional<std::string> ParseHeadlessOptions(const std::vector<std::string>& args, HeadlessOptions& options);

// The usage line, one paragraph per option and what the program does
// without options: for --help and after a refused option.
std::string HelpText();

// The manual page quorbel(1), in roff.
std::string ManPage();

}  // namespace quorbel
