// Fuzz target: ToInteger and ToText on any value: every type they convert,
// with any bits (NaN, infinities, dates beyond the calendar), any text,
// byte set or numeric array of any shape, references, left-out arguments and
// type codes they do not know. Each result agrees with the plain model
// below, a text result is null for the empty text and otherwise an exact-size
// heap block, DisplayText agrees too, the argument stays as it was and no
// block is left behind.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/values/array_block.h"
#include "runtime/values/heap_backend.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/value_text.h"
#include "tests/support/holds.h"
#include "tests/support/text_command_model.h"


namespace {

using namespace quillet;

// ---- The model. ----

// The text as atoi reads it once full-width forms (0xA3A1-0xA3FE, and the
// full-width space) read as the ASCII they stand for. Any other pair reads
// as a byte that is no space, sign or digit; a lead byte (0x81-0xFE) without
// a trail ends the text.
std::string Narrowed(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead <= 0x80 || lead == 0xFF) {
            out += static_cast<char>(lead);
            continue;
        }
        if (i + 1 == text.size()) break;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) out += static_cast<char>(trail - 0x80);
        else if (lead == 0xA1 && trail == 0xA1) out += ' ';
        else out += '\x80';
    }
    return out;
}


int32_t ModelIntegerOfReal(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

std::string General(double value, int precision) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision).ptr);
}

// Days since 1899-12-30 with the time as the fraction's size, clamped to the
// years 100 to 9999; the time to the nearest second, at most one time form.
std::string ModelDate(double value) {
    value = std::clamp(std::isnan(value) ? 0.0 : value, -657434.0, 2958465.0);
    const double whole = std::trunc(value);
    const auto rounded = static_cast<int64_t>(std::round(std::fabs(value - whole) * 86400));
    const int64_t day = static_cast<int64_t>(whole) + rounded / 86400;  // rounded up to the next midnight
    const int64_t second = rounded % 86400;
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day - 25569}}};
    const auto number = [](int64_t n) { return std::to_string(n); };
    std::string text = number(static_cast<int>(date.year())) + "\xC4\xEA" +          // 年
                       number(static_cast<unsigned>(date.month())) + "\xD4\xC2" +     // 月
                       number(static_cast<unsigned>(date.day())) + "\xC8\xD5";        // 日
    const int64_t h = second / 3600, m = second / 60 % 60, s = second % 60;
    if (s != 0) return text + number(h) + "\xCA\xB1" + number(m) + "\xB7\xD6" + number(s) + "\xC3\xEB";  // 时 分 秒
    if (m != 0) return text + number(h) + "\xCA\xB1" + number(m) + "\xB7\xD6";
    if (h != 0) return text + number(h) + "\xCA\xB1";
    return text;
}

std::string UpToZero(const char* bytes, int64_t count) {
    return count > 0 ? std::string(bytes, static_cast<size_t>(count)).c_str() : "";
}

// A value as the target made it: the record, and the bytes behind a reference.
struct Value {
    CommandArg arg{0, 0, DataType::None};
    int32_t argCount = 1;
    std::vector<char> block;  // a text, byte set or array block; empty for none
    std::vector<int64_t> sizes;  // an array's, as made
};

double Real(const CommandArg& arg) { return arg.type == DataType::Float ? AsFloat(arg) : AsDouble(arg); }

int32_t ModelInteger(const Value& value) {
    const CommandArg& arg = value.arg;
    switch (value.argCount == 0 ? DataType::None : arg.type) {
    case DataType::Byte: return static_cast<int32_t>(arg.low & 0xFF);
    case DataType::Short: return static_cast<int16_t>(arg.low & 0xFFFF);
    case DataType::Int:
    case DataType::Bool:
    case DataType::Reference:
    case DataType::Long: return static_cast<int32_t>(arg.low);
    case DataType::Float:
    case DataType::Double: return ModelIntegerOfReal(Real(arg));
    case DataType::Text: return text_test::Atoi(Narrowed(value.block.empty() ? "" : value.block.data()));
    default: return 0;
    }
}

