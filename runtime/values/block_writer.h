#pragma once
// Conversions write through a small buffer and add it to the result a block at
// a time: a big text costs one pass and no growing per character.
#include <cstddef>
#include <string>

namespace quillet {

template <typename Unit>
class BlockWriter {
public:
    explicit BlockWriter(std::basic_string<Unit>* out) : out_(out) {}
    ~BlockWriter() { Flush(); }
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Room for at least four more units.
    Unit* Room() {
        if (used_ > Size - 4) Flush();
        return buffer_ + used_;
    }
    void Took(size_t units) { used_ += units; }

private:
    static constexpr size_t Size = 8192;
    void Flush() {
        out_->append(buffer_, used_);
        used_ = 0;
    }
    std::basic_string<Unit>* out_;
    Unit buffer_[Size];
    size_t used_ = 0;
};

}  // namespace quillet
