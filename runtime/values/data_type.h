#pragma once
// Type codes of the values exchanged between compiled handlers and the runtime,
// and the classification rules every part of the runtime applies to them.
#include <cstdint>

namespace quillet {

using DataTypeCode = uint32_t;

namespace DataType {
constexpr DataTypeCode None = 0;  // an optional argument the caller left out
constexpr DataTypeCode Byte = 0x80000101;
constexpr DataTypeCode Short = 0x80000201;
constexpr DataTypeCode Int = 0x80000301;
constexpr DataTypeCode Long = 0x80000401;
constexpr DataTypeCode Float = 0x80000501;
constexpr DataTypeCode Double = 0x80000601;
constexpr DataTypeCode Bool = 0x80000002;
constexpr DataTypeCode DateTime = 0x80000003;
constexpr DataTypeCode Text = 0x80000004;
constexpr DataTypeCode ByteSet = 0x80000005;
constexpr DataTypeCode Reference = 0x80000006;

constexpr uint32_t ArrayFlag = 0x20000000;
constexpr uint32_t UnitRefMask = 0xFFFF0000;
constexpr uint32_t UnitRefTag = 0x00010000;  // 0x0001nnnn: a unit of type nnnn
constexpr DataTypeCode WindowUnit = 0x00010001;
}  // namespace DataType

// System types read as signed numbers lie below -0x40000000 (0x80000000..0xBFFFFFFF).
constexpr bool IsSystemType(DataTypeCode code) {
    return static_cast<int32_t>(code) < -0x40000000;
}

// Exactly the six codes byte, short, int, long, float, double.
constexpr bool IsNumericType(DataTypeCode code) {
    return code >= DataType::Byte && code <= DataType::Double && (code & 0xFF) == 0x01;
}

constexpr bool IsArrayType(DataTypeCode code) { return (code & DataType::ArrayFlag) != 0; }

constexpr DataTypeCode ElementTypeOf(DataTypeCode code) { return code & ~DataType::ArrayFlag; }

constexpr bool IsUnitReference(DataTypeCode code) {
    return (code & DataType::UnitRefMask) == DataType::UnitRefTag;
}

// Texts and byte sets are blocks of their own: arrays of them own their elements.
constexpr bool IsOwnedBlockType(DataTypeCode code) {
    return code == DataType::Text || code == DataType::ByteSet;
}

// Bytes of one numeric element; 0 for every other type.
constexpr int32_t NumericElementSize(DataTypeCode code) {
    switch (code) {
    case DataType::Byte: return 1;
    case DataType::Short: return 2;
    case DataType::Int:
    case DataType::Float: return 4;
    case DataType::Long:
    case DataType::Double: return 8;
    default: return 0;
    }
}

// Bytes of one array element: numeric sizes, and a reference for everything else.
constexpr int32_t ReferenceSize = static_cast<int32_t>(sizeof(void*));
constexpr int32_t ArrayElementSize(DataTypeCode elementType) {
    const int32_t numeric = NumericElementSize(elementType);
    return numeric != 0 ? numeric : ReferenceSize;
}

}  // namespace quillet