// The scalar texts, which DisplayText shows as well.
std::string ModelScalarText(const CommandArg& arg) {
    switch (arg.type) {
    case DataType::Byte: return std::to_string(arg.low & 0xFF);
    case DataType::Short: return std::to_string(static_cast<int16_t>(arg.low & 0xFFFF));
    case DataType::Int: return std::to_string(static_cast<int32_t>(arg.low));
    case DataType::Long: return std::to_string(AsInt64(arg));
    case DataType::Float: return General(Real(arg), 6);
    case DataType::Double: return General(Real(arg), 13);
    case DataType::Bool: return arg.low != 0 ? "\xD5\xE6" : "\xBC\xD9";  // 真, 假
    case DataType::DateTime: return ModelDate(AsDouble(arg));
    default: return "";
    }
}

std::string ModelText(const Value& value) {
    const CommandArg& arg = value.arg;
    const DataTypeCode type = value.argCount == 0 ? DataType::None : arg.type;
    if (value.block.empty() || type == DataType::None) return ModelScalarText({arg.low, arg.high, type});
    if (type == DataType::Text) return value.block.data();
    if (type == DataType::ByteSet)
        return UpToZero(value.block.data() + 8, static_cast<int64_t>(value.block.size()) - 8);
    if (!IsArrayType(type) || !IsNumericType(ElementTypeOf(type)) || value.sizes.empty()) return "";
    // The first size counts the elements, but never more than the sizes' product.
    int64_t product = 1;
    for (int64_t size : value.sizes) product *= size;
    const int64_t count = std::min(value.sizes[0], product);
    return UpToZero(value.block.data() + 4 + 4 * value.sizes.size(), count * NumericElementSize(ElementTypeOf(type)));
}

std::string ModelDisplayText(const Value& value) {
    if (value.argCount == 1 && value.arg.type == DataType::Text) return value.block.empty() ? "" : value.block.data();
    return ModelScalarText(value.argCount == 0 ? CommandArg{0, 0, DataType::None} : value.arg);
}

