#pragma once
// The static description of a unit type: its descriptor record, its property
// table and the one entry function through which the runtime reaches every
// type-specific operation. The tables are constant data; nothing writes them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillet {

// How a property's value travels between the runtime and the type.
enum class PropertyKind : uint16_t {
    Integer = 1000,
    Int = 1001,
    Long = 1002,         // 64-bit: both words
    Logical = 1003,
    LongOther = 1004,    // 64-bit as 1002
    Text = 1005,         // and every code this table does not name
    Pick = 1006,         // index into a fixed choice list
    Picture = 1009,      // image file bytes
    Icon = 1010,
    Cursor = 1011,       // first word a cursor number (see runtime/template/record_cursor.h)
    Sound = 1012,
    Font = 1013,         // a 60-byte FontData block
    Color = 1014,
    EffectColor = 1015,
    FileName = 1016,
    BackColor = 1017,    // DefaultColor allowed
    DataSourceName = 1018,
    DataColumnName = 1020,
    ByteData = 1023,
    PageList = 1024,     // the tab control's page captions
};

// The colour value that stands for the system button-face colour.
constexpr uint32_t DefaultColor = 0xFF000000;

struct PropertyDescriptor {
    const char* name;             // names and explanations are not carried: null
    const char* englishName;
    const char* explanation;
    PropertyKind kind;
    uint16_t flags;               // PropertyFlag; the run time does not consult it
    const char* const* pickTexts; // null
};
static_assert(sizeof(PropertyDescriptor) == 20, "five 32-bit words");

namespace PropertyFlag {
constexpr uint16_t Common = 0xE000;      // the eight properties every type shares
constexpr uint16_t Own = 0x8000;
constexpr uint16_t NotSaved = 0x8001;    // lives only in the window, not in the property data
constexpr uint16_t Rebuilds = 0x8008;    // takes effect by re-creating the window
}  // namespace PropertyFlag

constexpr PropertyDescriptor Property(PropertyKind kind, uint16_t flags = PropertyFlag::Own) {
    return {nullptr, nullptr, nullptr, kind, flags, nullptr};
}

// Properties 0 to 7, handled by the generic machinery and never passed to a type.
constexpr int32_t CommonPropertyCount = 8;
inline constexpr PropertyDescriptor LeftProperty = Property(PropertyKind::Int, PropertyFlag::Common);
inline constexpr PropertyDescriptor TopProperty = Property(PropertyKind::Int, PropertyFlag::Common);
inline constexpr PropertyDescriptor WidthProperty = Property(PropertyKind::Int, PropertyFlag::Common);
inline constexpr PropertyDescriptor HeightProperty = Property(PropertyKind::Int, PropertyFlag::Common);
inline constexpr PropertyDescriptor TagProperty = Property(PropertyKind::Text, PropertyFlag::Common);
inline constexpr PropertyDescriptor VisibleProperty = Property(PropertyKind::Logical, PropertyFlag::Common);
inline constexpr PropertyDescriptor DisabledProperty = Property(PropertyKind::Logical, PropertyFlag::Common);
inline constexpr PropertyDescriptor MousePointerProperty = Property(PropertyKind::Cursor, PropertyFlag::Common);

// Own index of a property: the index the runtime hands to the type.
constexpr int32_t OwnIndex(int32_t propertyIndex) { return propertyIndex - CommonPropertyCount; }

// TypeStateFlags: the bits the runtime tests.
using TypeStateFlags = uint32_t;
namespace TypeState {
constexpr TypeStateFlags NeverRebuilt = 0x00000010;
constexpr TypeStateFlags RaisesEventsAlt = 0x00000004;  // counts as RaisesEvents
constexpr TypeStateFlags RaisesEvents = 0x00000040;
constexpr TypeStateFlags Container = 0x00000080;
constexpr TypeStateFlags TabPageContainer = 0x00000100;
constexpr TypeStateFlags OptionButtonKeys = 0x00000400;
constexpr TypeStateFlags PushButtonKeys = 0x00000800;
constexpr TypeStateFlags CheckBoxKeys = 0x00001000;
constexpr TypeStateFlags CaptionOnly = 0x00002000;
constexpr TypeStateFlags MnemonicFocusesSelf = 0x00004000;
constexpr TypeStateFlags NoMnemonic = 0x00008000;
constexpr TypeStateFlags NoFocusOnPageShow = 0x00010000;
constexpr TypeStateFlags DataSource = 0x00080000;
constexpr TypeStateFlags ArrangeParent = 0x00100000;
constexpr TypeStateFlags DragsWindow = 0x04000000;
constexpr TypeStateFlags Carried = 0x80000000;  // set on every type, not tested
constexpr TypeStateFlags MnemonicTypes = 0x00007C00;
}  // namespace TypeState

