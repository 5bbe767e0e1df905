#pragma once
// The program's windows as deserialised from its template data at start-up.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/template/unit_collection.h"

namespace quillet {

// What the runtime keeps for a window between its load and its destruction.
// Handles travel as plain pointers, as in the records, so that reading the
// template needs no <windows.h>.
struct LoadedWindowState {
    void* menu = nullptr;              // HMENU, built from the menu-item records
    void* accelerators = nullptr;      // HACCEL, their shortcuts
    bool modal = false;                // loaded in modal mode
    bool loaded = false;               // set at the end of a load, cleared by the first show
    bool topmost = false;              // made topmost for a topmost parent at the first show
    bool replacementMark = false;      // the next load destroys the window and builds it anew
    int32_t dpi = 96;                  // the display's scale its units stand at: design pixels × dpi / 96
    struct DisabledWindow {
        void* window;  // HWND
        bool wasEnabled;
    };
    std::vector<DisabledWindow> disabledForModal;  // top-level windows the modal run disabled
};

struct WindowTemplate {
    UnitId windowId = 0;
    uint32_t word1 = 0, word2 = 0;   // carried with the window, not interpreted
    std::string text1, text2;        // likewise
    UnitCollection working;          // what the loaded window reads and changes
    UnitCollection pristine;         // the template's own copy while the window is loaded
    bool hasPristine = false;
    LoadedWindowState state;

    // The window's own object lives in record 0's object slot.
    void* WindowObject() { return working.IsEmpty() ? nullptr : working.RecordAt(0).Object(); }
};

class WindowTable {
public:
    // Reads template data; false when it is malformed in any way (the table is
    // then left empty). Handler offsets become addresses relative to handlerBase,
    // each of which must hold a handler entry.
    bool Deserialise(const uint8_t* data, uint32_t size, uintptr_t handlerBase);

    int32_t Count() const { return static_cast<int32_t>(windows_.size()); }
    WindowTemplate* At(int32_t index) { return windows_[static_cast<size_t>(index)].get(); }
    WindowTemplate* Find(UnitId windowId);
    void Clear() { windows_.clear(); }

private:
    std::vector<std::unique_ptr<WindowTemplate>> windows_;
};

// The program's one window table, filled at start-up.
WindowTable& ProgramWindows();

// Handler offsets relative to handlerBase become addresses; -1 (none) becomes 0.
// False when an offset names no handler entry of the program.
bool RelocateHandlers(UnitCollection& collection, uintptr_t handlerBase);

}  // namespace quillet
