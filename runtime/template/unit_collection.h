#pragma once
// A window's records as the template stores them: N ids, N offsets counted from
// byte 8N, then the records, each a length word and its bytes. Record 0 is the
// window's own record. The working copy of a loaded window is changed in place
// (object slots, geometry, flags, tags); its pristine twin restores it.
#include <cstdint>
#include <vector>

#include "runtime/template/unit_record.h"

namespace quillet {

class UnitCollection {
public:
    // Takes a copy of the buffer after checking every offset, length and record
    // field against its bounds, that record 0 has the window's own record id
    // and that no two records share bytes. False (and an empty collection)
    // when malformed.
    bool Assign(const uint8_t* buffer, uint32_t size, uint32_t count);

    const std::vector<uint8_t>& Buffer() const { return buffer_; }
    int32_t Count() const { return static_cast<int32_t>(layouts_.size()); }
    bool IsEmpty() const { return layouts_.empty(); }

    UnitId IdAt(int32_t index) const { return ReadWordAt(buffer_.data(), 4 * static_cast<uint32_t>(index)); }
    // Record 0 directly when the id is the first id, otherwise a scan; -1 when absent.
    int32_t IndexOf(UnitId id) const;

    // Index-checked access; an index out of range gives no record.
    bool HasIndex(int32_t index) const { return index >= 0 && index < Count(); }
    UnitRecord RecordAt(int32_t index);

    // Replaces the tag text; the record and the offsets after it move.
    void ReplaceTag(int32_t index, const char* tag);

    // Replaces a menu item's caption; the record and the offsets after it move.
    void ReplaceCaption(int32_t index, const char* caption);

    // Replaces the mouse-pointer data; the record and the offsets after it move.
    void ReplaceMouseData(int32_t index, const uint8_t* data, uint32_t length);

private:
    uint32_t RecordStart(int32_t index) const;  // position of the record's bytes
    void ReplaceText(int32_t index, uint32_t position, const char* text);
    void ReplaceBytes(int32_t index, uint32_t position, uint32_t oldLength, const uint8_t* bytes, uint32_t newLength);

    std::vector<uint8_t> buffer_;
    std::vector<RecordLayout> layouts_;  // one per record, kept in step with buffer_
};

}  // namespace quillet
