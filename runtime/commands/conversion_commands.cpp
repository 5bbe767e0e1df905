// Conversions of any value to an integer or to a text. Both borrow their
// argument and never fail: unsuitable types give 0 or the empty text.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/commands/command_list.h"
#include "runtime/values/array_block.h"
#include "runtime/values/text.h"
#include "runtime/values/value_text.h"

namespace quillet::commands {
namespace {

// Full-width forms read as the ASCII byte they stand for; every other
// double-byte character reads as this, which is neither space, sign nor digit.
constexpr int KeptPair = 0x100;
constexpr int EndOfText = -1;

// The next byte of the text after full-width conversion; a lead byte followed by
// the ending 0 byte ends the text.
int NextNarrowed(const unsigned char*& p) {
    const unsigned lead = p[0];
    if (lead == 0) return EndOfText;
    if (!IsLeadByte(static_cast<char>(lead))) {
        ++p;
        return static_cast<int>(lead);
    }
    const unsigned trail = p[1];
    if (trail == 0) return EndOfText;
    p += 2;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<int>(trail & 0x7F);
    if (lead == 0xA1 && trail == 0xA1) return ' ';
    if (lead == 0xA1 && trail == 0xAB) return '~';
    if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return '*';
    return KeptPair;
}

bool IsCSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// The leading decimal number, read as atoi reads it, accumulated in 32 bits so
// that a number beyond the range wraps around.
int32_t LeadingNumber(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    int c = NextNarrowed(p);
    while (IsCSpace(c)) c = NextNarrowed(p);
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = NextNarrowed(p);
    uint32_t value = 0;
    for (; IsDigit(c); c = NextNarrowed(p)) value = value * 10u + static_cast<uint32_t>(c - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

// Toward zero; values beyond the 32-bit range give its nearest end, NaN gives 0.
int32_t TruncatedToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t IntegerOf(const CommandArg& value) {
    switch (value.type) {
    case DataType::Byte: return static_cast<int32_t>(value.low & 0xFF);
    case DataType::Short: return static_cast<int16_t>(value.low);
    case DataType::Int:
    case DataType::Bool:
    case DataType::Reference:
    case DataType::Long: return static_cast<int32_t>(value.low);  // a long keeps its low 32 bits
    case DataType::Float: return TruncatedToInt32(AsFloat(value));
    case DataType::Double: return TruncatedToInt32(AsDouble(value));
    case DataType::Text: return LeadingNumber(TextArgument(value));
    default: return 0;
    }
}

// A copy of at most count bytes, up to the first 0 byte among them.
char* CopyUpToZero(const char* bytes, int64_t count) {
    if (bytes == nullptr || count < 1) return nullptr;
    const void* zero = std::memchr(bytes, 0, static_cast<size_t>(count));
    const int64_t length = zero != nullptr ? static_cast<const char*>(zero) - bytes : count;
    return CopyBytes(bytes, static_cast<int32_t>(length));
}

// A byte set: all its bytes up to the first 0 byte.
char* ByteSetText(const void* byteSet) {
    if (byteSet == nullptr) return nullptr;
    return CopyUpToZero(ByteSetBytes(byteSet), ByteSetLength(byteSet));
}

// A numeric array: the element bytes as one run. The first size word gives the
// count, but never more than the block holds: a later size of 0 leaves it none.
char* NumericArrayText(const void* array, DataTypeCode elementType) {
    if (ArrayDimensionCount(array) < 1) return nullptr;
    const int32_t firstSize = static_cast<const int32_t*>(array)[1];
    const int32_t count = std::min(firstSize, ArrayElementCount(array));
    return CopyUpToZero(ArrayElements(array), static_cast<int64_t>(count) * NumericElementSize(elementType));
}

char* TextOf(const CommandArg& value) {
    ScalarText scalar;
    if (FormatScalar(value, &scalar)) return CopyText(scalar.text);
    if (value.type == DataType::Text) return CopyText(TextArgument(value));
    if (value.type == DataType::ByteSet) return ByteSetText(AsReference<const void>(value));
    if (IsArrayType(value.type) && IsNumericType(ElementTypeOf(value.type)))
        return NumericArrayText(AsReference<const void>(value), ElementTypeOf(value.type));
    return nullptr;
}

}  // namespace

void ToInteger(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = static_cast<uint32_t>(IntegerOf(ArgumentAt(argCount, args, 0)));
    result->high = 0;
}

void ToText(CommandArg* result, int32_t argCount, CommandArg* args) {
    result->low = Word(TextOf(ArgumentAt(argCount, args, 0)));
    result->high = 0;
}

}  // namespace quillet::commands
