// Values converted by property kind on their way to and from a unit type,
// through a small unit type of the test's own; font blocks; cursor numbers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "runtime/events/property_kinds.h"
#include "runtime/template/record_cursor.h"
#include "runtime/units/font_data.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/words.h"
#include "tests/support/heap_probe.h"

namespace quillet {
namespace {

// A probe type: one stored value per own property, kept the way a real type
// keeps it (texts and bytes copied), reported back as stored.
namespace Probe {
constexpr int32_t Number = 8;
constexpr int32_t Flag = 9;
constexpr int32_t Choice = 10;  // picks 0..3
constexpr int32_t Caption = 11;
constexpr int32_t Font = 12;
constexpr int32_t Wide = 13;
constexpr int32_t Picture = 14;  // writing it asks for a rebuild
constexpr int32_t Pointer = 15;
constexpr int32_t Colour = 16;
constexpr int32_t Oddity = 17;   // a kind code no table names: a text
constexpr int32_t Count = 18;
constexpr int32_t ChoiceLast = 3;
}  // namespace Probe

struct ProbeUnit {
    PropertyValue received[Probe::Count - CommonPropertyCount]{};  // as SetProperty saw it
    uint32_t words[Probe::Count - CommonPropertyCount][2]{};
    std::string texts[Probe::Count - CommonPropertyCount];
    std::vector<char> bytes[Probe::Count - CommonPropertyCount];
    int setCalls = 0;
    int getCalls = 0;
};

const PropertyDescriptor ProbeProperties[] = {
    LeftProperty, TopProperty, WidthProperty, HeightProperty,
    TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    Property(PropertyKind::Int),
    Property(PropertyKind::Logical),
    Property(PropertyKind::Pick),
    Property(PropertyKind::Text),
    Property(PropertyKind::Font),
    Property(PropertyKind::Long),
    Property(PropertyKind::Picture),
    Property(PropertyKind::Cursor),
    Property(PropertyKind::BackColor),
    Property(static_cast<PropertyKind>(1019)),
};
static_assert(std::size(ProbeProperties) == Probe::Count);

PropertyKind ProbeKind(int32_t own) { return ProbeProperties[own + CommonPropertyCount].kind; }

bool HoldsBytes(PropertyKind kind) {
    return kind == PropertyKind::Picture || kind == PropertyKind::Cursor || kind == PropertyKind::Font;
}

int32_t ProbeSet(void* object, int32_t own, PropertyValue* value, uint32_t* scratch) {
    auto* unit = static_cast<ProbeUnit*>(object);
    if (unit == nullptr || own < 0 || own >= Probe::Count - CommonPropertyCount) return 0;
    *scratch = 0;
    ++unit->setCalls;
    unit->received[own] = *value;
    const PropertyKind kind = ProbeKind(own);
    const char* pointer = reinterpret_cast<const char*>(static_cast<uintptr_t>(value->first));
    if (HoldsBytes(kind)) {
        unit->bytes[own].assign(pointer, pointer + (pointer != nullptr ? value->second : 0));
    } else if (kind == PropertyKind::Text || kind == static_cast<PropertyKind>(1019)) {
        unit->texts[own] = pointer;
    } else if (kind == PropertyKind::Pick) {
        unit->words[own][0] = static_cast<uint32_t>(ClampPick(static_cast<int32_t>(value->first), Probe::ChoiceLast));
    } else {
        unit->words[own][0] = value->first;
        unit->words[own][1] = value->second;
    }
    return own == OwnIndex(Probe::Picture) ? 1 : 0;
}

int32_t ProbeGet(void* object, int32_t own, PropertyValue* value) {
    auto* unit = static_cast<ProbeUnit*>(object);
    if (unit == nullptr || own < 0 || own >= Probe::Count - CommonPropertyCount) return 0;
    ++unit->getCalls;
    const PropertyKind kind = ProbeKind(own);
    if (HoldsBytes(kind)) {
        const auto& bytes = unit->bytes[own];
        *value = {bytes.empty() ? 0u : Word(bytes.data()), static_cast<uint32_t>(bytes.size())};
    } else if (kind == PropertyKind::Text || kind == static_cast<PropertyKind>(1019)) {
        *value = {Word(unit->texts[own].c_str()), 0};
    } else {
        *value = {unit->words[own][0], unit->words[own][1]};
    }
    return 1;
}

UnitOperation ProbeInterface(int32_t number) {
    switch (number) {
    case InterfaceNumber::SetProperty: return reinterpret_cast<UnitOperation>(&ProbeSet);
    case InterfaceNumber::GetProperty: return reinterpret_cast<UnitOperation>(&ProbeGet);
    default: return nullptr;
    }
}

const UnitTypeDescriptor ProbeType =
    DescribeType("探针", "Probe", 0x80000040, Probe::Count, ProbeProperties, ProbeInterface);

class PropertyKindsTest : public testing::Test {
protected:
    AfterWrite Write(int32_t index, uint32_t low, uint32_t high = 0, int32_t element = -1) {
        return WriteTypeProperty(ProbeType, &unit, index, element, low, high);
    }
    PropertyWords Read(int32_t index, int32_t element = -1) {
        return ReadTypeProperty(ProbeType, &unit, index, element);
    }
    uint32_t& Stored(int32_t index) { return unit.words[OwnIndex(index)][0]; }
    const PropertyValue& Received(int32_t index) { return unit.received[OwnIndex(index)]; }
    FontData StoredFont() {
        const auto& bytes = unit.bytes[OwnIndex(Probe::Font)];
        EXPECT_EQ(bytes.size(), sizeof(FontData));
        FontData font{};
        if (bytes.size() == sizeof font) std::memcpy(&font, bytes.data(), sizeof font);
        return font;
    }
    void StoreFont(const FontData& font) {
        const char* raw = reinterpret_cast<const char*>(&font);
        unit.bytes[OwnIndex(Probe::Font)].assign(raw, raw + sizeof font);
    }

