// The tip of the day over a real tips file: where it reads, how it goes
// round, what restarts it, what it skips, and files it cannot use.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands/tip_of_the_day.h"
#include "support/scripted_platform.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

class TipOfTheDayTest : public ::testing::Test {
protected:
    void SetUp() override { folder = std::make_unique<testing::TempDirectory>(); }
    void TearDown() override { folder.reset(); }

    static void WriteTips(const std::string& content) { std::ofstream("tips.txt", std::ios::binary) << content; }
    // The tip a fresh box shows, the box then destroyed (as at every start).
    static std::string NextBoxTip() { return TipOfTheDay().tipText(); }
    std::string Profile(const std::string& key) { return platform->profile["Tip/" + key]; }

    ScopedScriptedPlatform platform;
    std::unique_ptr<testing::TempDirectory> folder;
};

TEST_F(TipOfTheDayTest, EachBoxShowsTheNextTipSkippingBlanksCommentsAndIndentedLines) {
    WriteTips("; comment\nFirst tip\n\n   indented\n\tTabbed\r\nSecond tip\r\n\r\nThird tip");
    EXPECT_EQ(NextBoxTip(), "First tip\n");
    EXPECT_EQ(NextBoxTip(), "Second tip\r\n") << "shown unchanged, line break included";
    EXPECT_EQ(NextBoxTip(), "Third tip") << "a last line without a line break still counts";
    EXPECT_EQ(NextBoxTip(), "First tip\n") << "after the last tip comes the first again";
}

TEST_F(TipOfTheDayTest, ChangingTheFileRestartsFromTheFirstTip) {
    WriteTips("A\nB\nC\n");
    EXPECT_EQ(NextBoxTip(), "A\n");
    EXPECT_EQ(NextBoxTip(), "B\n");
    std::string stamp = Profile("TimeStamp");
    EXPECT_FALSE(stamp.empty());
    EXPECT_TRUE(stamp.back() != '\n' && stamp.back() != ' ') << "trailing white space removed";
    auto when = std::filesystem::last_write_time("tips.txt");
    std::filesystem::last_write_time("tips.txt", when + std::chrono::hours(1));
    EXPECT_EQ(NextBoxTip(), "A\n");
    EXPECT_NE(Profile("TimeStamp"), stamp);
}

TEST_F(TipOfTheDayTest, StartUpFlagIsInvertedAndThePositionAdvancesEvenWhenNotShown) {
    WriteTips("A\nB\n");
    {
        TipOfTheDay box;
        EXPECT_TRUE(box.showAtStartup()) << "absent StartUp means show";
        box.Close(false);
    }
    EXPECT_EQ(Profile("StartUp"), "1");
    TipOfTheDay hidden;
    EXPECT_FALSE(hidden.showAtStartup());
    EXPECT_EQ(hidden.tipText(), "B\n") << "constructed at start-up, not shown, still one tip on";
    hidden.Close(true);
    EXPECT_EQ(Profile("StartUp"), "0");
}

TEST_F(TipOfTheDayTest, FilesWithoutTipsEndTheSearch) {
    for (const char* content : {"", "; only a comment\n\n   \n\t\n", "\r\n\r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(content)));
        WriteTips(content);
        TipOfTheDay box;
        EXPECT_EQ(box.tipText(), kNoTipsText);
        box.NextTip();
        EXPECT_EQ(box.tipText(), kNoTipsText);
        EXPECT_TRUE(box.hasFile());
    }
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(TipOfTheDayTest, AMissingFileSaysSoAndKeepsNoPosition) {
    TipOfTheDay box;
    EXPECT_EQ(box.tipText(), "Tips file does not exist in the prescribed directory");
    EXPECT_FALSE(box.hasFile());
    box.NextTip();
    EXPECT_EQ(box.tipText(), "Tips file does not exist in the prescribed directory");
    EXPECT_EQ(platform->profile.count("Tip/FilePos"), 0u);
}

TEST_F(TipOfTheDayTest, StoredPositionsFromElsewhereAreHandled) {
    WriteTips("A\nB\n");
    TipOfTheDay().tipText();  // records the time stamp
    struct Row {
        const char* stored;
        const char* tip;
        bool trouble;
    };
    const Row rows[] = {
        {"999999", "A\n", false},   // past the end: round to the first tip
        {"1", "B\n", false},        // mid-line: what is left of the line, "\n", is no tip
        {"banana", "A\n", false},   // not a number: from the start
        {"-5", "", true},           // cannot seek there
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        platform->messages.clear();
        platform->profile["Tip/FilePos"] = row.stored;
        EXPECT_EQ(NextBoxTip(), row.tip);
        EXPECT_EQ(platform->messages.size(), row.trouble ? 1u : 0u);
        if (row.trouble) {
            EXPECT_EQ(platform->messages[0].text, "Trouble reading the tips file");
        }
    }
}

TEST_F(TipOfTheDayTest, OverlongLinesStayOneTip) {
    WriteTips(std::string(2500, 'x') + "\nShort\n");
    EXPECT_EQ(NextBoxTip().size(), kMaxTipLength);
    EXPECT_EQ(NextBoxTip(), "Short\n") << "the rest of the long line is not a tip of its own";
}

}  // namespace
}  // namespace quorbel
