// The window's PropertyData: the 124-byte figure, versions 0 to 6, refusals,
// and the operations that read a block without a window (icon data, texts).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/units/window/window_type.h"
#include "tests/runtime/units/window/window_test_program.h"

namespace windowtest {
namespace {

using namespace quillet;
using quillet::RecordDescription;

const char ToolCaption[] = "Quillet [Sandpost_tmwrk]";
static_assert(sizeof ToolCaption - 1 == 24, "the tool's 24-byte title");

class WindowDataTest : public WindowTest {
protected:

    // The window object loaded from a template holding the data, or null when
    // the load was refused. The window raises events, so it lives in a template.
    static void* Create(const std::string& data) {
        RecordDescription record = WindowRecordOf(WindowOptions{}, {100, 100, 400, 300});
        record.typeData = data;
        return LoadWindowOf({record}) ? WindowObject() : nullptr;
    }
    // CreateUnit called straight: for data it must refuse before making a window.
    static void* CreateRefused(const std::string& data) {
        const auto create = FindOperation<CreateUnitOperation>(quillet::WindowType, InterfaceNumber::CreateUnit);
        void* unit = create(data.data(), static_cast<int32_t>(data.size()), 0, nullptr, 0, nullptr, 100, 100, 300, 200,
                            WindowId, WindowRecord, 0, 0);
        EXPECT_EQ(unit, nullptr);
        return unit;
    }

    static std::string Saved(void* unit) { return SavedFrom(unit, quillet::WindowType); }

