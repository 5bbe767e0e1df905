#pragma once
// Every pass over a type's PropertyData goes through one walk of its fields,
// version by version: reading, writing and offering its texts (EnumTexts). The
// walk names each field with the way it is kept; the visitors below do the
// rest, so a type states its field list once.
//
//   constexpr auto WalkFields = [](auto& visit, uint32_t version, auto& data) {
//       visit.Pick(data.style, 3);
//       if (version >= 2) visit.Text(data.name);
//   };
//
// The ways a field is kept, as the reader keeps them:
//   Word, Int     32 bits as stored
//   Flag          32 bits, kept as 0 or 1
//   Pick          32 bits, brought into 0..lastChoice
//   NotNegative   32 bits, below 0 kept as 0
//   Char16        16 bits, the low byte kept
//   Bytes         a length and its bytes, never offered
//   Text          the same, offered to EnumTexts
//   LeadText      a Text offered before every other: the unit's own text
//   Font          a FontData block, its face name offered
//   TextList      a counted list of texts (ReadTextList), each offered
// Runs of fields kept the same way go in one call (Words, Ints, Flags,
// ByteBlocks, Texts), and the data binding that ends several blocks in one
// (DataBinding).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/units/property_data.h"
#include "runtime/units/unit_type.h"

namespace quillet {

class FieldReader {
public:
    explicit FieldReader(PropertyDataReader& reader) : reader_(reader) {}
    void Word(uint32_t& field) { field = reader_.Word(); }
    void Int(int32_t& field) { field = reader_.Int(); }
    void Flag(int32_t& field) { field = reader_.Int() != 0 ? 1 : 0; }
    void Pick(int32_t& field, int32_t lastChoice) { field = ClampPick(reader_.Int(), lastChoice); }
    void NotNegative(int32_t& field) {
        const int32_t value = reader_.Int();
        field = value < 0 ? 0 : value;
    }
    void Char16(int32_t& field) { field = static_cast<int32_t>(reader_.HalfWord() & 0xFF); }
    void Bytes(std::string& field) { field = reader_.Bytes(); }
    void Text(std::string& field) { field = reader_.Bytes(); }
    void LeadText(std::string& field) { field = reader_.Bytes(); }
    void Font(std::string& field) { field = reader_.Bytes(); }
    void TextList(std::vector<std::string>& texts) {
        texts.clear();
        ReadTextList(reader_, &texts);
    }

private:
    PropertyDataReader& reader_;
};

class FieldWriter {
public:
    explicit FieldWriter(PropertyDataWriter& writer) : writer_(writer) {}
    void Word(uint32_t field) { writer_.Word(field); }
    void Int(int32_t field) { writer_.Int(field); }
    void Flag(int32_t field) { writer_.Int(field); }
    void Pick(int32_t field, int32_t) { writer_.Int(field); }
    void NotNegative(int32_t field) { writer_.Int(field); }
    void Char16(int32_t field) { writer_.HalfWord(static_cast<uint16_t>(field & 0xFF)); }
    void Bytes(const std::string& field) { writer_.Bytes(field); }
    void Text(const std::string& field) { writer_.Bytes(field); }
    void LeadText(const std::string& field) { writer_.Bytes(field); }
    void Font(const std::string& field) { writer_.Bytes(field); }
    void TextList(const std::vector<std::string>& texts) { WriteTextList(texts, writer_); }

private:
    PropertyDataWriter& writer_;
};

// Offers the texts of one pass: the lead text alone, or every other text in
// block order.
class TextOffer {
public:
    TextOffer(EnumTextCallback callback, uintptr_t userWord, bool leadPass)
        : callback_(callback), userWord_(userWord), leadPass_(leadPass) {}
    void Word(uint32_t&) {}
    void Int(int32_t&) {}
    void Flag(int32_t&) {}
    void Pick(int32_t&, int32_t) {}
    void NotNegative(int32_t&) {}
    void Char16(int32_t&) {}
    void Bytes(std::string&) {}
    void Text(std::string& field) {
        if (!leadPass_) OfferText(&field, 0, callback_, userWord_);
    }
    void LeadText(std::string& field) {
        if (leadPass_) OfferText(&field, 0, callback_, userWord_);
    }
    void Font(std::string& field) {
        if (!leadPass_) OfferFaceName(&field, callback_, userWord_);
    }
    void TextList(std::vector<std::string>& texts) {
        if (leadPass_) return;
        for (std::string& text : texts) OfferText(&text, 0, callback_, userWord_);
    }

private:
    EnumTextCallback callback_;
    uintptr_t userWord_;
    bool leadPass_;
};

// Runs of consecutive fields kept the same way, in block order.
template <class Visit, class... Fields>
void Words(Visit& visit, Fields&... fields) { (visit.Word(fields), ...); }
template <class Visit, class... Fields>
void Ints(Visit& visit, Fields&... fields) { (visit.Int(fields), ...); }
template <class Visit, class... Fields>
void Flags(Visit& visit, Fields&... fields) { (visit.Flag(fields), ...); }
template <class Visit, class... Fields>
void ByteBlocks(Visit& visit, Fields&... fields) { (visit.Bytes(fields), ...); }
template <class Visit, class... Fields>
void Texts(Visit& visit, Fields&... fields) { (visit.Text(fields), ...); }

// The names of a data source and its column, which version 2 of several blocks
// adds at their end.
template <class Visit, class Data>
void DataBinding(Visit& visit, uint32_t version, Data& data) {
    if (version >= 2) Texts(visit, data.dataSource, data.dataColumn);
}

// Reads a block of versions 0 to currentVersion over `read` (fields an older
// version lacks keep what `read` holds) and hands it to *into. False, *into
// unchanged, for a higher version or a block that ends before its last field.
template <class Data, class Walk>
bool ReadFields(const void* bytes, int32_t length, uint32_t currentVersion, Walk walk, Data read, Data* into) {
    PropertyDataReader reader(bytes, length);
    const uint32_t version = reader.Word();
    if (reader.Failed() || version > currentVersion) return false;
    FieldReader visit(reader);
    walk(visit, version, read);
    if (reader.Failed()) return false;
    *into = std::move(read);
    return true;
}

template <class Data, class Walk>
void WriteFields(PropertyDataWriter& writer, uint32_t currentVersion, Walk walk, const Data& data) {
    writer.Word(currentVersion);
    FieldWriter visit(writer);
    walk(visit, currentVersion, data);
}

// EnumTexts: the block read by the type's own reader, its texts offered and the
// block written again in the current version. Null, *length unchanged, when the
// reader refuses the block.
template <class Data, class Read, class Walk>
void* EnumFieldTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord, Read read,
                     uint32_t currentVersion, Walk walk) {
    Data data;
    if (length == nullptr || !read(bytes, *length, &data)) return nullptr;
    for (const bool leadPass : {true, false}) {
        TextOffer visit(callback, userWord, leadPass);
        walk(visit, currentVersion, data);
    }
    PropertyDataWriter writer;
    WriteFields(writer, currentVersion, walk, data);
    return EnumTextsResult(writer, length);
}

// The three operations of a block that its walk alone describes.
template <class Data, uint32_t CurrentVersion, const auto& Walk>
struct PlainBlock {
    static bool Read(const void* bytes, int32_t length, Data* data) {
        return ReadFields(bytes, length, CurrentVersion, Walk, Data{}, data);
    }
    static void Write(const Data& data, PropertyDataWriter& writer) { WriteFields(writer, CurrentVersion, Walk, data); }
    static void* EnumTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
        return EnumFieldTexts<Data>(bytes, length, callback, userWord, Read, CurrentVersion, Walk);
    }
};

}  // namespace quillet
