// The heap backend of the host build: the C library's allocator, which the
// sanitizers watch, and a record of the live blocks and the sizes asked for,
// so that tests can tell which blocks are freed and how large the others are.
#include <cstdlib>
#include <unordered_map>

#include "runtime/values/heap_backend.h"

namespace quillet {
namespace {

// The program is a 32-bit process with 2 GB of address space, which holds the
// program and its other blocks too: a block near 2 GB is never had there.
// Here the address space is larger, so such requests are refused before the
// C library is asked, and fail in both builds.
constexpr size_t Largest = size_t{1} << 30;

std::unordered_map<const void*, size_t>& LiveBlocks() {
    static auto* blocks = new std::unordered_map<const void*, size_t>();
    return *blocks;
}

}  // namespace

void* BackendAllocate(size_t size) {
    if (size > Largest) return nullptr;
    void* block = std::malloc(size > 0 ? size : 1);
    if (block != nullptr) LiveBlocks()[block] = size;
    return block;
}

void* BackendReallocate(void* block, size_t size) {
    if (size > Largest) return nullptr;
    void* moved = std::realloc(block, size > 0 ? size : 1);
    if (moved == nullptr) return nullptr;
    LiveBlocks().erase(block);
    LiveBlocks()[moved] = size;
    return moved;
}

void BackendFree(void* block) {
    LiveBlocks().erase(block);
    std::free(block);
}

// The C library cannot give a block's end back in place; the block counts as
// the smaller size from now on.
bool BackendShrinkInPlace(void* block, size_t size) {
    const auto found = LiveBlocks().find(block);
    if (found == LiveBlocks().end() || size > found->second) return false;
    found->second = size;
    return true;
}

bool BackendOwns(const void* block) { return LiveBlocks().count(block) != 0; }

size_t BackendLiveBlockCount() { return LiveBlocks().size(); }

size_t BackendBlockSize(const void* block) {
    const auto found = LiveBlocks().find(block);
    return found != LiveBlocks().end() ? found->second : 0;
}

}  // namespace quillet
