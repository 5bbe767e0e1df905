#include "runtime/units/edit/edit_input.h"

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/values/command_arg.h"
#include "runtime/values/text_encoding.h"
#include "runtime/values/value_text.h"

namespace quillet {
namespace {

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The characters each numeric mode lets through, besides the digits.
struct CharacterRule {
    int32_t mode;
    bool minus;
    bool point;
    bool digitsOnly;  // not even the minus sign
};
constexpr CharacterRule CharacterRules[] = {
    {EditInputMode::IntegerText, true, false, false}, {EditInputMode::DecimalText, true, true, false},
    {EditInputMode::Byte, false, false, true},        {EditInputMode::Short, true, false, false},
    {EditInputMode::Int, true, false, false},         {EditInputMode::Long, true, false, false},
    {EditInputMode::Float, true, true, false},        {EditInputMode::Double, true, true, false},
};

// The range a whole-number mode holds its value in.
struct IntegerRange {
    int32_t mode;
    int64_t lowest;
    int64_t highest;
};
constexpr IntegerRange IntegerRanges[] = {
    {EditInputMode::Byte, 0, 255},
    {EditInputMode::Short, -32768, 32767},
    {EditInputMode::Int, -2147483648LL, 2147483647LL},
    {EditInputMode::Long, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()},
};

std::string TextOfScalar(const CommandArg& value) {
    ScalarText text;
    FormatScalar(value, &text);
    return text.text;
}

std::string IntegerText(int32_t mode, const std::string& text) {
    for (const IntegerRange& range : IntegerRanges) {
        if (range.mode != mode) continue;
        int64_t value = LeadingInteger(text);
        value = value < range.lowest ? range.lowest : (value > range.highest ? range.highest : value);
        if (value == 0) return {};
        const auto bits = static_cast<uint64_t>(value);
        return TextOfScalar({static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), DataType::Long});
    }
    return text;
}

// A number that reads as infinite or not a number shows as no number at all.
std::string FloatText(const std::string& text) {
    const float value = std::strtof(text.c_str(), nullptr);
    if (value == 0.0f || !std::isfinite(value)) return {};
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return TextOfScalar({bits, 0, DataType::Float});
}

std::string DoubleText(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    if (value == 0.0 || !std::isfinite(value)) return {};
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return TextOfScalar({static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), DataType::Double});
}

std::string DateTimeText(const std::string& text) {
    double date = 0.0;
    if (!ParseDateTime(text, &date) || date == 0.0) return {};
    ScalarText out;
    FormatDateTime(date, &out);
    return out.text;
}

// ---- date-time texts ----

class DateScanner {
public:
    explicit DateScanner(const std::string& text) : text_(text) {}

    bool Number(int32_t* value) {
        size_t digits = 0;
        int64_t number = 0;
        while (at_ < text_.size() && IsDigit(static_cast<unsigned char>(text_[at_])) && digits < 9) {
            number = number * 10 + (text_[at_] - '0');
            ++at_;
            ++digits;
        }
        *value = static_cast<int32_t>(number);
        return digits > 0;
    }
    // A literal (GBK) at the current position, taken when it is there.
    bool Literal(const char* literal) {
        const size_t length = std::strlen(literal);
        if (text_.compare(at_, length, literal) != 0) return false;
        at_ += length;
        return true;
    }
    // One of the single-byte separators, taken and given back; 0 when none is there.
    char OneOf(const char* separators) {
        if (at_ >= text_.size() || std::strchr(separators, text_[at_]) == nullptr) return 0;
        return text_[at_++];
    }
    void SkipSpaces() {
        while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
    }
    bool AtEnd() const { return at_ >= text_.size(); }

private:
    const std::string& text_;
    size_t at_ = 0;
};

struct DateParts {
    int32_t year = 0, month = 0, day = 0;
    int32_t hour = 0, minute = 0, second = 0;
};

bool ScanDate(DateScanner& scan, DateParts* parts) {
    if (!scan.Number(&parts->year)) return false;
    if (scan.Literal("年")) {
        if (!scan.Number(&parts->month) || !scan.Literal("月") || !scan.Number(&parts->day)) return false;
        scan.Literal("日");  // may be left out
        return true;
    }
    const char separator = scan.OneOf("-/.");
    return separator != 0 && scan.Number(&parts->month) && scan.Literal(std::string(1, separator).c_str()) &&
           scan.Number(&parts->day);
}

