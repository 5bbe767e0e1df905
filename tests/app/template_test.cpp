// The program's window template and its side of the contract with the runtime:
// what the runtime reads from the embedded bytes, each unit's type data as the
// unit types read it, the handler entries and ProgramInfo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/constant_texts.h"
#include "app/handler_list.h"
#include "app/program.h"
#include "app/template_description.h"
#include "app/unit_ids.h"
#include "runtime/services/library_info.h"
#include "runtime/template/handler_entries.h"
#include "runtime/template/template_description.h"
#include "runtime/template/window_table.h"
#include "runtime/units/button/button_data.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/label/label_data.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/window/window_data.h"

namespace {

using namespace quillet;
using app::HandlerIndex;
namespace Unit = app::Unit;
namespace UnitType = app::UnitType;

uintptr_t Base() { return reinterpret_cast<uintptr_t>(app::QuilletProgramInfo.handlerBase); }

// The template as the runtime reads it from the program's bytes.
std::vector<RecordDescription> TemplateRecords() {
    WindowTable table;
    EXPECT_TRUE(table.Deserialise(app::WindowTemplateData, app::WindowTemplateSize, Base()));
    const std::vector<WindowDescription> windows = DescribeWindows(table, Base());
    EXPECT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows.at(0).id, app::MainWindow);
    return windows.at(0).records;
}

const RecordDescription& RecordOf(const std::vector<RecordDescription>& records, UnitId id) {
    const auto found = std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.id == id; });
    EXPECT_NE(found, records.end()) << std::hex << id;
    return *found;
}

constexpr int32_t OnWindow = -1;

// The window's units as the tool's design has them.
struct DesignedUnit {
    UnitId id;
    const char* name;
    uint32_t type;
    int32_t page;
    int32_t left, top, width, height;
    bool visible;
};

const DesignedUnit Design[] = {
    {0x16010003, "选择夹1", UnitType::TabControl, OnWindow, 8, 8, 776, 88, true},
    {0x16010002, "编辑框_主", UnitType::EditBox, OnWindow, 8, 104, 776, 426, true},
    {0x160100B9, "标签_撤消", UnitType::Label, OnWindow, 563, 10, 56, 19, true},
    {0x160100BA, "标签_打开", UnitType::Label, OnWindow, 383, 10, 44, 19, true},
    {0x160100BB, "标签_保存", UnitType::Label, OnWindow, 431, 10, 44, 19, true},
    {0x160100BC, "标签_另存为", UnitType::Label, OnWindow, 479, 10, 56, 19, true},
    {0x160100FD, "标签5", UnitType::Label, OnWindow, 0, 541, 792, 24, true},
    {0x1601000B, "选择框_去空行", UnitType::CheckBox, 0, 24, 40, 64, 24, true},
    {0x1601000C, "选择框_去空格", UnitType::CheckBox, 0, 106, 40, 80, 24, true},
    {0x160100FF, "选择框_去Tab空", UnitType::CheckBox, 0, 189, 40, 106, 24, true},
    {0x1601000E, "选择框_去首尾空", UnitType::CheckBox, 0, 293, 40, 106, 24, true},
    {0x1601000F, "选择框_去换行符", UnitType::CheckBox, 0, 389, 40, 138, 24, true},
    {0x16010064, "标签_闪动", UnitType::Label, 0, 23, 47, 72, 24, false},
    {0x1601005D, "按钮_提交0", UnitType::Button, 0, 701, 29, 64, 48, true},
    {0x16010004, "编辑框1_1", UnitType::EditBox, 1, 36, 36, 26, 27, true},
    {0x16010005, "编辑框1_2", UnitType::EditBox, 1, 72, 36, 26, 27, true},
    {0x16010006, "编辑框1_3", UnitType::EditBox, 1, 108, 36, 26, 27, true},
    {0x16010007, "标签1", UnitType::Label, 1, 38, 61, 104, 24, true},
    {0x16010009, "选择框2_补零", UnitType::CheckBox, 1, 161, 32, 136, 24, true},
    {0x160100A1, "选择框2_空不加", UnitType::CheckBox, 1, 312, 32, 136, 24, true},
    {0x16010008, "标签2", UnitType::Label, 1, 160, 54, 392, 24, true},
    {0x1601005E, "按钮_提交1", UnitType::Button, 1, 701, 29, 64, 48, true},
    {0x160100CF, "编辑框3_1", UnitType::EditBox, 2, 24, 40, 208, 27, true},
    {0x160100D2, "标签3", UnitType::Label, 2, 237, 42, 40, 24, true},
    {0x160100D1, "编辑框3_2", UnitType::EditBox, 2, 264, 40, 208, 27, true},
    {0x160100D3, "标签4", UnitType::Label, 2, 480, 42, 144, 24, true},
    {0x1601005F, "按钮_提交2", UnitType::Button, 2, 701, 29, 64, 48, true},
};

