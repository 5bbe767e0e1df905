#include "runtime/units/window/window_data.h"

#include <utility>

#include "runtime/units/window/window_type.h"

namespace quillet {
namespace {

int32_t Logical(uint32_t word) { return word != 0 ? 1 : 0; }

int32_t Pick(uint32_t word, int32_t ownIndex) {
    return ClampPick(static_cast<int32_t>(word), LastChoiceOf(WindowPickLimits, ownIndex));
}

}  // namespace

bool ReadWindowData(const void* data, int32_t length, WindowOptions* options) {
    WindowOptions read;
    if (data == nullptr || length <= 0) {
        *options = read;
        return true;
    }
    PropertyDataReader reader(data, length);
    const uint32_t version = reader.Word();
    if (reader.Failed() || version > WindowDataVersion) return false;

    read.borderStyle = Pick(reader.Word(), WindowProperty::BorderStyle);
    read.pictureMode = Pick(reader.Word(), WindowProperty::PictureMode);
    read.backColor = reader.Word();
    read.maxButton = Logical(reader.Word());
    read.minButton = Logical(reader.Word());
    read.controlBox = Logical(reader.Word());
    read.windowState = Pick(reader.Word(), WindowProperty::WindowState);
    read.closable = Logical(reader.Word());
    read.soundPlayMode = Pick(reader.Word(), WindowProperty::SoundPlayMode);
    read.enterMovesFocus = Logical(reader.Word());
    read.escCloses = Logical(reader.Word());
    read.f1Help = Logical(reader.Word());
    read.helpTopic = reader.Int();
    if (version >= 2) read.standAlone = Logical(reader.Word());
    if (version >= 3) {
        read.dragAnywhere = Logical(reader.Word());
        read.shape = Pick(reader.Word(), WindowProperty::Shape);
    }
    if (version >= 4) read.alwaysOnTop = Logical(reader.Word());
    if (version >= 5) read.keepActiveLook = Logical(reader.Word());
    if (version >= 6) read.className = reader.Bytes();
    read.backPicture = reader.Bytes();
    read.icon = reader.Bytes();
    read.backSound = reader.Bytes();
    read.caption = reader.Bytes();
    read.helpFile = reader.Bytes();
    if (reader.Failed()) return false;
    *options = std::move(read);
    return true;
}

void WriteWindowData(const WindowOptions& options, PropertyDataWriter& writer) {
    writer.Word(WindowDataVersion);
    writer.Int(options.borderStyle);
    writer.Int(options.pictureMode);
    writer.Word(options.backColor);
    writer.Int(options.maxButton);
    writer.Int(options.minButton);
    writer.Int(options.controlBox);
    writer.Int(options.windowState);
    writer.Int(options.closable);
    writer.Int(options.soundPlayMode);
    writer.Int(options.enterMovesFocus);
    writer.Int(options.escCloses);
    writer.Int(options.f1Help);
    writer.Int(options.helpTopic);
    writer.Int(options.standAlone);
    writer.Int(options.dragAnywhere);
    writer.Int(options.shape);
    writer.Int(options.alwaysOnTop);
    writer.Int(options.keepActiveLook);
    writer.Bytes(options.className);
    writer.Bytes(options.backPicture);
    writer.Bytes(options.icon);
    writer.Bytes(options.backSound);
    writer.Bytes(options.caption);
    writer.Bytes(options.helpFile);
}

void* GetWindowIconData(const void* data, int32_t length) {
    WindowOptions options;
    if (!ReadWindowData(data, length, &options) || options.icon.empty()) return nullptr;
    return GlobalBlockOf(options.icon);
}

void* EnumWindowTexts(const void* data, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    WindowOptions options;
    if (length == nullptr || !ReadWindowData(data, *length, &options)) return nullptr;
    OfferText(&options.className, 0, callback, userWord);
    OfferText(&options.caption, 0, callback, userWord);
    OfferText(&options.helpFile, 0, callback, userWord);
    PropertyDataWriter writer;
    WriteWindowData(options, writer);
    return EnumTextsResult(writer, length);
}

}  // namespace quillet
