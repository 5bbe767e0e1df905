// Fuzz target: the unit types' PropertyData readers, chosen by the first byte
// (window, tab, edit box, label, push button, check box, and the tab's page
// list value), on any bytes after it. Each block is refused or read.
//
// A block of the current version is checked against a plain model of its
// format: refused exactly when it ends before its last field or a length runs
// past its end, and otherwise written back to its own bytes with logicals made
// 0 or 1, picks brought into range, bytes after the last field dropped and the
// tab's page count written narrow (one empty page for none). Older versions
// lack fields the writer writes, so their bytes never come back; for them, as
// for every block read, written, read and written again gives the same bytes.
//
// EnumTexts offers each text in the type's order (a font's face name only for a
// 60-byte font, flagged) and writes back the block with the replacements, face
// names cut between characters; a refused block gives null and keeps its length.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "runtime/units/button/button_data.h"
#include "runtime/units/edit/edit_data.h"
#include "runtime/units/font_data.h"
#include "runtime/units/label/label_data.h"
#include "runtime/units/tab/tab_data.h"
#include "runtime/units/window/window_data.h"
#include "tests/support/holds.h"


namespace {

using namespace quillet;

// The format model.

// How a reader keeps one of a block's fixed fields.
enum class Keep : uint8_t { Word, Logical, Pick, NotNegative, LowByteOf16 };
struct Field {
    Keep keep;
    int32_t lastChoice;
};
constexpr Field W{Keep::Word, 0}, L{Keep::Logical, 0}, N{Keep::NotNegative, 0}, H{Keep::LowByteOf16, 0};
constexpr Field P(int32_t lastChoice) { return {Keep::Pick, lastChoice}; }

// A type's current version: the fixed fields after the version word, then
// length-prefixed byte blocks, then (the tab) the page list.
struct Format {
    uint32_t version;
    std::vector<Field> fixed;
    int blocks;
    bool pageList;
};

const Format WindowFormat{6, {P(6), P(3), W, L, L, L, P(3), L, P(2), L, L, L, W, L, L, P(29), L, L}, 6, false};
const Format TabFormat{3, {P(3), L, W, L, L, W}, 1, true};
const Format EditFormat{2, {P(5), W, W, L, N, L, P(3), P(2), P(11), H, P(2), P(2), W, W, W, W}, 4, false};
const Format LabelFormat{2, {P(3), W, P(6), W, W, W, W, W, P(2), P(8), W, W, W, P(2), P(2), W}, 5, false};
const Format PushButtonFormat{1, {P(1), P(2), P(2)}, 3, false};
const Format CheckBoxFormat{2, {W, W, W, P(2), P(2), W, W, W}, 5, false};

// Little-endian reads that say when the bytes have ended.
class Walk {
public:
    explicit Walk(const std::string& bytes) : bytes_(bytes) {}
    std::optional<uint32_t> Number(size_t width) {
        if (bytes_.size() - at_ < width) return std::nullopt;
        uint32_t value = 0;
        for (size_t k = 0; k < width; ++k)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[at_ + k])) << 8 * k;
        at_ += width;
        return value;
    }
    std::optional<std::string> Block() {
        const std::optional<uint32_t> length = Number(4);
        if (!length || bytes_.size() - at_ < *length) return std::nullopt;
        at_ += *length;
        return bytes_.substr(at_ - *length, *length);
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    size_t at_ = 0;
};

void Put(std::string& out, uint32_t value, size_t width = 4) {
    for (size_t k = 0; k < width; ++k) out.push_back(static_cast<char>(value >> 8 * k));
}

// The page list's captions: every complete page of those counted.
struct PageList {
    std::vector<std::string> captions;
    bool complete = false;  // the count and every page it counts were there
    bool wide = false;      // the count was 0xFFFF and a 32-bit count
};

PageList ModelPages(Walk& in) {
    PageList pages;
    std::optional<uint32_t> count = in.Number(2);
    pages.wide = count == 0xFFFFu;
    if (pages.wide) count = in.Number(4);
    if (!count) return pages;
    for (uint32_t k = 0; k < *count; ++k) {
        std::optional<std::string> caption = in.Block();
        if (!caption) return pages;
        pages.captions.push_back(*caption);
    }
    pages.complete = true;
    return pages;
}

