// A fuzz target's call on one input, with one allocation failing on purpose:
// linked in place of libFuzzer's main, it counts the allocations of the call
// (the runtime heap's and operator new's) and fails the Nth when
// QUILLET_FAIL_ALLOCATION=N is set, then prints how many there were.
// scripts/allocation-failures runs it once per N, each in a process of
// its own, since running out of memory ends the process. A call that
// completes must leave no block of the runtime heap behind: the heap keeps
// its blocks on a list, so the leak sanitizer cannot see them.
//   runner SEED_FILE
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "runtime/values/heap_backend.h"
#include "tests/support/holds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// As the standard operator new: the new handler (the runtime's out-of-memory
// report), or std::bad_alloc without one. Blocks come from the C library, so
// the sanitizers still watch them.
void* AllocateCounted(size_t size) {
    for (;;) {
        if (quillet::CountAllocation())
            if (void* block = std::malloc(size > 0 ? size : 1)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void* AllocateCountedOrNull(size_t size) noexcept {
    try {
        return AllocateCounted(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

void* operator new(size_t size) { return AllocateCounted(size); }
void* operator new[](size_t size) { return AllocateCounted(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateCountedOrNull(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateCountedOrNull(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FILE\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const std::vector<uint8_t> input{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    static const uint8_t none = 0;   // libFuzzer never passes null, not even for no bytes
    const size_t liveBefore = quillet::BackendLiveBlockCount();
    quillet::StartCountingAllocations();
    LLVMFuzzerTestOneInput(input.empty() ? &none : input.data(), input.size());
    const size_t counted = quillet::StopCountingAllocations();
    ASSERT_HOLDS(quillet::BackendLiveBlockCount() == liveBefore, "the call leaves no block of the runtime heap behind");
    std::printf("allocations: %zu\n", counted);
    return 0;
}
