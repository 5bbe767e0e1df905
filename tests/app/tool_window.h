#pragma once
// The real tool in the test process: the program library started as quillet.exe
// starts it, up to its loaded window, without the main loop. Tests drive the
// window with real messages through the runtime's loop and read the units'
// properties back through the support entries, as the handlers do.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/unit_ids.h"
#include "tests/support/message_box_watcher.h"

namespace tool {

using quillet::app::UnitId;
namespace Unit = quillet::app::Unit;
namespace Property = quillet::app::Property;

// Once per process; later calls do nothing.
void Start();

// The live window of a unit (WindowRecord: the window itself); null when there is none.
HWND Handle(UnitId unit);

// Handles every queued message through the runtime's loop.
void Pump();

// Properties of units of the window.
int32_t Int(UnitId unit, int32_t property);
void SetInt(UnitId unit, int32_t property, int32_t value);
std::string Text(UnitId box);  // an edit box's Content, GBK bytes
std::string Footer();          // the footer label's caption
void SetText(UnitId box, const std::string& text);
bool Checked(UnitId box);
void SetChecked(UnitId box, bool checked);

// Chooses a page of the tab control as writing CurrentPage does.
void ShowPage(int32_t page);

// Mouse actions over a unit (at 5, 5 of its client area), posted and handled.
// A click that shows a message box fails the test (the box is closed).
void PostMouseDown(UnitId unit);
void PostMouseUp(UnitId unit);
void Click(UnitId unit);

// Keys to a unit, with the modifier keys held (VK_CONTROL, VK_SHIFT, VK_MENU) while
// they are handled; with Alt held they come as system keys, as the system sends them:
// pressed and released, held down, the key-down the system repeats while it is held
// (bit 30 set), or released.
enum class Stroke { Press, Hold, Repeat, Release };
void PressKey(UnitId unit, UINT key, const std::vector<UINT>& modifiers, Stroke stroke = Stroke::Press);

// The state of a fresh start: page 0, every option as the template has it,
// the small boxes as at start, the main box empty, no run's undo text kept.
void Reset();

// The options of the three tools.
struct CleanupOptions {
    bool removeSpaces = true;       // 去空格
    bool trim = false;              // 去首尾空格
    bool removeTabs = true;         // 去#Tab空格
    bool removeBlankLines = true;   // 去空行
    bool joinLines = false;         // 去换行符(空行分割)
};
struct NumberingOptions {
    std::string prefix;
    std::string start = "1";
    std::string suffix;
    bool zeroFill = true;           // 序号位数相同-前补零
    bool skipBlank = true;          // 空行不加序号
};

// Each puts the text into the main box, sets the options, clicks the page's
// run button and returns the main box's content afterwards.
std::string RunCleanup(const std::string& text, const CleanupOptions& options);
std::string RunNumbering(const std::string& text, const NumberingOptions& options);
// *box tells which message box the run showed, if any (it is closed with OK).
std::string RunReplace(const std::string& text, const std::string& subjects, const std::string& replacements,
                       SeenMessageBox* box = nullptr);

// Clicks a unit while a watcher waits for a message box of this process; the
// watch ends as soon as the click has been handled, so a click that shows no
// box costs no waiting. whileShown runs on the watching thread while the box shows.
SeenMessageBox ClickWatchingForBox(UnitId unit, std::function<void(HWND box)> whileShown = nullptr);
// The same for files dropped on a unit, as the shell drops them.
SeenMessageBox DropWatchingForBox(UnitId unit, const std::vector<std::wstring>& paths);

// A message box or dialog to answer: the button pressed (IDOK, IDYES, ...),
// and what to do on the watching thread while it shows.
struct BoxAnswer {
    int button;
    std::function<void(HWND box)> whileShown = nullptr;
};
// Keys pressed as PressKey presses them, a window's close and a click, while the boxes
// they show are answered in turn: what each box showed, one per box shown.
std::vector<SeenMessageBox> PressKeyAnswering(UnitId unit, UINT key, const std::vector<UINT>& modifiers,
                                              const std::vector<BoxAnswer>& answers);
std::vector<SeenMessageBox> CloseAnswering(const std::vector<BoxAnswer>& answers);
std::vector<SeenMessageBox> ClickAnswering(UnitId unit, const std::vector<BoxAnswer>& answers);

// What a file dialog offered: its file types and the one chosen when it showed.
struct FileDialogView {
    std::vector<std::string> types;
    int shownType = -1;
};
// An answer's work for a file dialog: reads it into *view, then types the
// path and chooses file type `type` (-1 leaves it), for IDOK to take.
std::function<void(HWND)> FillFileDialog(std::wstring path, int type = -1, FileDialogView* view = nullptr);

// The main loop's idle time, once its queue is empty: what the window does then.
void Idle();
// The window's title, GBK.
std::string Title();

}  // namespace tool