    ProbeUnit unit;
};

template <typename T>
T* Ref(uint32_t word) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(word));
}

void* ByteSetOf(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> data(bytes);
    return NewByteSet(data.data(), static_cast<int32_t>(data.size()));
}

int32_t FirstWordOf(const void* bytes) {
    int32_t word;
    std::memcpy(&word, bytes, 4);
    return word;
}

TEST_F(PropertyKindsTest, LogicalsStoreOneAndReadTrueOnlyForExactlyOne) {
    Write(Probe::Flag, 2);
    EXPECT_EQ(Stored(Probe::Flag), 1u);
    Write(Probe::Flag, 0);
    EXPECT_EQ(Stored(Probe::Flag), 0u);
    Write(Probe::Flag, 0xFFFFFFFF);
    EXPECT_EQ(Stored(Probe::Flag), 1u);
    EXPECT_EQ(Read(Probe::Flag).low, 1u);

    Stored(Probe::Flag) = 2;  // a type that reports 2
    EXPECT_EQ(Read(Probe::Flag).low, 0u);
    Stored(Probe::Flag) = 0xFFFFFFFF;
    EXPECT_EQ(Read(Probe::Flag).low, 0u);
}

TEST_F(PropertyKindsTest, PicksReachTheTypeNonNegativeAndTheTypeClampsTheTop) {
    Write(Probe::Choice, static_cast<uint32_t>(-5));
    EXPECT_EQ(Received(Probe::Choice).first, 0u);
    EXPECT_EQ(Stored(Probe::Choice), 0u);
    Write(Probe::Choice, 0x80000000u);
    EXPECT_EQ(Received(Probe::Choice).first, 0u);
    Write(Probe::Choice, 7);
    EXPECT_EQ(Received(Probe::Choice).first, 7u) << "the upper end is the type's";
    EXPECT_EQ(Read(Probe::Choice).low, 3u);
    Write(Probe::Choice, 2);
    EXPECT_EQ(Read(Probe::Choice).low, 2u);
}

