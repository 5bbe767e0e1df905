#include "tests/support/test_program.h"

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/program_info.h"
#include "runtime/app/startup.h"
#include "runtime/template/window_loader.h"
#include "runtime/template/window_table.h"

namespace testprogram {
namespace {

using namespace quillet;

// Handlers are plain functions of the test: their offsets count from this one.
void AnchorOfHandlers() {}

const LibraryInfo* libraries[1] = {nullptr};
ProgramInfo program = {3, 0, 0x1015C, reinterpret_cast<const void*>(&AnchorOfHandlers), nullptr, 0, nullptr, 0,
                       1, libraries, 0, nullptr, nullptr};
const ProgramLink link(program, nullptr);

}  // namespace

void Start(const LibraryInfo& library) {
    static bool started = false;
    if (started) return;
    started = true;
    libraries[0] = &library;
    InitialiseRuntime();
}

uintptr_t HandlerBase() { return reinterpret_cast<uintptr_t>(&AnchorOfHandlers); }

bool UseTemplate(const std::vector<WindowDescription>& windows) {
    CloseAll();
    const std::vector<uint8_t> bytes = WriteTemplate(windows);
    return ProgramWindows().Deserialise(bytes.data(), static_cast<uint32_t>(bytes.size()), HandlerBase());
}

int32_t Load(uint32_t windowId) {
    const LoadWindowRequest request = {windowId, nullptr, 0};
    return LoadWindowService(&request) == 0 ? 1 : 0;
}

void CloseAll() {
    ReleaseAllWindows();
    Pump();
}

void Pump() { ProcessPendingEvents(); }

HWND HandleOf(uint32_t windowId, uint32_t unitId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = unitId == 0 ? 0 : window->working.IndexOf(unitId);
    if (index < 0) return nullptr;
    auto* object = static_cast<CWnd*>(window->working.RecordAt(index).Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

}  // namespace testprogram
