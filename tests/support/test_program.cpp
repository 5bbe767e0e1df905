#include "tests/support/test_program.h"

#include <cstring>

#include "framework/wnd.h"
#include "runtime/app/message_loop.h"
#include "runtime/app/program_info.h"
#include "runtime/events/window_loader.h"
#include "runtime/services/startup.h"
#include "runtime/template/handler_entries.h"
#include "runtime/template/window_table.h"

namespace testprogram {
namespace {

using namespace quillet;

constexpr size_t CodeSize = 64 * 1024;

// Executable memory laid out as a program's code: the return-zero stub
// (xor eax, eax; ret) and the plain return stub at HandlerBase - 4, then the entries.
struct HandlerCode {
    uint8_t* base = nullptr;              // HandlerBase
    std::vector<EventHandler> handlers;   // handler k sits at base + 8·k

    HandlerCode() {
        auto* code = static_cast<uint8_t*>(VirtualAlloc(nullptr, CodeSize, MEM_RESERVE | MEM_COMMIT,
                                                        PAGE_EXECUTE_READWRITE));
        const uint8_t stubs[4] = {0x31, 0xC0, 0xC3, 0xC3};
        std::memcpy(code + 4, stubs, sizeof stubs);
        base = code + 8;
        Add(&FirstHandler);
    }
    int32_t Add(EventHandler handler) {
        for (size_t k = 0; k < handlers.size(); ++k)
            if (handlers[k] == handler) return static_cast<int32_t>(k * HandlerEntrySize);
        const size_t k = handlers.size();
        handlers.push_back(handler);
        WriteHandlerEntry(base + k * HandlerEntrySize, reinterpret_cast<uintptr_t>(handler));
        FlushInstructionCache(GetCurrentProcess(), base, CodeSize - 8);
        return static_cast<int32_t>(k * HandlerEntrySize);
    }
};

HandlerCode& Code() {
    static HandlerCode code;
    return code;
}

const LibraryInfo* libraries[1] = {nullptr};
ProgramInfo program = {3, 0, 0x1015C, nullptr, nullptr, 0, nullptr, 0, 1, libraries, 0, nullptr, nullptr};
const ProgramLink link(program, nullptr);

}  // namespace

void Start(const LibraryInfo& library) {
    static bool started = false;
    if (started) return;
    started = true;
    libraries[0] = &library;
    program.handlerBase = Code().base;
    RunStartup();
}

uintptr_t HandlerBase() { return reinterpret_cast<uintptr_t>(Code().base); }

int32_t HandlerOffset(EventHandler handler) { return Code().Add(handler); }

HandlerResult FirstHandler(const uint32_t*, int32_t) { return {0, 0, 0}; }

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

// As the main loop does until it would wait: messages, and held output piece by piece.
void Pump() { ProcessPendingEventsAndOutput(); }

HWND HandleOf(uint32_t windowId, uint32_t unitId) {
    WindowTemplate* window = ProgramWindows().Find(windowId);
    if (window == nullptr || window->working.IsEmpty()) return nullptr;
    const int32_t index = unitId == 0 ? 0 : window->working.IndexOf(unitId);
    if (index < 0) return nullptr;
    auto* object = static_cast<CWnd*>(window->working.RecordAt(index).Object());
    return object != nullptr && IsWindow(object->m_hWnd) ? object->m_hWnd : nullptr;
}

}  // namespace testprogram
