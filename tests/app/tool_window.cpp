#include "tests/app/tool_window.h"

#include "app/globals.h"
#include "app/handlers.h"
#include "app/program.h"
#include <gtest/gtest.h>

#include <thread>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/runtime_app.h"
#include "runtime/commands/command_list.h"
#include "runtime/values/system_text.h"
#include "runtime/values/text_encoding.h"
#include "runtime/services/compiled_code.h"
#include "runtime/template/window_table.h"
#include "tests/support/child_process.h"
#include "tests/support/dropped_files.h"

namespace tool {
namespace {

using namespace quillet;
using quillet::app::MainWindow;
using quillet::app::WindowRecord;

// The settings file beside the test executable, where the program keeps its
// lists: empty when the window loads (so that the program keeps them there, as
// a copy carried on a stick does), removed after the last test.
void RemoveSettingsFile() { DeleteFileA(BesideTests("qlt_config.ini").c_str()); }

class SettingsFileCleanup : public testing::Environment {
public:
    void TearDown() override { RemoveSettingsFile(); }
};
testing::Environment* const settingsCleanup = testing::AddGlobalTestEnvironment(new SettingsFileCleanup);

}  // namespace

void Start() {
    static bool started = false;
    if (started) return;
    started = true;
    WriteFileBytes(BesideTests("qlt_config.ini"), "");
    quillet::app::StartUpToWindow();
    Pump();
}

HWND Handle(UnitId unit) {
    WindowTemplate* window = ProgramWindows().Find(MainWindow);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = unit == WindowRecord ? 0 : window->working.IndexOf(unit);
    if (index < 0) return nullptr;
    auto* object = static_cast<CWnd*>(window->working.RecordAt(index).Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

// As the main loop does until it would wait: messages, and held output piece by piece.
void Pump() { ProcessPendingEventsAndOutput(); }

int32_t Int(UnitId unit, int32_t property) { return compiled::ReadInt(MainWindow, unit, property); }

void SetInt(UnitId unit, int32_t property, int32_t value) {
    compiled::WriteInt(MainWindow, unit, property, value);
    Pump();
}

std::string Text(UnitId box) {
    compiled::OwnedText text = compiled::ReadText(MainWindow, box, Property::EditContent);
    return text.Get() != nullptr ? text.Get() : "";
}

std::string Footer() {
    compiled::OwnedText text = compiled::ReadText(MainWindow, Unit::AboutLabel, Property::LabelCaption);
    return text.Get() != nullptr ? text.Get() : "";
}

void SetText(UnitId box, const std::string& text) {
    compiled::WriteText(MainWindow, box, Property::EditContent, text.c_str());
    Pump();
}

bool Checked(UnitId box) { return Int(box, Property::Checked) == 1; }

void SetChecked(UnitId box, bool checked) { SetInt(box, Property::Checked, checked ? 1 : 0); }

void ShowPage(int32_t page) { SetInt(Unit::TabControl, Property::CurrentPage, page); }

void PostMouseDown(UnitId unit) { PostMessageA(Handle(unit), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }

void PostMouseUp(UnitId unit) { PostMessageA(Handle(unit), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }

namespace {
void PostClickAndPump(UnitId unit) {
    PostMouseDown(unit);
    PostMouseUp(unit);
    Pump();
}
}  // namespace

void Click(UnitId unit) {
    const SeenMessageBox box = ClickWatchingForBox(unit);
    if (box.found) ADD_FAILURE() << "the click showed a message box: " << box.text;
}

void PressKey(UnitId unit, UINT key, const std::vector<UINT>& modifiers, Stroke stroke) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    for (UINT modifier : modifiers) keys[modifier] = 0x80;
    SetKeyboardState(keys);
    const bool alt = (keys[VK_MENU] & 0x80) != 0;
    const LPARAM context = alt ? 1 << 29 : 0;
    const LPARAM wasDown = stroke == Stroke::Repeat ? 1 << 30 : 0;
    if (stroke != Stroke::Release) PostMessageA(Handle(unit), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | wasDown | context);
    if (stroke == Stroke::Press || stroke == Stroke::Release)
        PostMessageA(Handle(unit), alt ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(0xC0000001) | context);
    Pump();
    for (UINT modifier : modifiers) keys[modifier] = 0;
    SetKeyboardState(keys);
}

namespace {

// The options put into their page's boxes as a user sets them.
void SetOptions(const CleanupOptions& options) {
    SetChecked(Unit::RemoveSpacesBox, options.removeSpaces);
    SetChecked(Unit::TrimBox, options.trim);
    SetChecked(Unit::RemoveTabsBox, options.removeTabs);
    SetChecked(Unit::RemoveBlankLinesBox, options.removeBlankLines);
    SetChecked(Unit::JoinLinesBox, options.joinLines);
}

void SetOptions(const NumberingOptions& options) {
    SetText(Unit::PrefixBox, options.prefix);
    SetText(Unit::StartNumberBox, options.start);
    SetText(Unit::SuffixBox, options.suffix);
    SetChecked(Unit::ZeroFillBox, options.zeroFill);
    SetChecked(Unit::SkipBlankBox, options.skipBlank);
}

// The page shown, the text in the main box, the options set, the page's button clicked: the main box's text after.
template <typename Options>
std::string RunPage(int32_t page, const std::string& text, const Options& options, UnitId button) {
    ShowPage(page);
    SetText(Unit::MainBox, text);
    SetOptions(options);
    Click(button);
    return Text(Unit::MainBox);
}

}  // namespace

void Reset() {
    Start();
    ShowPage(0);
    // The options' defaults are the pages' own at start.
    SetOptions(CleanupOptions{});
    SetOptions(NumberingOptions{});
    SetText(Unit::SubjectBox, "");
    SetText(Unit::PredicateBox, "");
    SetText(Unit::MainBox, "");
    // As before the first run: nothing saved for undo, no file in the box.
    app::UndoText.Reset();
    app::UndoSaved = false;
    app::UndoFile = 0;
    app::ListsNotSavedShown = false;
    compiled::Call(commands::SetBoxFile, compiled::UnitArg(MainWindow, Unit::MainBox, app::UnitType::EditBox),
                   compiled::IntArg(0));
    app::NoteFileChanged();
    Idle();
}

std::string RunCleanup(const std::string& text, const CleanupOptions& options) {
    return RunPage(0, text, options, Unit::CleanupButton);
}

std::string RunNumbering(const std::string& text, const NumberingOptions& options) {
    return RunPage(1, text, options, Unit::NumberingButton);
}

namespace {

// Runs the action while a watcher waits for a message box; the watch also ends
// when this event is set: after the action was handled.
template <typename Action>
SeenMessageBox WatchingForBox(Action action, std::function<void(HWND box)> whileShown = nullptr) {
    HANDLE handled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WatchOptions options;
    options.process = handled;
    options.timeoutMs = 30000;
    options.whileShown = std::move(whileShown);
    MessageBoxWatcher watcher(IDOK, options);
    action();
    SetEvent(handled);
    SeenMessageBox seen = watcher.Result();
    CloseHandle(handled);
    return seen;
}

// The same for boxes shown one after the other, each answered as told.
template <typename Action>
std::vector<SeenMessageBox> AnsweringBoxes(Action action, const std::vector<BoxAnswer>& answers) {
    HANDLE handled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<SeenMessageBox> seen;
    std::thread answering([&] {
        for (const BoxAnswer& answer : answers) {
            WatchOptions options;
            options.process = handled;
            options.timeoutMs = 30000;
            options.whileShown = answer.whileShown;
            SeenMessageBox box = MessageBoxWatcher(answer.button, options).Result();
            if (!box.found) return;
            seen.push_back(box);
            // The next box is another one: this one goes first.
            for (int wait = 0; wait < 500 && IsWindow(box.handle) && IsWindowVisible(box.handle); ++wait) Sleep(10);
        }
    });
    action();
    SetEvent(handled);
    answering.join();
    CloseHandle(handled);
    return seen;
}

}  // namespace

std::vector<SeenMessageBox> PressKeyAnswering(UnitId unit, UINT key, const std::vector<UINT>& modifiers,
                                              const std::vector<BoxAnswer>& answers) {
    return AnsweringBoxes([&] { PressKey(unit, key, modifiers); }, answers);
}

std::vector<SeenMessageBox> CloseAnswering(const std::vector<BoxAnswer>& answers) {
    return AnsweringBoxes(
        [] {
            PostMessageW(Handle(quillet::app::WindowRecord), WM_CLOSE, 0, 0);
            Pump();
        },
        answers);
}

std::vector<SeenMessageBox> ClickAnswering(UnitId unit, const std::vector<BoxAnswer>& answers) {
    return AnsweringBoxes([unit] { PostClickAndPump(unit); }, answers);
}

std::function<void(HWND)> FillFileDialog(std::wstring path, int type, FileDialogView* view) {
    return [path = std::move(path), type, view](HWND dialog) {
        constexpr int NameBox = 0x47C, TypeBox = 0x470;  // cmb13 and cmb1 of the system's file dialogs
        const HWND types = GetDlgItem(dialog, TypeBox);
        if (view != nullptr) {
            const auto count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
            for (int k = 0; k < count; ++k) {
                std::wstring item(static_cast<size_t>(SendMessageW(types, CB_GETLBTEXTLEN, k, 0)) + 1, L'\0');
                SendMessageW(types, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(item.data()));
                view->types.push_back(quillet::TextFromWide(item.c_str()));
            }
            view->shownType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
        }
        if (type >= 0) {
            SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
            for (const WORD change : {CBN_SELCHANGE, CBN_SELENDOK})  // as a choice in the list sends them
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(TypeBox, change), reinterpret_cast<LPARAM>(types));
        }
        SetDlgItemTextW(dialog, NameBox, path.c_str());
    };
}

void Idle() {
    Pump();
    for (LONG count = 0; count < 3; ++count) App().OnIdle(count);
    Pump();
}

std::string Title() { return ReadWindowText(Handle(quillet::app::WindowRecord)); }

SeenMessageBox ClickWatchingForBox(UnitId unit, std::function<void(HWND box)> whileShown) {
    return WatchingForBox([unit] { PostClickAndPump(unit); }, std::move(whileShown));
}

SeenMessageBox DropWatchingForBox(UnitId unit, const std::vector<std::wstring>& paths) {
    return WatchingForBox([unit, &paths] {
        PostDroppedFiles(Handle(unit), paths);
        Pump();
    });
}

std::string RunReplace(const std::string& text, const std::string& subjects, const std::string& replacements,
                       SeenMessageBox* box) {
    ShowPage(2);
    SetText(Unit::MainBox, text);
    SetText(Unit::SubjectBox, subjects);
    SetText(Unit::PredicateBox, replacements);
    const SeenMessageBox seen = ClickWatchingForBox(Unit::ReplaceButton);
    if (box != nullptr) *box = seen;
    return Text(Unit::MainBox);
}

}  // namespace tool
