#pragma once
// Unit ids: 32 bits. Bits 28-31 the kind, bits 24-27 the group (6 for every
// record of a window, 2 for window ids), bits 0-23 a nonzero serial.
#include <cstdint>

namespace quillet {

using UnitId = uint32_t;

namespace UnitIdKind {
constexpr uint32_t WindowRecord = 0;  // the window's own record
constexpr uint32_t Unit = 1;
constexpr uint32_t MenuItem = 2;
constexpr uint32_t Window = 5;        // an entry of the window table
}  // namespace UnitIdKind

constexpr uint32_t RecordGroup = 6;

constexpr uint32_t IdKind(UnitId id) { return id >> 28; }
constexpr uint32_t IdGroup(UnitId id) { return (id >> 24) & 0xF; }
constexpr uint32_t IdSerial(UnitId id) { return id & 0xFFFFFF; }

constexpr bool IsValidId(UnitId id) { return IdSerial(id) != 0 && IdGroup(id) != 0; }
constexpr bool IsMenuItemId(UnitId id) { return IdGroup(id) == RecordGroup && IdKind(id) == UnitIdKind::MenuItem; }
constexpr bool IsWindowRecordId(UnitId id) {
    return IsValidId(id) && IdGroup(id) == RecordGroup && IdKind(id) == UnitIdKind::WindowRecord;
}
constexpr bool IsWindowId(UnitId id) { return (id & 0x0F000000) == 0x02000000; }

constexpr UnitId MakeRecordId(uint32_t kind, uint32_t serial) {
    return (kind << 28) | (RecordGroup << 24) | (serial & 0xFFFFFF);
}

// Type references: library number in the high half, type number in the low half.
using UnitTypeRef = uint32_t;
constexpr UnitTypeRef MenuItemType = 0x00010003;

}  // namespace quillet