// The tab control's page lists, page by page.
std::vector<std::vector<UnitId>> Pages(const RecordDescription& tab) {
    std::vector<std::vector<UnitId>> pages(1);
    for (UnitId word : tab.childWords) {
        if (word == 0)
            pages.emplace_back();
        else
            pages.back().push_back(word);
    }
    EXPECT_TRUE(pages.back().empty()) << "every page ends with a 0 word";
    pages.pop_back();
    return pages;
}

TEST(TemplateTest, HoldsTheWindowAndItsUnitsAsDesigned) {
    const std::vector<RecordDescription> records = TemplateRecords();
    ASSERT_EQ(records.size(), 28u);

    const RecordDescription& window = records[0];
    EXPECT_EQ(window.id, app::WindowRecord);
    EXPECT_EQ(window.type, UnitType::Window);
    EXPECT_EQ(window.left, 50);
    EXPECT_EQ(window.top, 50);
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 600);
    EXPECT_EQ(window.flags & RecordFlag::Visible, RecordFlag::Visible);

    const std::vector<std::vector<UnitId>> pages = Pages(RecordOf(records, Unit::TabControl));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 7u);
    EXPECT_EQ(pages[1].size(), 8u);
    EXPECT_EQ(pages[2].size(), 5u);

    for (const DesignedUnit& unit : Design) {
        SCOPED_TRACE(unit.name);
        const RecordDescription& record = RecordOf(records, unit.id);
        EXPECT_EQ(record.name, unit.name);
        EXPECT_EQ(record.type, unit.type);
        EXPECT_EQ(record.left, unit.left);
        EXPECT_EQ(record.top, unit.top);
        EXPECT_EQ(record.width, unit.width);
        EXPECT_EQ(record.height, unit.height);
        EXPECT_EQ(record.parent, unit.page == OnWindow ? 0u : Unit::TabControl);
        for (int32_t page = 0; page < 3; ++page)
            EXPECT_EQ(std::count(pages[page].begin(), pages[page].end(), unit.id), page == unit.page ? 1 : 0);
        EXPECT_EQ((record.flags & RecordFlag::Visible) != 0, unit.visible);
        EXPECT_EQ(record.flags & RecordFlag::Disabled, 0u);
        // Edit boxes, buttons and check boxes are tab stops; labels and the tab control are not.
        const bool field = unit.type == UnitType::EditBox || unit.type == UnitType::Button ||
                           unit.type == UnitType::CheckBox;
        EXPECT_EQ((record.flags & RecordFlag::TabStop) != 0, field);
        EXPECT_EQ(record.focusOrder, 0u);
        EXPECT_EQ(record.mouseData, std::string(4, '\0'));
        EXPECT_EQ(record.eventSource, 0u);
    }
}