TEST_F(PropertyKindsTest, NumbersAndColoursPassAsTheyAreAndLongsKeepBothWords) {
    Write(Probe::Number, static_cast<uint32_t>(-40000), 0xDEAD);
    EXPECT_EQ(Received(Probe::Number).first, static_cast<uint32_t>(-40000));
    EXPECT_EQ(Received(Probe::Number).second, 0u) << "a 32-bit kind takes the low word only";
    EXPECT_EQ(Read(Probe::Number).low, static_cast<uint32_t>(-40000));
    EXPECT_EQ(Read(Probe::Number).high, 0u);

    Write(Probe::Colour, DefaultColor);
    EXPECT_EQ(Read(Probe::Colour).low, DefaultColor);

    Write(Probe::Wide, 0x89ABCDEF, 0x01234567);
    const PropertyWords wide = Read(Probe::Wide);
    EXPECT_EQ(wide.low, 0x89ABCDEFu);
    EXPECT_EQ(wide.high, 0x01234567u);
    Write(Probe::Wide, 0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_EQ(Read(Probe::Wide).high, 0xFFFFFFFFu);
}

TEST_F(PropertyKindsTest, TextsAreCopiedOutAndAnAbsentTextIsEmpty) {
    char written[] = "标题 one";
    Write(Probe::Caption, Word(written));
    EXPECT_EQ(unit.texts[OwnIndex(Probe::Caption)], "标题 one");

    char* read = Ref<char>(Read(Probe::Caption).low);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(IsHeapBlock(read));
    EXPECT_NE(read, unit.texts[OwnIndex(Probe::Caption)].c_str());
    unit.texts[OwnIndex(Probe::Caption)] = "changed afterwards";
    EXPECT_STREQ(read, "标题 one") << "the reader's text is its own";
    FreeBlock(read);

    Write(Probe::Caption, 0);
    const char* seen = Ref<const char>(Received(Probe::Caption).first);
    ASSERT_NE(seen, nullptr) << "the type never sees a null text";
    EXPECT_STREQ(seen, "");
    EXPECT_EQ(Read(Probe::Caption).low, 0u) << "an empty text reads as null";

    char odd[] = "other kind";
    Write(Probe::Oddity, Word(odd));
    char* oddRead = Ref<char>(Read(Probe::Oddity).low);
    ASSERT_NE(oddRead, nullptr);
    EXPECT_STREQ(oddRead, "other kind");
    EXPECT_NE(oddRead, odd);
    FreeBlock(oddRead);
}

TEST_F(PropertyKindsTest, ByteDataComesFromByteSetsAndGoesBackAsNewOnes) {
    void* picture = ByteSetOf({0x89, 'P', 'N', 'G', 0, 7});
    EXPECT_EQ(Write(Probe::Picture, Word(picture)), AfterWrite::RebuildWindow)
        << "the type's rebuild answer passes through";
    EXPECT_EQ(Received(Probe::Picture).first, Word(ByteSetBytes(picture)));
    EXPECT_EQ(Received(Probe::Picture).second, 6u);

    void* read = Ref<void>(Read(Probe::Picture).low);
    ASSERT_NE(read, nullptr);
    EXPECT_NE(read, picture);
    EXPECT_TRUE(IsHeapBlock(read));
    EXPECT_EQ(ArrayDimensionCount(read), 1);
    ASSERT_EQ(ByteSetLength(read), 6);
    EXPECT_EQ(std::memcmp(ByteSetBytes(read), ByteSetBytes(picture), 6), 0);
    FreeBlock(read);
    FreeBlock(picture);

    Write(Probe::Picture, 0);
    EXPECT_EQ(Received(Probe::Picture).first, 0u);
    EXPECT_EQ(Received(Probe::Picture).second, 0u);
    EXPECT_EQ(Read(Probe::Picture).low, 0u) << "no bytes, no byte set";

    void* empty = NewByteSet(nullptr, 0);
    Write(Probe::Picture, Word(empty));
    EXPECT_EQ(Received(Probe::Picture).first, 0u);
    EXPECT_EQ(Received(Probe::Picture).second, 0u);
    FreeBlock(empty);
}

TEST_F(PropertyKindsTest, CursorNumbersTurnIntoSystemIdsAndBack) {
    EXPECT_EQ(CursorNumberFromId(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(IDC_SIZEWE))), 12);
    EXPECT_EQ(CursorIdFromNumber(1), static_cast<uint32_t>(reinterpret_cast<uintptr_t>(IDC_ARROW)));
    EXPECT_EQ(CursorIdFromNumber(14), static_cast<uint32_t>(HandCursorResource)) << "the program's own hand";
    EXPECT_EQ(CursorNumberFromId(HandCursorResource), 14);

    std::vector<uint32_t> ids;
    for (int32_t number = -1; number <= HighestCursorNumber; ++number) {
        void* data = ByteSetOf({static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                                static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24), 0xAB});
        Write(Probe::Pointer, Word(data));
        const auto& stored = unit.bytes[OwnIndex(Probe::Pointer)];
        ASSERT_EQ(stored.size(), 5u);
        const int32_t id = FirstWordOf(stored.data());
        EXPECT_EQ(static_cast<uint8_t>(stored[4]), 0xAB);
        EXPECT_EQ(FirstWordOf(ByteSetBytes(data)), number) << "the caller's byte set is only borrowed";
        if (number >= 1) {
            ids.push_back(static_cast<uint32_t>(id));
            if (number <= 13) {
                EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(id)), nullptr) << number;
            }
        } else {
            EXPECT_EQ(id, number) << "0 and -1 are no system cursors";
        }
        void* read = Ref<void>(Read(Probe::Pointer).low);
        ASSERT_NE(read, nullptr);
        ASSERT_EQ(ByteSetLength(read), 5);
        EXPECT_EQ(FirstWordOf(ByteSetBytes(read)), number);
        FreeBlock(read);
        FreeBlock(data);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << "fourteen distinct cursors";

    // A datum shorter than 4 bytes holds its number in its first byte: untouched.
    void* shortData = ByteSetOf({12, 0});
    Write(Probe::Pointer, Word(shortData));
    const auto& stored = unit.bytes[OwnIndex(Probe::Pointer)];
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], 12);
    FreeBlock(shortData);

    // Data that already holds a system id keeps it; an unknown id reads unchanged.
    void* asId = ByteSetOf({0x84, 0x7F, 0, 0});  // 32644, IDC_SIZEWE
    Write(Probe::Pointer, Word(asId));
    void* read = Ref<void>(Read(Probe::Pointer).low);
    EXPECT_EQ(FirstWordOf(ByteSetBytes(read)), 12);
    FreeBlock(read);
    FreeBlock(asId);
    unsigned char unknown[4] = {0x88, 0x13, 0, 0};  // 5000
    TranslateCursorIdToNumber(unknown, 4);
    EXPECT_EQ(FirstWordOf(unknown), 5000);
}

