#include "runtime/units/button/button_data.h"

namespace quillet {
namespace {

constexpr int32_t LastAlignment = 2;

int32_t ReadPick(PropertyDataReader& reader, int32_t lastChoice) { return ClampPick(reader.Int(), lastChoice); }

}  // namespace

ButtonData DefaultButtonData(ButtonKind kind) {
    ButtonData data;
    data.kind = kind;
    if (kind == ButtonKind::PushButton) {
        data.caption = "按钮";
    } else {
        data.hAlign = 0;
        data.caption = "选择框";
    }
    return data;
}

bool ReadButtonData(ButtonKind kind, const void* data, int32_t length, ButtonData* into) {
    PropertyDataReader reader(data, length);
    ButtonData read = DefaultButtonData(kind);
    const uint32_t version = reader.Word();
    if (kind == ButtonKind::PushButton) {
        if (version > PushButtonDataVersion) return false;
        read.buttonType = ReadPick(reader, 1);
        read.hAlign = ReadPick(reader, LastAlignment);
        read.vAlign = ReadPick(reader, LastAlignment);
    } else {
        if (version > CheckBoxDataVersion) return false;
        read.pushLike = reader.Int();
        read.flat = reader.Int();
        read.textOnLeft = reader.Int();
        read.hAlign = ReadPick(reader, LastAlignment);
        read.vAlign = ReadPick(reader, LastAlignment);
        read.textColor = reader.Word();
        read.backColor = reader.Word();
        read.checked = reader.Int();
    }
    read.picture = reader.Bytes();
    read.font = reader.Bytes();
    read.caption = reader.Bytes();
    if (kind == ButtonKind::CheckBox && version >= 2) {
        read.dataSource = reader.Bytes();
        read.dataColumn = reader.Bytes();
    }
    if (reader.Failed()) return false;
    *into = std::move(read);
    return true;
}

void WriteButtonData(const ButtonData& data, PropertyDataWriter& writer) {
    if (data.kind == ButtonKind::PushButton) {
        writer.Word(PushButtonDataVersion);
        writer.Int(data.buttonType);
        writer.Int(data.hAlign);
        writer.Int(data.vAlign);
    } else {
        writer.Word(CheckBoxDataVersion);
        writer.Int(data.pushLike);
        writer.Int(data.flat);
        writer.Int(data.textOnLeft);
        writer.Int(data.hAlign);
        writer.Int(data.vAlign);
        writer.Word(data.textColor);
        writer.Word(data.backColor);
        writer.Int(data.checked);
    }
    writer.Bytes(data.picture);
    writer.Bytes(data.font);
    writer.Bytes(data.caption);
    if (data.kind == ButtonKind::CheckBox) {
        writer.Bytes(data.dataSource);
        writer.Bytes(data.dataColumn);
    }
}

void* EnumButtonTexts(ButtonKind kind, const void* data, int32_t* length, EnumTextCallback callback,
                      uintptr_t userWord) {
    ButtonData texts;
    if (length == nullptr || !ReadButtonData(kind, data, *length, &texts)) return nullptr;
    OfferText(&texts.caption, 0, callback, userWord);
    OfferFaceName(&texts.font, callback, userWord);
    if (kind == ButtonKind::CheckBox) {
        OfferText(&texts.dataSource, 0, callback, userWord);
        OfferText(&texts.dataColumn, 0, callback, userWord);
    }
    PropertyDataWriter writer;
    WriteButtonData(texts, writer);
    return EnumTextsResult(writer, length);
}

}  // namespace quillet