TEST(TemplateTest, BindsTheEventsToTheirHandlers) {
    const std::vector<RecordDescription> records = TemplateRecords();
    const auto offset = [](HandlerIndex handler) { return app::HandlerOffset(handler); };
    const EventBinding windowKey = {-9, offset(HandlerIndex::WindowKey)};
    std::map<UnitId, std::vector<EventBinding>> expected = {
        {app::WindowRecord,
         {{0, offset(HandlerIndex::WindowLoaded)},
          {1, offset(HandlerIndex::AskBeforeClosing)},
          {2, offset(HandlerIndex::NoteWindowDestroyed)},
          {4, offset(HandlerIndex::LayoutUnits)},
          {7, offset(HandlerIndex::UpdateTitle)}, windowKey}},
        {Unit::CleanupButton, {{0, offset(HandlerIndex::RunCleanup)}}},
        {Unit::NumberingButton, {{0, offset(HandlerIndex::RunNumbering)}}},
        {Unit::ReplaceButton, {{0, offset(HandlerIndex::RunMultiReplace)}}},
        {Unit::JoinLinesBox, {{-1, offset(HandlerIndex::ShowUnderline)}, {-2, offset(HandlerIndex::HideUnderline)}}},
        {Unit::UndoLabel, {{-1, offset(HandlerIndex::Undo)}, {-2, offset(HandlerIndex::RestoreUndoLabel)}}},
        {Unit::OpenLabel, {{-2, offset(HandlerIndex::OpenFileLabel)}}},
        {Unit::SaveLabel, {{-2, offset(HandlerIndex::SaveFileLabel)}}},
        {Unit::SaveAsLabel, {{-2, offset(HandlerIndex::SaveFileAsLabel)}}},
        {Unit::MainBox, {{-9, offset(HandlerIndex::MainBoxKey)}, {2, offset(HandlerIndex::LoadDroppedFile)}}},
    };
    for (const RecordDescription& record : records) {
        SCOPED_TRACE(record.name);
        const auto want = expected.find(record.id);
        const std::vector<EventBinding> none;
        const std::vector<EventBinding>& bindings = want != expected.end() ? want->second : none;
        ASSERT_EQ(record.bindings.size(), bindings.size());
        for (size_t k = 0; k < bindings.size(); ++k) {
            EXPECT_EQ(record.bindings[k].event, bindings[k].event);
            EXPECT_EQ(record.bindings[k].handler, bindings[k].handler);
        }
    }
}

TEST(TemplateTest, EntryKJumpsToHandlerK) {
    const auto* base = static_cast<const uint8_t*>(app::QuilletProgramInfo.handlerBase);
    // The two stubs right before HandlerBase: xor eax, eax; ret, then ret.
    EXPECT_EQ(std::memcmp(base - 4, "\x31\xC0\xC3\xC3", 4), 0);
    for (int32_t k = 0; k < app::HandlerCount; ++k) {
        SCOPED_TRACE(k);
        const uintptr_t entry = Base() + 8 * k;
        ASSERT_TRUE(IsHandlerEntry(entry));
        int32_t relative = 0;
        std::memcpy(&relative, reinterpret_cast<const void*>(entry + 1), 4);
        EXPECT_EQ(entry + 5 + relative, reinterpret_cast<uintptr_t>(app::HandlerFunctions[k]));
    }
    // Nothing follows the last entry that could pass for another one.
    EXPECT_FALSE(IsHandlerEntry(Base() + 8 * app::HandlerCount));
}

TEST(TemplateTest, EmbeddedBytesAreTheDescriptionWritten) {
    // Written on the build machine, compiled here: both read the same description.
    const std::vector<uint8_t> written = app::TemplateBytes();
    ASSERT_EQ(written.size(), app::WindowTemplateSize);
    EXPECT_EQ(std::memcmp(written.data(), app::WindowTemplateData, written.size()), 0);
}

TEST(TemplateTest, ProgramInfoGivesTheProgramToTheRuntime) {
    const ProgramInfo& info = app::QuilletProgramInfo;
    EXPECT_EQ(info.interfaceWordA, 3u);
    EXPECT_EQ(info.interfaceWordB, 0u);
    EXPECT_EQ(info.idSerialWord, 0x1015Cu);
    EXPECT_EQ(info.templateData, app::WindowTemplateData);
    EXPECT_EQ(info.templateSize, app::WindowTemplateSize);
    EXPECT_EQ(info.libraryCount, 1u);
    EXPECT_EQ(info.libraries, ProgramLibraries);
    EXPECT_EQ(info.dllCommandCount, 0u);
    EXPECT_EQ(&LinkedProgramInfo(), &info);
    EXPECT_EQ(LinkedStartRoutine(), &app::StartRoutine);

    // The constant data holds every literal the handlers pass, each ended by a 0 byte.
    const std::string block(static_cast<const char*>(info.constantData), info.constantSize);
    EXPECT_EQ(block.back(), '\0');
    for (const char* literal : {"\\qlt_config.ini", "replace", "#subject", "#predicate",
                                "预被替换文本不能为空。", "预被替换内容与用作替换内容不匹配！", "00000"}) {
        const size_t at = block.find(std::string(literal) + '\0');
        EXPECT_NE(at, std::string::npos) << literal;
    }
    for (int32_t k = 0; k < static_cast<int32_t>(app::Literal::Count); ++k) {
        const char* text = app::Text(static_cast<app::Literal>(k));
        EXPECT_GE(text, static_cast<const char*>(info.constantData));
        EXPECT_LT(text + std::strlen(text), static_cast<const char*>(info.constantData) + info.constantSize);
    }
}