int32_t ExpectedHeight(int32_t points) { return -MulDiv(points, ScreenPixelsPerInchY(), 72); }

TEST_F(PropertyKindsTest, WholeFontsIgnoreTheSignOfTheSizeAndFallBackToSongTi) {
    FontValue value{450, 1, 5, 0, 1, -12, "黑体"};
    Write(Probe::Font, Word(&value));
    const FontData negative = StoredFont();
    EXPECT_EQ(Received(Probe::Font).second, 60u);
    value.size = 12;
    Write(Probe::Font, Word(&value));
    const FontData positive = StoredFont();
    EXPECT_EQ(std::memcmp(&negative, &positive, sizeof(FontData)), 0) << "-12 and 12 give the same font";

    EXPECT_EQ(positive.lfHeight, ExpectedHeight(12));
    EXPECT_LT(positive.lfHeight, 0);
    EXPECT_EQ(positive.lfEscapement, 450);
    EXPECT_EQ(positive.lfOrientation, 450);
    EXPECT_EQ(positive.lfWeight, 700);
    EXPECT_EQ(positive.lfItalic, 1);
    EXPECT_EQ(positive.lfStrikeOut, 0);
    EXPECT_EQ(positive.lfUnderline, 1);
    EXPECT_EQ(positive.lfCharSet, 0) << "the block starts zeroed";
    EXPECT_STREQ(positive.lfFaceName, "黑体");

    const std::string thirtyOne(31, 'A');
    const std::string thirtyTwo(32, 'A');
    const char* faces[] = {nullptr, "", thirtyTwo.c_str(), thirtyOne.c_str()};
    const char* expected[] = {"宋体", "宋体", "宋体", thirtyOne.c_str()};
    for (int i = 0; i < 4; ++i) {
        value.faceName = faces[i];
        Write(Probe::Font, Word(&value));
        EXPECT_STREQ(StoredFont().lfFaceName, expected[i]) << i;
    }

    Write(Probe::Font, 0);  // no font value: every field 0
    const FontData blank = StoredFont();
    EXPECT_EQ(blank.lfHeight, 0);
    EXPECT_EQ(blank.lfWeight, 0);
    EXPECT_STREQ(blank.lfFaceName, "宋体");

    value = {0, 0, 0, 0, 0, INT32_MIN, "x"};
    Write(Probe::Font, Word(&value));
    EXPECT_EQ(StoredFont().lfHeight, 0) << "a size with no magnitude counts as 0";
}

