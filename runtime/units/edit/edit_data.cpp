#include "runtime/units/edit/edit_data.h"

#include "runtime/units/edit/edit_type.h"

namespace quillet {
namespace {

// Stored data is not trusted further than the properties' own writes are: pick
// values are clamped as a write would clamp them.
void ClampPicks(EditBoxFields& fields) {
    const auto clamp = [](int32_t& value, int32_t ownIndex) {
        value = ClampPick(value, LastChoiceOf(EditBoxPickLimits, ownIndex));
    };
    clamp(fields.borderStyle, EditBoxProperty::BorderStyle);
    clamp(fields.scrollBars, EditBoxProperty::ScrollBars);
    clamp(fields.alignment, EditBoxProperty::Alignment);
    clamp(fields.inputMode, EditBoxProperty::InputMode);
    clamp(fields.caseConversion, EditBoxProperty::CaseConversion);
    clamp(fields.spinMode, EditBoxProperty::SpinMode);
    if (fields.maxLength < 0) fields.maxLength = 0;
}

}  // namespace

bool ReadEditBoxData(const void* bytes, int32_t length, EditBoxData* data) {
    PropertyDataReader reader(bytes, length);
    const uint32_t version = reader.Word();
    if (reader.Failed() || version > EditBoxDataVersion) return false;
    EditBoxFields& f = data->fields;
    f.borderStyle = reader.Int();
    f.textColor = reader.Word();
    f.backColor = reader.Word();
    f.hideSelection = reader.Int() != 0 ? 1 : 0;
    f.maxLength = reader.Int();
    f.multiLine = reader.Int() != 0 ? 1 : 0;
    f.scrollBars = reader.Int();
    f.alignment = reader.Int();
    f.inputMode = reader.Int();
    // 16 bits: the character byte, then 0.
    f.passwordChar = static_cast<int32_t>(reader.HalfWord() & 0xFF);
    f.caseConversion = reader.Int();
    f.spinMode = reader.Int();
    f.spinLower = reader.Int();
    f.spinUpper = reader.Int();
    f.selStart = reader.Int();
    f.selLength = reader.Int();
    data->font = reader.Bytes();
    data->content = reader.Bytes();
    data->dataSource.clear();
    data->dataColumn.clear();
    if (version >= 2) {
        data->dataSource = reader.Bytes();
        data->dataColumn = reader.Bytes();
    }
    if (reader.Failed()) return false;
    ClampPicks(f);
    return true;
}

void WriteEditBoxData(const EditBoxData& data, PropertyDataWriter& writer) {
    const EditBoxFields& f = data.fields;
    writer.Word(EditBoxDataVersion);
    writer.Int(f.borderStyle);
    writer.Word(f.textColor);
    writer.Word(f.backColor);
    writer.Int(f.hideSelection);
    writer.Int(f.maxLength);
    writer.Int(f.multiLine);
    writer.Int(f.scrollBars);
    writer.Int(f.alignment);
    writer.Int(f.inputMode);
    writer.HalfWord(static_cast<uint16_t>(f.passwordChar & 0xFF));
    writer.Int(f.caseConversion);
    writer.Int(f.spinMode);
    writer.Int(f.spinLower);
    writer.Int(f.spinUpper);
    writer.Int(f.selStart);
    writer.Int(f.selLength);
    writer.Bytes(data.font);
    writer.Bytes(data.content);
    writer.Bytes(data.dataSource);
    writer.Bytes(data.dataColumn);
}

void* EnumEditBoxTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    EditBoxData data;
    if (length == nullptr || !ReadEditBoxData(bytes, *length, &data)) return nullptr;
    OfferText(&data.content, 0, callback, userWord);
    OfferFaceName(&data.font, callback, userWord);
    OfferText(&data.dataSource, 0, callback, userWord);
    OfferText(&data.dataColumn, 0, callback, userWord);
    PropertyDataWriter writer;
    WriteEditBoxData(data, writer);
    return EnumTextsResult(writer, length);
}

}  // namespace quillet