std::string ModelPageBytes(std::vector<std::string> captions) {
    if (captions.empty()) captions.emplace_back();
    std::string out;
    const auto count = static_cast<uint32_t>(captions.size());
    Put(out, count < 0xFFFF ? count : 0xFFFF, 2);
    if (count >= 0xFFFF) Put(out, count);
    for (const std::string& caption : captions) {
        Put(out, static_cast<uint32_t>(caption.size()));
        out += caption;
    }
    return out;
}

// What reading and writing a block of the current version gives; none when
// the block ends before its last field.
std::optional<std::string> ModelBlock(const Format& format, const std::string& block) {
    Walk in(block);
    std::string out;
    Put(out, *in.Number(4));
    for (const Field& field : format.fixed) {
        const std::optional<uint32_t> word = in.Number(field.keep == Keep::LowByteOf16 ? 2 : 4);
        if (!word) return std::nullopt;
        const auto value = static_cast<int32_t>(*word);
        switch (field.keep) {
        case Keep::Word: Put(out, *word); break;
        case Keep::Logical: Put(out, *word != 0 ? 1 : 0); break;
        case Keep::Pick: Put(out, static_cast<uint32_t>(std::clamp(value, 0, field.lastChoice))); break;
        case Keep::NotNegative: Put(out, static_cast<uint32_t>(std::max(value, 0))); break;
        case Keep::LowByteOf16: Put(out, *word & 0xFF, 2); break;
        }
    }
    for (int k = 0; k < format.blocks; ++k) {
        const std::optional<std::string> bytes = in.Block();
        if (!bytes) return std::nullopt;
        Put(out, static_cast<uint32_t>(bytes->size()));
        out += *bytes;
    }
    if (!format.pageList) return out;
    const PageList pages = ModelPages(in);
    if (!pages.complete) return std::nullopt;
    return out + ModelPageBytes(pages.captions);
}

// EnumTexts: the replacements the callback hands out in turn, and what each
// makes of a face name (31 bytes at most, a double-byte character whole).
struct Replacement {
    std::string text;
    std::string asFaceName;
    bool keeps = false;  // the callback answers null
};

std::string Song(int times) {  // 宋, a double-byte character
    std::string text;
    while (times-- > 0) text += "\xCB\xCE";
    return text;
}

const std::vector<Replacement>& Replacements() {
    static const std::vector<Replacement> all = {
        {"", "", true},
        {"Tahoma", "Tahoma"},
        {"", ""},
        {std::string(32, 'F'), std::string(31, 'F')},
        {Song(20), Song(15)},
        {"a" + Song(16), "a" + Song(15)},
        {"\xCB", "\xCB"},  // a lead byte alone
    };
    return all;
}

struct Offered {
    std::string text;
    uint32_t flags;
};
struct EnumRun {
    uint8_t first;  // the replacement the first text gets
    std::vector<Offered> offered;
};

const Replacement& ReplacementFor(uint8_t first, size_t offer) {
    return Replacements()[(first + offer) % Replacements().size()];
}

const char* Replace(const char* text, uint32_t flags, uintptr_t userWord) {
    EnumRun& run = *reinterpret_cast<EnumRun*>(userWord);
    const Replacement& replacement = ReplacementFor(run.first, run.offered.size());
    run.offered.push_back({text, flags});
    return replacement.keeps ? nullptr : replacement.text.c_str();
}

// One of the readers, with its writer, EnumTexts and texts in the order offered.
struct Offer {
    std::string* text;
    bool font;  // a font block, whose face name is offered
};
template <typename Data>
struct Reader {
    const Format& format;
    Data empty;  // before reading
    bool readsEmptyBlock;
    bool (*read)(const void* bytes, int32_t length, Data* data);
    void (*write)(const Data& data, PropertyDataWriter& writer);
    void* (*enumTexts)(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord);
    std::vector<Offer> (*offers)(Data& data);
};

template <typename Data>
std::string Written(const Reader<Data>& reader, const Data& data) {
    PropertyDataWriter writer;
    reader.write(data, writer);
    return writer.Data();
}

