#pragma once
// Values crossing between compiled code and a unit type, converted by the
// property's kind: what SetProperty receives for written words, and what
// compiled code receives for what GetProperty reported. Cursor data translates
// between cursor numbers and system cursor ids on the way (record_cursor.h).
#include <cstdint>

#include "runtime/units/font_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

// A value ready for a type's SetProperty, with the storage it may point into.
// The value points into the record itself, so the record stays where it is
// until FinishPropertyWrite.
struct PropertyWrite {
    PropertyValue value;
    FontData font;     // the block a font write hands over
    void* cursorCopy;  // cursor data with its first word translated (runtime heap)
};
static_assert(sizeof(PropertyWrite) == 8 + 60 + 4, "value, font block, one reference");

// Builds the value for the words (low, high) written to a property of the kind.
// For one font field (element 0..6) currentFont is what the type's GetProperty
// reported for the property (anything but a 60-byte block means the stock
// DEFAULT_GUI_FONT). Returns false when there is nothing to write: a font
// element that names no field.
bool PreparePropertyWrite(PropertyKind kind, int32_t element, uint32_t low, uint32_t high,
                          const PropertyValue& currentFont, PropertyWrite* write);
void FinishPropertyWrite(PropertyWrite* write);

// The words compiled code receives for what a type reported. Texts, byte sets
// and font values are new blocks that belong to the reader; the reported
// storage stays the type's and is not kept.
PropertyWords ConvertPropertyRead(PropertyKind kind, int32_t element, const PropertyValue& reported);

// A type's own property by property index (8 and up), through the type's
// SetProperty and GetProperty with the conversions above. Indexes outside the
// type's own properties, a missing unit or a missing operation do nothing:
// writing answers Done and reading gives the zero value.
AfterWrite WriteTypeProperty(const UnitTypeDescriptor& type, void* unit, int32_t propertyIndex, int32_t element,
                          uint32_t low, uint32_t high);
PropertyWords ReadTypeProperty(const UnitTypeDescriptor& type, void* unit, int32_t propertyIndex,
                               int32_t element);

}  // namespace quillet
