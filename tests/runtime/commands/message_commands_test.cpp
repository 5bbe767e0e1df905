// ShowMessage against real message boxes, AppendText against a real edit box,
// RunDirectory, ProcessEvents and the command table.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "runtime/app/program_paths.h"
#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "runtime/services/service_table.h"
#include "runtime/services/startup.h"
#include "runtime/units/held_output.h"
#include "runtime/units/notify_runtime.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "tests/support/heap_probe.h"
#include "tests/support/message_box_watcher.h"
#include "runtime/values/system_text.h"

namespace quillet::compiled {
namespace {

constexpr uint32_t MainWindowId = 0x52010001;
constexpr uint32_t EditUnitId = 0x16010002;
constexpr DataTypeCode EditBoxType = 0x00010005;

// Stands in for the runtime core: one loaded window and one edit box, each a
// unit object whose window handle the core knows; every request is recorded.
struct FakeUnitObject {
    HWND window;
};
struct ServiceCall {
    int32_t service;
    uintptr_t value1, value2;
};
FakeUnitObject loadedWindow{nullptr};
FakeUnitObject loadedEdit{nullptr};
std::vector<ServiceCall> serviceCalls;

uintptr_t FakeServices(int32_t service, uintptr_t value1, uintptr_t value2) {
    serviceCalls.push_back({service, value1, value2});
    switch (service) {
    case ServiceCode::FindUnit:
    case ServiceCode::FindUnitOrFail:
        if (value1 == MainWindowId && value2 == 0 && loadedWindow.window != nullptr)
            return reinterpret_cast<uintptr_t>(&loadedWindow);
        if (value1 == MainWindowId && value2 == EditUnitId && loadedEdit.window != nullptr)
            return reinterpret_cast<uintptr_t>(&loadedEdit);
        return 0;
    case ServiceCode::WindowHandleOf:
        return reinterpret_cast<uintptr_t>(reinterpret_cast<FakeUnitObject*>(value1)->window);
    default:
        return DispatchService(service, value1, value2);
    }
}

class WithFakeRuntime : public testing::Test {
protected:
    void SetUp() override {
        serviceCalls.clear();
        InstallServiceFunction(FakeServices);
    }
    void TearDown() override {
        loadedWindow.window = nullptr;
        loadedEdit.window = nullptr;
        for (HWND window : windows_) DestroyWindow(window);
        InstallServiceFunction(DispatchService);
    }
    HWND NewTopLevelWindow() {
        HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(window);
        return window;
    }
    HWND NewEditBox() {
        HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                    10, 10, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(edit);
        return edit;
    }
    bool Requested(int32_t service) const {
        for (const ServiceCall& call : serviceCalls)
            if (call.service == service) return true;
        return false;
    }

private:
    std::vector<HWND> windows_;
};

using ShowMessageTest = WithFakeRuntime;

int32_t Show(std::initializer_list<CommandArg> args) {
    std::vector<CommandArg> records(args);
    return static_cast<int32_t>(
        Support().CallCommand(commands::ShowMessage, static_cast<int32_t>(records.size()), records.data()).low);
}

TEST_F(ShowMessageTest, FlagsZeroAndNoTitleShowAnOkBoxTitledInformation) {
    MessageBoxWatcher watcher(IDOK);
    const int32_t button = Show({TextArg("处理完毕"), IntArg(0)});
    const SeenMessageBox seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "信息：");
    EXPECT_EQ(seen.text, "处理完毕");
    EXPECT_EQ(seen.buttonIds, std::vector<int>{IDOK});
    ASSERT_EQ(seen.buttonCaptions.size(), 1u);
    EXPECT_FALSE(seen.buttonCaptions[0].empty());
    EXPECT_EQ(button, 0);
}

TEST_F(ShowMessageTest, AYesNoBoxAnsweredNoGivesSix) {
    MessageBoxWatcher watcher(IDNO);
    const int32_t button = Show({TextArg("继续吗？"), IntArg(MB_YESNO), TextArg("问题")});
    const SeenMessageBox seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "问题");
    EXPECT_EQ(seen.text, "继续吗？");
    EXPECT_EQ(seen.buttonIds, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(seen.pressed, IDNO);
    EXPECT_EQ(button, 6);
}

TEST_F(ShowMessageTest, EveryButtonMapsToItsNumber) {
    struct Case {
        UINT flags;
        int press;
        int32_t expected;
    };
    const Case cases[] = {
        {MB_OKCANCEL, IDCANCEL, 1},      {MB_ABORTRETRYIGNORE, IDABORT, 2}, {MB_ABORTRETRYIGNORE, IDRETRY, 3},
        {MB_ABORTRETRYIGNORE, IDIGNORE, 4}, {MB_YESNOCANCEL, IDYES, 5},     {MB_YESNOCANCEL, IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        MessageBoxWatcher watcher(c.press);
        const int32_t button = Show({TextArg("?"), IntArg(static_cast<int32_t>(c.flags))});
        const SeenMessageBox seen = watcher.Result();
        ASSERT_TRUE(seen.found) << "flags " << c.flags;
        EXPECT_EQ(seen.pressed, c.press);
        EXPECT_EQ(button, c.expected) << "flags " << c.flags << ", button " << c.press;
    }
}

TEST_F(ShowMessageTest, MessagesAndTitlesOfOtherTypesAreShownAsText) {
    void* byteSet = NewByteSet("abc", 3);
    const struct {
        CommandArg message;
        CommandArg title;
        const char* text;
        const char* caption;
    } cases[] = {
        {DoubleArg(2.5), IntArg(42), "2.5", "42"},
        {BoolArg(true), TextArg(""), "真", ""},  // a given empty title is not the default
        {CommandArg{Word(byteSet), 0, DataType::ByteSet}, Omitted, "", "信息："},
        {CommandArg{0, 0, DataType::Text}, Omitted, "", "信息："},
    };
    for (const auto& c : cases) {
        MessageBoxWatcher watcher(IDOK);
        Show({c.message, IntArg(0), c.title});
        const SeenMessageBox seen = watcher.Result();
        ASSERT_TRUE(seen.found) << c.text;
        EXPECT_EQ(seen.text, c.text);
        EXPECT_EQ(seen.title, c.caption);
    }
    FreeBlock(byteSet);
}

TEST_F(ShowMessageTest, TaskModalUnlessSystemModalIsAsked) {
    HWND other = NewTopLevelWindow();
    for (const UINT flags : {0u, static_cast<UINT>(MB_SYSTEMMODAL)}) {
        bool enabledWhileShown = true;
        MessageBoxWatcher watcher(IDOK, {.whileShown = [&](HWND) { enabledWhileShown = IsWindowEnabled(other); }});
        Show({TextArg("模式"), IntArg(static_cast<int32_t>(flags))});
        ASSERT_TRUE(watcher.Result().found);
        // A task-modal box disables the thread's other windows while it shows.
        EXPECT_EQ(enabledWhileShown, flags == MB_SYSTEMMODAL) << "flags " << flags;
        EXPECT_TRUE(IsWindowEnabled(other)) << "enabled again afterwards";
    }
}

// The owner of the box Show puts up with this owner argument (null: none).
HWND OwnerOfBox(const char* text, CommandArg owner) {
    HWND seen = nullptr;
    MessageBoxWatcher watcher(IDOK, {.whileShown = [&](HWND box) { seen = GetWindow(box, GW_OWNER); }});
    Show({TextArg(text), IntArg(0), Omitted, owner});
    EXPECT_TRUE(watcher.Result().found) << text;
    return seen;
}

TEST_F(ShowMessageTest, TheOwnerIsAWindowHandleOrALoadedWindow) {
    HWND owner = NewTopLevelWindow();
    EXPECT_EQ(OwnerOfBox("句柄", IntArg(static_cast<int32_t>(reinterpret_cast<uintptr_t>(owner)))), owner);

    loadedWindow.window = owner;
    EXPECT_EQ(OwnerOfBox("窗口", CommandArg{MainWindowId, 0, DataType::WindowUnit}), owner);
    EXPECT_TRUE(Requested(ServiceCode::FindUnit));
    EXPECT_FALSE(Requested(ServiceCode::FindUnitOrFail)) << "a missing owner is no error";

    loadedWindow.window = nullptr;  // not loaded: no owner, the box still shows
    EXPECT_EQ(OwnerOfBox("未载入", CommandArg{MainWindowId, 0, DataType::WindowUnit}), nullptr);
    // An edit box reference is not an owner.
    EXPECT_EQ(OwnerOfBox("组件", CommandArg{MainWindowId, EditUnitId, EditBoxType}), nullptr);
}

// Output held in two pieces: the first one handed over lets waiting messages
// be handled before the second.
struct TwoPieceOutput : HeldOutput {
    int pieces = 0;
    bool HandOverPiece(PieceMode) override {
        if (++pieces < 2) return false;
        ForgetHeldOutput(this);
        return true;
    }
    size_t HeldBytes() const override { return pieces < 2 ? 1 : 0; }
};

TEST_F(ShowMessageTest, AnOwnerClosedWhileHeldOutputIsHandedOverLeavesTheBoxUnowned) {
    for (const bool asWindowUnit : {false, true}) {
        HWND owner = NewTopLevelWindow();
        loadedWindow.window = asWindowUnit ? owner : nullptr;
        TwoPieceOutput held;
        NoteHeldOutput(&held);
        PostMessageA(owner, WM_CLOSE, 0, 0);  // waiting when the box is asked for
        const CommandArg ownerArg = asWindowUnit ? CommandArg{MainWindowId, 0, DataType::WindowUnit}
                                                 : IntArg(static_cast<int32_t>(reinterpret_cast<uintptr_t>(owner)));
        EXPECT_EQ(OwnerOfBox("关闭中", ownerArg), nullptr) << asWindowUnit;
        EXPECT_EQ(held.pieces, 2) << asWindowUnit;
        EXPECT_FALSE(IsWindow(owner)) << "the close was handled between the pieces";
        loadedWindow.window = nullptr;
    }
}

TEST_F(ShowMessageTest, ABoxThatCannotBeShownGivesZero) {
    HWND gone = NewTopLevelWindow();
    DestroyWindow(gone);
    MessageBoxWatcher watcher(IDNO, {.timeoutMs = 1500});
    const int32_t button = Show({TextArg("无主"), IntArg(MB_YESNO), Omitted,
                                 IntArg(static_cast<int32_t>(reinterpret_cast<uintptr_t>(gone)))});
    EXPECT_FALSE(watcher.Result().found);
    EXPECT_EQ(button, 0);
}

using AppendTextTest = WithFakeRuntime;

std::string EditText(HWND edit) { return quillet::ReadWindowText(edit); }

TEST_F(AppendTextTest, TextsGoToTheEndInOrderWhateverTheCaret) {
    HWND edit = NewEditBox();
    loadedEdit.window = edit;
    quillet::WriteWindowText(edit, "第一行\r\n第二行");
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"前"));  // undoable typing, caret at the start
    ASSERT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));

    Call(commands::AppendText, CommandArg{MainWindowId, EditUnitId, EditBoxType}, TextArg("\r\n甲"), TextArg("乙\r\n"),
         IntArg(3));
    EXPECT_EQ(EditText(edit), "前第一行\r\n第二行\r\n甲乙\r\n3");
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0)) << "appending is not added to the undo buffer";
    ASSERT_FALSE(serviceCalls.empty());
    EXPECT_EQ(serviceCalls.front().service, ServiceCode::FindUnitOrFail);
    EXPECT_EQ(serviceCalls.front().value1, MainWindowId);
    EXPECT_EQ(serviceCalls.front().value2, EditUnitId);
}