// ---- Values from the fuzzer's bytes. ----

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t Word() {
        uint32_t word = 0;
        for (int k = 0; k < 4; ++k) word |= static_cast<uint32_t>(Byte()) << 8 * k;
        return word;
    }
    std::vector<char> Rest() { return std::vector<char>(data_ + std::min(at_, size_), data_ + size_); }
    size_t Left() const { return size_ - std::min(at_, size_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr DataTypeCode NumericTypes[] = {DataType::Byte, DataType::Short, DataType::Int,
                                         DataType::Long, DataType::Float, DataType::Double};

void Word(std::vector<char>& block, int64_t word) {
    const auto bits = static_cast<uint32_t>(word);
    block.insert(block.end(), reinterpret_cast<const char*>(&bits), reinterpret_cast<const char*>(&bits) + 4);
}

// A numeric array of up to three dimensions, its elements the bytes left. A
// size is small, or huge when the array has no elements at all: sizes whose
// elements the bytes cannot fill end with a size of 0.
void MakeArray(Input& in, DataTypeCode elementType, Value& value) {
    const int dimensions = in.Byte() % 4;
    int64_t product = 1;  // held below 2^32: past that it only says "too many"
    for (int d = 0; d < dimensions; ++d) {
        const uint8_t byte = in.Byte();
        value.sizes.push_back(byte < 0xF0 ? byte % 8 : int64_t{1} << (12 + byte % 16));
        product = std::min(product * value.sizes.back(), int64_t{1} << 32);
    }
    const int64_t elementBytes = product * NumericElementSize(elementType);
    if (dimensions > 0 && elementBytes > static_cast<int64_t>(in.Left())) value.sizes.back() = 0;
    const std::vector<char> rest = in.Rest();
    Word(value.block, dimensions);
    for (int64_t size : value.sizes) Word(value.block, size);
    if (dimensions > 0 && value.sizes.back() != 0)
        value.block.insert(value.block.end(), rest.begin(), rest.begin() + elementBytes);
}

Value MakeValue(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t kind = in.Byte();
    Value value;
    value.arg.low = in.Word();
    value.arg.high = in.Word();
    const bool none = (kind & 0x80) != 0;  // a null reference, or an argument left out
    switch (kind % 16) {
    case 0: value.arg.type = NumericTypes[kind / 16 % 6]; break;
    case 1: value.arg.type = DataType::Bool; break;
    case 2:
    case 3: {
        value.arg.type = DataType::DateTime;
        // Often a day and a fraction, which land within the calendar.
        const double date = static_cast<int32_t>(value.arg.low) % 4000000 + value.arg.high / 4294967296.0;
        uint64_t bits;
        std::memcpy(&bits, &date, sizeof bits);
        if (kind % 16 == 3) {
            value.arg.low = static_cast<uint32_t>(bits);
            value.arg.high = static_cast<uint32_t>(bits >> 32);
        }
        break;
    }
    case 4:
    case 5:
        value.arg.type = DataType::Text;
        if (none) break;
        value.block = in.Rest();
        value.block.push_back('\0');
        break;
    case 6: {
        value.arg.type = DataType::ByteSet;
        if (none) break;
        const std::vector<char> bytes = in.Rest();
        Word(value.block, 1);
        Word(value.block, static_cast<int64_t>(bytes.size()));
        value.block.insert(value.block.end(), bytes.begin(), bytes.end());
        break;
    }
    case 7:
    case 8:
        value.arg.type = NumericTypes[kind / 16 % 6] | DataType::ArrayFlag;
        if (!none) MakeArray(in, NumericTypes[kind / 16 % 6], value);
        break;
    case 9: value.arg.type = DataType::Reference; break;
    case 10: value.arg.type = 0x00010000 | (value.arg.high & 0xFFFF); break;  // a unit reference
    default:
        value.arg.type = value.arg.high;  // any other code
        value.argCount = none ? 0 : 1;
        break;
    }
    // A reference without a block made for it is null.
    if (value.block.empty() && (IsArrayType(value.arg.type) || IsOwnedBlockType(value.arg.type))) value.arg.low = 0;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const size_t liveBefore = BackendLiveBlockCount();
    Value value = MakeValue(data, size);
    // The block in a heap block of its exact size, as the runtime's values are.
    char* block = nullptr;
    if (!value.block.empty()) {
        block = static_cast<char*>(AllocateBlock(static_cast<int32_t>(value.block.size())));
        std::memcpy(block, value.block.data(), value.block.size());
        value.arg.low = Word(block);
    }
    CommandArg arg = value.arg;
    CommandArg* args = value.argCount == 0 ? nullptr : &arg;

    CommandArg integer{0xAAAAAAAA, 0xAAAAAAAA, 0};
    commands::ToInteger(&integer, value.argCount, args);
    ASSERT_HOLDS(static_cast<int32_t>(integer.low) == ModelInteger(value) && integer.high == 0, "ToInteger");

    CommandArg text{0xAAAAAAAA, 0xAAAAAAAA, 0};
    commands::ToText(&text, value.argCount, args);
    char* result = AsReference<char>(text);
    const std::string expected = ModelText(value);
    ASSERT_HOLDS(text.high == 0 && (result == nullptr) == expected.empty(), "ToText: null for the empty text");
    ASSERT_HOLDS((result == nullptr || (BackendOwns(result) && BackendBlockSize(result) == expected.size() + 1 &&
                                        result == expected)), "ToText: an exact-size block");
    if (result != nullptr) FreeBlock(result);

    ScalarText scratch;
    const std::string shown = DisplayText(value.argCount == 0 ? CommandArg{0, 0, 0} : arg, &scratch);
    ASSERT_HOLDS(shown == ModelDisplayText(value), "DisplayText");

    ASSERT_HOLDS(std::memcmp(&arg, &value.arg, sizeof arg) == 0, "the argument stays as it was");
    if (block != nullptr) {
        ASSERT_HOLDS(std::memcmp(block, value.block.data(), value.block.size()) == 0, "and so do its bytes");
        FreeBlock(block);
    }
    ASSERT_HOLDS(BackendLiveBlockCount() == liveBefore, "the calls leave no block behind");
    return 0;
}
