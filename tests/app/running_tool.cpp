#include "tests/app/running_tool.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/template_description.h"
#include "tests/support/child_process.h"
#include "runtime/values/text_encoding.h"
#include "tools/window_search.h"

namespace {

constexpr DWORD StartTimeoutMs = 30000;
constexpr UINT SendTimeoutMs = 5000;

// This process's environment with APPDATA in the tool's own folder, so that
// no run reads or leaves settings in the prefix's application data.
std::string EnvironmentWithAppData(const std::string& appData) {
    std::string block;
    char* inherited = GetEnvironmentStringsA();
    for (const char* entry = inherited; *entry != '\0'; entry += std::strlen(entry) + 1)
        if (_strnicmp(entry, "APPDATA=", 8) != 0) block.append(entry, std::strlen(entry) + 1);
    FreeEnvironmentStringsA(inherited);
    block += "APPDATA=" + appData;
    block.append(2, '\0');
    return block;
}

}  // namespace

RunningTool::RunningTool(const std::string& folder, const ToolStart& options) {
    const std::string program = folder + "\\quillet.exe";
    if (!CopyFileA(BesideTests("..\\quillet.exe").c_str(), program.c_str(), FALSE)) return;
    CreateDirectoryA((folder + "\\AppData").c_str(), nullptr);
    std::string environment = EnvironmentWithAppData(folder + "\\AppData");
    const auto wide = [](const std::string& ansi) {
        std::wstring text(ansi.size() + 1, L'\0');
        text.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                            text.data(), static_cast<int>(text.size()))));
        return text;
    };
    std::wstring line = L"\"" + wide(program) + L"\" " + options.arguments;
    const std::wstring startIn = wide(options.startIn.empty() ? folder : options.startIn);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, environment.data(), startIn.c_str(),
                        &startup, &process_))
        return;
    watcher_ = std::make_unique<MessageBoxWatcher>(
        options.boxButton, WatchOptions{process_.dwProcessId, process_.hProcess, 120000, {}});
    const DWORD start = GetTickCount();
    // The title names a file the tool opened after its own.
    const auto isTheTool = [this](HWND window) {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);
        return ProcessOf(window) == process_.dwProcessId && IsWindowVisible(window) &&
               std::wstring(title).rfind(L"Quillet [Sandpost_tmwrk]", 0) == 0;
    };
    while (window_ == nullptr && GetTickCount() - start < StartTimeoutMs) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return;
        window_ = FindWindowWhere(nullptr, isTheTool);
        if (window_ == nullptr) Sleep(50);
    }
    Sleep(200);  // the load events have run once the window shows; let them settle
}

RunningTool::~RunningTool() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    watcher_.reset();
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND RunningTool::Unit(quillet::app::UnitId unit) const {
    if (unit == quillet::app::WindowRecord) return window_;
    return FindDescendantWithId(window_, quillet::app::LoadedControlId(unit));
}

namespace {

// The controls' texts through the wide messages: the program's bytes cross as
// the program itself converts them, whatever the system's code page.
std::wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

void SetControlText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &result);
}

}  // namespace

std::string RunningTool::Text(quillet::app::UnitId unit) const { return quillet::TextFromWide(ControlText(Unit(unit)).c_str()); }

void RunningTool::SetText(quillet::app::UnitId unit, const std::string& text) const {
    SetControlText(Unit(unit), quillet::WideFromText(text.data(), text.size()));
}

std::wstring RunningTool::WideText(quillet::app::UnitId unit) const { return ControlText(Unit(unit)); }

void RunningTool::SetWideText(quillet::app::UnitId unit, const std::wstring& text) const {
    SetControlText(Unit(unit), text);
}

void RunningTool::ShowPage(int32_t page) const {
    // The header's rectangle lives in the tool's memory: ask for it there.
    HWND tab = Unit(quillet::app::Unit::TabControl);
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    DWORD_PTR found = 0;
    SendMessageTimeoutA(tab, TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &found);
    RECT header{};
    ReadProcessMemory(process_.hProcess, remote, &header, sizeof header, nullptr);
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    const LPARAM at = MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2);
    PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tab, WM_LBUTTONUP, 0, at);
    Sleep(300);
}

void RunningTool::Click(quillet::app::UnitId unit) const {
    PostMessageA(Unit(unit), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Unit(unit), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool RunningTool::Close(DWORD timeoutMs) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RunningTool::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

SeenMessageBox RunningTool::Box() { return watcher_ != nullptr ? watcher_->Result() : SeenMessageBox{}; }