    static PropertyValue Get(void* unit, int32_t ownIndex) {
        const auto get = FindOperation<GetPropertyOperation>(quillet::WindowType, InterfaceNumber::GetProperty);
        PropertyValue value{0, 0};
        EXPECT_EQ(get(unit, ownIndex, &value), 1) << ownIndex;
        return value;
    }
    static std::string GetText(void* unit, int32_t ownIndex) {
        const PropertyValue value = Get(unit, ownIndex);
        return value.first != 0 ? reinterpret_cast<const char*>(static_cast<uintptr_t>(value.first)) : "";
    }

};

// Version 6 of the tool's window: 24-byte title, every other option at its value.
std::string ToolWindowData() {
    return Words({6, 2, 1, DefaultColor,  // BorderStyle, PictureMode, BackColor
                  0, 1, 1, 1, 1,          // MaxButton, MinButton, ControlBox, WindowState, Closable
                  0, 0, 1, 0, 0,          // SoundPlayMode, EnterMovesFocus, EscCloses, F1Help, HelpTopic
                  1, 0, 0, 0, 0}) +       // StandAlone, DragAnywhere, Shape, AlwaysOnTop, KeepActiveLook
           Block("") +                    // ClassName
           Block("") + Block("") + Block("") +  // BackPicture, Icon, BackSound
           Block(ToolCaption) + Block("");      // Caption, HelpFile
}

TEST_F(WindowDataTest, TheToolsWindowSerialisesTo124BytesAndBackUnchanged) {
    const std::string data = ToolWindowData();
    ASSERT_EQ(data.size(), 124u);
    void* unit = Create(data);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(GetText(unit, WindowProperty::Caption), ToolCaption);
    const std::string saved = Saved(unit);
    EXPECT_EQ(saved.size(), 124u);
    EXPECT_EQ(saved, data);
}

// "v<version>", the caption of a block of that version.
std::string CaptionOf(uint32_t version) {
    std::string caption = "v";
    caption += std::to_string(version);
    return caption;
}

// A block of the version holding, for every field it has, a value other than
// the field's default.
std::string DataOfVersion(uint32_t version) {
    std::string data = Words({version, 1, 3, 0x00123456, 1, 0, 0, 0, 0, 1, 1, 0, 1, 77});
    if (version >= 2) data += Words({0});        // StandAlone
    if (version >= 3) data += Words({1, 5});     // DragAnywhere, Shape
    if (version >= 4) data += Words({1});        // AlwaysOnTop
    if (version >= 5) data += Words({1});        // KeepActiveLook
    if (version >= 6) data += Block("QuilletVersionedClass");
    return data + Block("") + Block("") + Block("") + Block(CaptionOf(version)) + Block("h.hlp");
}

TEST_F(WindowDataTest, EveryVersionReadsItsOwnFieldsAndDefaultsTheOthers) {
    for (uint32_t version = 0; version <= 6; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        void* unit = Create(DataOfVersion(version));
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(Get(unit, WindowProperty::BorderStyle).first, 1u);
        EXPECT_EQ(Get(unit, WindowProperty::PictureMode).first, 3u);
        EXPECT_EQ(Get(unit, WindowProperty::BackColor).first, 0x00123456u);
        EXPECT_EQ(Get(unit, WindowProperty::MaxButton).first, 1u);
        EXPECT_EQ(Get(unit, WindowProperty::ControlBox).first, 0u);
        EXPECT_EQ(Get(unit, WindowProperty::Closable).first, 0u);
        EXPECT_EQ(Get(unit, WindowProperty::SoundPlayMode).first, 1u);
        EXPECT_EQ(Get(unit, WindowProperty::EnterMovesFocus).first, 1u);
        EXPECT_EQ(Get(unit, WindowProperty::EscCloses).first, 0u);
        EXPECT_EQ(Get(unit, WindowProperty::HelpTopic).first, 77u);
        EXPECT_EQ(Get(unit, WindowProperty::StandAlone).first, version >= 2 ? 0u : 1u);
        EXPECT_EQ(Get(unit, WindowProperty::DragAnywhere).first, version >= 3 ? 1u : 0u);
        EXPECT_EQ(Get(unit, WindowProperty::Shape).first, version >= 3 ? 5u : 0u);
        EXPECT_EQ(Get(unit, WindowProperty::AlwaysOnTop).first, version >= 4 ? 1u : 0u);
        EXPECT_EQ(Get(unit, WindowProperty::KeepActiveLook).first, version >= 5 ? 1u : 0u);
        EXPECT_EQ(GetText(unit, WindowProperty::ClassName), version >= 6 ? "QuilletVersionedClass" : "");
        EXPECT_EQ(GetText(unit, WindowProperty::Caption), CaptionOf(version));
        EXPECT_EQ(GetText(unit, WindowProperty::HelpFile), "h.hlp");

        // Saved as version 6 whatever it was read from.
        const std::string saved = Saved(unit);
        uint32_t savedVersion = 0;
        std::memcpy(&savedVersion, saved.data(), 4);
        EXPECT_EQ(savedVersion, 6u);
        if (version == 6) {
            EXPECT_EQ(saved, DataOfVersion(6));
        }
    }
}

TEST_F(WindowDataTest, RefusesLaterVersionsAndBlocksThatEndInsideAField) {
    std::string later = DataOfVersion(6);
    later[0] = 7;
    CreateRefused(later);
    EXPECT_EQ(Create(later), nullptr);  // and the loader gives up the window

    const std::string whole = DataOfVersion(6);
    for (size_t length = 1; length < whole.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        CreateRefused(whole.substr(0, length));
    }

    // A length word far beyond the block: refused, nothing allocated for it.
    CreateRefused(Words({6, 2, 1, DefaultColor, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0xFFFFFFF0}));

    // Picks beyond their choices read as their last choice.
    std::string wide = DataOfVersion(6);
    const uint32_t border = 99;
    std::memcpy(wide.data() + 4, &border, 4);
    void* unit = Create(wide);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(Get(unit, WindowProperty::BorderStyle).first, 6u);
}

TEST_F(WindowDataTest, AnEmptyBlockGivesTheDefaults) {
    void* unit = Create("");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(Get(unit, WindowProperty::BorderStyle).first, 2u);
    EXPECT_EQ(Get(unit, WindowProperty::PictureMode).first, 1u);
    EXPECT_EQ(Get(unit, WindowProperty::BackColor).first, DefaultColor);
    EXPECT_EQ(Get(unit, WindowProperty::EscCloses).first, 1u);
    EXPECT_EQ(Get(unit, WindowProperty::StandAlone).first, 1u);
    PropertyValue unknown{5, 5};
    const auto get = FindOperation<GetPropertyOperation>(quillet::WindowType, InterfaceNumber::GetProperty);
    EXPECT_EQ(get(unit, 24, &unknown), 0);
}

TEST_F(WindowDataTest, IconDataIsTheIconBytesOfTheBlock) {
    const auto iconData = FindOperation<GetIconDataOperation>(quillet::WindowType, InterfaceNumber::GetIconData);
    const std::string without = ToolWindowData();
    EXPECT_EQ(iconData(without.data(), static_cast<int32_t>(without.size())), nullptr);

    std::string with = Words({6, 2, 1, DefaultColor, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0}) + Block("") +
                       Block("pic") + Block("ICON-BYTES") + Block("") + Block("t") + Block("");
    auto block = static_cast<HGLOBAL>(iconData(with.data(), static_cast<int32_t>(with.size())));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(testunits::TakenBytes(block), "ICON-BYTES");
}

std::vector<std::string> offered;
const char* Translate(const char* text, uint32_t flags, uintptr_t userWord) {
    offered.push_back(std::string(text) + "/" + std::to_string(flags) + "/" + std::to_string(userWord));
    return std::strcmp(text, "v6") == 0 ? "新标题" : nullptr;
}

TEST_F(WindowDataTest, EnumTextsOffersClassNameCaptionAndHelpFileAndWritesReplacements) {
    const auto enumTexts = FindOperation<EnumTextsOperation>(quillet::WindowType, InterfaceNumber::EnumTexts);
    const std::string data = DataOfVersion(6);
    auto length = static_cast<int32_t>(data.size());
    offered.clear();
    auto block = static_cast<HGLOBAL>(enumTexts(data.data(), &length, Translate, 42));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offered, (std::vector<std::string>{"QuilletVersionedClass/0/42", "v6/0/42", "h.hlp/0/42"}));
    const std::string result = testunits::TakenBytes(block);
    const std::string expected = data.substr(0, data.size() - Block("v6").size() - Block("h.hlp").size()) +
                                 Block("新标题") + Block("h.hlp");
    EXPECT_EQ(result, expected);
    EXPECT_EQ(length, static_cast<int32_t>(expected.size()));

    std::string refused = data;
    refused[0] = 9;
    length = static_cast<int32_t>(refused.size());
    EXPECT_EQ(enumTexts(refused.data(), &length, Translate, 0), nullptr);
    EXPECT_EQ(length, static_cast<int32_t>(refused.size()));
}

}  // namespace
}  // namespace windowtest
