#include "app/type_data.h"

#include <cstddef>
#include <utility>

namespace quillet::app {
namespace {

// A 16-bit field of a block, named at the call so that a narrow field is never
// widened to a word by accident.
struct HalfWord {
    uint16_t value;
};

// Little-endian words, and texts or byte blocks behind a 32-bit length. Put
// writes a field as its type says: int32_t and uint32_t as words, arrays word
// by word, strings as blocks, HalfWord as two bytes.
class BlockWriter {
public:
    void Put(uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>(word >> shift));
    }
    void Put(int32_t value) { Put(static_cast<uint32_t>(value)); }
    void Put(HalfWord half) {
        bytes_.push_back(static_cast<char>(half.value));
        bytes_.push_back(static_cast<char>(half.value >> 8));
    }
    template <size_t Count>
    void Put(const uint32_t (&words)[Count]) {
        for (uint32_t word : words) Put(word);
    }
    void Put(const std::string& bytes) {
        Put(static_cast<uint32_t>(bytes.size()));
        bytes_ += bytes;
    }
    // A byte or a flag would otherwise be promoted to a 32-bit word.
    void Put(uint8_t) = delete;
    void Put(bool) = delete;

    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// The version word, then the fields in block order.
template <typename... Fields>
void PutBlock(BlockWriter& out, uint32_t version, const Fields&... fields) {
    out.Put(version);
    (out.Put(fields), ...);
}

template <typename... Fields>
std::string Block(uint32_t version, const Fields&... fields) {
    BlockWriter out;
    PutBlock(out, version, fields...);
    return out.Take();
}

}  // namespace

std::string WriteTypeData(const WindowTypeData& d) {
    return Block(6, d.borderStyle, d.pictureMode, d.backColor, d.maxButton, d.minButton, d.controlBox,
                 d.windowState, d.closable, d.soundPlayMode, d.enterMovesFocus, d.escCloses, d.f1Help,
                 d.helpTopic, d.standAlone, d.dragAnywhere, d.shape, d.alwaysOnTop, d.keepActiveLook,
                 d.className, d.backPicture, d.icon, d.backSound, d.caption, d.helpFile);
}

std::string WriteTypeData(const EditBoxTypeData& d) {
    return Block(2, d.borderStyle, d.textColor, d.backColor, d.hideSelection, d.maxLength, d.multiLine,
                 d.scrollBars, d.alignment, d.inputMode, HalfWord{d.passwordChar}, d.caseConversion, d.spinMode,
                 d.spinLower, d.spinUpper, d.selStart, d.selLength, d.font, d.content, d.dataSource,
                 d.dataColumn);
}

std::string WriteTypeData(const LabelTypeData& d) {
    return Block(2, d.effect, d.borderWidth, d.borderStyle, d.borderColors, d.textColor, d.backColor,
                 d.pictureMode, d.gradientMode, d.gradientColors, d.hAlign, d.vAlign, d.wordWrap, d.font,
                 d.backPicture, d.caption, d.dataSource, d.dataColumn);
}

std::string WriteTypeData(const ButtonTypeData& d) {
    return Block(1, d.buttonType, d.hAlign, d.vAlign, d.picture, d.font, d.caption);
}

std::string WriteTypeData(const CheckBoxTypeData& d) {
    return Block(2, d.pushLike, d.flat, d.textOnLeft, d.hAlign, d.vAlign, d.textColor, d.backColor, d.checked,
                 d.picture, d.font, d.caption, d.dataSource, d.dataColumn);
}

std::string WriteTypeData(const TabTypeData& d) {
    BlockWriter out;
    PutBlock(out, 3, d.tabPosition, d.multiLine, d.currentPage, d.hideTabs, d.drawBackground, d.backColor, d.font);
    // The page list: a 16-bit count (0xFFFF announces a 32-bit one), then the captions.
    const uint32_t count = static_cast<uint32_t>(d.pages.size());
    if (count < 0xFFFF) {
        out.Put(HalfWord{static_cast<uint16_t>(count)});
    } else {
        out.Put(HalfWord{0xFFFF});
        out.Put(count);
    }
    for (const std::string& caption : d.pages) out.Put(caption);
    return out.Take();
}

}  // namespace quillet::app
