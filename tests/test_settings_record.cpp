// The settings record: field layout, the three storage kinds, the per-field
// buffers behind short files and second words, and the title file.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "settings/title_file.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& bytes, std::size_t at, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
}
std::uint32_t WordAt(const SettingsBytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Field i's first word is first(i), its second word second(i).
template <typename First, typename Second>
Bytes Record(std::size_t size, First first, Second second) {
    Bytes bytes(kSettingsFileSize);
    for (std::size_t i = 0; i < kSettingsFieldCount; ++i) {
        PutWord(bytes, 8 * i, first(i));
        PutWord(bytes, 8 * i + 4, second(i));
    }
    bytes.resize(size);
    return bytes;
}

// The parameter of row `field`, as the 32-bit word a load of `word` gives.
std::uint32_t LoadedWord(const SettingsField& field, const SceneState& state) {
    switch (field.storedAs) {
        case StoredAs::Int32: return static_cast<std::uint32_t>(state.*field.intParameter);
        case StoredAs::FloatWholePart:
            return static_cast<std::uint32_t>(static_cast<std::int32_t>(state.*field.floatParameter));
        case StoredAs::Float32: return std::bit_cast<std::uint32_t>(state.*field.floatParameter);
    }
    return 0;
}

class SettingsRecord : public ::testing::Test {
protected:
    void SetUp() override { ForgetSettingsBuffers(); }
    void TearDown() override { ForgetSettingsBuffers(); }
};

TEST_F(SettingsRecord, HandMadeFileWhereFieldIHoldsILoadsIntoRowI) {
    SceneState state;
    LoadSettingsRecord(Record(kSettingsFileSize, [](std::size_t i) { return i; }, [](std::size_t) { return 0; }),
                       state);
    for (const SettingsField& field : SettingsFields())
        EXPECT_EQ(LoadedWord(field, state), field.index) << field.name;
    EXPECT_EQ(state.particleCount, 26);
    EXPECT_EQ(state.textPosZ, 5.0f);
    EXPECT_EQ(state.motionButtonPresses, 194);
    EXPECT_EQ(state.motionBlurOn, 195);
    EXPECT_EQ(state.blurDensitySaved, 215);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(state.clearRed), 150u) << "float32 fields keep their bits";
}

TEST_F(SettingsRecord, SaveThenLoadKeepsWholeValuesAndTruncatesFloatsStoredAsIntegers) {
    SceneState saved;
    for (const SettingsField& field : SettingsFields()) {
        const auto i = static_cast<std::int32_t>(field.index);
        switch (field.storedAs) {
            case StoredAs::Int32: saved.*field.intParameter = i % 2 ? -70000 * i : 70000 * i; break;
            case StoredAs::Float32: saved.*field.floatParameter = i * 0.1f - 3.3f; break;
            case StoredAs::FloatWholePart: saved.*field.floatParameter = i % 2 ? -(i + 0.75f) : i + 0.75f; break;
        }
    }
    saved.textPosX = 0.75f;
    saved.textPosZ = -10.5f;
    saved.textAngleX = 2.9f;
    saved.textAngleY = -2.9f;
    SceneState loaded;
    LoadSettingsRecord(StoreSettingsRecord(saved), loaded);
    for (const SettingsField& field : SettingsFields()) {
        if (field.storedAs == StoredAs::Int32)
            EXPECT_EQ(loaded.*field.intParameter, saved.*field.intParameter) << field.name;
        else if (field.storedAs == StoredAs::Float32)
            EXPECT_EQ(loaded.*field.floatParameter, saved.*field.floatParameter) << field.name;
        else
            EXPECT_EQ(loaded.*field.floatParameter, std::trunc(saved.*field.floatParameter)) << field.name;
    }
    EXPECT_EQ(loaded.textPosX, 0.0f);
    EXPECT_EQ(loaded.textPosZ, -10.0f);
    EXPECT_EQ(loaded.textAngleX, 2.0f);
    EXPECT_EQ(loaded.textAngleY, -2.0f);
}

TEST_F(SettingsRecord, SecondWordsReadAreWrittenBackAndAFreshRunWritesZeros) {
    SceneState state;
    const SettingsBytes fresh = StoreSettingsRecord(state);
    for (std::size_t i = 0; i < kSettingsFieldCount; ++i) ASSERT_EQ(WordAt(fresh, 8 * i + 4), 0u) << i;
    LoadSettingsRecord(Record(kSettingsFileSize, [](std::size_t) { return 0; },
                              [](std::size_t i) { return 0xA5000000u + i; }),
                       state);
    state.particleCount = 1234;
    const SettingsBytes written = StoreSettingsRecord(state);
    for (std::size_t i = 0; i < kSettingsFieldCount; ++i) EXPECT_EQ(WordAt(written, 8 * i + 4), 0xA5000000u + i);
    EXPECT_EQ(WordAt(written, 8 * 26), 1234u) << "the first word is the parameter's value now";
}

