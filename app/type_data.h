#pragma once
// The PropertyData blocks of the tool's units, written from plain records. The
// unit types' own serialisers belong to the 32-bit runtime; the window template
// is written by the build machine's own compiler, so these small writers
// produce the same blocks from records whose defaults are the types' defaults.
// app_window_tests checks every block against the types' readers and writers.
#include <cstdint>
#include <string>
#include <vector>

namespace quillet::app {

// Window unit, version 6.
struct WindowTypeData {
    int32_t borderStyle = 2;           // 0 none, 1 sizable, 2 fixed, ...
    int32_t pictureMode = 1;
    uint32_t backColor = 0xFF000000;   // the button-face colour
    int32_t maxButton = 0;
    int32_t minButton = 1;
    int32_t controlBox = 1;
    int32_t windowState = 1;           // 0 normal, 1 centred, 2 minimised, 3 maximised
    int32_t closable = 1;
    int32_t soundPlayMode = 0;
    int32_t enterMovesFocus = 0;
    int32_t escCloses = 1;
    int32_t f1Help = 0;
    int32_t helpTopic = 0;
    int32_t standAlone = 1;
    int32_t dragAnywhere = 0;
    int32_t shape = 0;
    int32_t alwaysOnTop = 0;
    int32_t keepActiveLook = 0;
    std::string className = {};
    std::string backPicture = {}, icon = {}, backSound = {};  // file bytes; empty: none
    std::string caption = {};
    std::string helpFile = {};
};

// Edit box, version 2.
struct EditBoxTypeData {
    int32_t borderStyle = 1;           // 5: single-line border
    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t hideSelection = 1;
    int32_t maxLength = 0;
    int32_t multiLine = 0;
    int32_t scrollBars = 0;            // 3: both
    int32_t alignment = 0;             // 1: centred
    int32_t inputMode = 0;
    uint8_t passwordChar = '*';        // 16 bits in the block: the byte, then 0
    int32_t caseConversion = 0;
    int32_t spinMode = 0;
    int32_t spinLower = 0;
    int32_t spinUpper = 100;
    int32_t selStart = 0;
    int32_t selLength = 0;
    std::string font = {};             // a 60-byte FontData; empty: the stock font
    std::string content = {};
    std::string dataSource = {}, dataColumn = {};
};

// Label, version 2.
struct LabelTypeData {
    int32_t effect = 0;
    int32_t borderWidth = 8;
    int32_t borderStyle = 0;
    uint32_t borderColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    uint32_t textColor = 0;
    uint32_t backColor = 0xFF000000;
    int32_t pictureMode = 1;
    int32_t gradientMode = 0;
    uint32_t gradientColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    int32_t hAlign = 0;                // 0 left, 1 centre, 2 right
    int32_t vAlign = 1;                // 0 top, 1 centre, 2 bottom
    int32_t wordWrap = 0;
    std::string font = {}, backPicture = {};
    std::string caption = {};
    std::string dataSource = {}, dataColumn = {};
};

// Push button, version 1.
struct ButtonTypeData {
    int32_t buttonType = 0;
    int32_t hAlign = 1;
    int32_t vAlign = 1;
    std::string picture = {}, font = {};
    std::string caption = {};
};

// Check box, version 2.
struct CheckBoxTypeData {
    int32_t pushLike = 0;
    int32_t flat = 0;
    int32_t textOnLeft = 0;
    int32_t hAlign = 0;
    int32_t vAlign = 1;
    uint32_t textColor = 0;
    uint32_t backColor = 0xFF000000;
    int32_t checked = 0;
    std::string picture = {}, font = {};
    std::string caption = {};
    std::string dataSource = {}, dataColumn = {};
};

// Tab control, version 3.
struct TabTypeData {
    int32_t tabPosition = 0;
    int32_t multiLine = 0;
    int32_t currentPage = 0;
    int32_t hideTabs = 0;
    int32_t drawBackground = 1;
    uint32_t backColor = 0xFF000000;
    std::string font = {};
    std::vector<std::string> pages = {};    // captions; the block needs at least one
};

std::string WriteTypeData(const WindowTypeData& data);
std::string WriteTypeData(const EditBoxTypeData& data);
std::string WriteTypeData(const LabelTypeData& data);
std::string WriteTypeData(const ButtonTypeData& data);
std::string WriteTypeData(const CheckBoxTypeData& data);
std::string WriteTypeData(const TabTypeData& data);

}  // namespace quillet::app