TEST_F(PropertyKindsTest, OneFontFieldChangesTheCurrentFontOrTheStockOne) {
    const FontData stock = DefaultGuiFontData();
    ASSERT_NE(stock.lfFaceName[0], '\0');

    Write(Probe::Font, 1, 0, FontField::Bold);  // the unit has no font yet
    FontData font = StoredFont();
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_STREQ(font.lfFaceName, stock.lfFaceName);
    EXPECT_EQ(font.lfHeight, stock.lfHeight);

    Write(Probe::Font, static_cast<uint32_t>(-12), 0, FontField::Size);
    font = StoredFont();
    EXPECT_EQ(font.lfHeight, ExpectedHeight(12));
    EXPECT_EQ(font.lfWeight, 700) << "the other fields stay";

    Write(Probe::Font, 3700, 0, FontField::Angle);
    EXPECT_EQ(StoredFont().lfEscapement, 100);
    EXPECT_EQ(StoredFont().lfOrientation, 100);
    Write(Probe::Font, 9, 0, FontField::Italic);
    Write(Probe::Font, 1, 0, FontField::StrikeOut);
    Write(Probe::Font, 0, 0, FontField::Underline);
    font = StoredFont();
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfStrikeOut, 1);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfHeight, ExpectedHeight(12));

    char face[] = "楷体";
    Write(Probe::Font, Word(face), 0, FontField::FaceName);
    EXPECT_STREQ(StoredFont().lfFaceName, "楷体");
    Write(Probe::Font, 0, 0, FontField::FaceName);
    EXPECT_STREQ(StoredFont().lfFaceName, "宋体");
    const std::string longFace(40, 'B');
    Write(Probe::Font, Word(longFace.c_str()), 0, FontField::FaceName);
    EXPECT_STREQ(StoredFont().lfFaceName, "宋体");

    const int calls = unit.setCalls;
    EXPECT_EQ(Write(Probe::Font, 1, 0, 7), AfterWrite::Done);
    EXPECT_EQ(Write(Probe::Font, 1, 0, -2), AfterWrite::Done);
    EXPECT_EQ(unit.setCalls, calls) << "an element that names no field writes nothing";
}

TEST_F(PropertyKindsTest, FontFieldsReadBackRoundedAndWhole) {
    const int32_t perInch = ScreenPixelsPerInchY();
    ASSERT_GT(perInch, 0);
    FontData font{};
    font.lfHeight = -13;
    font.lfWeight = 699;
    font.lfItalic = 3;
    font.lfOrientation = 900;
    font.lfEscapement = 450;
    std::strcpy(font.lfFaceName, "黑体");
    StoreFont(font);

    const int32_t rounded = (13 * 72 * 2 + perInch) / (2 * perInch);  // 13 pixels in points, rounded
    EXPECT_EQ(static_cast<int32_t>(Read(Probe::Font, FontField::Size).low), rounded);
    EXPECT_EQ(Read(Probe::Font, FontField::Angle).low, 900u) << "the orientation";
    EXPECT_EQ(Read(Probe::Font, FontField::Bold).low, 0u) << "bold from 700 up";
    EXPECT_EQ(Read(Probe::Font, FontField::Italic).low, 1u);
    EXPECT_EQ(Read(Probe::Font, FontField::StrikeOut).low, 0u);
    EXPECT_EQ(Read(Probe::Font, 7).low, 0u);
    char* face = Ref<char>(Read(Probe::Font, FontField::FaceName).low);
    EXPECT_STREQ(face, "黑体");
    FreeBlock(face);

    font.lfWeight = 800;
    font.lfHeight = 13;  // a positive height counts by its magnitude too
    StoreFont(font);
    auto* whole = Ref<FontValue>(Read(Probe::Font, FontField::Whole).low);
    ASSERT_NE(whole, nullptr);
    EXPECT_TRUE(IsHeapBlock(whole));
    EXPECT_EQ(HeapBlockSize(whole), sizeof(FontValue));
    EXPECT_EQ(whole->angle, 900);
    EXPECT_EQ(whole->bold, 1);
    EXPECT_EQ(whole->italic, 1);
    EXPECT_EQ(whole->strikeOut, 0);
    EXPECT_EQ(whole->underline, 0);
    EXPECT_EQ(whole->size, rounded);
    EXPECT_STREQ(whole->faceName, "黑体");
    EXPECT_TRUE(IsHeapBlock(whole->faceName));
    FreeBlock(const_cast<char*>(whole->faceName));
    FreeBlock(whole);

    // Sizes written in points read back as written.
    for (int32_t points = 1; points <= 72; ++points) {
        Write(Probe::Font, static_cast<uint32_t>(points), 0, FontField::Size);
        EXPECT_EQ(static_cast<int32_t>(Read(Probe::Font, FontField::Size).low), points);
    }
}

