#include "runtime/template/unit_collection.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillet {

bool UnitCollection::Assign(const uint8_t* buffer, uint32_t size, uint32_t count) {
    buffer_.clear();
    layouts_.clear();
    if (count == 0 || count > size / 8) return false;  // record 0 is required
    // The loader makes the window from record 0 and keeps its object there.
    if (!IsWindowRecordId(ReadWordAt(buffer, 0))) return false;
    const uint32_t recordsStart = 8 * count;
    std::vector<RecordLayout> layouts(count);
    std::vector<std::pair<uint32_t, uint32_t>> spans(count);  // each record's bytes with its length word
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t offset = ReadWordAt(buffer, 4 * count + 4 * i);
        if (offset > size - recordsStart || size - recordsStart - offset < 4) return false;
        const uint32_t start = recordsStart + offset + 4;
        const uint32_t length = ReadWordAt(buffer, start - 4);
        if (length > size - start) return false;
        const UnitId id = ReadWordAt(buffer, 4 * i);
        if (!ParseRecordLayout(buffer + start, length, IsMenuItemId(id), &layouts[i])) return false;
        spans[i] = {start - 4, start + length};
    }
    // No two records share a byte: a record that grows or shrinks (a tag, a
    // pointer) moves those behind it, and a shared one would leave another's
    // layout describing bytes that are no longer its own.
    std::sort(spans.begin(), spans.end());
    for (uint32_t i = 1; i < count; ++i)
        if (spans[i].first < spans[i - 1].second) return false;
    buffer_.assign(buffer, buffer + size);
    layouts_.swap(layouts);
    return true;
}

int32_t UnitCollection::IndexOf(UnitId id) const {
    if (layouts_.empty()) return -1;
    if (IdAt(0) == id) return 0;
    for (int32_t i = 1; i < Count(); ++i)
        if (IdAt(i) == id) return i;
    return -1;
}

uint32_t UnitCollection::RecordStart(int32_t index) const {
    const uint32_t count = static_cast<uint32_t>(Count());
    return 8 * count + ReadWordAt(buffer_.data(), 4 * count + 4 * static_cast<uint32_t>(index)) + 4;
}

UnitRecord UnitCollection::RecordAt(int32_t index) {
    return UnitRecord(buffer_.data() + RecordStart(index), layouts_[static_cast<size_t>(index)]);
}

void UnitCollection::ReplaceBytes(int32_t index, uint32_t position, uint32_t oldLength, const uint8_t* bytes,
                                  uint32_t newLength) {
    const uint32_t start = RecordStart(index);
    const uint32_t at = start + position;
    const int64_t growth = static_cast<int64_t>(newLength) - oldLength;
    if (growth > 0) buffer_.insert(buffer_.begin() + at, static_cast<size_t>(growth), 0);
    if (growth < 0) buffer_.erase(buffer_.begin() + at, buffer_.begin() + at + static_cast<size_t>(-growth));
    if (newLength != 0) std::memcpy(buffer_.data() + at, bytes, newLength);

    // The record's length word, and the offsets of the records stored behind it.
    const uint32_t recordLength = ReadWordAt(buffer_.data(), start - 4);
    WriteWordAt(buffer_.data(), start - 4, static_cast<uint32_t>(recordLength + growth));
    const uint32_t count = static_cast<uint32_t>(Count());
    const uint32_t movedFrom = start - 8 * count;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t offset = ReadWordAt(buffer_.data(), 4 * count + 4 * i);
        if (offset >= movedFrom && i != static_cast<uint32_t>(index))
            WriteWordAt(buffer_.data(), 4 * count + 4 * i, static_cast<uint32_t>(offset + growth));
    }
    const UnitId id = IdAt(index);
    ParseRecordLayout(buffer_.data() + start, static_cast<uint32_t>(recordLength + growth), IsMenuItemId(id),
                      &layouts_[static_cast<size_t>(index)]);
}

void UnitCollection::ReplaceText(int32_t index, uint32_t position, const char* text) {
    const char* old = reinterpret_cast<const char*>(buffer_.data() + RecordStart(index) + position);
    const uint32_t oldLength = static_cast<uint32_t>(std::strlen(old)) + 1;
    if (text == nullptr) text = "";
    ReplaceBytes(index, position, oldLength, reinterpret_cast<const uint8_t*>(text),
                 static_cast<uint32_t>(std::strlen(text)) + 1);
}

void UnitCollection::ReplaceTag(int32_t index, const char* tag) {
    ReplaceText(index, RecordAt(index).Layout().tag, tag);
}

void UnitCollection::ReplaceCaption(int32_t index, const char* caption) {
    ReplaceText(index, RecordAt(index).Layout().caption, caption);
}

void UnitCollection::ReplaceMouseData(int32_t index, const uint8_t* data, uint32_t length) {
    const UnitRecord record = RecordAt(index);
    std::vector<uint8_t> field(4 + length);
    WriteWordAt(field.data(), 0, length);
    if (length != 0) std::memcpy(field.data() + 4, data, length);
    ReplaceBytes(index, record.Layout().mouseData, 4 + record.MouseDataLength(), field.data(),
                 static_cast<uint32_t>(field.size()));
}

}  // namespace quillet
