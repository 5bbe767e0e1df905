// Fuzz target: the text converter. Any bytes, read as a runtime text, convert
// to UTF-16 and back; a text that keeps its bytes comes back exactly, any
// other is stable after one pass. The same bytes, read as UTF-16 units, come
// back exactly where they are well-formed, a lone surrogate as U+FFFD. The
// position walks agree with the conversion. The same bytes as a file: refused
// exactly when they hold a 0 byte (a 0 unit in UTF-16), kept as they are when
// they are GBK, and otherwise a text of well-formed characters; read with their
// form, they are written back to the same bytes unless a malformed sequence
// was replaced; as GB18030, the bulk decoder agrees with the walk of single
// sequences. The same bytes as a text saved in some form and read back in the
// form it was written in: the same text.
#include <algorithm>
#include <cstdint>
#include <string>

#include "runtime/values/text_encoding.h"
#include "runtime/values/text_file.h"
#include "tests/support/holds.h"


namespace {

using namespace quillet;

void CheckBytes(const std::string& text) {
    const WideString wide = WideFromText(text.data(), text.size());
    const std::string once = TextFromWide(wide.data(), wide.size());
    ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()) == (once == text),
                 "KeepsItsBytes says whether the text comes back");
    ASSERT_HOLDS(KeepsItsBytes(once.data(), once.size()), "one pass gives a text that keeps its bytes");
    ASSERT_HOLDS(WideFromText(once.data(), once.size()) == wide, "one pass keeps the characters");
    ASSERT_HOLDS(WideLength(text.data(), text.size()) == wide.size(), "WideLength counts the units");

    // The walks from the start, at about 32 character boundaries (each walk is linear).
    const size_t every = text.size() / 32 + 1;
    size_t units = 0;
    for (size_t at = 0, index = 0; at < text.size(); ++index) {
        const TextCharacter c = CharacterAt(text.data(), text.size(), at);
        ASSERT_HOLDS(c.bytes >= 1 && c.bytes <= 4 && at + c.bytes <= text.size(), "a character lies within the text");
        if (index % every == 0) {
            ASSERT_HOLDS(WideOffsetOf(text.data(), text.size(), at) == units, "WideOffsetOf at a boundary");
            ASSERT_HOLDS(ByteOffsetOf(text.data(), text.size(), units) == at, "ByteOffsetOf of a boundary's units");
            ASSERT_HOLDS(CharacterBoundaryBefore(text.data(), text.size(), at + c.bytes - 1) == at,
                         "CharacterBoundaryBefore inside a character");
        }
        units += WideUnits(c.codePoint);
        at += c.bytes;
    }
}

void CheckUnits(const WideString& wide) {
    WideString expected;  // lone surrogates as U+FFFD
    for (size_t at = 0; at < wide.size(); ++at) {
        const uint32_t unit = static_cast<uint16_t>(wide[at]);
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        if (high && at + 1 < wide.size() && static_cast<uint16_t>(wide[at + 1]) >= 0xDC00 &&
            static_cast<uint16_t>(wide[at + 1]) < 0xE000) {
            expected += wide[at];
            expected += wide[++at];
        } else {
            expected += unit >= 0xD800 && unit < 0xE000 ? static_cast<WideChar>(0xFFFD) : wide[at];
        }
    }
    const std::string text = TextFromWide(wide.data(), wide.size());
    ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()), "a converted text keeps its bytes");
    ASSERT_HOLDS(WideFromText(text.data(), text.size()) == expected, "UTF-16 comes back");
}

