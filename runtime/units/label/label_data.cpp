#include "runtime/units/label/label_data.h"

#include "runtime/units/label/label_type.h"

namespace quillet {
namespace {

int32_t ReadPick(PropertyDataReader& reader, int32_t ownIndex) {
    return ClampPick(reader.Int(), LastChoiceOf(LabelPickLimits, ownIndex));
}

}  // namespace

bool ReadLabelData(const void* data, int32_t length, LabelData* into) {
    PropertyDataReader reader(data, length);
    LabelData read;
    const uint32_t version = reader.Word();
    if (version > LabelDataVersion) return false;
    read.effect = ReadPick(reader, LabelProperty::Effect);
    read.borderWidth = reader.Int();
    read.borderStyle = ReadPick(reader, LabelProperty::BorderStyle);
    for (uint32_t& color : read.borderColors) color = reader.Word();
    read.textColor = reader.Word();
    read.backColor = reader.Word();
    read.pictureMode = ReadPick(reader, LabelProperty::PictureMode);
    read.gradientMode = ReadPick(reader, LabelProperty::GradientMode);
    for (uint32_t& color : read.gradientColors) color = reader.Word();
    read.hAlign = ReadPick(reader, LabelProperty::HAlign);
    read.vAlign = ReadPick(reader, LabelProperty::VAlign);
    read.wordWrap = reader.Int();
    read.font = reader.Bytes();
    read.backPicture = reader.Bytes();
    read.caption = reader.Bytes();
    if (version >= 2) {
        read.dataSource = reader.Bytes();
        read.dataColumn = reader.Bytes();
    }
    if (reader.Failed()) return false;
    *into = std::move(read);
    return true;
}

void WriteLabelData(const LabelData& data, PropertyDataWriter& writer) {
    writer.Word(LabelDataVersion);
    writer.Int(data.effect);
    writer.Int(data.borderWidth);
    writer.Int(data.borderStyle);
    for (uint32_t color : data.borderColors) writer.Word(color);
    writer.Word(data.textColor);
    writer.Word(data.backColor);
    writer.Int(data.pictureMode);
    writer.Int(data.gradientMode);
    for (uint32_t color : data.gradientColors) writer.Word(color);
    writer.Int(data.hAlign);
    writer.Int(data.vAlign);
    writer.Int(data.wordWrap);
    writer.Bytes(data.font);
    writer.Bytes(data.backPicture);
    writer.Bytes(data.caption);
    writer.Bytes(data.dataSource);
    writer.Bytes(data.dataColumn);
}

void* EnumLabelTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    LabelData texts;
    if (length == nullptr || !ReadLabelData(data, *length, &texts)) return nullptr;
    OfferText(&texts.caption, 0, callback, userWord);
    OfferFaceName(&texts.font, callback, userWord);
    OfferText(&texts.dataSource, 0, callback, userWord);
    OfferText(&texts.dataColumn, 0, callback, userWord);
    PropertyDataWriter writer;
    WriteLabelData(texts, writer);
    return EnumTextsResult(writer, length);
}

}  // namespace quillet
