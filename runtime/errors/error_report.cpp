#include "runtime/errors/error_report.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "runtime/errors/crash_report.h"
#include "runtime/values/text.h"
#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

// Messages of the numbered errors, from 1; compiled code raises 1 and 4 itself.
constexpr const char* RuntimeErrorMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
constexpr int32_t MessageCount = sizeof RuntimeErrorMessages / sizeof RuntimeErrorMessages[0];
static_assert(MessageCount == 11);

constexpr char QuoteMark[] = "\"";
constexpr uint32_t UnitKindMask = 0x0F000000;
constexpr uint32_t WindowKind = 0x02000000;
constexpr uint32_t MenuItemTopByte = 0x26;

std::atomic<bool> fatalErrorReported{false};
ErrorHook errorHook = nullptr;
bool errorHookRunning = false;
WindowTagLookup windowTagLookup = nullptr;
FatalReportActions fatalReportActions{nullptr, nullptr, nullptr};

bool IsWindowId(int32_t location) {
    return location != 0 && (static_cast<uint32_t>(location) & UnitKindMask) == WindowKind;
}

bool IsMenuItemId(uint32_t id) { return (id >> 24) == MenuItemTopByte; }

void AppendQuotedLine(ReportText* text, const char* tag) {
    text->Append("\r\n");
    text->Append(QuoteMark);
    text->Append(tag);
    text->Append(QuoteMark);
}

void AppendWindowLines(uint32_t windowId, uint32_t unitId, ReportText* location) {
    WindowTags tags{};
    if (windowTagLookup == nullptr || !windowTagLookup(windowId, unitId, &tags)) {
        location->Append("\r\n未找到所指定的窗口");
        return;
    }
    AppendQuotedLine(location, tags.windowTag);
    if (tags.recordFound != 0 && !IsMenuItemId(tags.recordId))
        AppendQuotedLine(location, tags.recordTag);
    else
        location->Append("\r\n未找到所指定的窗口组件");
}

// A hook that reports an error of its own comes back here with the flag set:
// that error goes straight to the box.
bool PresentedByHook(int32_t errorNumber, const char* message, const ReportText& location) {
    if (errorHook == nullptr || errorHookRunning) return false;
    ReportText hookText;
    hookText.Append(message);
    hookText.Append(location.Get());
    // Cleared however the hook leaves, so that a hook that does not return (a
    // test's guard unwinding) leaves the next report a working hook.
    struct RunningFlag {
        RunningFlag() { errorHookRunning = true; }
        ~RunningFlag() { errorHookRunning = false; }
    } running;
    return errorHook(errorNumber, hookText.Get()) != 0;
}

// The box in UTF-16, converted on the stack: the heap may be what ran out.
void ShowBox(const ReportText& box) {
    wchar_t wide[ReportText::Capacity + 1];
    const size_t units = WideInto(box.Get(), static_cast<size_t>(box.Length()), wide, ReportText::Capacity);
    wide[units] = L'\0';
    MessageBoxW(nullptr, wide, L"错误", MB_ICONERROR);
}

}  // namespace

void ReportText::Append(const char* text) {
    if (text == nullptr) return;
    constexpr int32_t Room = Capacity - 1;  // the ending 0 byte stays
    for (const char* p = text; *p != '\0';) {
        const int32_t width = IsLeadByte(*p) && p[1] != '\0' ? 2 : 1;
        if (length_ + width > Room) break;
        for (int32_t i = 0; i < width; ++i) data_[length_++] = *p++;
    }
    data_[length_] = '\0';
}

void ReportText::AppendNumber(const char* format, int32_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(value));
    Append(text);
}

void ReportText::AppendNumbers(const char* format, int32_t first, int32_t second) {
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<int>(first), static_cast<int>(second));
    Append(text);
}

const char* RuntimeErrorMessage(int32_t errorNumber) {
    return errorNumber >= 1 && errorNumber <= MessageCount ? RuntimeErrorMessages[errorNumber - 1] : "";
}

bool FatalErrorReported() { return fatalErrorReported; }

void SetErrorHook(ErrorHook hook) { errorHook = hook; }

void SetWindowTagLookup(WindowTagLookup lookup) { windowTagLookup = lookup; }

void SetFatalReportActions(const FatalReportActions& actions) { fatalReportActions = actions; }

void ComposeLocationText(int32_t location1, int32_t location2, ReportText* location) {
    location->AppendNumbers("\r\n%d, %d", location1, location2);
    if (IsWindowId(location1))
        AppendWindowLines(static_cast<uint32_t>(location1), static_cast<uint32_t>(location2), location);
    location->Append("\r\n");
}

void ComposeBoxText(const char* message, int32_t errorNumber, const ReportText& location, ReportText* box) {
    box->Append("运行时出错!\r\n");
    if (errorNumber != 0) {
        box->Append("\r\n错误代码：");
        box->AppendNumber("%d", errorNumber);
        box->Append("\r\n");
    }
    if (!IsEmptyText(message)) {
        box->Append("\r\n错误信息：");
        box->Append(message);
        box->Append("\r\n");
    }
    box->Append(location.Get());
}

void PresentFatalReport(const char* message, int32_t errorNumber, int32_t location1, int32_t location2) {
    // Never lifted again: no handler of the program runs from here on.
    if (fatalReportActions.silenceHandlers != nullptr) fatalReportActions.silenceHandlers();
    // What the box and the saving need, where memory has run out.
    ReleaseMemoryReserve();

    ReportText location;
    ComposeLocationText(location1, location2, &location);
    // A hook that unwinds (a test's guard) leaves before anything is saved:
    // that process goes on.
    const bool presented = PresentedByHook(errorNumber, message, location);
    ReportText rescued;
    if (fatalReportActions.rescueTexts != nullptr) fatalReportActions.rescueTexts(&rescued);
    if (!presented) {
        ReportText box;
        ComposeBoxText(message, errorNumber, location, &box);
        box.Append(rescued.Get());
        ShowBox(box);
    }
}

void ReportFatalError(const char* message, int32_t errorNumber, int32_t location1, int32_t location2) {
    PresentFatalReport(message, errorNumber, location1, location2);

    // The end goes the way every end goes: on another thread the report asks
    // the main thread, whose shutdown (under way already, or begun by the ask)
    // then ends the process with -1 once it has run.
    fatalErrorReported = true;
    if (fatalReportActions.endProcess != nullptr) fatalReportActions.endProcess(-1);
    ExitProcess(static_cast<UINT>(-1));
}

void ReportNumberedError(int32_t errorNumber, int32_t location1, int32_t location2) {
    ReportFatalError(RuntimeErrorMessage(errorNumber), errorNumber, location1, location2);
}

}  // namespace quillet