TEST_F(AppendTextTest, EmptyTextsAndAMissingUnitChangeNothing) {
    HWND edit = NewEditBox();
    loadedEdit.window = edit;
    quillet::WriteWindowText(edit, "abc");
    Call(commands::AppendText, CommandArg{MainWindowId, EditUnitId, EditBoxType}, TextArg(""),
         CommandArg{0, 0, DataType::Text});
    Call(commands::AppendText, CommandArg{MainWindowId, EditUnitId, EditBoxType});
    EXPECT_EQ(EditText(edit), "abc");

    // The real lookup ends the program for a unit that is not loaded; one that
    // answers nothing leaves every edit box alone.
    Call(commands::AppendText, CommandArg{MainWindowId, EditUnitId + 1, EditBoxType}, TextArg("x"));
    Call(commands::AppendText);
    EXPECT_EQ(EditText(edit), "abc");
}

TEST_F(WithFakeRuntime, ProcessEventsRequestsTheServiceAndReturnsNothing) {
    const CommandArg result = Call(commands::ProcessEvents);
    ASSERT_EQ(serviceCalls.size(), 1u);
    EXPECT_EQ(serviceCalls[0].service, ServiceCode::ProcessEvents);
    EXPECT_EQ(result.low, 0u);
    EXPECT_EQ(result.high, 0u);
}

