#include "commands/tip_of_the_day.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "commands/command_table.h"
#include "platform/platform.h"

namespace quorbel {

namespace {

long ReadProfileNumber(const char* key, long fallback) {
    std::string text = CurrentPlatform().ReadProfileString(kTipSection, key, std::to_string(fallback));
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE) return fallback;
    return value;
}

void WriteProfileNumber(const char* key, long value) {
    CurrentPlatform().WriteProfileString(kTipSection, key, std::to_string(value));
}

// The file's modification time as the C library writes a time, without the
// trailing line break; empty when it cannot be had.
std::string ModificationStamp(std::FILE* file) {
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) return {};
    char buffer[64] = {};
    if (!ctime_r(&info.st_mtime, buffer)) return {};
    std::string stamp = buffer;
    while (!stamp.empty() && std::isspace(static_cast<unsigned char>(stamp.back()))) stamp.pop_back();
    return stamp;
}

// One line with its line break; false at the end of the file. A line longer
// than a tip may be is cut, and its rest skipped, so it stays one tip.
bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF) {
        if (line.size() < kMaxTipLength) line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !line.empty();
}

void ShowTrouble() {
    CurrentPlatform().ShowMessage(kTipsTroubleText, kApplicationName, MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace

bool IsTipLine(const std::string& line) {
    if (line.empty()) return false;
    switch (line.front()) {
        case ' ':
        case '\t':
        case '\n':
        case '\r':
        case ';': return false;
        default: return true;
    }
}

TipOfTheDay::TipOfTheDay(const std::string& tipsPath) {
    showAtStartup_ = ReadProfileNumber("StartUp", 0) == 0;
    long position = ReadProfileNumber("FilePos", 0);
    file_ = std::fopen(tipsPath.c_str(), "rb");
    if (!file_) {
        tipText_ = kTipsMissingText;
        return;
    }
    std::string stamp = ModificationStamp(file_);
    if (stamp != CurrentPlatform().ReadProfileString(kTipSection, "TimeStamp", "")) {
        position = 0;
        CurrentPlatform().WriteProfileString(kTipSection, "TimeStamp", stamp);
    }
    if (std::fseek(file_, position, SEEK_SET) != 0) {
        ShowTrouble();
        return;
    }
    GetNextTip();
}

TipOfTheDay::~TipOfTheDay() {
    if (!file_) return;
    long position = std::ftell(file_);
    if (position >= 0) WriteProfileNumber("FilePos", position);
    std::fclose(file_);
}

void TipOfTheDay::NextTip() {
    if (file_) GetNextTip();
}

void TipOfTheDay::Close(bool showAtStartupChecked) {
    showAtStartup_ = showAtStartupChecked;
    WriteProfileNumber("StartUp", showAtStartupChecked ? 0 : 1);
}

// Reads on from the current position to the next tip line, going round to
// the start of the file once. A file without any tip line ends the search
// after one full pass instead of going round forever.
void TipOfTheDay::GetNextTip() {
    std::string line;
    bool wentRound = false;
    for (;;) {
        if (ReadLine(file_, line)) {
            if (IsTipLine(line)) {
                tipText_ = line;
                return;
            }
            continue;
        }
        if (wentRound) {
            tipText_ = kNoTipsText;
            return;
        }
        wentRound = true;
        std::clearerr(file_);
        if (std::fseek(file_, 0, SEEK_SET) != 0) {
            ShowTrouble();
            return;
        }
    }
}

}  // namespace quorbel