void CheckFile(const uint8_t* bytes, size_t size) {
    const bool utf16 = size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
    bool zero = false;
    for (size_t at = utf16 ? 2 : 0; at < size && !zero; at += utf16 ? 2 : 1)
        zero = bytes[at] == 0 && (!utf16 || (at + 1 < size && bytes[at + 1] == 0));
    std::string text;
    TextFileKind kind = TextFileKind::NotText;
    const bool read = DecodeTextFile(bytes, size, &text, &kind);
    ASSERT_HOLDS(read == !zero && (kind == TextFileKind::NotText) == zero, "refused exactly for a 0 byte or unit");
    if (!read) {
        ASSERT_HOLDS(text.empty(), "a refused file leaves the text alone");
    } else if (kind == TextFileKind::Gbk) {
        ASSERT_HOLDS(text == std::string(reinterpret_cast<const char*>(bytes), size), "GBK keeps its bytes");
    } else {
        ASSERT_HOLDS(KeepsItsBytes(text.data(), text.size()), "decoded text is well-formed characters");
    }
    if (!read) return;

    // GB18030's walk from the start: the kind and the bulk decoder agree with it.
    std::string decoded;
    size_t invalid = 0;
    bool fourByte = false;
    for (size_t at = 0; at < size;) {
        const Gb18030Sequence s = Gb18030SequenceAt(bytes, size, at);
        ASSERT_HOLDS(s.length >= 1 && at + s.length <= size, "a sequence lies within the bytes");
        char code[4];
        decoded.append(code, EncodeCharacter(s.codePoint, code));
        invalid += s.valid ? 0 : 1;
        fourByte = fourByte || s.length == 4;
        at += s.length;
    }
    std::string bulk;
    ASSERT_HOLDS(AppendFromGb18030(bytes, size, &bulk) == invalid && bulk == decoded, "the bulk decoder");
    if (kind == TextFileKind::Gbk || kind == TextFileKind::Gb18030)
        ASSERT_HOLDS((kind == TextFileKind::Gb18030) == fourByte, "GB18030 exactly when it holds a four-byte code");
    const Utf8Census census = CountUtf8(bytes, size);
    const bool utf8 = (census.malformed == 0 && !census.cutAtEnd && census.multiByte > 0) ||
                      (census.multiByte >= MinimumUtf8Sequences &&
                       census.malformed * MultiByteSequencesPerMalformed <= census.multiByte);
    ASSERT_HOLDS(MarkSize(kind) > 0 || (kind == TextFileKind::Utf8) == utf8, "UTF-8 by the census's rule");

    text.clear();
    TextFileForm form;
    FileTextCounts counts;
    ASSERT_HOLDS(ReadTextFile(bytes, size, &text, &form, &counts) && form.kind == kind, "read as decoded");
    size_t unknown = 0;
    for (size_t at = 0; kind == TextFileKind::Gbk && at < size;) {
        const TextCharacter c = CharacterAt(reinterpret_cast<const char*>(bytes), size, at);
        unknown += c.codePoint == '?' && bytes[at] != '?' ? 1 : 0;
        at += c.bytes;
    }
    ASSERT_HOLDS(counts.unknownBytes == unknown, "GBK's places that are no character are counted");
    std::string written;
    MissingCharacter missing;
    ASSERT_HOLDS(WriteTextFile(text.data(), text.size(), form, &written, &missing) &&
                     (counts.replaced > 0 || written == std::string(reinterpret_cast<const char*>(bytes), size)),
                 "a file read and written is the same bytes");
}

void CheckSave(const uint8_t* data, size_t size) {
    if (size < 1 || std::find(data, data + size, 0) != data + size) return;
    const TextFileForm form{static_cast<TextFileKind>(data[0] % 6), static_cast<LineBreak>(data[0] / 6 % 3),
                            data[0] / 18 % 2 == 1};
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (form.kind != TextFileKind::Gbk) {  // only GBK keeps bytes that are no character
        const WideString wide = WideFromText(text.data(), text.size());
        text = TextFromWide(wide.data(), wide.size());
    }
    std::string bytes = "kept";
    MissingCharacter missing;
    if (!WriteTextFile(text.data(), text.size(), form, &bytes, &missing)) {
        ASSERT_HOLDS(form.kind == TextFileKind::Gbk && bytes == "kept", "only GBK lacks characters");
        ASSERT_HOLDS(CharacterAt(text.data(), text.size(), missing.offset).bytes == 4 &&
                         CharacterBoundaryBefore(text.data(), text.size(), missing.offset) == missing.offset &&
                         NewTextForm(text.data(), text.size()).kind == TextFileKind::Utf8 &&
                         WriteTextFile(text.data(), missing.offset, form, &bytes, &missing),
                     "the missing character is the first four-byte code");
        return;
    }
    // As the file ends: one CR LF more or less.
    const bool endsWithCrLf = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
    if (!form.endsWithBreak && endsWithCrLf) text.resize(text.size() - 2);
    if (form.endsWithBreak && !text.empty() && !endsWithCrLf) text += "\r\n";
    std::string back;
    TextFileForm backForm;
    FileTextCounts counts;
    const auto* file = reinterpret_cast<const uint8_t*>(bytes.data()) + 4;
    ASSERT_HOLDS(ReadTextFile(file, bytes.size() - 4, &back, &backForm, &counts), "a written file reads");
    ASSERT_HOLDS(MarkSize(form.kind) == 0 || backForm.kind == form.kind, "a mark says the kind");
    // Comparable when read back in the kind and break written; a CR or LF that is no half of a CR LF would
    // be a break but in a CR LF file, and in a text without CR LF.
    const bool hasBreak = text.find("\r\n") != std::string::npos;
    bool lone = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool crLf = text.compare(at, 2, "\r\n") == 0;
        lone = lone || (text[at] == '\r' && !crLf) || (text[at] == '\n' && (at == 0 || text[at - 1] != '\r'));
    }
    if (backForm.kind != form.kind ||
        (hasBreak ? backForm.lineBreak != form.lineBreak || (lone && form.lineBreak != LineBreak::CrLf) : lone))
        return;
    ASSERT_HOLDS(back == text && counts.replaced == 0, "a text written and read back comes back");
    // A text ending in an empty line written without a last break still ends with a break.
    ASSERT_HOLDS(backForm.endsWithBreak == (hasBreak && text.compare(text.size() - 2, 2, "\r\n") == 0),
                 "the file ends with a break exactly when the text written does");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckBytes(std::string(reinterpret_cast<const char*>(data), size));
    CheckFile(data, size);
    CheckSave(data, size);
    WideString wide;
    for (size_t at = 0; at + 1 < size; at += 2) wide += static_cast<WideChar>(data[at] | data[at + 1] << 8);
    CheckUnits(wide);
    return 0;
}
