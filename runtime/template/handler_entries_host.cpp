// Handler entries in the host build (linked in place of handler_entries.cpp).
// No program's code runs there whose memory could be asked about, so the
// entries are the ones WriteHandlerEntry made (a test's or a fuzz target's
// table, which lives as long as the process), each still holding its shape.
#include <unordered_set>

#include "runtime/template/handler_entries.h"

namespace quillet {
namespace {

std::unordered_set<uintptr_t>& WrittenEntries() {
    static auto* entries = new std::unordered_set<uintptr_t>();
    return *entries;
}

}  // namespace

bool IsHandlerEntry(uintptr_t address) {
    if (WrittenEntries().count(address) == 0) return false;
    return HasHandlerEntryShape(reinterpret_cast<const uint8_t*>(address));
}

void WriteHandlerEntry(uint8_t* at, uintptr_t target) {
    FillHandlerEntry(at, target);
    WrittenEntries().insert(reinterpret_cast<uintptr_t>(at));
}

}  // namespace quillet
