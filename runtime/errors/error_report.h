#pragma once
// The fatal runtime error report: one message box, then the process ends with -1.
#include <cstdint>

namespace quillet {

// message may be empty; errorNumber 0 for errors the runtime raises with its own
// text; the two locations are (subroutine, statement) or (window id, unit id).
[[noreturn]] void ReportFatalError(const char* message, int32_t errorNumber, int32_t location1,
                                   int32_t location2);

// Support entry 1: the message is the numbered entry of the runtime's table
// (1 to 11); any other number reports with an empty message.
[[noreturn]] void ReportNumberedError(int32_t errorNumber, int32_t location1, int32_t location2);

// True once a fatal error's report has been presented, on any thread: the
// process is ending after a fatal error. The main thread's shutdown then drops
// the exit routines uncalled, and the process ends with -1.
bool FatalErrorReported();

// The message of a numbered error, or the empty text for a number outside 1..11.
const char* RuntimeErrorMessage(int32_t errorNumber);

// An optional presenter of errors: takes (error number, message followed by the
// location text); non-zero means the error has been presented and no box is shown.
using ErrorHook = int (*)(int32_t errorNumber, const char* reportText);
void SetErrorHook(ErrorHook hook);

// What the window layer tells the report about a window and one of its records.
struct WindowTags {
    const char* windowTag;  // tag text of the window's own record (null: empty)
    const char* recordTag;  // tag text of the record found (null: empty)
    uint32_t recordId;      // that record's id
    int32_t recordFound;    // 0 when the window has no such record
};
static_assert(sizeof(WindowTags) == 16, "four words");

// Fills the tags of a loaded window and of its record with the unit id (unit id 0:
// the window's first record); false when no window with that id is loaded.
using WindowTagLookup = bool (*)(uint32_t windowId, uint32_t unitId, WindowTags* tags);
void SetWindowTagLookup(WindowTagLookup lookup);  // null: no window counts as loaded

class ReportText;

// What the program does around a fatal report, installed at start-up like the
// tag lookup: silence its handlers before the box shows; save the texts the
// end would take with it, adding to *line where they went (text_rescue.h);
// and after the box end the process (on another thread: ask the main thread
// to). Without them the box shows all the same, nothing is saved, and the
// process ends at once with -1.
struct FatalReportActions {
    void (*silenceHandlers)();
    void (*endProcess)(int32_t exitCode);  // does not return
    void (*rescueTexts)(ReportText* line);
};
void SetFatalReportActions(const FatalReportActions& actions);

// The report without its end, for a crash, which ends the process its own way
// (crash_report.h): handlers silenced, the texts saved, the hook or the box.
void PresentFatalReport(const char* message, int32_t errorNumber, int32_t location1, int32_t location2);

// A bounded text built on the stack: the report must work when the heap is
// exhausted. Appends that do not fit are cut at a character boundary.
class ReportText {
public:
    static constexpr int32_t Capacity = 4096;

    void Append(const char* text);
    void AppendNumber(const char* format, int32_t value);
    void AppendNumbers(const char* format, int32_t first, int32_t second);
    const char* Get() const { return data_; }
    int32_t Length() const { return length_; }

private:
    char data_[Capacity] = {};
    int32_t length_ = 0;
};
static_assert(sizeof(ReportText) == ReportText::Capacity + 4, "a plain bounded buffer");

// The location lines: "\r\n%d, %d", the window and unit tag lines for a window id,
// and a closing "\r\n".
void ComposeLocationText(int32_t location1, int32_t location2, ReportText* location);

// The text of the message box: heading, error number, message, location lines.
void ComposeBoxText(const char* message, int32_t errorNumber, const ReportText& location, ReportText* box);

}  // namespace quillet
