#include "runtime/units/text_rescue.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/errors/error_report.h"
#include "runtime/errors/rescue_file.h"
#include "runtime/units/held_output.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

struct KeptText {
    char* const* variable;
    char title[KeptTitleBytes + 1];
};
KeptText keptTexts[KeptTextLimit];
int keptCount = 0;

bool IsEditControl(HWND window) {
    wchar_t name[8];
    return GetClassNameW(window, name, 8) > 0 && lstrcmpiW(name, L"Edit") == 0;
}

bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// The first `units` units of the control's text into the file.
void WriteControlText(HWND edit, WNDPROC procedure, size_t units, RescueFile* file) {
    const bool multiLine = (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
    if (multiLine && IsWindowUnicode(edit)) {
        const auto buffer = reinterpret_cast<HLOCAL>(CallWindowProcW(procedure, edit, EM_GETHANDLE, 0, 0));
        if (const auto* text = static_cast<const wchar_t*>(buffer != nullptr ? LocalLock(buffer) : nullptr)) {
            file->AppendWide(text, std::min<size_t>(units, LocalSize(buffer) / sizeof(wchar_t)));
            LocalUnlock(buffer);
            return;
        }
    }
    size_t room = 0;
    wchar_t* copy = RescueWideBuffer(&room);
    // A text too long for the reserved room gets room of its own if any is left.
    void* larger = units + 1 > room ? VirtualAlloc(nullptr, (units + 1) * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE)
                                    : nullptr;
    if (larger != nullptr) {
        copy = static_cast<wchar_t*>(larger);
        room = units + 1;
    }
    const auto got = static_cast<size_t>(CallWindowProcW(procedure, edit, WM_GETTEXT, room, reinterpret_cast<LPARAM>(copy)));
    if (got < units) file->MarkIncomplete();
    file->AppendWide(copy, std::min(got, units));
    if (larger != nullptr) VirtualFree(larger, 0, MEM_RELEASE);
}

// An edit box that holds text gets a section, titled with its control id.
void RescueEditBox(HWND edit, RescueFile* file) {
    HeldTextView view;
    HeldTextOf(edit, &view);
    const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit, GCLP_WNDPROC));
    const size_t length =
        procedure != nullptr ? static_cast<size_t>(CallWindowProcW(procedure, edit, WM_GETTEXTLENGTH, 0, 0)) : 0;
    const size_t units = std::min(length, view.windowUnits);
    if (units == 0 && view.heldSize == 0) return;
    char title[32];
    std::snprintf(title, sizeof title, "编辑框 %d", GetDlgCtrlID(edit));
    if (!file->BeginSection(title)) return;
    if (units > 0) WriteControlText(edit, procedure, units, file);
    file->AppendText(view.held, view.heldSize);
}

// The windows from `first` on and everything inside them, depth first.
void RescueEditBoxesFrom(HWND first, RescueFile* file) {
    for (HWND window = first; window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsEditControl(window)) RescueEditBox(window, file);
        RescueEditBoxesFrom(GetWindow(window, GW_CHILD), file);
    }
}

// Every text to be saved into the file, which opens at the first.
void SaveTexts(RescueFile* file) {
    // Top-level windows of every process, of which only this one's are looked into.
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!IsOwnWindow(window)) continue;
        if (IsEditControl(window)) RescueEditBox(window, file);
        RescueEditBoxesFrom(GetWindow(window, GW_CHILD), file);
    }
    for (int i = 0; i < keptCount; ++i) {
        const char* text = *keptTexts[i].variable;
        if (text == nullptr || text[0] == '\0' || !file->BeginSection(keptTexts[i].title)) continue;
        file->AppendText(text, std::strlen(text));
    }
    file->Finish();
}

// The file beside the program could not take everything: of it and the
// temporary folder's, the whole one stays, else the one that holds more.
RescueFile* KeptFile(RescueFile* besideProgram, RescueFile* temporary) {
    const bool temporaryKept = !besideProgram->Opened() ||
                               (temporary->Opened() && (!temporary->WriteFailed() ||
                                                        temporary->Written() > besideProgram->Written()));
    (temporaryKept ? besideProgram : temporary)->Discard();
    return temporaryKept ? temporary : besideProgram;
}

}  // namespace

void KeepForRescue(char* const* variable, const char* title) {
    if (variable == nullptr) return;
    KeptText* kept = std::find_if(keptTexts, keptTexts + keptCount, [variable](const KeptText& k) { return k.variable == variable; });
    if (kept == keptTexts + keptCount) {
        if (keptCount == KeptTextLimit) return;
        ++keptCount;
    }
    kept->variable = variable;
    const size_t length = title != nullptr ? std::strlen(title) : 0;
    const size_t cut = length > 0 ? CharacterBoundaryBefore(title, length, KeptTitleBytes) : 0;
    if (cut > 0) std::memcpy(kept->title, title, cut);
    kept->title[cut] = '\0';
}

void RescueTexts(ReportText* line) {
    // The texts are read again for the temporary folder when the program's
    // folder takes no file or not all of it (a full disk): saved whole there,
    // not in two halves. Nothing changes the windows meanwhile: the report
    // runs on their thread, or that thread stands still (crash_report.h).
    RescueFile besideProgram(RescueFolder::BesideProgram), temporary(RescueFolder::Temporary);
    SaveTexts(&besideProgram);
    if (!besideProgram.Attempted()) return;
    RescueFile* saved = &besideProgram;
    if (!besideProgram.Opened() || besideProgram.WriteFailed()) {
        SaveTexts(&temporary);
        saved = KeptFile(&besideProgram, &temporary);
    }
    if (!saved->Opened()) {
        line->Append("\r\n编辑框中的文本未能保存：程序所在的文件夹和临时文件夹都无法写入。\r\n");
        return;
    }
    line->Append(saved->Finish() ? "\r\n编辑框中的文本已保存到：\r\n" : "\r\n编辑框中的文本未能完整保存，已保存的部分在：\r\n");
    AppendWidePath(saved->Path(), line);
    line->Append("\r\n");
}

void PrepareTextRescue() { PrepareRescueFile(); }

}  // namespace quillet