// What a type's entry function hands out; the caller casts it to the signature
// of the operation it asked for (below).
using UnitOperation = void (*)();
using UnitInterfaceFn = UnitOperation (*)(int32_t interfaceNumber);

namespace InterfaceNumber {
constexpr int32_t CreateUnit = 1;
constexpr int32_t SetProperty = 4;
constexpr int32_t SaveProperties = 5;
constexpr int32_t GetProperty = 6;
constexpr int32_t GetIconData = 7;
constexpr int32_t WantsKey = 8;
constexpr int32_t EnumTexts = 9;
constexpr int32_t IsDefaultButton = 10;
}  // namespace InterfaceNumber

// The value pair exchanged with SetProperty and GetProperty: a value or pointer,
// and a length. Either way the pointer is borrowed: SetProperty copies what it
// keeps before it returns; what GetProperty points at belongs to the unit
// (a field, or a copy kept for the purpose, e.g. the edit box's readBack) and
// lasts until the unit's next property call, so the runtime copies it at once.
struct PropertyValue {
    uint32_t first;
    uint32_t second;
};
static_assert(sizeof(PropertyValue) == 8, "two 32-bit words");

// The value of a unit property as compiled code reads and writes it: two words
// (a text property's low word is a new text owned by the reader).
struct PropertyWords {
    uint32_t low;
    uint32_t high;
};

// What a unit's SetProperty asks of the runtime: most writes are done; some
// change a style the control takes only at creation, and the runtime then
// makes the unit's window again from its saved properties.
enum class AfterWrite {
    Done,
    RebuildWindow,
};

// The operations, by interface number. A unit is the type's unit object; window,
// menu and memory handles travel as plain pointers so that this header needs no
// <windows.h>.
using CreateUnitOperation = void* (*)(const void* data, int32_t length, uint32_t extraStyle, void* parentWindow,
                                      uint32_t controlId, void* menu, int32_t left, int32_t top, int32_t width,
                                      int32_t height, uint32_t windowId, uint32_t unitId, uint32_t ignored,
                                      int32_t designer);
using SetPropertyOperation = int32_t (*)(void* unit, int32_t ownIndex, PropertyValue* value, uint32_t* clearedWord);
using SavePropertiesOperation = void* (*)(void* unit);  // movable global memory block
using GetPropertyOperation = int32_t (*)(void* unit, int32_t ownIndex, PropertyValue* value);
using GetIconDataOperation = void* (*)(const void* data, int32_t length);
using WantsKeyOperation = int32_t (*)(void* unit, int32_t keyCode);
// Offered one text of the property data (flags: EnumTextFlag); returns a
// replacement text, or null to keep it.
using EnumTextCallback = const char* (*)(const char* text, uint32_t flags, uintptr_t userWord);
using EnumTextsOperation = void* (*)(const void* data, int32_t* length, EnumTextCallback callback,
                                     uintptr_t userWord);
using IsDefaultButtonOperation = int32_t (*)(void* unit);

namespace EnumTextFlag {
constexpr uint32_t FontName = 1;
}

struct UnitTypeDescriptor {
    const char* name;                 // GBK
    const char* englishName;
    const char* explanation;          // null
    int32_t methodCount;              // 0
    const int32_t* methodIndexes;     // null
    TypeStateFlags stateFlags;
    int32_t bitmapId;                 // 0
    int32_t eventCount;               // 0: events are known by number only
    const void* events;               // null
    int32_t propertyCount;            // the common eight included
    const PropertyDescriptor* properties;
    UnitInterfaceFn interfaceFn;
    int32_t elementCount;             // 0
    const void* elements;             // null
};
static_assert(sizeof(UnitTypeDescriptor) == 14 * 4, "fourteen 32-bit fields");

