#include "runtime/units/label/label_data.h"

#include "runtime/units/field_walk.h"
#include "runtime/units/label/label_type.h"

namespace quillet {
namespace {

constexpr int32_t LastChoice(int32_t ownIndex) { return LastChoiceOf(LabelOwnProperties, ownIndex); }

// BorderWidth and WordWrap are kept as stored.
constexpr auto WalkLabelFields = [](auto& visit, uint32_t version, auto& d) {
    visit.Pick(d.effect, LastChoice(LabelProperty::Effect));
    visit.Int(d.borderWidth);
    visit.Pick(d.borderStyle, LastChoice(LabelProperty::BorderStyle));
    for (auto& color : d.borderColors) visit.Word(color);
    Words(visit, d.textColor, d.backColor);
    visit.Pick(d.pictureMode, LastChoice(LabelProperty::PictureMode));
    visit.Pick(d.gradientMode, LastChoice(LabelProperty::GradientMode));
    for (auto& color : d.gradientColors) visit.Word(color);
    visit.Pick(d.hAlign, LastChoice(LabelProperty::HAlign));
    visit.Pick(d.vAlign, LastChoice(LabelProperty::VAlign));
    visit.Int(d.wordWrap);
    visit.Font(d.font);
    visit.Bytes(d.backPicture);
    visit.LeadText(d.caption);
    DataBinding(visit, version, d);
};

using LabelBlock = PlainBlock<LabelData, LabelDataVersion, WalkLabelFields>;

}  // namespace

bool ReadLabelData(const void* data, int32_t length, LabelData* into) { return LabelBlock::Read(data, length, into); }

void WriteLabelData(const LabelData& data, PropertyDataWriter& writer) { LabelBlock::Write(data, writer); }

void* EnumLabelTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return LabelBlock::EnumTexts(data, length, callback, userWord);
}

}  // namespace quillet
