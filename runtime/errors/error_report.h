#pragma once
// The fatal runtime error report: one message box, then the process ends with -1.
#include <cstdint>

namespace quillet {

// message may be empty; errorNumber 0 for errors the runtime raises with its own
// text; the two locations are (subroutine, statement) or (window id, unit id).
[[noreturn]] void ReportFatalError(const char* message, int32_t errorNumber, int32_t location1,
                                   int32_t location2);

// Support entry 1: the message is the numbered entry of the runtime's table.
[[noreturn]] void ReportNumberedError(int32_t errorNumber, int32_t location1, int32_t location2);

}  // namespace quillet
