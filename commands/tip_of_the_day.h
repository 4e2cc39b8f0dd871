// The logic of the Tip of the Day box: one line of "tips.txt" at a time,
// remembering across runs where the reader is in the file (per-user values
// "StartUp", "FilePos" and "TimeStamp" in the section "Tip"). The dialog
// shows what this object holds and forwards its buttons here.
#pragma once

#include <cstdio>
#include <string>

namespace quorbel {

inline constexpr const char* kTipsFileName = "tips.txt";
inline constexpr const char* kTipsMissingText = "Tips file does not exist in the prescribed directory";
inline constexpr const char* kTipsTroubleText = "Trouble reading the tips file";
// Shown when the file holds no tip line at all (only blanks and comments).
inline constexpr const char* kNoTipsText = "The tips file holds no tips.";
inline constexpr const char* kTipSection = "Tip";

// Longest tip line kept; the rest of a longer line is skipped.
inline constexpr std::size_t kMaxTipLength = 999;

class TipOfTheDay {
public:
    // Opens the tips file, restarts from its first tip when the file changed
    // since the last run, and reads the next tip.
    explicit TipOfTheDay(const std::string& tipsPath = kTipsFileName);
    // Stores where the next tip starts, so every box moves one tip further.
    ~TipOfTheDay();
    TipOfTheDay(const TipOfTheDay&) = delete;
    TipOfTheDay& operator=(const TipOfTheDay&) = delete;

    bool showAtStartup() const { return showAtStartup_; }
    const std::string& tipText() const { return tipText_; }
    // False when the tips file could not be opened ("Next Tip" is then off).
    bool hasFile() const { return file_ != nullptr; }

    // The "Next Tip" button.
    void NextTip();
    // The "Close" button, with the state of the start-up check box.
    void Close(bool showAtStartupChecked);

private:
    void GetNextTip();

    bool showAtStartup_ = true;
    std::string tipText_;
    std::FILE* file_ = nullptr;
};

// A tip line starts with anything but a space, a tab, a line break or ";".
bool IsTipLine(const std::string& line);

}  // namespace quorbel
