// The heap backend of the host build: the C library's allocator, which the
// sanitizers watch, and a record of the live blocks and the sizes asked for,
// so that tests can tell which blocks are freed and how large the others are.
// It also fails a chosen allocation on purpose, to show that every failure
// ends in the runtime's out-of-memory report or is handled.
#include <cstdlib>
#include <new>
#include <unordered_map>

#include "runtime/values/heap_backend.h"

namespace quillet {
namespace {

// The program is a 32-bit process with 2 GB of address space, which holds the
// program and its other blocks too: a block near 2 GB is never had there.
// Here the address space is larger, so such requests are refused before the
// C library is asked, and fail in both builds.
constexpr size_t Largest = size_t{1} << 30;

// The record's own storage comes from the C library directly: its nodes are
// no allocations of the code under test, so they are neither counted nor failed.
template <typename T>
struct UncountedAllocator {
    using value_type = T;
    UncountedAllocator() = default;
    template <typename U>
    UncountedAllocator(const UncountedAllocator<U>&) {}
    T* allocate(size_t count) {
        void* storage = std::malloc(count * sizeof(T));
        if (storage == nullptr) std::abort();   // the test machinery itself ran out
        return static_cast<T*>(storage);
    }
    void deallocate(T* storage, size_t) { std::free(storage); }
    friend bool operator==(const UncountedAllocator&, const UncountedAllocator&) { return true; }
};

using BlockSizes = std::unordered_map<const void*, size_t, std::hash<const void*>, std::equal_to<const void*>,
                                      UncountedAllocator<std::pair<const void* const, size_t>>>;

BlockSizes& LiveBlocks() {
    // Never destroyed: blocks may be freed by other static objects' destructors.
    alignas(BlockSizes) static unsigned char storage[sizeof(BlockSizes)];
    static auto* blocks = new (storage) BlockSizes();
    return *blocks;
}

bool counting = false;
size_t counted = 0;
size_t failing = 0;   // the number of the allocation that fails; 0 for none

}  // namespace

void StartCountingAllocations() {
    const char* chosen = std::getenv("QUILLET_FAIL_ALLOCATION");
    failing = chosen != nullptr ? std::strtoul(chosen, nullptr, 10) : 0;
    counted = 0;
    counting = true;
}

size_t StopCountingAllocations() {
    counting = false;
    return counted;
}

bool CountAllocation() {
    if (!counting) return true;
    return ++counted != failing;
}

void* BackendAllocate(size_t size) {
    if (size > Largest || !CountAllocation()) return nullptr;
    void* block = std::malloc(size > 0 ? size : 1);
    if (block != nullptr) LiveBlocks()[block] = size;
    return block;
}

void* BackendReallocate(void* block, size_t size) {
    if (size > Largest || !CountAllocation()) return nullptr;
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