constexpr UnitTypeDescriptor DescribeType(const char* name, const char* englishName, TypeStateFlags flags,
                                          int32_t propertyCount, const PropertyDescriptor* properties,
                                          UnitInterfaceFn interfaceFn) {
    return {name, englishName, nullptr, 0, nullptr, flags, 0, 0, nullptr, propertyCount, properties, interfaceFn,
            0, nullptr};
}

// A type's whole table, made once from its own rows.
template <const auto& OwnRows>
inline constexpr auto PropertyTableOf = PropertyTable(OwnRows);

// The same with the table made from the type's own rows.
template <const auto& OwnRows>
constexpr UnitTypeDescriptor DescribeType(const char* name, const char* englishName, TypeStateFlags flags,
                                          UnitInterfaceFn interfaceFn) {
    const auto& properties = PropertyTableOf<OwnRows>;
    return DescribeType(name, englishName, flags, static_cast<int32_t>(properties.size()), properties.data(),
                        interfaceFn);
}

// The descriptor a type reference names among the program's libraries, or null
// when it names none (service 1002). The libraries are known to start-up, which
// installs the resolver; until then no reference names a type.
using TypeResolver = const UnitTypeDescriptor* (*)(uint32_t typeRef);
void SetTypeResolver(TypeResolver resolver);
const UnitTypeDescriptor* TypeDescriptorOf(uint32_t typeRef);

// The operation a type offers under a number, or null.
template <typename Operation>
Operation FindOperation(const UnitTypeDescriptor& type, int32_t interfaceNumber) {
    if (type.interfaceFn == nullptr) return nullptr;
    return reinterpret_cast<Operation>(type.interfaceFn(interfaceNumber));
}

// The kind of property index p of a type; Text (the default kind) outside its table.
constexpr PropertyKind KindOfProperty(const UnitTypeDescriptor& type, int32_t propertyIndex) {
    if (propertyIndex < 0 || propertyIndex >= type.propertyCount || type.properties == nullptr)
        return PropertyKind::Text;
    return type.properties[propertyIndex].kind;
}

// One own property of a type (property index 8 and up) as the type states it:
// its kind and flags and, for a pick, its last choice. A type writes these rows
// once; its property table and its pick limits are made from them.
struct OwnProperty {
    PropertyKind kind;
    uint16_t flags;
    int32_t lastChoice;  // a pick's last choice; -1 for every other kind
};
static_assert(sizeof(OwnProperty) == 8, "kind and flags, then the last choice");

constexpr OwnProperty Own(PropertyKind kind, uint16_t flags = PropertyFlag::Own) { return {kind, flags, -1}; }
constexpr OwnProperty OwnPick(int32_t lastChoice, uint16_t flags = PropertyFlag::Own) {
    return {PropertyKind::Pick, flags, lastChoice};
}

// A type's whole property table: the common eight, then its own rows.
template <size_t OwnCount>
constexpr std::array<PropertyDescriptor, CommonPropertyCount + OwnCount> PropertyTable(
    const OwnProperty (&rows)[OwnCount]) {
    std::array<PropertyDescriptor, CommonPropertyCount + OwnCount> table = {
        LeftProperty, TopProperty, WidthProperty, HeightProperty,
        TagProperty, VisibleProperty, DisabledProperty, MousePointerProperty,
    };
    for (size_t i = 0; i < OwnCount; ++i) table[CommonPropertyCount + i] = Property(rows[i].kind, rows[i].flags);
    return table;
}

constexpr int32_t ClampPick(int32_t value, int32_t lastChoice) {
    return value < 0 ? 0 : (value > lastChoice ? lastChoice : value);
}

// The last choice of a pick property by own index, or -1 for any other. A type
// clamps its pick values with it before it compares or stores them.
constexpr int32_t LastChoiceOf(std::span<const OwnProperty> rows, int32_t ownIndex) {
    if (ownIndex < 0 || static_cast<size_t>(ownIndex) >= rows.size()) return -1;
    return rows[static_cast<size_t>(ownIndex)].lastChoice;
}

}  // namespace quillet