// The replacements applied to the texts as the model offers them.
template <typename Data>
std::string ModelEnumTexts(const Reader<Data>& reader, Data data, const EnumRun& run) {
    size_t offer = 0;
    for (const Offer& field : reader.offers(data)) {
        if (field.font && field.text->size() != sizeof(FontData)) continue;  // no face name
        ASSERT_HOLDS(offer < run.offered.size(), "every text is offered");
        const Offered& seen = run.offered[offer];
        const Replacement& replacement = ReplacementFor(run.first, offer++);
        if (!field.font) {
            ASSERT_HOLDS(seen.text == field.text->c_str() && seen.flags == 0, "a text offered as it is");
            if (!replacement.keeps) *field.text = replacement.text;
            continue;
        }
        char* face = field.text->data() + offsetof(FontData, lfFaceName);
        const std::string offered(face, strnlen(face, FaceNameSize - 1));
        ASSERT_HOLDS(seen.text == offered && seen.flags == EnumTextFlag::FontName,
                     "a face name offered as a font name");
        if (replacement.keeps) continue;  // the font block as it was
        std::memset(face, 0, FaceNameSize);
        std::memcpy(face, replacement.asFaceName.data(), replacement.asFaceName.size());
    }
    ASSERT_HOLDS(offer == run.offered.size(), "no text is offered twice");
    return Written(reader, data);
}

template <typename Data>
void CheckEnumTexts(const Reader<Data>& reader, const uint8_t* bytes, int32_t length, const Data* read, uint8_t first) {
    EnumRun run{first, {}};
    int32_t resultLength = length;
    void* result = reader.enumTexts(bytes, &resultLength, Replace, reinterpret_cast<uintptr_t>(&run));
    if (read == nullptr) {
        ASSERT_HOLDS(result == nullptr && resultLength == length && run.offered.empty(), "a refused block gives null");
        return;
    }
    const std::string expected = ModelEnumTexts(reader, *read, run);
    ASSERT_HOLDS(result != nullptr && static_cast<size_t>(resultLength) == expected.size() &&
                 std::memcmp(result, expected.data(), expected.size()) == 0, "the block with the replacements");
    std::free(result);
}

