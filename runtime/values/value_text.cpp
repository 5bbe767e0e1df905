#include "runtime/values/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quillet {
namespace {

// OLE dates the calendar covers: 0100-01-01 to 9999-12-31.
constexpr double EarliestDate = -657434.0;
constexpr double LatestDate = 2958465.0;
constexpr int64_t SecondsPerDay = 86400;
constexpr int64_t OleDayOfUnixEpoch = 25569;  // 1970-01-01

struct CalendarTime {
    int32_t year, month, day;
    int32_t hour, minute, second;
};

// Proleptic Gregorian date of a day count from 1970-01-01 (H. Hinnant's civil_from_days).
void CivilDate(int64_t days, CalendarTime* time) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
    time->day = static_cast<int32_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    time->month = static_cast<int32_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    time->year = static_cast<int32_t>(yearOfEra + era * 400 + (time->month <= 2 ? 1 : 0));
}

// The whole part counts days from 1899-12-30 (toward zero for earlier dates) and
// the fraction's size is the time of that day, so -1.25 is 1899-12-29 06:00.
// The time is rounded to the nearest second: 08:00:05 is stored a hair below.
CalendarTime CalendarTimeOf(double oleDate) {
    if (std::isnan(oleDate)) oleDate = 0.0;
    oleDate = std::fmin(std::fmax(oleDate, EarliestDate), LatestDate);
    const double wholeDays = std::trunc(oleDate);
    int64_t days = static_cast<int64_t>(wholeDays);
    int64_t seconds = std::llround(std::fabs(oleDate - wholeDays) * SecondsPerDay);
    if (seconds >= SecondsPerDay) {  // rounded up to the next midnight
        seconds -= SecondsPerDay;
        ++days;
    }
    CalendarTime time{};
    CivilDate(days - OleDayOfUnixEpoch, &time);
    time.hour = static_cast<int32_t>(seconds / 3600);
    time.minute = static_cast<int32_t>(seconds / 60 % 60);
    time.second = static_cast<int32_t>(seconds % 60);
    return time;
}

// The texts are GBK bytes, written out so that every compiler gives the same
// bytes (the host build's clang cannot compile literals to code page 936).
constexpr char DateFormat[] = "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5";  // %d年%d月%d日
constexpr char SecondsFormat[] = "%d\xCA\xB1%d\xB7\xD6%d\xC3\xEB";  // %d时%d分%d秒
constexpr char MinutesFormat[] = "%d\xCA\xB1%d\xB7\xD6";        // %d时%d分
constexpr char HoursFormat[] = "%d\xCA\xB1";                    // %d时
constexpr char TrueText[] = "\xD5\xE6";                         // 真
constexpr char FalseText[] = "\xBC\xD9";                        // 假

void FormatInt64(int64_t value, ScalarText* out) {
    const auto end = std::to_chars(out->text, out->text + sizeof out->text - 1, value).ptr;
    *end = '\0';
}

}  // namespace

void FormatDateTime(double oleDate, ScalarText* out) {
    const CalendarTime t = CalendarTimeOf(oleDate);
    char* text = out->text;
    const int size = sizeof out->text;
    int used = std::snprintf(text, size, DateFormat, t.year, t.month, t.day);
    if (t.second != 0)
        used += std::snprintf(text + used, size - used, SecondsFormat, t.hour, t.minute, t.second);
    else if (t.minute != 0)
        used += std::snprintf(text + used, size - used, MinutesFormat, t.hour, t.minute);
    else if (t.hour != 0)
        std::snprintf(text + used, size - used, HoursFormat, t.hour);
}

bool FormatScalar(const CommandArg& value, ScalarText* out) {
    char* text = out->text;
    const size_t size = sizeof out->text;
    text[0] = '\0';
    switch (value.type) {
    case DataType::Byte: std::snprintf(text, size, "%u", static_cast<unsigned>(value.low & 0xFF)); return true;
    case DataType::Short: std::snprintf(text, size, "%d", static_cast<int>(static_cast<int16_t>(value.low))); return true;
    case DataType::Int: std::snprintf(text, size, "%d", static_cast<int>(value.low)); return true;
    case DataType::Long: FormatInt64(AsInt64(value), out); return true;
    case DataType::Float: std::snprintf(text, size, "%.6g", static_cast<double>(AsFloat(value))); return true;
    case DataType::Double: std::snprintf(text, size, "%.13g", AsDouble(value)); return true;
    case DataType::Bool: std::snprintf(text, size, "%s", value.low != 0 ? TrueText : FalseText); return true;
    case DataType::DateTime: FormatDateTime(AsDouble(value), out); return true;
    default: return false;
    }
}

const char* DisplayText(const CommandArg& value, ScalarText* scratch) {
    if (value.type == DataType::Text) return TextArgument(value);
    return FormatScalar(value, scratch) ? scratch->text : "";
}

}  // namespace quillet
