// The window's own properties: what a write does at once, what a read gives.
#include "runtime/units/window/window_shape.h"
#include "runtime/units/window/window_type.h"
#include "runtime/units/window/window_unit.h"
#include "runtime/values/system_text.h"
#include "runtime/values/words.h"

namespace quillet {
namespace {

PropertyValue TextValue(const std::string& text) { return {Word(text.c_str()), static_cast<uint32_t>(text.size())}; }

PropertyValue NumberValue(int32_t number) { return {static_cast<uint32_t>(number), 0}; }

}  // namespace

AfterWrite WindowUnit::SetProperty(int32_t ownIndex, const PropertyValue& value) {
    HWND self = m_hWnd;
    const auto number = static_cast<int32_t>(value.first);
    const int32_t logical = value.first != 0 ? 1 : 0;
    const int32_t pick = ClampPick(number, LastChoiceOf(WindowOwnProperties, ownIndex));
    switch (ownIndex) {
    case WindowProperty::Caption:
        options_.caption = TextFromValue(value);
        WriteWindowText(self, options_.caption);
        RecomputeFrame(self, options_);
        break;
    case WindowProperty::BorderStyle:
        options_.borderStyle = pick;
        ApplyWindowBorder(self, options_);
        break;
    case WindowProperty::BackColor:
        options_.backColor = value.first;
        DropPictureBitmap();
        RepaintBackground();
        break;
    case WindowProperty::BackPicture:
        options_.backPicture = BytesFromValue(value);
        live_.backPicture.reset();
        live_.pictureTried = false;
        DropPictureBitmap();
        RepaintBackground();
        break;
    case WindowProperty::PictureMode:
        options_.pictureMode = pick;
        if (DecodedPicture() != nullptr) RepaintBackground();
        break;
    case WindowProperty::BackSound:
        live_.sound.Stop();
        options_.backSound = BytesFromValue(value);
        StartBackSound();
        break;
    case WindowProperty::SoundPlayMode:
        live_.sound.Stop();
        options_.soundPlayMode = pick;
        StartBackSound();
        break;
    case WindowProperty::ControlBox:
        options_.controlBox = logical;
        RecomputeFrame(self, options_);
        break;
    case WindowProperty::MaxButton:
        options_.maxButton = logical;
        RecomputeFrame(self, options_);
        break;
    case WindowProperty::MinButton:
        options_.minButton = logical;
        RecomputeFrame(self, options_);
        break;
    case WindowProperty::WindowState:
        options_.windowState = pick;
        if (IsWindowVisible(self)) ApplyWindowState(self, pick);
        break;
    case WindowProperty::Closable:
        options_.closable = logical;
        ApplyClosable(self, logical != 0);
        break;
    case WindowProperty::Icon:
        options_.icon = BytesFromValue(value);
        SetWindowIcons(self, &live_.icons, MakeWindowIcons(options_.icon));
        break;
    case WindowProperty::EnterMovesFocus: options_.enterMovesFocus = logical; break;
    case WindowProperty::EscCloses: options_.escCloses = logical; break;
    case WindowProperty::F1Help: options_.f1Help = logical; break;
    case WindowProperty::HelpFile: options_.helpFile = TextFromValue(value); break;
    case WindowProperty::HelpTopic: options_.helpTopic = number; break;
    case WindowProperty::StandAlone: options_.standAlone = logical; break;
    case WindowProperty::DragAnywhere: options_.dragAnywhere = logical; break;
    case WindowProperty::Shape:
        options_.shape = pick;
        ApplyWindowShape(self, pick);
        break;
    case WindowProperty::AlwaysOnTop:
        options_.alwaysOnTop = logical;
        ApplyTopmost(self, logical != 0);
        break;
    case WindowProperty::KeepActiveLook: options_.keepActiveLook = logical; break;
    case WindowProperty::ClassName: options_.className = TextFromValue(value); break;
    default: break;
    }
    return AfterWrite::Done;
}

int32_t WindowUnit::GetProperty(int32_t ownIndex, PropertyValue* value) {
    switch (ownIndex) {
    case WindowProperty::Caption: *value = TextValue(options_.caption); break;
    case WindowProperty::BorderStyle: *value = NumberValue(options_.borderStyle); break;
    case WindowProperty::BackColor: *value = {options_.backColor, 0}; break;
    case WindowProperty::BackPicture: *value = BytesValue(options_.backPicture); break;
    case WindowProperty::PictureMode: *value = NumberValue(options_.pictureMode); break;
    case WindowProperty::BackSound: *value = BytesValue(options_.backSound); break;
    case WindowProperty::SoundPlayMode: *value = NumberValue(options_.soundPlayMode); break;
    case WindowProperty::ControlBox: *value = NumberValue(options_.controlBox); break;
    case WindowProperty::MaxButton: *value = NumberValue(options_.maxButton); break;
    case WindowProperty::MinButton: *value = NumberValue(options_.minButton); break;
    case WindowProperty::WindowState: *value = NumberValue(CurrentWindowState(m_hWnd)); break;
    case WindowProperty::Closable: *value = NumberValue(options_.closable); break;
    case WindowProperty::Icon: *value = BytesValue(options_.icon); break;
    case WindowProperty::EnterMovesFocus: *value = NumberValue(options_.enterMovesFocus); break;
    case WindowProperty::EscCloses: *value = NumberValue(options_.escCloses); break;
    case WindowProperty::F1Help: *value = NumberValue(options_.f1Help); break;
    case WindowProperty::HelpFile: *value = TextValue(options_.helpFile); break;
    case WindowProperty::HelpTopic: *value = NumberValue(options_.helpTopic); break;
    case WindowProperty::StandAlone: *value = NumberValue(options_.standAlone); break;
    case WindowProperty::DragAnywhere: *value = NumberValue(options_.dragAnywhere); break;
    case WindowProperty::Shape: *value = NumberValue(options_.shape); break;
    case WindowProperty::AlwaysOnTop: *value = NumberValue(options_.alwaysOnTop); break;
    case WindowProperty::KeepActiveLook: *value = NumberValue(options_.keepActiveLook); break;
    case WindowProperty::ClassName: *value = TextValue(options_.className); break;
    default: return 0;
    }
    return 1;
}

void WindowUnit::WritePropertyData(PropertyDataWriter& writer) { WriteWindowData(options_, writer); }

// Repeating for SoundPlayMode 0, once for 1, not at all for 2; bytes that are
// no sound stay silent.
void WindowUnit::StartBackSound() {
    if (options_.backSound.empty() || options_.soundPlayMode == SoundPlayMode::Silent) return;
    live_.sound.Play(options_.backSound.data(), static_cast<uint32_t>(options_.backSound.size()),
                     options_.soundPlayMode == SoundPlayMode::Repeat);
}

}  // namespace quillet
