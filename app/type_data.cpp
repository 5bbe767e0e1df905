#include "app/type_data.h"

#include <utility>

namespace quillet::app {
namespace {

// Little-endian words, and texts or byte blocks behind a 32-bit length.
class BlockWriter {
public:
    void Word(uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>(word >> shift));
    }
    void Int(int32_t value) { Word(static_cast<uint32_t>(value)); }
    void HalfWord(uint16_t half) {
        bytes_.push_back(static_cast<char>(half));
        bytes_.push_back(static_cast<char>(half >> 8));
    }
    void Bytes(const std::string& bytes) {
        Word(static_cast<uint32_t>(bytes.size()));
        bytes_ += bytes;
    }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace

std::string WriteTypeData(const WindowTypeData& d) {
    BlockWriter out;
    out.Word(6);
    out.Int(d.borderStyle);
    out.Int(d.pictureMode);
    out.Word(d.backColor);
    out.Int(d.maxButton);
    out.Int(d.minButton);
    out.Int(d.controlBox);
    out.Int(d.windowState);
    out.Int(d.closable);
    out.Int(d.soundPlayMode);
    out.Int(d.enterMovesFocus);
    out.Int(d.escCloses);
    out.Int(d.f1Help);
    out.Int(d.helpTopic);
    out.Int(d.standAlone);
    out.Int(d.dragAnywhere);
    out.Int(d.shape);
    out.Int(d.alwaysOnTop);
    out.Int(d.keepActiveLook);
    out.Bytes(d.className);
    out.Bytes(d.backPicture);
    out.Bytes(d.icon);
    out.Bytes(d.backSound);
    out.Bytes(d.caption);
    out.Bytes(d.helpFile);
    return out.Take();
}

std::string WriteTypeData(const EditBoxTypeData& d) {
    BlockWriter out;
    out.Word(2);
    out.Int(d.borderStyle);
    out.Word(d.textColor);
    out.Word(d.backColor);
    out.Int(d.hideSelection);
    out.Int(d.maxLength);
    out.Int(d.multiLine);
    out.Int(d.scrollBars);
    out.Int(d.alignment);
    out.Int(d.inputMode);
    out.HalfWord(d.passwordChar);
    out.Int(d.caseConversion);
    out.Int(d.spinMode);
    out.Int(d.spinLower);
    out.Int(d.spinUpper);
    out.Int(d.selStart);
    out.Int(d.selLength);
    out.Bytes(d.font);
    out.Bytes(d.content);
    out.Bytes(d.dataSource);
    out.Bytes(d.dataColumn);
    return out.Take();
}

std::string WriteTypeData(const LabelTypeData& d) {
    BlockWriter out;
    out.Word(2);
    out.Int(d.effect);
    out.Int(d.borderWidth);
    out.Int(d.borderStyle);
    for (uint32_t colour : d.borderColors) out.Word(colour);
    out.Word(d.textColor);
    out.Word(d.backColor);
    out.Int(d.pictureMode);
    out.Int(d.gradientMode);
    for (uint32_t colour : d.gradientColors) out.Word(colour);
    out.Int(d.hAlign);
    out.Int(d.vAlign);
    out.Int(d.wordWrap);
    out.Bytes(d.font);
    out.Bytes(d.backPicture);
    out.Bytes(d.caption);
    out.Bytes(d.dataSource);
    out.Bytes(d.dataColumn);
    return out.Take();
}

std::string WriteTypeData(const ButtonTypeData& d) {
    BlockWriter out;
    out.Word(1);
    out.Int(d.buttonType);
    out.Int(d.hAlign);
    out.Int(d.vAlign);
    out.Bytes(d.picture);
    out.Bytes(d.font);
    out.Bytes(d.caption);
    return out.Take();
}

std::string WriteTypeData(const CheckBoxTypeData& d) {
    BlockWriter out;
    out.Word(2);
    out.Int(d.pushLike);
    out.Int(d.flat);
    out.Int(d.textOnLeft);
    out.Int(d.hAlign);
    out.Int(d.vAlign);
    out.Word(d.textColor);
    out.Word(d.backColor);
    out.Int(d.checked);
    out.Bytes(d.picture);
    out.Bytes(d.font);
    out.Bytes(d.caption);
    out.Bytes(d.dataSource);
    out.Bytes(d.dataColumn);
    return out.Take();
}

std::string WriteTypeData(const TabTypeData& d) {
    BlockWriter out;
    out.Word(3);
    out.Int(d.tabPosition);
    out.Int(d.multiLine);
    out.Int(d.currentPage);
    out.Int(d.hideTabs);
    out.Int(d.drawBackground);
    out.Word(d.backColor);
    out.Bytes(d.font);
    // The page list: a 16-bit count (0xFFFF announces a 32-bit one), then the captions.
    const uint32_t count = static_cast<uint32_t>(d.pages.size());
    if (count < 0xFFFF) {
        out.HalfWord(static_cast<uint16_t>(count));
    } else {
        out.HalfWord(0xFFFF);
        out.Word(count);
    }
    for (const std::string& caption : d.pages) out.Bytes(caption);
    return out.Take();
}

}  // namespace quillet::app