template <typename Data>
void CheckReader(const Reader<Data>& reader, const uint8_t* bytes, int32_t length, uint8_t first) {
    Data read = reader.empty;
    const bool accepted = reader.read(bytes, length, &read);
    const std::string block(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    uint32_t version = 0;
    if (length >= 4) std::memcpy(&version, bytes, 4);
    if (length < 4) {
        ASSERT_HOLDS(accepted == (length == 0 && reader.readsEmptyBlock), "no version, no block");
    } else if (version > reader.format.version) {
        ASSERT_HOLDS(!accepted, "a later version is refused");
    } else if (version == reader.format.version) {
        const std::optional<std::string> expected = ModelBlock(reader.format, block);
        ASSERT_HOLDS(accepted == expected.has_value(), "refused exactly when a field is missing");
        ASSERT_HOLDS((!accepted || Written(reader, read) == *expected), "written back to its own bytes");
    }
    CheckEnumTexts(reader, bytes, length, accepted ? &read : nullptr, first);
    if (!accepted) return;

    const std::string once = Written(reader, read);
    Data again = reader.empty;
    const bool reread = reader.read(once.data(), static_cast<int32_t>(once.size()), &again);
    ASSERT_HOLDS(reread && Written(reader, again) == once, "written, read and written again: the same bytes");
}

const Reader<WindowOptions> WindowReader{
    WindowFormat, WindowOptions{}, true, ReadWindowData, WriteWindowData, EnumWindowTexts,
    [](WindowOptions& d) {
        return std::vector<Offer>{{&d.className, false}, {&d.caption, false}, {&d.helpFile, false}};
    }};
const Reader<TabData> TabReader{
    TabFormat, TabData{}, false, ReadTabData, WriteTabData, EnumTabTexts, [](TabData& d) {
        std::vector<Offer> offers{{&d.font, true}};
        for (std::string& caption : d.pages) offers.push_back({&caption, false});
        return offers;
    }};
const Reader<EditBoxData> EditReader{
    EditFormat, EditBoxData{}, false, ReadEditBoxData, WriteEditBoxData, EnumEditBoxTexts, [](EditBoxData& d) {
        return std::vector<Offer>{{&d.content, false}, {&d.font, true}, {&d.dataSource, false}, {&d.dataColumn, false}};
    }};
const Reader<LabelData> LabelReader{
    LabelFormat, LabelData{}, false, ReadLabelData, WriteLabelData, EnumLabelTexts, [](LabelData& d) {
        return std::vector<Offer>{{&d.caption, false}, {&d.font, true}, {&d.dataSource, false}, {&d.dataColumn, false}};
    }};
// The button types' data, read and enumerated as the kind's own.
template <ButtonKind Kind>
Reader<ButtonData> ButtonReader(const Format& format, std::vector<Offer> (*offers)(ButtonData&)) {
    return {format, DefaultButtonData(Kind), false,
            [](const void* bytes, int32_t length, ButtonData* d) { return ReadButtonData(Kind, bytes, length, d); },
            WriteButtonData,
            [](const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
                return EnumButtonTexts(Kind, bytes, length, callback, userWord);
            },
            offers};
}
const Reader<ButtonData> PushButtonReader = ButtonReader<ButtonKind::PushButton>(
    PushButtonFormat, [](ButtonData& d) { return std::vector<Offer>{{&d.caption, false}, {&d.font, true}}; });
const Reader<ButtonData> CheckBoxReader =
    ButtonReader<ButtonKind::CheckBox>(CheckBoxFormat, [](ButtonData& d) {
        return std::vector<Offer>{{&d.caption, false}, {&d.font, true}, {&d.dataSource, false}, {&d.dataColumn, false}};
    });

// The window's icon as interface 7 hands it out, and its byte values as SetProperty takes them.
void CheckWindowExtras(const uint8_t* bytes, int32_t length) {
    WindowOptions options;
    const bool accepted = ReadWindowData(bytes, length, &options);
    void* icon = GetWindowIconData(bytes, length);
    ASSERT_HOLDS((icon != nullptr) == (accepted && !options.icon.empty()), "an icon only from a block that has one");
    ASSERT_HOLDS((icon == nullptr || std::memcmp(icon, options.icon.data(), options.icon.size()) == 0), "its bytes");
    std::free(icon);
    ASSERT_HOLDS(BytesFromValue(BytesValue(options.backPicture)) == options.backPicture, "a byte value and back");
    ASSERT_HOLDS(TextFromValue(BytesValue(options.caption)) == options.caption.c_str(), "a text value and back");
}

// The Pages value: every complete page, one empty page for none, and a written list reads back the same.
void CheckPageList(const uint8_t* bytes, int32_t length) {
    const std::vector<std::string> pages = ReadPageListValue(bytes, static_cast<uint32_t>(length));
    const std::string block(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    Walk in(block);
    const PageList model = ModelPages(in);
    const std::string written = WritePageList(pages);
    ASSERT_HOLDS(written == ModelPageBytes(model.captions), "the complete pages");
    ASSERT_HOLDS(ReadPageListValue(written.data(), static_cast<uint32_t>(written.size())) == pages, "and back");
    const bool canonical = model.complete && in.AtEnd() && !model.captions.empty() &&
                           model.wide == (model.captions.size() >= 0xFFFF);
    ASSERT_HOLDS((!canonical || written == block), "a whole list, its count as narrow as it can be, comes back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > INT32_MAX) return 0;
    // The block is the rest of the fuzzer's bytes, past whose end nothing may read.
    const uint8_t* bytes = data + 1;
    const auto length = static_cast<int32_t>(size - 1);
    const uint8_t first = data[0] / 7;  // where the EnumTexts replacements start
    switch (data[0] % 7) {
    case 0:
        CheckReader(WindowReader, bytes, length, first);
        CheckWindowExtras(bytes, length);
        break;
    case 1: CheckReader(TabReader, bytes, length, first); break;
    case 2: CheckReader(EditReader, bytes, length, first); break;
    case 3: CheckReader(LabelReader, bytes, length, first); break;
    case 4: CheckReader(PushButtonReader, bytes, length, first); break;
    case 5: CheckReader(CheckBoxReader, bytes, length, first); break;
    default: CheckPageList(bytes, length); break;
    }
    return 0;
}