TEST_F(SettingsRecord, ShortFileFillsTheRestFromTheBuffers) {
    SceneState state;
    LoadSettingsRecord(Record(kSettingsFileSize, [](std::size_t i) { return 1000 + i; }, [](std::size_t) { return 9; }),
                       state);
    state.particleCount = 5;  // a later write also refills the buffers
    StoreSettingsRecord(state);
    LoadSettingsRecord(Record(800, [](std::size_t i) { return i; }, [](std::size_t) { return 0; }), state);
    for (const SettingsField& field : SettingsFields()) {
        const std::uint32_t expected = field.index < 100 ? field.index : 1000 + field.index;
        EXPECT_EQ(LoadedWord(field, state), expected) << field.name;
    }
    EXPECT_EQ(state.particleCount, 26) << "field 26 lies inside the 800 bytes";

    // A field cut in the middle takes the bytes there are and keeps the rest.
    LoadSettingsRecord(Record(8 * 150 + 2, [](std::size_t) { return 0x11223344u; }, [](std::size_t) { return 0; }),
                       state);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(state.clearRed), (0x11223344u & 0xFFFFu) | ((1000u + 150) & 0xFFFF0000u));
}

TEST(SettingsWholePart, TruncatesTowardZeroAndSaturates) {
    struct Case {
        float value;
        std::int32_t stored;
    };
    for (Case c : {Case{0.75f, 0}, Case{-10.5f, -10}, Case{2.9f, 2}, Case{-2.9f, -2}, Case{3e9f, INT32_MAX},
                   Case{-3e9f, INT32_MIN}, Case{2147483648.0f, INT32_MAX}, Case{-2147483648.0f, INT32_MIN},
                   Case{INFINITY, INT32_MAX}, Case{-INFINITY, INT32_MIN}, Case{NAN, 0}})
        EXPECT_EQ(WholePartForFile(c.value), c.stored) << c.value;
}

TEST(SettingsFiles, UnreadableRecordChangesNothingAndSaysWhy) {
    testing::TempDirectory folder;
    std::filesystem::create_directory("a-folder.qrl");
    SceneState state;
    state.particleCount = 77;
    auto missing = ReadSettingsFile("missing.qrl", state);
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->find("No such file"), std::string::npos) << *missing;
    auto folderRead = ReadSettingsFile("a-folder.qrl", state);
    ASSERT_TRUE(folderRead);
    EXPECT_NE(folderRead->find("directory"), std::string::npos) << *folderRead;
    EXPECT_EQ(state.particleCount, 77);
}

// Every title comes back exactly through Save and Open; one that 8-bit
// text can carry, and that does not read back as UTF-8, is written as 8-bit
// bytes as older readers expect.
TEST(SettingsFiles, TitlesRoundTripAsEightBitTextOrMarkedUtf8) {
    testing::TempDirectory folder;
    const struct {
        const char* title;
        const char* eightBit;  // the file's bytes, or nullptr for UTF-8 with a mark
    } rows[] = {
        {"Quorbel 2026", "Quorbel 2026"},
        {"Caf\u00e9", "Caf\xe9"},
        {"\u20ac \u201cOeuvre\u201d \u0152", "\x80 \x93Oeuvre\x94 \x8c"},
        {"\u00c3\u00a9", nullptr},  // its 8-bit bytes would read back as UTF-8 "\u00e9"
        {"\u041c\u043e\u0441\u043a\u0432\u0430", nullptr},
        {"\u0645\u0631\u062d\u0628\u0627", nullptr},
        {"\u6771\u4eac", nullptr},
        {"Caf\u00e9 \u041c\u043e\u0441\u043a\u0432\u0430\n\u6771\u4eac \u0645\u0631\u062d\u0628\u0627", nullptr},
        {"\U0001F3AC Take 1", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        SceneState state;
        state.titleText.Assign(row.title);
        ASSERT_FALSE(WriteSettings("t.qrl", state));
        EXPECT_EQ(testing::FileText("Text.TXT"), row.eightBit ? row.eightBit : std::string("\xEF\xBB\xBF") + row.title);
        TextField title("old");
        ASSERT_FALSE(ReadTitleFile("Text.TXT", title));
        EXPECT_EQ(title.view(), row.title);
    }
}

// Older files read as before; UTF-8 is told apart from them, counted in
// characters, and no control character but the line break comes in.
TEST(SettingsFiles, TitleFileBytesAreReadAsUtf8OrAsOlderEightBitText) {
    const std::string cyrillic80 = [] {
        std::string text;
        for (int i = 0; i < 100; ++i) text += "\u0416";
        return text;
    }();
    const struct {
        std::string bytes, title;
    } rows[] = {
        {"Caf\xe9", "Caf\u00e9"},
        {"\x80\x93x\x94\x81", "\u20ac\u201cx\u201d"},  // an unassigned code is a control
        {std::string(100, 'a'), std::string(80, 'a')},
        {"Caf\xc3\xa9", "Caf\u00e9"},
        {"\xEF\xBB\xBFplain", "plain"},
        {"\xEF\xBB\xBF" + cyrillic80, cyrillic80.substr(0, 160)},
        {std::string(79, 'a') + "\xc3\xa9xyz", std::string(79, 'a') + "\u00e9"},
        {"\xc3\x28 \xed\xa0\x80", "\u00c3( \u00ed\u00a0\u20ac"},  // invalid UTF-8 is 8-bit text
        {std::string("One\r\nTwo\t!\x7f\x00", 12), "One\nTwo!"},
    };
    for (const auto& row : rows) EXPECT_EQ(TitleFromFileBytes(row.bytes), row.title) << row.bytes;
}

}  // namespace
}  // namespace quorbel
