#include "runtime/units/window/window_data.h"

#include "runtime/units/field_walk.h"
#include "runtime/units/window/window_type.h"

namespace quillet {
namespace {

constexpr int32_t LastChoice(int32_t ownIndex) { return LastChoiceOf(WindowOwnProperties, ownIndex); }

constexpr auto WalkWindowFields = [](auto& visit, uint32_t version, auto& o) {
    visit.Pick(o.borderStyle, LastChoice(WindowProperty::BorderStyle));
    visit.Pick(o.pictureMode, LastChoice(WindowProperty::PictureMode));
    visit.Word(o.backColor);
    Flags(visit, o.maxButton, o.minButton, o.controlBox);
    visit.Pick(o.windowState, LastChoice(WindowProperty::WindowState));
    visit.Flag(o.closable);
    visit.Pick(o.soundPlayMode, LastChoice(WindowProperty::SoundPlayMode));
    Flags(visit, o.enterMovesFocus, o.escCloses, o.f1Help);
    visit.Int(o.helpTopic);
    if (version >= 2) visit.Flag(o.standAlone);
    if (version >= 3) {
        visit.Flag(o.dragAnywhere);
        visit.Pick(o.shape, LastChoice(WindowProperty::Shape));
    }
    if (version >= 4) visit.Flag(o.alwaysOnTop);
    if (version >= 5) visit.Flag(o.keepActiveLook);
    if (version >= 6) visit.Text(o.className);
    ByteBlocks(visit, o.backPicture, o.icon, o.backSound);
    Texts(visit, o.caption, o.helpFile);
};

}  // namespace

bool ReadWindowData(const void* data, int32_t length, WindowOptions* options) {
    // Only the window takes an empty block: a window made without data.
    if (data == nullptr || length <= 0) {
        *options = WindowOptions{};
        return true;
    }
    return ReadFields(data, length, WindowDataVersion, WalkWindowFields, WindowOptions{}, options);
}

void WriteWindowData(const WindowOptions& options, PropertyDataWriter& writer) {
    WriteFields(writer, WindowDataVersion, WalkWindowFields, options);
}

void* GetWindowIconData(const void* data, int32_t length) {
    WindowOptions options;
    if (!ReadWindowData(data, length, &options) || options.icon.empty()) return nullptr;
    return GlobalBlockOf(options.icon);
}

void* EnumWindowTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EnumFieldTexts<WindowOptions>(data, length, callback, userWord, ReadWindowData, WindowDataVersion,
                                         WalkWindowFields);
}

}  // namespace quillet
