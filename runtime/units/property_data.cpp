#include "runtime/units/property_data.h"

#include <cstring>

#include "runtime/units/font_data.h"
#include "runtime/values/text.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

constexpr uint16_t WideCountMark = 0xFFFF;


}  // namespace

PropertyDataReader::PropertyDataReader(const void* data, int32_t length)
    : file_(static_cast<const uint8_t*>(data), length > 0 ? static_cast<uint32_t>(length) : 0),
      archive_(&file_, CArchive::load) {}

uint32_t PropertyDataReader::Word() {
    if (tooLong_) return 0;
    uint32_t word = 0;
    archive_ >> word;
    return word;
}

uint16_t PropertyDataReader::HalfWord() {
    if (tooLong_) return 0;
    uint16_t half = 0;
    archive_ >> half;
    return half;
}

std::string PropertyDataReader::Bytes() {
    const uint32_t length = Word();
    if (Failed()) return {};
    if (length > archive_.BytesLeft()) {
        tooLong_ = true;
        return {};
    }
    std::string bytes(length, '\0');
    if (length > 0) archive_.Read(bytes.data(), length);
    return bytes;
}

void PropertyDataWriter::Word(uint32_t word) {
    char bytes[4];
    std::memcpy(bytes, &word, sizeof bytes);  // the machine is little-endian, like the data
    data_.append(bytes, sizeof bytes);
}

void PropertyDataWriter::HalfWord(uint16_t half) {
    char bytes[2];
    std::memcpy(bytes, &half, sizeof bytes);
    data_.append(bytes, sizeof bytes);
}

void PropertyDataWriter::Bytes(const std::string& bytes) {
    Word(static_cast<uint32_t>(bytes.size()));
    data_.append(bytes);
}

bool ReadTextList(PropertyDataReader& reader, std::vector<std::string>* texts) {
    uint32_t count = reader.HalfWord();
    if (count == WideCountMark) count = reader.Word();
    if (reader.Failed()) return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text = reader.Bytes();
        if (reader.Failed()) return false;
        texts->push_back(std::move(text));
    }
    return true;
}

void WriteTextList(const std::vector<std::string>& texts, PropertyDataWriter& writer) {
    const auto count = static_cast<uint32_t>(texts.size());
    if (count < WideCountMark) {
        writer.HalfWord(static_cast<uint16_t>(count));
    } else {
        writer.HalfWord(WideCountMark);
        writer.Word(count);
    }
    for (const std::string& text : texts) writer.Bytes(text);
}

void OfferText(std::string* text, uint32_t flags, EnumTextCallback callback, uintptr_t userWord) {
    if (callback == nullptr) return;
    const char* replacement = callback(text->c_str(), flags, userWord);
    if (replacement != nullptr) *text = replacement;
}

void OfferFaceName(std::string* fontBlock, EnumTextCallback callback, uintptr_t userWord) {
    if (callback == nullptr || fontBlock->size() != sizeof(FontData)) return;
    FontData font;
    std::memcpy(&font, fontBlock->data(), sizeof font);
    font.lfFaceName[FaceNameSize - 1] = '\0';  // the block comes from stored data
    const char* replacement = callback(font.lfFaceName, EnumTextFlag::FontName, userWord);
    if (replacement == nullptr) return;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    // Cut to fit between characters: a double-byte character is kept whole or not at all.
    size_t kept = 0;
    while (replacement[kept] != '\0') {
        const size_t width = IsLeadByte(replacement[kept]) && replacement[kept + 1] != '\0' ? 2 : 1;
        if (kept + width > FaceNameSize - 1) break;
        kept += width;
    }
    std::memcpy(font.lfFaceName, replacement, kept);
    std::memcpy(fontBlock->data(), &font, sizeof font);
}

void* EnumTextsResult(const PropertyDataWriter& writer, int32_t* length) {
    void* block = GlobalBlockOf(writer.Data());
    if (length != nullptr) *length = block != nullptr ? static_cast<int32_t>(writer.Data().size()) : 0;
    return block;
}

PropertyValue BytesValue(const std::string& bytes) {
    if (bytes.empty()) return {0, 0};
    return {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bytes.data())), static_cast<uint32_t>(bytes.size())};
}

std::string BytesFromValue(const PropertyValue& value) {
    const char* bytes = Reference<const char>(value.first);
    if (bytes == nullptr || value.second == 0) return {};
    return std::string(bytes, value.second);
}

std::string TextFromValue(const PropertyValue& value) {
    const char* text = Reference<const char>(value.first);
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace quillet
