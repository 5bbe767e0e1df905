// The edit box's stored data, its input filter and normalisation, and the spin
// adjuster's stepping rule: the parts that need no window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/units/edit/edit_data.h"
#include "runtime/units/edit/edit_input.h"
#include "runtime/units/edit/edit_spin.h"
#include "runtime/units/font_data.h"
#include "runtime/units/property_data.h"
#include "tests/support/test_units.h"

namespace quillet {
namespace {

std::string Serialised(const EditBoxData& data) {
    PropertyDataWriter writer;
    WriteEditBoxData(data, writer);
    return writer.Data();
}

uint32_t WordAt(const std::string& bytes, size_t at) {
    uint32_t word = 0;
    std::memcpy(&word, bytes.data() + at, 4);
    return word;
}

using testunits::Words;

// A block as an older version wrote it: no binding names.
std::string OldBlock(uint32_t version, const std::string& content) {
    std::string bytes = Words({version, 1, 0, 0xFFFFFF, 1, 0, 0, 0, 0, 0});
    bytes += std::string("*\0", 2);
    bytes += Words({0, 0, 0, 100, 0, 0, 0, static_cast<uint32_t>(content.size())});
    return bytes + content;
}

TEST(EditBoxDataTest, DefaultBoxIs82BytesWithEveryFieldInPlace) {
    const std::string bytes = Serialised(EditBoxData{});
    ASSERT_EQ(bytes.size(), 82u);
    EXPECT_EQ(WordAt(bytes, 0), 2u);          // version
    EXPECT_EQ(WordAt(bytes, 4), 1u);          // BorderStyle
    EXPECT_EQ(WordAt(bytes, 12), 0xFFFFFFu);  // BackColor
    EXPECT_EQ(WordAt(bytes, 16), 1u);         // HideSelection
    EXPECT_EQ(bytes.substr(40, 2), std::string("*\0", 2));  // PasswordChar: 16 bits
    EXPECT_EQ(WordAt(bytes, 54), 100u);       // SpinUpper
    for (size_t at = 66; at < 82; at += 4) EXPECT_EQ(WordAt(bytes, at), 0u) << "empty block at " << at;
}

TEST(EditBoxDataTest, WrittenDataReadsBackUnchanged) {
    EditBoxData data;
    data.fields.borderStyle = 5;
    data.fields.textColor = 0x123456;
    data.fields.backColor = 0xFF000000;
    data.fields.multiLine = 1;
    data.fields.scrollBars = 3;
    data.fields.inputMode = 2;
    data.fields.passwordChar = 0xA3;  // a byte above 127 stays one byte
    data.fields.spinLower = -7;
    data.fields.selStart = 3;
    data.fields.selLength = 2;
    data.font = std::string(60, 'f');
    data.content = "中文\r\nline";
    data.dataSource = "源";
    data.dataColumn = "列";
    const std::string bytes = Serialised(data);
    EditBoxData read;
    ASSERT_TRUE(ReadEditBoxData(bytes.data(), static_cast<int32_t>(bytes.size()), &read));
    EXPECT_EQ(std::memcmp(&read.fields, &data.fields, sizeof data.fields), 0);
    EXPECT_EQ(read.font, data.font);
    EXPECT_EQ(read.content, data.content);
    EXPECT_EQ(read.dataSource, data.dataSource);
    EXPECT_EQ(read.dataColumn, data.dataColumn);
}

TEST(EditBoxDataTest, VersionsZeroAndOneReadWithoutBindingNamesAndThreeIsRefused) {
    for (uint32_t version : {0u, 1u}) {
        const std::string bytes = OldBlock(version, "abc");
        EditBoxData read;
        read.dataSource = "stale";
        ASSERT_TRUE(ReadEditBoxData(bytes.data(), static_cast<int32_t>(bytes.size()), &read)) << version;
        EXPECT_EQ(read.content, "abc");
        EXPECT_EQ(read.fields.passwordChar, '*');
        EXPECT_TRUE(read.dataSource.empty());
    }
    std::string three = Serialised(EditBoxData{});
    three[0] = 3;
    EditBoxData read;
    EXPECT_FALSE(ReadEditBoxData(three.data(), static_cast<int32_t>(three.size()), &read));
}

TEST(EditBoxDataTest, BlocksThatEndEarlyOrClaimTooMuchAreRefused) {
    const std::string whole = Serialised(EditBoxData{});
    EditBoxData read;
    for (size_t cut : {size_t{0}, size_t{3}, size_t{41}, size_t{70}, whole.size() - 1})
        EXPECT_FALSE(ReadEditBoxData(whole.data(), static_cast<int32_t>(cut), &read)) << "cut at " << cut;
    std::string lying = whole;
    const uint32_t huge = 0x7FFFFFF0;
    std::memcpy(lying.data() + 70, &huge, 4);  // Content's length word
    EXPECT_FALSE(ReadEditBoxData(lying.data(), static_cast<int32_t>(lying.size()), &read));
}

TEST(EditBoxDataTest, StoredPickValuesAreClampedLikeWrites) {
    std::string bytes = Serialised(EditBoxData{});
    const auto put = [&](size_t at, int32_t value) { std::memcpy(bytes.data() + at, &value, 4); };
    put(4, 9);    // BorderStyle
    put(20, -3);  // MaxLength
    put(28, 7);   // ScrollBars
    put(32, -1);  // Alignment
    put(36, 40);  // InputMode
    put(42, 5);   // CaseConversion
    put(46, 3);   // SpinMode
    EditBoxData read;
    ASSERT_TRUE(ReadEditBoxData(bytes.data(), static_cast<int32_t>(bytes.size()), &read));
    EXPECT_EQ(read.fields.borderStyle, 5);
    EXPECT_EQ(read.fields.maxLength, 0);
    EXPECT_EQ(read.fields.scrollBars, 3);
    EXPECT_EQ(read.fields.alignment, 0);
    EXPECT_EQ(read.fields.inputMode, 11);
    EXPECT_EQ(read.fields.caseConversion, 2);
    EXPECT_EQ(read.fields.spinMode, 2);
}

// "old" becomes "new", any face name 黑体.
testunits::TextOffers Renames() { return testunits::TextOffers({{"old", "new"}}, "黑体"); }

TEST(EditBoxDataTest, EnumTextsOffersContentFaceNameAndBindingNamesAndKeepsReplacements) {
    EditBoxData data;
    FontData font{};
    std::strcpy(font.lfFaceName, "宋体");
    data.font.assign(reinterpret_cast<const char*>(&font), sizeof font);
    data.content = "old";
    data.dataSource = "source";
    data.dataColumn = "old";
    std::string bytes = Serialised(data);
    auto length = static_cast<int32_t>(bytes.size());
    testunits::TextOffers offers = Renames();
    HGLOBAL block = static_cast<HGLOBAL>(EnumEditBoxTexts(bytes.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offers.offered, (std::vector<testunits::OfferedText>{
                                  {"old", 0}, {"宋体", EnumTextFlag::FontName}, {"source", 0}, {"old", 0}}));

    EditBoxData read;
    ASSERT_EQ(static_cast<SIZE_T>(length), GlobalSize(block));
    ASSERT_TRUE(ReadEditBoxData(GlobalLock(block), length, &read));
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ(read.content, "new");
    EXPECT_EQ(read.dataSource, "source");
    EXPECT_EQ(read.dataColumn, "new");
    ASSERT_EQ(read.font.size(), sizeof(FontData));
    EXPECT_STREQ(reinterpret_cast<const FontData*>(read.font.data())->lfFaceName, "黑体");
}

TEST(EditBoxDataTest, EnumTextsRewritesAnOldBlockAsVersionTwoAndRefusesVersionThree) {
    std::string bytes = OldBlock(0, "text");
    auto length = static_cast<int32_t>(bytes.size());
    testunits::TextOffers offers = Renames();
    HGLOBAL block = static_cast<HGLOBAL>(EnumEditBoxTexts(bytes.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offers.offered.size(), 3u);  // no font block: no face name
    EXPECT_EQ(length, static_cast<int32_t>(bytes.size()) + 8);
    EXPECT_EQ(*static_cast<const uint32_t*>(GlobalLock(block)), 2u);
    GlobalUnlock(block);
    GlobalFree(block);

    std::string three = Serialised(EditBoxData{});
    three[0] = 3;
    length = static_cast<int32_t>(three.size());
    EXPECT_EQ(EnumEditBoxTexts(three.data(), &length, offers.Answer, offers.Context()), nullptr);
}

// ---- keystrokes ----

std::string Accepted(int32_t mode, const std::string& typed) {
    std::string kept;
    for (char c : typed)
        if (AcceptsCharacter(mode, static_cast<unsigned char>(c))) kept += c;
    return kept;
}

TEST(EditInputTest, EachModeLetsItsCharactersThrough) {
    const std::string typed = "a-7.+ 9\b\r";
    EXPECT_EQ(Accepted(EditInputMode::Normal, typed), typed);
    EXPECT_EQ(Accepted(EditInputMode::Password, typed), typed);
    EXPECT_EQ(Accepted(EditInputMode::DateTime, typed), typed);
    for (int32_t mode : {EditInputMode::IntegerText, EditInputMode::Short, EditInputMode::Int, EditInputMode::Long})
        EXPECT_EQ(Accepted(mode, typed), "-79\b\r") << "mode " << mode;
    for (int32_t mode : {EditInputMode::DecimalText, EditInputMode::Float, EditInputMode::Double})
        EXPECT_EQ(Accepted(mode, typed), "-7.9\b\r") << "mode " << mode;
    EXPECT_EQ(Accepted(EditInputMode::Byte, typed), "79\b\r");
    // Bytes of double-byte characters never pass a numeric filter.
    EXPECT_EQ(Accepted(EditInputMode::IntegerText, "１"), "");
}

// Control characters edit only where the control edits with them: a run
// refuses those with a beep, and selecting (Ctrl+A) or copying is no edit.
TEST(EditInputTest, OnlyCharactersThatChangeTheTextCountAsEdits) {
    for (wchar_t c : std::wstring(L"a中\b\t\r\n\x16\x18\x1A")) EXPECT_TRUE(EditsText(WM_CHAR, c)) << int{c};
    for (wchar_t c : std::wstring(L"\x01\x02\x03\x1B\x7F")) EXPECT_FALSE(EditsText(WM_CHAR, c)) << int{c};
    EXPECT_FALSE(EditsText(WM_UNICHAR, UNICODE_NOCHAR));
}

// ---- normalisation ----

struct Normalisation {
    int32_t mode;
    std::string text;
    std::string shown;
};

TEST(EditInputTest, NormalisationClampsWritesAsTheRuntimeDoesAndShowsZeroAsEmpty) {
    const Normalisation cases[] = {
        {EditInputMode::Byte, "300", "255"},
        {EditInputMode::Byte, "-4", ""},
        {EditInputMode::Byte, "12", "12"},
        {EditInputMode::Byte, "abc", ""},
        {EditInputMode::Byte, " 007x", "7"},
        // Read as 64 bits before the clamp: 2^32 + 5 is far above 255, not 5.
        {EditInputMode::Byte, "4294967301", "255"},
        {EditInputMode::Short, "40000", "32767"},
        {EditInputMode::Short, "-40000", "-32768"},
        {EditInputMode::Int, "3000000000", "2147483647"},
        {EditInputMode::Int, "-3000000000", "-2147483648"},
        {EditInputMode::Long, "99999999999999999999", "9223372036854775807"},
        {EditInputMode::Long, "-9223372036854775809", "-9223372036854775808"},
        {EditInputMode::Long, "0", ""},
        {EditInputMode::Float, "3.14159265", "3.14159"},
        {EditInputMode::Float, "0.0", ""},
        {EditInputMode::Float, "1e60", ""},  // beyond single precision: no number
        {EditInputMode::Double, "2.5", "2.5"},
        {EditInputMode::Double, "3.0", "3"},
        {EditInputMode::Double, "-0", ""},
        {EditInputMode::Double, "0.1234567890123456", "0.1234567890123"},
        {EditInputMode::IntegerText, "abc", "abc"},  // modes below 5 keep their text
        {EditInputMode::Normal, "0", "0"},
    };
    for (const Normalisation& c : cases)
        EXPECT_EQ(NormalisedText(c.mode, c.text), c.shown) << "mode " << c.mode << " text " << c.text;
}

TEST(EditInputTest, DateTimesAreWrittenAsTheRuntimeWritesThemAndReadBackUnchanged) {
    const Normalisation cases[] = {
        {EditInputMode::DateTime, "2024-05-01", "2024年5月1日"},
        {EditInputMode::DateTime, "2024/5/1 8:30", "2024年5月1日8时30分"},
        {EditInputMode::DateTime, "2024.05.01 08:00:05", "2024年5月1日8时0分5秒"},
        {EditInputMode::DateTime, "2024年5月1日8时", "2024年5月1日8时"},
        {EditInputMode::DateTime, "2024年5月1日8时0分5秒", "2024年5月1日8时0分5秒"},
        {EditInputMode::DateTime, "1899-12-29 06:00", "1899年12月29日6时"},
        {EditInputMode::DateTime, "1899-12-30", ""},  // the zero date-time
        {EditInputMode::DateTime, "2023-02-29", ""},
        {EditInputMode::DateTime, "2024-13-01", ""},
        {EditInputMode::DateTime, "2024-05-01 25:00", ""},
        {EditInputMode::DateTime, "abc", ""},
        {EditInputMode::DateTime, "", ""},
    };
    for (const Normalisation& c : cases) {
        const std::string shown = NormalisedText(c.mode, c.text);
        EXPECT_EQ(shown, c.shown) << "text " << c.text;
        EXPECT_EQ(NormalisedText(c.mode, shown), shown) << "a second focus loss changes " << shown;
    }
}

TEST(EditInputTest, LeadingIntegerSkipsSpaceTakesASignAndHoldsAtTheLimits) {
    EXPECT_EQ(LeadingInteger("  12ab"), 12);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("-"), 0);
    EXPECT_EQ(LeadingInteger("x1"), 0);
    EXPECT_EQ(LeadingInteger("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(LeadingInteger("123456789012345678901234"), INT64_MAX);
}

// ---- stepping ----

TEST(SpinSteppingTest, SteppingWrapsAtEitherEndAndBringsOutsideValuesBack) {
    struct Step {
        int64_t value;
        int32_t delta;
        int64_t result;
    };
    const Step steps[] = {
        {100, 1, 0},   {0, -1, 100}, {0, 1, 1},      {50, -1, 49},  {-20, 1, 0},
        {-20, -1, 100}, {500, -1, 100}, {500, 1, 0}, {INT64_MAX, 1, 0}, {INT64_MIN, -1, 100},
    };
    for (const Step& s : steps)
        EXPECT_EQ(SteppedValue(s.value, s.delta, 0, 100), s.result) << s.value << " by " << s.delta;
    EXPECT_EQ(SteppedValue(2147483647, 1, INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(SteppedValue(-2147483648LL, -1, INT32_MIN, INT32_MAX), INT32_MAX);
}

}  // namespace
}  // namespace quillet
