#include "runtime/events/program_window_layer.h"

#include "runtime/errors/error_report.h"
#include "runtime/events/event_dispatch.h"
#include "runtime/events/held_handover.h"
#include "runtime/events/run_progress.h"
#include "runtime/events/window_loader.h"

namespace quillet {
namespace {

constexpr int32_t IdleEvent = 7;

bool Deserialise(const uint8_t* data, uint32_t size, uintptr_t handlerBase) {
    return ProgramWindows().Deserialise(data, size, handlerBase);
}

int32_t WindowCount() { return ProgramWindows().Count(); }

uint32_t WindowIdAt(int32_t index) { return ProgramWindows().At(index)->windowId; }

HWND LiveWindowAt(int32_t index) { return LiveWindowOf(*ProgramWindows().At(index)); }

uint32_t LoadStartup(uint32_t windowId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    return window != nullptr ? static_cast<uint32_t>(LoadWindow(*window, nullptr, false)) : 0;
}

bool RaiseIdle(uint32_t windowId, uint32_t elapsedMs) {
    uint32_t result = 0;
    return RaiseSimpleEvent(windowId, 0, IdleEvent, &elapsedMs, 1, &result) && result != 0;
}

constexpr WindowLayer Layer = {
    Deserialise, WindowCount,       WindowIdAt,       LiveWindowAt,      LoadStartup,
    RaiseIdle,   ReleaseAllWindows, HandOverHeldPiece, UpdateRunProgress,
};

// The tags that error reports quote: the window's own record and the unit's.
bool LookUpTags(uint32_t windowId, uint32_t unitId, WindowTags* tags) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || LiveWindowOf(*window) == nullptr) return false;
    UnitCollection& records = window->working;
    tags->windowTag = records.RecordAt(0).Tag();
    const int32_t index = unitId == 0 ? 0 : records.IndexOf(unitId);
    tags->recordFound = index >= 0 ? 1 : 0;
    tags->recordId = index >= 0 ? records.IdAt(index) : 0;
    tags->recordTag = index >= 0 && !records.RecordAt(index).IsMenuItem() ? records.RecordAt(index).Tag() : nullptr;
    return true;
}

}  // namespace

const WindowLayer& ProgramWindowLayer() { return Layer; }

void InstallProgramWindowLayer() {
    InstallWindowLayer(&Layer);
    SetWindowTagLookup(LookUpTags);
}

}  // namespace quillet
