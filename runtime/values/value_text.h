#pragma once
// The texts of single values, shared by the commands that convert or show them.
#include <cstdint>

#include "runtime/values/command_arg.h"

namespace quillet {

// Room for the longest: a date with a full time part, or a 64-bit number.
struct ScalarText {
    char text[64];
};
static_assert(sizeof(ScalarText) == 64, "a plain buffer");

// The text of a numeric, bool or date-time value into *out; false (and *out
// empty) for every other type.
bool FormatScalar(const CommandArg& value, ScalarText* out);

// An OLE Automation date (days since 1899-12-30, time as the fraction) as
// "%d年%d月%d日" and at most one time part; clamped to the years 100 to 9999.
void FormatDateTime(double oleDate, ScalarText* out);

// What a message box shows for a value: a text as it is, a numeric, bool or
// date-time value as its text, anything else as the empty text. Never null;
// the result may point into *scratch.
const char* DisplayText(const CommandArg& value, ScalarText* scratch);

}  // namespace quillet