// 8时, 8时30分, 8时0分5秒, 8:30, 8:30:05.
bool ScanTime(DateScanner& scan, DateParts* parts) {
    if (!scan.Number(&parts->hour)) return false;
    if (scan.Literal("时")) {
        if (!scan.Number(&parts->minute)) return true;
        if (!scan.Literal("分")) return false;
        if (!scan.Number(&parts->second)) return true;
        return scan.Literal("秒");
    }
    if (!scan.Literal(":") || !scan.Number(&parts->minute)) return false;
    return !scan.Literal(":") || scan.Number(&parts->second);
}

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) {
    constexpr int32_t Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

bool IsValid(const DateParts& p) {
    return p.year >= 100 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
           p.day <= DaysInMonth(p.year, p.month) && p.hour <= 23 && p.minute <= 59 && p.second <= 59;
}

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// OLE dates count days from 1899-12-30; before it the time still adds to the
// day's size, so 1899-12-29 06:00 is -1.25.
double OleDateOf(const DateParts& p) {
    constexpr int64_t OleDayOfUnixEpoch = 25569;
    const auto days = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) + OleDayOfUnixEpoch);
    const double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
    return days >= 0 ? days + time : days - time;
}

enum class OwnForm { None, Invalid, Parsed };

// A text in one of these forms is never handed on to the system's parser, which
// would read 2024-13-01 as the 13th of January.
OwnForm ParseOwnForms(const std::string& text, double* oleDate) {
    DateScanner scan(text);
    DateParts parts;
    scan.SkipSpaces();
    if (!ScanDate(scan, &parts)) return OwnForm::None;
    scan.SkipSpaces();
    if (!scan.AtEnd() && !ScanTime(scan, &parts)) return OwnForm::None;
    scan.SkipSpaces();
    if (!scan.AtEnd()) return OwnForm::None;
    if (!IsValid(parts)) return OwnForm::Invalid;
    *oleDate = OleDateOf(parts);
    return OwnForm::Parsed;
}

// Other forms, as the system reads dates in the user's locale.
bool ParseSystemForms(const std::string& text, double* oleDate) {
    if (text.empty()) return false;
    std::wstring wide = WideFromText(text.data(), text.size());
    DATE date = 0.0;
    if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) return false;
    *oleDate = date;
    return true;
}

// A character edits unless the control ignores it or takes it for copying or
// selecting: of the control characters only Backspace, Tab, the line breaks
// and Ctrl+V, Ctrl+X and Ctrl+Z (paste, cut, undo) edit; DEL (Ctrl+Backspace)
// does not.
bool CharacterEdits(WPARAM character) {
    constexpr WPARAM Backspace = 0x08, Tab = 0x09, LineFeed = 0x0A, Return = 0x0D, Paste = 0x16, Cut = 0x18,
                     Undo = 0x1A, Delete = 0x7F;
    if (character >= 0x20) return character != Delete;
    return character == Backspace || character == Tab || character == LineFeed || character == Return ||
           character == Paste || character == Cut || character == Undo;
}

}  // namespace

bool AcceptsCharacter(int32_t inputMode, uint32_t character) {
    if (character < 32) return true;
    for (const CharacterRule& rule : CharacterRules) {
        if (rule.mode != inputMode) continue;
        if (IsDigit(character)) return true;
        if (character == '-') return rule.minus && !rule.digitsOnly;
        return character == '.' && rule.point;
    }
    return true;
}

bool EditsText(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_UNICHAR:
        if (wParam == UNICODE_NOCHAR) return false;  // only asks whether the window takes WM_UNICHAR
        return CharacterEdits(wParam);
    case WM_CHAR:
    case WM_IME_CHAR: return CharacterEdits(wParam);
    case WM_SYSCHAR:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO: return true;
    case WM_KEYDOWN:
        return wParam == VK_DELETE || (wParam == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    case WM_SYSKEYDOWN: return wParam == VK_BACK;
    default: return false;
    }
}

bool NormalisesOnFocusLoss(int32_t inputMode) {
    return inputMode >= EditInputMode::Byte && inputMode <= EditInputMode::DateTime;
}

std::string NormalisedText(int32_t inputMode, const std::string& text) {
    switch (inputMode) {
    case EditInputMode::Byte:
    case EditInputMode::Short:
    case EditInputMode::Int:
    case EditInputMode::Long: return IntegerText(inputMode, text);
    case EditInputMode::Float: return FloatText(text);
    case EditInputMode::Double: return DoubleText(text);
    case EditInputMode::DateTime: return DateTimeText(text);
    default: return text;
    }
}

int64_t LeadingInteger(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && IsSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    // Accumulated toward the sign, so that the lowest value fits.
    int64_t value = 0;
    constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
    constexpr int64_t Highest = std::numeric_limits<int64_t>::max();
    for (; at < text.size() && IsDigit(static_cast<unsigned char>(text[at])); ++at) {
        const int digit = text[at] - '0';
        if (negative) {
            value = value < (Lowest + digit) / 10 ? Lowest : value * 10 - digit;
        } else {
            value = value > (Highest - digit) / 10 ? Highest : value * 10 + digit;
        }
    }
    return value;
}

bool ParseDateTime(const std::string& text, double* oleDate) {
    switch (ParseOwnForms(text, oleDate)) {
    case OwnForm::Parsed: return true;
    case OwnForm::Invalid: return false;
    default: return ParseSystemForms(text, oleDate);
    }
}

}  // namespace quillet
