#pragma once
// What a dying process keeps of its texts. When a fatal report is about to end
// the process (error_report.h, crash_report.h), the text of every edit box of
// the process that holds text, and the texts the program asked to keep, go
// into one new rescue file (rescue_file.h), and the report's box says where:
// beside the program, or, when that folder takes no file or not the whole of
// it (a full disk), all of them again in the temporary folder, the part
// beside the program removed.
//
// An edit box's text is what its window holds, read from the control's own
// buffer, followed by what a unit still holds back for it (held_output.h:
// during a run most of the result waits there). The box is read by calling
// its class's window procedure directly: no message reaches the unit (which
// would hand its held text over), and the report may run on a thread other
// than the window's, whose thread may be stopped in the crash. A multi-line
// box lends its buffer (EM_GETHANDLE) and is converted as it lies, so a text
// of a hundred megabytes is saved after memory has run out; a single-line box,
// which lends none, is copied into a buffer reserved with the program.
#include <cstddef>

namespace quillet {

class ReportText;

// Keeps the program's text variable for a rescue: the text it holds then is
// saved under the title (runtime text, cut to KeptTitleBytes). Keeping a
// variable kept already only changes its title; beyond KeptTextLimit variables
// nothing more is kept.
constexpr int KeptTextLimit = 8;
constexpr size_t KeptTitleBytes = 63;
void KeepForRescue(char* const* variable, const char* title);

// The fatal report's action: saves the texts and adds to *line where they
// went, or that they could not be saved; nothing when no text is to be saved.
void RescueTexts(ReportText* line);

// At start-up, while memory is there: what a rescue needs made beforehand.
void PrepareTextRescue();

}  // namespace quillet