TEST_F(PropertyKindsTest, FontBlocksFromStoredDataAreReadSafely) {
    // A face name that fills all 32 bytes with no ending 0 byte.
    FontData font{};
    std::memset(font.lfFaceName, 'C', sizeof font.lfFaceName);
    StoreFont(font);
    char* face = Ref<char>(Read(Probe::Font, FontField::FaceName).low);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(std::string(face), std::string(32, 'C'));
    FreeBlock(face);

    // Not 60 bytes: the stock font answers.
    unit.bytes[OwnIndex(Probe::Font)].assign(59, 'D');
    face = Ref<char>(Read(Probe::Font, FontField::FaceName).low);
    EXPECT_STREQ(face, DefaultGuiFontData().lfFaceName);
    FreeBlock(face);

    EXPECT_EQ(CreateUnitFont(&font, 59, 96), nullptr);
    EXPECT_EQ(CreateUnitFont(nullptr, 60, 96), nullptr);
    font.lfHeight = -16;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH;
    auto made = static_cast<HFONT>(CreateUnitFont(&font, sizeof font, 96));
    ASSERT_NE(made, nullptr);
    LOGFONTW seen{};
    ASSERT_EQ(GetObjectW(made, sizeof seen, &seen), static_cast<int>(sizeof seen));
    EXPECT_EQ(seen.lfCharSet, GB2312_CHARSET) << "Chinese glyphs whatever the system's language";
    EXPECT_EQ(seen.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(seen.lfPitchAndFamily, 0);
    EXPECT_EQ(seen.lfHeight, -16);
    EXPECT_EQ(std::wcslen(seen.lfFaceName), 31u) << "the name is cut inside its 32 bytes";
    DeleteObject(made);
    // A block holds design pixels: the font is made for its window's scale.
    made = static_cast<HFONT>(CreateUnitFont(&font, sizeof font, 144));
    ASSERT_EQ(GetObjectW(made, sizeof seen, &seen), static_cast<int>(sizeof seen));
    EXPECT_EQ(seen.lfHeight, -24);
    DeleteObject(made);
}

TEST_F(PropertyKindsTest, IndexesOutsideTheOwnPropertiesAndMissingUnitsDoNothing) {
    for (int32_t index : {-1, 0, 7, Probe::Count, Probe::Count + 1000}) {
        EXPECT_EQ(Write(index, 5), AfterWrite::Done) << index;
        const PropertyWords words = Read(index);
        EXPECT_EQ(words.low, 0u) << index;
        EXPECT_EQ(words.high, 0u) << index;
    }
    EXPECT_EQ(unit.setCalls, 0);
    EXPECT_EQ(unit.getCalls, 0);

    EXPECT_EQ(WriteTypeProperty(ProbeType, nullptr, Probe::Number, -1, 5, 0), AfterWrite::Done);
    EXPECT_EQ(ReadTypeProperty(ProbeType, nullptr, Probe::Caption, -1).low, 0u);

    // A type without operations (a stand-in or a zero slot) gives the zero value.
    const UnitTypeDescriptor silent = DescribeType("无", "Silent", 0, Probe::Count, ProbeProperties, nullptr);
    EXPECT_EQ(WriteTypeProperty(silent, &unit, Probe::Number, -1, 5, 0), AfterWrite::Done);
    const PropertyWords font = ReadTypeProperty(silent, &unit, Probe::Font, FontField::Size);
    EXPECT_EQ(static_cast<int32_t>(font.low), PointsForFontHeight(DefaultGuiFontData().lfHeight))
        << "no font block: the stock font answers";
    EXPECT_EQ(unit.setCalls, 0);
}

}  // namespace
}  // namespace quillet
