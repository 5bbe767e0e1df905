#include "runtime/units/edit/edit_data.h"

#include "runtime/units/edit/edit_type.h"
#include "runtime/units/field_walk.h"

namespace quillet {
namespace {

// Stored data is not trusted further than the properties' own writes are: pick
// values are clamped as a write would clamp them.
constexpr int32_t LastChoice(int32_t ownIndex) { return LastChoiceOf(EditBoxOwnProperties, ownIndex); }

constexpr auto WalkEditBoxFields = [](auto& visit, uint32_t version, auto& d) {
    auto& f = d.fields;
    visit.Pick(f.borderStyle, LastChoice(EditBoxProperty::BorderStyle));
    Words(visit, f.textColor, f.backColor);
    visit.Flag(f.hideSelection);
    visit.NotNegative(f.maxLength);
    visit.Flag(f.multiLine);
    visit.Pick(f.scrollBars, LastChoice(EditBoxProperty::ScrollBars));
    visit.Pick(f.alignment, LastChoice(EditBoxProperty::Alignment));
    visit.Pick(f.inputMode, LastChoice(EditBoxProperty::InputMode));
    visit.Char16(f.passwordChar);  // the character byte, then 0
    visit.Pick(f.caseConversion, LastChoice(EditBoxProperty::CaseConversion));
    visit.Pick(f.spinMode, LastChoice(EditBoxProperty::SpinMode));
    Ints(visit, f.spinLower, f.spinUpper, f.selStart, f.selLength);
    visit.Font(d.font);
    visit.LeadText(d.content);
    DataBinding(visit, version, d);
};

using EditBoxBlock = PlainBlock<EditBoxData, EditBoxDataVersion, WalkEditBoxFields>;

}  // namespace

bool ReadEditBoxData(const void* bytes, int32_t length, EditBoxData* data) {
    return EditBoxBlock::Read(bytes, length, data);
}

void WriteEditBoxData(const EditBoxData& data, PropertyDataWriter& writer) { EditBoxBlock::Write(data, writer); }

void* EnumEditBoxTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EditBoxBlock::EnumTexts(bytes, length, callback, userWord);
}

}  // namespace quillet
