#include "runtime/events/property_kinds.h"

#include <windows.h>

#include <cstring>

#include "runtime/template/record_cursor.h"
#include "runtime/values/array_block.h"
#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

constexpr char EmptyText[] = "";

bool IsByteKind(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Picture:
    case PropertyKind::Icon:
    case PropertyKind::Cursor:
    case PropertyKind::Sound:
    case PropertyKind::ByteData:
    case PropertyKind::PageList: return true;
    default: return false;
    }
}

}  // namespace

bool PreparePropertyWrite(PropertyKind kind, int32_t element, uint32_t low, uint32_t high,
                          const PropertyValue& currentFont, PropertyWrite* write) {
    *write = PropertyWrite{};
    PropertyValue& value = write->value;
    if (IsByteKind(kind)) {
        // A byte set, or no value (pointer 0, length 0).
        const void* byteSet = Reference<const void>(low);
        const int32_t length = ByteSetLength(byteSet);
        if (length <= 0) return true;
        if (kind == PropertyKind::Cursor && length >= 4) {
            write->cursorCopy = AllocateBlock(length);
            std::memcpy(write->cursorCopy, ByteSetBytes(byteSet), static_cast<size_t>(length));
            TranslateCursorNumberToId(write->cursorCopy, length);
            value = {Word(write->cursorCopy), static_cast<uint32_t>(length)};
        } else {
            value = {Word(ByteSetBytes(byteSet)), static_cast<uint32_t>(length)};
        }
        return true;
    }
    switch (kind) {
    case PropertyKind::Integer:
    case PropertyKind::Int:
    case PropertyKind::Color:
    case PropertyKind::EffectColor:
    case PropertyKind::BackColor: value.first = low; return true;
    case PropertyKind::Long:
    case PropertyKind::LongOther: value = {low, high}; return true;
    case PropertyKind::Logical: value.first = low != 0 ? 1 : 0; return true;
    case PropertyKind::Pick: value.first = static_cast<int32_t>(low) < 0 ? 0 : low; return true;
    case PropertyKind::Font:
        if (element == FontField::Whole) {
            write->font = BuildWholeFont(Reference<const FontValue>(low));
        } else {
            write->font = FontDataOrDefault(currentFont);
            if (!SetFontField(&write->font, element, low)) return false;
        }
        value = {Word(&write->font), sizeof(FontData)};
        return true;
    default: {
        // Texts: kind 1005, the named text kinds and every code not listed.
        const char* text = Reference<const char>(low);
        if (text == nullptr) text = EmptyText;
        value = {Word(text), static_cast<uint32_t>(TextByteCount(text))};
        return true;
    }
    }
}

void FinishPropertyWrite(PropertyWrite* write) {
    FreeBlock(write->cursorCopy);
    *write = PropertyWrite{};
}

PropertyWords ConvertPropertyRead(PropertyKind kind, int32_t element, const PropertyValue& reported) {
    if (IsByteKind(kind)) {
        const void* bytes = Reference<const void>(reported.first);
        const int32_t length = static_cast<int32_t>(reported.second);
        if (bytes == nullptr || length <= 0) return {0, 0};
        void* byteSet = NewByteSet(bytes, length);
        if (kind == PropertyKind::Cursor) TranslateCursorIdToNumber(ArrayElements(byteSet), length);
        return {Word(byteSet), 0};
    }
    switch (kind) {
    case PropertyKind::Integer:
    case PropertyKind::Int:
    case PropertyKind::Pick:
    case PropertyKind::Color:
    case PropertyKind::EffectColor:
    case PropertyKind::BackColor: return {reported.first, 0};
    case PropertyKind::Long:
    case PropertyKind::LongOther: return {reported.first, reported.second};
    case PropertyKind::Logical: return {reported.first == 1 ? 1u : 0u, 0};
    case PropertyKind::Font: return ReadFontField(FontDataOrDefault(reported), element);
    default: return {Word(CopyText(Reference<const char>(reported.first))), 0};
    }
}

AfterWrite WriteTypeProperty(const UnitTypeDescriptor& type, void* unit, int32_t propertyIndex, int32_t element,
                          uint32_t low, uint32_t high) {
    if (unit == nullptr || propertyIndex < CommonPropertyCount || propertyIndex >= type.propertyCount) return AfterWrite::Done;
    const auto setProperty = FindOperation<SetPropertyOperation>(type, InterfaceNumber::SetProperty);
    if (setProperty == nullptr) return AfterWrite::Done;
    const PropertyKind kind = KindOfProperty(type, propertyIndex);
    const int32_t ownIndex = OwnIndex(propertyIndex);

    // One font field starts from the unit's current font.
    PropertyValue currentFont{};
    if (kind == PropertyKind::Font && element != FontField::Whole) {
        const auto getProperty = FindOperation<GetPropertyOperation>(type, InterfaceNumber::GetProperty);
        if (getProperty == nullptr || getProperty(unit, ownIndex, &currentFont) == 0) currentFont = {};
    }
    PropertyWrite write;
    if (!PreparePropertyWrite(kind, element, low, high, currentFont, &write)) return AfterWrite::Done;
    uint32_t scratch = 0;
    const int32_t answer = setProperty(unit, ownIndex, &write.value, &scratch);
    FinishPropertyWrite(&write);
    return answer == 1 ? AfterWrite::RebuildWindow : AfterWrite::Done;
}

PropertyWords ReadTypeProperty(const UnitTypeDescriptor& type, void* unit, int32_t propertyIndex,
                               int32_t element) {
    if (unit == nullptr || propertyIndex < CommonPropertyCount || propertyIndex >= type.propertyCount)
        return {0, 0};
    const auto getProperty = FindOperation<GetPropertyOperation>(type, InterfaceNumber::GetProperty);
    PropertyValue reported{};
    // An index the type does not know keeps the zero value.
    if (getProperty == nullptr || getProperty(unit, OwnIndex(propertyIndex), &reported) == 0) reported = {};
    return ConvertPropertyRead(KindOfProperty(type, propertyIndex), element, reported);
}

}  // namespace quillet