TEST(RunDirectoryTest, ACopyOfTheProgramFolderWithoutTrailingBackslash) {
    RunStartup();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\'));

    OwnedText first = CallText(commands::RunDirectory);
    OwnedText second = CallText(commands::RunDirectory);
    ASSERT_NE(first.Get(), nullptr);
    EXPECT_EQ(std::string(first.Get()), folder);
    EXPECT_TRUE(IsHeapBlock(first.Get()));
    EXPECT_NE(first.Get(), second.Get()) << "a new text each time, the caller's to free";
    EXPECT_NE(first.Get(), ProgramDirectory());

    InstallServiceFunction(nullptr);  // before start-up there is no folder to give
    EXPECT_EQ(CallText(commands::RunDirectory).Get(), nullptr);
    InstallServiceFunction(DispatchService);
}

TEST(CommandTableTest, DistinctCommandsInTheDeclaredOrder) {
    std::set<CommandFunction> distinct(commands::RuntimeCommands,
                                       commands::RuntimeCommands + commands::RuntimeCommandCount);
    EXPECT_EQ(distinct.size(), 30u);
    EXPECT_EQ(distinct.count(nullptr), 0u);
    EXPECT_EQ(CallInt(commands::RuntimeCommands[11], TextArg("４２")), 42);
    EXPECT_STREQ(CallText(commands::RuntimeCommands[12], IntArg(-7)).Get(), "-7");
    EXPECT_EQ(CallInt(commands::RuntimeCommands[0], TextArg("abc")), 3);
    EXPECT_EQ(commands::RuntimeCommands[17], &commands::FocusUnit);
    EXPECT_EQ(commands::RuntimeCommands[18], &commands::ReportProgress);
    EXPECT_EQ(commands::RuntimeCommands[19], &commands::LoadTextFile);
    EXPECT_EQ(commands::RuntimeCommands[20], &commands::OutputPending);
    EXPECT_EQ(commands::RuntimeCommands[21], &commands::KeepTextOnCrash);
    EXPECT_EQ(commands::RuntimeCommands[25], &commands::SaveBoxFile);
    EXPECT_EQ(commands::RuntimeCommands[27], &commands::CommandLineFile);
    EXPECT_EQ(commands::RuntimeCommands[28], &commands::SettingsFile);
    EXPECT_EQ(commands::RuntimeCommands[29], &commands::ConfigFileState);
}

}  // namespace
}  // namespace quillet::compiled
