#pragma once
// The window unit: the top-level window of a template that holds its units.
// It owns the frame, the background (colour, picture, sound), the shape, the
// window-level keys (its own key event for a key in any unit, Tab, Enter, Esc,
// arrows, F1, Alt mnemonics), the cursor of the unit under the mouse, and the
// window events:
//
//   0 loaded (raised by the loader)   5 activated       10 shown
//   1 about to close (vetoable)       6 deactivated     11 hidden
//   2 destroyed                       7 idle (the loop) 12 close requested (vetoable)
//   3 moved                           8 first activation
//   4 resized                         9 tray icon mouse action
//
// Its messages are handled in one window procedure; the work is spread over
// window_unit.cpp (life, activation, focus, cursor, commands), window_keys.cpp
// (pre-translation), window_paint.cpp, window_properties.cpp and
// window_scale.cpp (the display's scale); focus moves, frame, shape and stored
// data have files of their own.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "runtime/template/window_table.h"
#include "runtime/units/picture.h"
#include "runtime/units/property_data.h"
#include "runtime/units/sound_player.h"
#include "runtime/units/unit_object.h"
#include "runtime/units/window/window_data.h"
#include "runtime/units/window/window_frame.h"

namespace quillet {

namespace WindowEvent {
enum : int32_t {
    Loaded, Closing, Destroyed, Moved, Resized, Activated, Deactivated, Idle, FirstActivation, TrayIcon, Shown,
    Hidden, CloseRequested,
};
}  // namespace WindowEvent

// The window's class unless ClassName names another.
inline constexpr wchar_t DefaultWindowClass[] = L"WTWindow";

// The notification-area icon the runtime may give a window, and its callback message.
constexpr UINT TrayIconId = 100;
constexpr UINT UM_TRAY_NOTIFY = 0x8064;
// Sent to a docked unit before it is stacked, so that it sizes itself.
constexpr UINT UM_DOCK_SIZE = 0x8003;

// What the window keeps for itself beyond its stored properties.
struct WindowLiveState {
    std::unique_ptr<Picture> backPicture;  // BackPicture decoded; null when none or undecodable
    bool pictureTried = false;             // the bytes were decoded since they last changed
    HBITMAP pictureBitmap = nullptr;       // the picture at natural size over BackColor (modes 0, 1)
    WindowIcons icons;                     // what WM_SETICON was given
    HFONT font = nullptr;                  // WM_SETFONT's font (the default unit font)
    SoundPlayer sound;                     // BackSound
    HWND rememberedFocus = nullptr;        // had the focus when the window was last deactivated
    bool activatedOnce = false;            // event 8 has been raised
    bool inActivation = false;             // WM_ACTIVATE is being handled
    bool painting = false;                 // inside BeginPaint: WM_PAINT paints the background
    bool arranged = false;                 // UM_ARRANGE arrived: docked units follow resizes
    bool helpOpened = false;               // WinHelp was called for this window
    uint32_t heldWindowKey = 0;            // the key the window's key event took at its last first press; 0 none
};

class WindowUnit final : public UnitObject<CWnd>, public PropertyDataSource {
public:
    WindowUnit(UnitId windowId, UnitId unitId, WindowOptions options);
    ~WindowUnit() override;

    // A window from PropertyData; null when the data is refused or the window
    // cannot be made (the loader then destroys the menu it made).
    static WindowUnit* CreateUnit(const void* data, int32_t length, const UnitPlacement& placement);

    // Registers the class when needed and makes the window (step by step as
    // CreateUnit states); false when the class cannot be registered or the
    // window cannot be made.
    bool Create(uint32_t runtimeStyle, HWND owner, HMENU menu, int32_t left, int32_t top, int32_t width,
                int32_t height);

    // window_properties.cpp. Every write takes effect on the live window:
    // SetProperty always answers 0, never a rebuild.
    AfterWrite SetProperty(int32_t ownIndex, const PropertyValue& value);
    int32_t GetProperty(int32_t ownIndex, PropertyValue* value);
    void WritePropertyData(PropertyDataWriter& writer) override;

    // window_keys.cpp
    BOOL PreTranslateMessage(MSG* message) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // window_unit.cpp
    WindowTemplate* Template() const;
    void OnClose();
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnSize(WPARAM kind);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    bool PassActivationToModal();
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    void OnSetFocus();
    bool OnSetCursor(HWND target, UINT hitTest);
    bool OnCommand(WPARAM wParam);
    void OnTrayNotify(LPARAM mouseMessage);
    void ArrangeDockedUnits();
    void ReenableForModalEnd();

    // window_scale.cpp
    void OnDpiChanged(WPARAM wParam, const RECT* suggested);

    // window_keys.cpp
    bool TakenByWindow(WindowTemplate& window, const MSG& message);
    bool HandleKeyDown(WindowTemplate& window, const MSG& message);
    bool PressDefaultButton(WindowTemplate& window, bool press);
    bool HandleMnemonic(WindowTemplate& window, const MSG& message);
    void StartDragIfAnywhere(WindowTemplate& window, const MSG& message);
    void OpenHelp();

    // window_paint.cpp
    void OnPaint();
    bool OnEraseBackground(HDC dc);
    void PaintBackground(HDC dc, HRGN area);
    const Picture* DecodedPicture();
    HBITMAP PictureBitmap();
    void DropPictureBitmap();
    void RepaintBackground();

    // window_properties.cpp
    void StartBackSound();

    WindowOptions options_;  // the stored values of the own properties
    WindowLiveState live_;   // what the running window keeps
};

// True while the window and this object still exist: a handler may have closed it.
bool StillAlive(HWND window, const CWnd* object);

}  // namespace quillet