// Each unit's type data: read by its type's own reader, the intended values;
// written again by its type's own writer, the same bytes.
class TypeDataTest : public testing::Test {
protected:
    std::vector<RecordDescription> records = TemplateRecords();
    const std::string& DataOf(UnitId id) { return RecordOf(records, id).typeData; }
    static int32_t Length(const std::string& data) { return static_cast<int32_t>(data.size()); }
};

TEST_F(TypeDataTest, Window) {
    const std::string& data = DataOf(app::WindowRecord);
    EXPECT_EQ(data.size(), 124u);
    WindowOptions window;
    ASSERT_TRUE(ReadWindowData(data.data(), Length(data), &window));
    EXPECT_EQ(window.caption, "Quillet [Sandpost_tmwrk]");
    EXPECT_EQ(window.borderStyle, WindowBorder::Sizable);
    EXPECT_EQ(window.maxButton, 1);
    EXPECT_EQ(window.minButton, 1);
    EXPECT_EQ(window.controlBox, 1);
    EXPECT_EQ(window.closable, 1);
    EXPECT_EQ(window.backColor, DefaultColor);
    EXPECT_TRUE(window.icon.empty() && window.backPicture.empty() && window.backSound.empty());
    PropertyDataWriter again;
    WriteWindowData(window, again);
    EXPECT_EQ(again.Data(), data);
}

TEST_F(TypeDataTest, TabControl) {
    const std::string& data = DataOf(Unit::TabControl);
    EXPECT_EQ(data.size(), 70u);
    TabData tab;
    ASSERT_TRUE(ReadTabData(data.data(), Length(data), &tab));
    EXPECT_EQ(tab.pages, (std::vector<std::string>{"去除空行", "增加序号", "多词替换"}));
    EXPECT_EQ(tab.currentPage, 0);
    EXPECT_EQ(tab.hideTabs, 0);
    PropertyDataWriter again;
    WriteTabData(tab, again);
    EXPECT_EQ(again.Data(), data);
}

TEST_F(TypeDataTest, EditBoxes) {
    struct Expected {
        UnitId id;
        int32_t multiLine, scrollBars, hideSelection, alignment;
        const char* content;
    };
    for (const Expected& want : {Expected{Unit::MainBox, 1, 3, 0, 0, ""}, Expected{Unit::PrefixBox, 0, 0, 1, 1, ""},
                                 Expected{Unit::StartNumberBox, 0, 0, 1, 1, "1"},
                                 Expected{Unit::SuffixBox, 0, 0, 1, 1, ""}, Expected{Unit::SubjectBox, 0, 0, 1, 0, ""},
                                 Expected{Unit::PredicateBox, 0, 0, 1, 0, ""}}) {
        SCOPED_TRACE(testing::Message() << std::hex << want.id);
        const std::string& data = DataOf(want.id);
        EXPECT_EQ(data.size(), 82u + std::strlen(want.content));
        EditBoxData box;
        ASSERT_TRUE(ReadEditBoxData(data.data(), Length(data), &box));
        EXPECT_EQ(box.fields.multiLine, want.multiLine);
        EXPECT_EQ(box.fields.scrollBars, want.scrollBars);
        EXPECT_EQ(box.fields.hideSelection, want.hideSelection);
        EXPECT_EQ(box.fields.alignment, want.alignment);
        EXPECT_EQ(box.content, want.content);
        EXPECT_EQ(box.fields.borderStyle, 5);
        EXPECT_EQ(box.fields.textColor, 0u);
        EXPECT_EQ(box.fields.backColor, 0xFFFFFFu);
        EXPECT_EQ(box.fields.maxLength, 0);
        EXPECT_EQ(box.fields.inputMode, 0);
        EXPECT_EQ(box.fields.spinMode, 0);
        EXPECT_TRUE(box.font.empty());
        PropertyDataWriter again;
        WriteEditBoxData(box, again);
        EXPECT_EQ(again.Data(), data);
    }
}

