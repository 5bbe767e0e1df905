#include "runtime/template/handler_entries.h"

#include <windows.h>

namespace quillet {
namespace {

constexpr DWORD ExecutableProtection = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                       PAGE_EXECUTE_WRITECOPY;
constexpr DWORD ReadableExecutable = PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool IsReadableCode(uintptr_t address, size_t length) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) == 0) return false;
    if (region.State != MEM_COMMIT || (region.Protect & ReadableExecutable) == 0 ||
        (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return false;
    const uintptr_t end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    return address + length <= end;
}

}  // namespace

bool IsHandlerEntry(uintptr_t address) {
    static_assert((ExecutableProtection & ReadableExecutable) == ReadableExecutable);
    if (address == 0 || !IsReadableCode(address, HandlerEntrySize)) return false;
    return HasHandlerEntryShape(reinterpret_cast<const uint8_t*>(address));
}

void WriteHandlerEntry(uint8_t* at, uintptr_t target) {
    FillHandlerEntry(at, target);
}

}  // namespace quillet
