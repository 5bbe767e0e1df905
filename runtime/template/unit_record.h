#pragma once
// One record of a window's unit collection: the window's own record, a unit or
// a menu item. A record is a run of bytes whose later fields are found by
// walking past its two texts; RecordLayout holds where each field starts.
//
//   0 type reference, 4 event-source id, 8 reserved (16), 24 name, second text,
//   T+0 object slot, T+4 left, T+8 top, T+12 width, T+16 height, T+20 cursor slot,
//   T+24 parent id, T+28 child-word count K, T+32 K child words,
//   mouse-pointer data length M, M bytes, tag text, reserved word, flags,
//   focus order, binding count, bindings (event, handler) × count, reserved (20),
//   type data (the rest).
//
// A menu item instead has, from T: shortcut, nesting level, flags, caption text,
// handler, runtime slot, 12 reserved bytes.
#include <cstdint>
#include <cstring>

#include "runtime/template/unit_id.h"

namespace quillet {

namespace RecordFlag {
constexpr uint32_t Visible = 1;
constexpr uint32_t Disabled = 2;
constexpr uint32_t TabStop = 4;
}  // namespace RecordFlag

namespace MenuItemFlag {
constexpr uint32_t Hidden = 1;
constexpr uint32_t Disabled = 2;
constexpr uint32_t Checked = 4;
}  // namespace MenuItemFlag

// Byte positions of a record's fields, from the start of its bytes.
struct RecordLayout {
    uint32_t length;         // bytes of the record (without its length word)
    uint32_t fixedFields;    // T: the first byte after the second text
    bool isMenuItem;
    // Units and the window record:
    uint32_t childCount;     // K
    uint32_t mouseData;      // position of the mouse-pointer data length word
    uint32_t tag;            // position of the tag text
    uint32_t flags;          // position of the flags word
    uint32_t bindingCount;
    uint32_t bindings;       // position of the first (event, handler) pair
    uint32_t typeData;       // position of the type data; it runs to the end
    // Menu items:
    uint32_t caption;        // position of the caption text
    uint32_t menuHandler;    // position of the handler word
};

// Walks a record's fields; false when any field, text or count would reach
// past the record's end. Whether it is a menu item follows from its id.
bool ParseRecordLayout(const uint8_t* bytes, uint32_t length, bool isMenuItem, RecordLayout* layout);

inline uint32_t ReadWordAt(const uint8_t* bytes, uint32_t position) {
    uint32_t word;
    std::memcpy(&word, bytes + position, sizeof word);
    return word;
}
inline void WriteWordAt(uint8_t* bytes, uint32_t position, uint32_t word) {
    std::memcpy(bytes + position, &word, sizeof word);
}

// Typed access to a record whose layout is known. The bytes belong to the
// collection; a view is valid until the collection changes size.
class UnitRecord {
public:
    UnitRecord(uint8_t* bytes, const RecordLayout& layout) : bytes_(bytes), layout_(layout) {}

    const RecordLayout& Layout() const { return layout_; }
    const uint8_t* Bytes() const { return bytes_; }

    UnitTypeRef TypeRef() const { return Word(0); }
    UnitId EventSourceId() const { return Word(4); }
    const char* Name() const { return reinterpret_cast<const char*>(bytes_ + 24); }
    bool IsMenuItem() const { return layout_.isMenuItem; }

    // The object and cursor slots hold run-time references (32-bit words). A
    // menu item has neither: its first fixed word is its shortcut.
    void* Object() const {
        return layout_.isMenuItem ? nullptr : reinterpret_cast<void*>(static_cast<uintptr_t>(Fixed(0)));
    }
    void SetObject(void* object) {
        if (!layout_.isMenuItem) SetFixed(0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(object)));
    }
    int32_t Left() const { return static_cast<int32_t>(Fixed(4)); }
    int32_t Top() const { return static_cast<int32_t>(Fixed(8)); }
    int32_t Width() const { return static_cast<int32_t>(Fixed(12)); }
    int32_t Height() const { return static_cast<int32_t>(Fixed(16)); }
    void SetLeft(int32_t value) { SetFixed(4, static_cast<uint32_t>(value)); }
    void SetTop(int32_t value) { SetFixed(8, static_cast<uint32_t>(value)); }
    void SetWidth(int32_t value) { SetFixed(12, static_cast<uint32_t>(value)); }
    void SetHeight(int32_t value) { SetFixed(16, static_cast<uint32_t>(value)); }
    void* Cursor() const {
        return layout_.isMenuItem ? nullptr : reinterpret_cast<void*>(static_cast<uintptr_t>(Fixed(20)));
    }
    void SetCursor(void* cursor) {
        if (!layout_.isMenuItem) SetFixed(20, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cursor)));
    }
    UnitId ParentId() const { return Fixed(24); }
    uint32_t ChildCount() const { return layout_.childCount; }
    UnitId ChildWord(uint32_t index) const { return Fixed(32 + 4 * index); }

    uint32_t MouseDataLength() const { return Word(layout_.mouseData); }
    const uint8_t* MouseData() const { return bytes_ + layout_.mouseData + 4; }
    const char* Tag() const { return reinterpret_cast<const char*>(bytes_ + layout_.tag); }

    uint32_t Flags() const { return Word(layout_.isMenuItem ? layout_.fixedFields + 8 : layout_.flags); }
    void SetFlags(uint32_t flags) { WriteWordAt(bytes_, layout_.isMenuItem ? layout_.fixedFields + 8 : layout_.flags, flags); }
    uint32_t FocusOrder() const { return Word(layout_.flags + 4); }

    uint32_t BindingCount() const { return layout_.bindingCount; }
    int32_t BindingEvent(uint32_t index) const { return static_cast<int32_t>(Word(layout_.bindings + 8 * index)); }
    uint32_t BindingHandler(uint32_t index) const { return Word(layout_.bindings + 8 * index + 4); }
    void SetBindingHandler(uint32_t index, uint32_t handler) { WriteWordAt(bytes_, layout_.bindings + 8 * index + 4, handler); }

    const uint8_t* TypeData() const { return bytes_ + layout_.typeData; }
    uint32_t TypeDataLength() const { return layout_.length - layout_.typeData; }

    // Menu items.
    uint32_t Shortcut() const { return Fixed(0); }
    uint32_t NestingLevel() const { return Fixed(4); }
    const char* Caption() const { return reinterpret_cast<const char*>(bytes_ + layout_.caption); }
    uint32_t MenuHandler() const { return Word(layout_.menuHandler); }
    void SetMenuHandler(uint32_t handler) { WriteWordAt(bytes_, layout_.menuHandler, handler); }
    void* MenuSlot() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(Word(layout_.menuHandler + 4))); }
    void SetMenuSlot(void* submenu) {
        WriteWordAt(bytes_, layout_.menuHandler + 4, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(submenu)));
    }

private:
    uint32_t Word(uint32_t position) const { return ReadWordAt(bytes_, position); }
    uint32_t Fixed(uint32_t offset) const { return Word(layout_.fixedFields + offset); }
    void SetFixed(uint32_t offset, uint32_t word) { WriteWordAt(bytes_, layout_.fixedFields + offset, word); }

    uint8_t* bytes_;
    RecordLayout layout_;
};

}  // namespace quillet
