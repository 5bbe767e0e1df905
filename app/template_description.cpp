#include "app/template_description.h"

#include <string>

#include "app/constant_texts.h"
#include "app/handler_list.h"
#include "app/unit_ids.h"
#include "runtime/units/button/button_data.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/label/label_data.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/window/window_data.h"

namespace quillet::app {
namespace {

// Record flags.
constexpr uint32_t Shown = 1;
constexpr uint32_t TabStop = 4;
constexpr uint32_t Hidden = 0;

// Events bound here (the types' own from 0, common ones below 0).
namespace Event {
constexpr int32_t Loaded = 0;     // window
constexpr int32_t Closing = 1;    // window
constexpr int32_t Destroyed = 2;  // window
constexpr int32_t Idle = 7;       // window
constexpr int32_t Resized = 4;    // window
constexpr int32_t Clicked = 0;    // button
constexpr int32_t FileDropped = 2;  // edit box
constexpr int32_t LeftDown = -1;
constexpr int32_t LeftUp = -2;
constexpr int32_t KeyDown = -9;
}  // namespace Event

// Where a unit lies: on the window, or on a page of the tab control.
constexpr int32_t OnWindow = -1;

struct Rect {
    int32_t left, top, width, height;
};

struct UnitRow {
    UnitId id;
    uint32_t type;
    const char* name;
    int32_t page;  // OnWindow, or the tab control's page
    Rect rect;
    uint32_t flags;
    std::string typeData;
    std::vector<EventBinding> bindings = {};
};

EventBinding Bind(int32_t event, HandlerIndex handler) { return {event, HandlerOffset(handler)}; }

// A unit's PropertyData, written by its type's own writer.
template <class Data>
std::string Block(void (*write)(const Data&, PropertyDataWriter&), const Data& data) {
    PropertyDataWriter writer;
    write(data, writer);
    return writer.Data();
}

std::string LabelBlock(const LabelData& data) { return Block(WriteLabelData, data); }

// The units in template order.
std::vector<UnitRow> Units() {
    // Every edit box: single-line border, black on white.
    const auto edit = [](EditBoxFields fields, const char* content = "") {
        fields.borderStyle = 5;
        fields.textColor = 0;
        fields.backColor = 0xFFFFFF;
        return Block(WriteEditBoxData, EditBoxData{.fields = fields, .content = content});
    };
    const auto checkBox = [](const char* caption, bool checked) {
        ButtonData box = DefaultButtonData(ButtonKind::CheckBox);
        box.checked = checked ? 1 : 0;
        box.caption = caption;
        return Block(WriteButtonData, box);
    };
    // The grey captions on the numbering and replacement pages.
    const auto hint = [](const char* caption) {
        return LabelBlock({.caption = caption, .textColor = 0x606060, .backColor = 0xFFFFFF});
    };
    ButtonData runButton = DefaultButtonData(ButtonKind::PushButton);
    runButton.caption = "执行";
    // Default buttons: Enter presses the focused one, and from a small box or a
    // check box the one the current page shows (the others are hidden).
    runButton.buttonType = 1;
    const std::string run = Block(WriteButtonData, runButton);
    const uint32_t field = Shown | TabStop;

    // Record order decides two things: the loader stacks the first record on
    // top of its siblings, and Tab walks from the last record to the first. So
    // the undo label comes before the tab control whose header row it sits in,
    // and each page lists its units against reading order: the fields that
    // overlap a neighbour's right end or a caption below lie above them, and Tab
    // goes left to right, then to the run button. The underline lies under
    // "去空行", showing just below it without covering its caption.
    // The file labels sit left of 撤消, framed as it is; each acts when the button comes up.
    const auto fileLabel = [](const char* caption) {
        return LabelBlock({.caption = caption, .borderStyle = 5, .hAlign = 1, .vAlign = 1});
    };
    return {
        {Unit::UndoLabel, UnitType::Label, "标签_撤消", OnWindow, {563, 10, 56, 19}, Shown,
         LabelBlock({.caption = "← 撤消", .borderStyle = 5, .hAlign = 1, .vAlign = 1}),
         {Bind(Event::LeftDown, HandlerIndex::Undo), Bind(Event::LeftUp, HandlerIndex::RestoreUndoLabel)}},
        {Unit::OpenLabel, UnitType::Label, "标签_打开", OnWindow, {383, 10, 44, 19}, Shown, fileLabel("打开"),
         {Bind(Event::LeftUp, HandlerIndex::OpenFileLabel)}},
        {Unit::SaveLabel, UnitType::Label, "标签_保存", OnWindow, {431, 10, 44, 19}, Shown, fileLabel("保存"),
         {Bind(Event::LeftUp, HandlerIndex::SaveFileLabel)}},
        {Unit::SaveAsLabel, UnitType::Label, "标签_另存为", OnWindow, {479, 10, 56, 19}, Shown, fileLabel("另存为"),
         {Bind(Event::LeftUp, HandlerIndex::SaveFileAsLabel)}},
        {Unit::TabControl, UnitType::TabControl, "选择夹1", OnWindow, {8, 8, 776, 88}, Shown,
         Block(WriteTabData, TabData{.pages = {"去除空行", "增加序号", "多词替换"}})},
        {Unit::MainBox, UnitType::EditBox, "编辑框_主", OnWindow, {8, 104, 776, 426}, field,
         edit({.hideSelection = 0, .multiLine = 1, .scrollBars = 3}),
         {Bind(Event::KeyDown, HandlerIndex::MainBoxKey), Bind(Event::FileDropped, HandlerIndex::LoadDroppedFile)}},
        {Unit::AboutLabel, UnitType::Label, "标签5", OnWindow, {0, 541, 792, 24}, Shown,
         LabelBlock({.caption = constant_pool::Sources[static_cast<size_t>(Literal::VersionText)],
                     .textColor = 0xFFFFFF, .backColor = 0xC0C0C0, .hAlign = 1, .vAlign = 1})},

        {Unit::CleanupButton, UnitType::Button, "按钮_提交0", 0, {701, 29, 64, 48}, field, run,
         {Bind(Event::Clicked, HandlerIndex::RunCleanup)}},
        {Unit::JoinLinesBox, UnitType::CheckBox, "选择框_去换行符", 0, {389, 40, 138, 24}, field,
         checkBox("去换行符(空行分割)", false),
         {Bind(Event::LeftDown, HandlerIndex::ShowUnderline), Bind(Event::LeftUp, HandlerIndex::HideUnderline)}},
        {Unit::TrimBox, UnitType::CheckBox, "选择框_去首尾空", 0, {293, 40, 106, 24}, field,
         checkBox("去首尾空格", false)},
        {Unit::RemoveTabsBox, UnitType::CheckBox, "选择框_去Tab空", 0, {189, 40, 106, 24}, field,
         checkBox("去#Tab空格", true)},
        {Unit::RemoveSpacesBox, UnitType::CheckBox, "选择框_去空格", 0, {106, 40, 80, 24}, field,
         checkBox("去空格", true)},
        {Unit::RemoveBlankLinesBox, UnitType::CheckBox, "选择框_去空行", 0, {24, 40, 64, 24}, field,
         checkBox("去空行", true)},
        {Unit::UnderlineLabel, UnitType::Label, "标签_闪动", 0, {23, 47, 72, 24}, Hidden,
         LabelBlock({.caption = "_________", .textColor = 0, .backColor = 0xFFFFFF})},

        {Unit::NumberingButton, UnitType::Button, "按钮_提交1", 1, {701, 29, 64, 48}, field, run,
         {Bind(Event::Clicked, HandlerIndex::RunNumbering)}},
        {Unit::SkipBlankBox, UnitType::CheckBox, "选择框2_空不加", 1, {312, 32, 136, 24}, field,
         checkBox("空行不加序号", true)},
        {Unit::ZeroFillBox, UnitType::CheckBox, "选择框2_补零", 1, {161, 32, 136, 24}, field,
         checkBox("序号位数相同-前补零", true)},
        {Unit::SuffixBox, UnitType::EditBox, "编辑框1_3", 1, {108, 36, 26, 27}, field, edit({.alignment = 1})},
        {Unit::StartNumberBox, UnitType::EditBox, "编辑框1_2", 1, {72, 36, 26, 27}, field,
         edit({.alignment = 1}, "1")},
        {Unit::PrefixBox, UnitType::EditBox, "编辑框1_1", 1, {36, 36, 26, 27}, field, edit({.alignment = 1})},
        {Unit::NumberPartsLabel, UnitType::Label, "标签1", 1, {38, 61, 104, 24}, Shown, hint("字符  序号  字符")},
        {Unit::NumberingHintLabel, UnitType::Label, "标签2", 1, {160, 54, 392, 24}, Shown,
         hint("在每行文本首位增加序号，序号前后符号可设定；空为不增加符号。")},

        {Unit::ReplaceButton, UnitType::Button, "按钮_提交2", 2, {701, 29, 64, 48}, field, run,
         {Bind(Event::Clicked, HandlerIndex::RunMultiReplace)}},
        {Unit::PredicateBox, UnitType::EditBox, "编辑框3_2", 2, {264, 40, 208, 27}, field, edit({})},
        {Unit::SubjectBox, UnitType::EditBox, "编辑框3_1", 2, {24, 40, 208, 27}, field, edit({})},
        {Unit::ReplaceLabel, UnitType::Label, "标签3", 2, {237, 42, 40, 24}, Shown, hint("替换")},
        {Unit::ReplaceHintLabel, UnitType::Label, "标签4", 2, {480, 42, 144, 24}, Shown,
         hint("替换多个字段（,分割）")},
    };
}

constexpr int32_t PageCount = 3;

RecordDescription WindowRecordDescription() {
    RecordDescription record;
    record.id = WindowRecord;
    record.type = UnitType::Window;
    record.left = 50;
    record.top = 50;
    record.width = 800;
    record.height = 600;
    record.flags = Shown;
    // Sizable with a maximise button: the units follow the window's size. Esc
    // must not close it: the text in the box would be lost.
    record.typeData = Block(WriteWindowData,
                            WindowOptions{.caption = constant_pool::Sources[static_cast<size_t>(Literal::WindowTitle)],
                                          .borderStyle = 1, .maxButton = 1, .escCloses = 0});
    // The window's key event: the runtime raises it for a key going down in
    // any unit, so the window's keys act from wherever the focus is.
    record.bindings = {Bind(Event::Loaded, HandlerIndex::WindowLoaded),
                       Bind(Event::Closing, HandlerIndex::AskBeforeClosing),
                       Bind(Event::Destroyed, HandlerIndex::NoteWindowDestroyed),
                       Bind(Event::Resized, HandlerIndex::LayoutUnits),
                       Bind(Event::Idle, HandlerIndex::UpdateTitle),
                       Bind(Event::KeyDown, HandlerIndex::WindowKey)};
    return record;
}

}  // namespace

WindowDescription MainWindowDescription() {
    WindowDescription window;
    window.id = MainWindow;
    window.records.push_back(WindowRecordDescription());

    const std::vector<UnitRow> units = Units();
    // The tab control lists its pages' units, page by page, each page ended by 0.
    std::vector<UnitId> pageMembers;
    for (int32_t page = 0; page < PageCount; ++page) {
        for (const UnitRow& unit : units)
            if (unit.page == page) pageMembers.push_back(unit.id);
        pageMembers.push_back(0);
    }
    for (const UnitRow& unit : units) {
        RecordDescription record;
        record.id = unit.id;
        record.type = unit.type;
        record.name = unit.name;
        record.left = unit.rect.left;
        record.top = unit.rect.top;
        record.width = unit.rect.width;
        record.height = unit.rect.height;
        record.parent = unit.page == OnWindow ? 0 : Unit::TabControl;
        if (unit.id == Unit::TabControl) record.childWords = pageMembers;
        record.flags = unit.flags;
        record.bindings = unit.bindings;
        record.typeData = unit.typeData;
        window.records.push_back(std::move(record));
    }
    return window;
}

std::vector<uint8_t> TemplateBytes() { return WriteTemplate({MainWindowDescription()}); }

int32_t LoadedControlId(UnitId unit) {
    const WindowDescription window = MainWindowDescription();
    const auto last = static_cast<int32_t>(window.records.size()) - 1;
    for (int32_t index = 1; index <= last; ++index)
        if (window.records[static_cast<size_t>(index)].id == unit) return 100 + 10 * (last - index);
    return -1;
}

}  // namespace quillet::app
