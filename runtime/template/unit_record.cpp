#include "runtime/template/unit_record.h"

namespace quillet {
namespace {

// A cursor over one record's bytes that refuses to step past its end.
class FieldWalker {
public:
    FieldWalker(const uint8_t* bytes, uint32_t length) : bytes_(bytes), length_(length) {}

    uint32_t Position() const { return position_; }
    bool Skip(uint32_t count) {
        if (count > length_ - position_) return false;
        position_ += count;
        return true;
    }
    bool Word(uint32_t* word) {
        if (length_ - position_ < 4) return false;
        *word = ReadWordAt(bytes_, position_);
        position_ += 4;
        return true;
    }
    // Past a text and its 0 byte; false when the record ends first.
    bool Text() {
        const void* zero = std::memchr(bytes_ + position_, 0, length_ - position_);
        if (zero == nullptr) return false;
        position_ = static_cast<uint32_t>(static_cast<const uint8_t*>(zero) - bytes_) + 1;
        return true;
    }

private:
    const uint8_t* bytes_;
    uint32_t length_;
    uint32_t position_ = 0;
};

bool ParseMenuItem(FieldWalker& walk, RecordLayout* layout) {
    if (!walk.Skip(12)) return false;  // shortcut, nesting level, flags
    layout->caption = walk.Position();
    if (!walk.Text()) return false;
    layout->menuHandler = walk.Position();
    return walk.Skip(4 + 4 + 12);      // handler, runtime slot, reserved
}

bool ParseUnit(FieldWalker& walk, RecordLayout* layout) {
    uint32_t mouseLength = 0;
    if (!walk.Skip(28) || !walk.Word(&layout->childCount)) return false;
    if (layout->childCount > (layout->length - walk.Position()) / 4 || !walk.Skip(4 * layout->childCount)) return false;
    layout->mouseData = walk.Position();
    if (!walk.Word(&mouseLength) || !walk.Skip(mouseLength)) return false;
    layout->tag = walk.Position();
    if (!walk.Text() || !walk.Skip(4)) return false;  // tag, reserved word
    layout->flags = walk.Position();
    if (!walk.Skip(8) || !walk.Word(&layout->bindingCount)) return false;  // flags, focus order
    layout->bindings = walk.Position();
    if (layout->bindingCount > (layout->length - walk.Position()) / 8) return false;
    if (!walk.Skip(8 * layout->bindingCount) || !walk.Skip(20)) return false;
    layout->typeData = walk.Position();
    return true;
}

}  // namespace

bool ParseRecordLayout(const uint8_t* bytes, uint32_t length, bool isMenuItem, RecordLayout* layout) {
    *layout = RecordLayout{};
    layout->length = length;
    layout->isMenuItem = isMenuItem;
    FieldWalker walk(bytes, length);
    if (!walk.Skip(24)) return false;                 // type, event source, reserved
    if (!walk.Text() || !walk.Text()) return false;   // name, second text
    layout->fixedFields = walk.Position();
    return layout->isMenuItem ? ParseMenuItem(walk, layout) : ParseUnit(walk, layout);
}

}  // namespace quillet
