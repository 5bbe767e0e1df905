#pragma once
// The tool's window and its units by id, and the property indexes its handlers
// use. Shared by the window template's description (built on the host) and by
// the handlers, so both name the same things.
#include <cstdint>

namespace quillet::app {

using UnitId = uint32_t;

constexpr UnitId MainWindow = 0x52010001;    // the window's entry in the window table
constexpr UnitId WindowRecord = 0x06010000;  // the window's own record

namespace Unit {
// On the window itself.
constexpr UnitId TabControl = 0x16010003;        // 选择夹1
constexpr UnitId MainBox = 0x16010002;           // 编辑框_主
constexpr UnitId UndoLabel = 0x160100B9;         // 标签_撤消
constexpr UnitId OpenLabel = 0x160100BA;         // 标签_打开
constexpr UnitId SaveLabel = 0x160100BB;         // 标签_保存
constexpr UnitId SaveAsLabel = 0x160100BC;       // 标签_另存为
constexpr UnitId AboutLabel = 0x160100FD;        // 标签5
// Page 0, cleanup.
constexpr UnitId RemoveBlankLinesBox = 0x1601000B;  // 选择框_去空行
constexpr UnitId RemoveSpacesBox = 0x1601000C;      // 选择框_去空格
constexpr UnitId RemoveTabsBox = 0x160100FF;        // 选择框_去Tab空
constexpr UnitId TrimBox = 0x1601000E;              // 选择框_去首尾空
constexpr UnitId JoinLinesBox = 0x1601000F;         // 选择框_去换行符
constexpr UnitId UnderlineLabel = 0x16010064;       // 标签_闪动
constexpr UnitId CleanupButton = 0x1601005D;        // 按钮_提交0
// Page 1, numbering.
constexpr UnitId PrefixBox = 0x16010004;            // 编辑框1_1
constexpr UnitId StartNumberBox = 0x16010005;       // 编辑框1_2
constexpr UnitId SuffixBox = 0x16010006;            // 编辑框1_3
constexpr UnitId NumberPartsLabel = 0x16010007;     // 标签1
constexpr UnitId ZeroFillBox = 0x16010009;          // 选择框2_补零
constexpr UnitId SkipBlankBox = 0x160100A1;         // 选择框2_空不加
constexpr UnitId NumberingHintLabel = 0x16010008;   // 标签2
constexpr UnitId NumberingButton = 0x1601005E;      // 按钮_提交1
// Page 2, replacement.
constexpr UnitId SubjectBox = 0x160100CF;           // 编辑框3_1
constexpr UnitId ReplaceLabel = 0x160100D2;         // 标签3
constexpr UnitId PredicateBox = 0x160100D1;         // 编辑框3_2
constexpr UnitId ReplaceHintLabel = 0x160100D3;     // 标签4
constexpr UnitId ReplaceButton = 0x1601005F;        // 按钮_提交2
}  // namespace Unit

// Property indexes: 0 to 7 are every unit's, the others the type's own + 8.
namespace Property {
constexpr int32_t Left = 0;
constexpr int32_t Top = 1;
constexpr int32_t Width = 2;
constexpr int32_t Height = 3;
constexpr int32_t Visible = 5;
constexpr int32_t EditContent = 8;      // edit box
constexpr int32_t EditSelLength = 25;   // edit box; -1 selects everything
constexpr int32_t EditCanUndo = 29;     // edit box, read only: the control has an edit of its own to undo
constexpr int32_t LabelCaption = 8;     // label
constexpr int32_t LabelTextColor = 16;  // label
constexpr int32_t LabelBackColor = 17;  // label
constexpr int32_t Checked = 18;         // check box
constexpr int32_t CurrentPage = 12;     // tab control: the page shown, from 0
constexpr int32_t WindowState = 18;     // window: reads 0 normal, 2 minimised, 3 maximised
}  // namespace Property

// Unit type references of the one linked library.
namespace UnitType {
constexpr uint32_t Window = 0x00010001;
constexpr uint32_t EditBox = 0x00010005;
constexpr uint32_t Label = 0x0001000A;
constexpr uint32_t Button = 0x0001000B;
constexpr uint32_t CheckBox = 0x0001000C;
constexpr uint32_t TabControl = 0x00010015;
}  // namespace UnitType

constexpr uint32_t DefaultColor = 0xFF000000;  // the system button-face colour

}  // namespace quillet::app
