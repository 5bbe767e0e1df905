#pragma once
// PropertyData: a unit's properties as one block — a version word, then the
// type's fields: 32-bit little-endian integers, and texts and byte blocks as a
// 32-bit length followed by that many bytes. What the template stores for a
// unit, what CreateUnit reads and what SaveProperties writes.
//
// Every unit object is also a PropertyDataSource, so that one SaveProperties
// operation serves every type.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/archive.h"
#include "framework/mem_file.h"
#include "runtime/units/unit_type.h"

namespace quillet {

// Reads a block front to back, never past its end. A field the block does not
// hold reads as 0 (or empty) and marks the reader failed for good; the caller
// checks Failed() once after its run of reads.
class PropertyDataReader {
public:
    PropertyDataReader(const void* data, int32_t length);
    PropertyDataReader(const PropertyDataReader&) = delete;
    PropertyDataReader& operator=(const PropertyDataReader&) = delete;

    uint32_t Word();
    int32_t Int() { return static_cast<int32_t>(Word()); }
    uint16_t HalfWord();  // a 16-bit field where a type's block has one
    // A length-prefixed text or byte block. A length beyond the bytes left fails
    // without reading (the length word may be anything).
    std::string Bytes();
    bool Failed() const { return tooLong_ || archive_.IsFailed(); }

private:
    CMemFile file_;
    CArchive archive_;
    bool tooLong_ = false;  // a block's length word ran past the data
};

class PropertyDataWriter {
public:
    void Word(uint32_t word);
    void Int(int32_t value) { Word(static_cast<uint32_t>(value)); }
    void HalfWord(uint16_t half);
    void Bytes(const std::string& bytes);
    const std::string& Data() const { return data_; }

private:
    std::string data_;
};

// A counted list of texts: a 16-bit count (0xFFFF: a 32-bit count follows),
// then each text behind its length. Reading appends every complete text of
// those counted and answers false when one is missing; the count is not
// trusted for reserving memory.
bool ReadTextList(PropertyDataReader& reader, std::vector<std::string>* texts);
void WriteTextList(const std::vector<std::string>& texts, PropertyDataWriter& writer);

// A movable global memory block (an HGLOBAL) holding the bytes, trimmed to
// their length; null when no block can be had. The host build has no global
// memory: there it is a C library block of the bytes themselves, for std::free
// (global_block_host.cpp is linked in place of global_block.cpp).
void* GlobalBlockOf(const std::string& bytes);

// What a unit object offers to SaveProperties: its current PropertyData. Not
// const: an edit box hands its held text over to read the selection.
class PropertyDataSource {
public:
    virtual void WritePropertyData(PropertyDataWriter& writer) = 0;

protected:
    ~PropertyDataSource() = default;
};

// The SaveProperties operation of every type: the unit's PropertyData in a
// global memory block, or null for no unit or one that is no PropertyDataSource.
void* SaveUnitProperties(void* unit);

// EnumTexts: offers one text to the callback and takes its replacement (null
// keeps the text).
void OfferText(std::string* text, uint32_t flags, EnumTextCallback callback, uintptr_t userWord);
// Offers the face name of a font block (a 60-byte FontData; other lengths hold
// no font and offer nothing) flagged as a font name. A replacement longer than
// a face name can hold is cut to fit.
void OfferFaceName(std::string* fontBlock, EnumTextCallback callback, uintptr_t userWord);
// The result of EnumTexts: the re-serialised block in a global memory block,
// its length in *length (0 with null when no block can be had).
void* EnumTextsResult(const PropertyDataWriter& writer, int32_t* length);

// Reads a length-prefixed value into a PropertyValue for GetProperty: pointer
// and length of stored bytes, or (0, 0) when there are none.
PropertyValue BytesValue(const std::string& bytes);
// A text or byte value handed to SetProperty as (pointer, length); none gives empty.
std::string BytesFromValue(const PropertyValue& value);
// A text handed to SetProperty (pointer to a 0-ended text; null gives empty).
std::string TextFromValue(const PropertyValue& value);

}  // namespace quillet