TEST_F(TypeDataTest, Labels) {
    struct Expected {
        UnitId id;
        const char* caption;
        uint32_t textColor, backColor;
        int32_t borderStyle, hAlign, vAlign;
    };
    const uint32_t grey = 0x606060, white = 0xFFFFFF;
    for (const Expected& want : {
             Expected{Unit::AboutLabel, "Quillet by Jev  版本：1.0", white, 0xC0C0C0, 0, 1, 1},
             Expected{Unit::UndoLabel, "← 撤消", 0, DefaultColor, 5, 1, 1},
             Expected{Unit::NumberPartsLabel, "字符  序号  字符", grey, white, 0, 0, 1},
             Expected{Unit::NumberingHintLabel, "在每行文本首位增加序号，序号前后符号可设定；空为不增加符号。", grey,
                      white, 0, 0, 1},
             Expected{Unit::ReplaceLabel, "替换", grey, white, 0, 0, 1},
             Expected{Unit::ReplaceHintLabel, "替换多个字段（,分割）", grey, white, 0, 0, 1},
             Expected{Unit::UnderlineLabel, "_________", 0, white, 0, 0, 1},
         }) {
        SCOPED_TRACE(want.caption);
        const std::string& data = DataOf(want.id);
        EXPECT_EQ(data.size(), 88u + std::strlen(want.caption));
        LabelData label;
        ASSERT_TRUE(ReadLabelData(data.data(), Length(data), &label));
        EXPECT_EQ(label.caption, want.caption);
        EXPECT_EQ(label.textColor, want.textColor);
        EXPECT_EQ(label.backColor, want.backColor);
        EXPECT_EQ(label.borderStyle, want.borderStyle);
        EXPECT_EQ(label.hAlign, want.hAlign);
        EXPECT_EQ(label.vAlign, want.vAlign);
        EXPECT_EQ(label.wordWrap, 0);
        EXPECT_EQ(label.effect, 0);
        EXPECT_EQ(label.gradientMode, 0);
        EXPECT_TRUE(label.font.empty() && label.backPicture.empty());
        PropertyDataWriter again;
        WriteLabelData(label, again);
        EXPECT_EQ(again.Data(), data);
    }
}

TEST_F(TypeDataTest, ButtonsAndCheckBoxes) {
    for (UnitId id : {Unit::CleanupButton, Unit::NumberingButton, Unit::ReplaceButton}) {
        const std::string& data = DataOf(id);
        EXPECT_EQ(data.size(), 32u);
        ButtonData button;
        ASSERT_TRUE(ReadButtonData(ButtonKind::PushButton, data.data(), Length(data), &button));
        EXPECT_EQ(button.caption, "执行");
        EXPECT_EQ(button.buttonType, 1) << "a default button";
        PropertyDataWriter again;
        WriteButtonData(button, again);
        EXPECT_EQ(again.Data(), data);
    }
    struct Expected {
        UnitId id;
        const char* caption;
        int32_t checked;
    };
    for (const Expected& want : {Expected{Unit::RemoveBlankLinesBox, "去空行", 1},
                                 Expected{Unit::RemoveSpacesBox, "去空格", 1},
                                 Expected{Unit::RemoveTabsBox, "去#Tab空格", 1},
                                 Expected{Unit::TrimBox, "去首尾空格", 0},
                                 Expected{Unit::JoinLinesBox, "去换行符(空行分割)", 0},
                                 Expected{Unit::ZeroFillBox, "序号位数相同-前补零", 1},
                                 Expected{Unit::SkipBlankBox, "空行不加序号", 1}}) {
        SCOPED_TRACE(want.caption);
        const std::string& data = DataOf(want.id);
        EXPECT_EQ(data.size(), 56u + std::strlen(want.caption));
        ButtonData box;
        ASSERT_TRUE(ReadButtonData(ButtonKind::CheckBox, data.data(), Length(data), &box));
        EXPECT_EQ(box.caption, want.caption);
        EXPECT_EQ(box.checked, want.checked);
        EXPECT_EQ(box.backColor, DefaultColor);
        PropertyDataWriter again;
        WriteButtonData(box, again);
        EXPECT_EQ(again.Data(), data);
    }
}

}  // namespace
