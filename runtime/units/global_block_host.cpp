// The property data blocks of the host build (linked in place of
// global_block.cpp): no global memory there, so a block is a C library block
// of the bytes themselves, which the sanitizers watch and the caller frees
// with std::free.
#include <cstdlib>
#include <cstring>

#include "runtime/units/property_data.h"

namespace quillet {

void* GlobalBlockOf(const std::string& bytes) {
    void* block = std::malloc(bytes.empty() ? 1 : bytes.size());
    if (block != nullptr && !bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

}  // namespace quillet
