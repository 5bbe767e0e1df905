#include "runtime/values/profile_text.h"

#include <algorithm>
#include <utility>

#include "runtime/values/text_encoding.h"

namespace quillet {
namespace {

constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view CrLf = "\r\n";

// The platform's spaces around names and values: ASCII's, and ^Z (DOS's end
// of file, left in files copied from old media).
bool IsProfileSpace(char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1A'; }

// These are ASCII, which no byte of a multi-byte character is, so the ends of
// a runtime text can be cut byte by byte.
std::string_view WithoutLeadingSpaces(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
    return text;
}
std::string_view WithoutTrailingSpaces(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
    return text;
}
std::string_view Trimmed(std::string_view text) { return WithoutTrailingSpaces(WithoutLeadingSpaces(text)); }

// Where the ASCII character c stands as a character of its own (a GBK trail
// byte can be ']'): the first or the last place, or npos.
size_t PlaceOf(std::string_view text, char c, bool last) {
    size_t found = std::string_view::npos;
    for (size_t at = 0; at < text.size();) {
        const TextCharacter character = CharacterAt(text.data(), text.size(), at);
        if (character.bytes == 1 && text[at] == c) {
            found = at;
            if (!last) break;
        }
        at += character.bytes;
    }
    return found;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Character by character, ASCII letters without case: the bytes of a
// multi-byte character compare exactly, though some are ASCII letters.
bool SameName(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) return false;
    for (size_t at = 0; at < left.size();) {
        const TextCharacter character = CharacterAt(left.data(), left.size(), at);
        if (character.bytes == 1 ? AsciiLower(left[at]) != AsciiLower(right[at])
                                 : left.substr(at, character.bytes) != right.substr(at, character.bytes))
            return false;
        at += character.bytes;
    }
    return true;
}

std::string WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void ReadLine(std::string_view text, ProfileLine* line) {
    const std::string_view said = Trimmed(text);
    if (said.empty()) return;
    const size_t close = said.front() == '[' ? PlaceOf(said, ']', true) : std::string_view::npos;
    if (close != std::string_view::npos) {
        line->kind = ProfileLineKind::Section;
        line->name = Trimmed(said.substr(1, close - 1));
        return;
    }
    line->kind = ProfileLineKind::Key;
    const size_t equals = PlaceOf(said, '=', false);
    line->hasValue = equals != std::string_view::npos;
    line->name = WithoutTrailingSpaces(said.substr(0, equals));
    if (line->hasValue) line->value = WithoutLeadingSpaces(said.substr(equals + 1));
}

// The kind of a settings file. Without a mark, UTF-8 must be sure: a GBK list
// such as 隆,楼 (C2 A1 2C C2 A5) is two-byte UTF-8 by chance, while Chinese in
// UTF-8 takes three bytes a character.
TextFileKind KindOfProfile(const std::string& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const TextFileKind marked = KindByMark(data, bytes.size());
    if (marked != TextFileKind::Gbk) return marked;
    const Utf8Census census = CountUtf8(data, bytes.size());
    return census.malformed == 0 && !census.cutAtEnd && census.threeOrFour > 0 ? TextFileKind::Utf8
                                                                               : TextFileKind::Gbk;
}

}  // namespace

ProfileText::ProfileText(std::string bytes) : bytes_(std::move(bytes)), kind_(KindOfProfile(bytes_)) { ReadLines(); }

void ProfileText::ReadLines() {
    lines_.clear();
    const bool utf16 = kind_ == TextFileKind::Utf16Le || kind_ == TextFileKind::Utf16Be;
    const size_t width = utf16 ? 2 : 1;
    const size_t low = kind_ == TextFileKind::Utf16Be ? 1 : 0;  // where a unit's ASCII byte lies
    const auto unitIs = [&](size_t at, char c) {
        return at + width <= bytes_.size() && bytes_[at + low] == c && (!utf16 || bytes_[at + 1 - low] == '\0');
    };
    for (size_t at = MarkSize(kind_); at < bytes_.size();) {
        ProfileLine line;
        line.begin = at;
        while (at < bytes_.size() && !unitIs(at, '\r') && !unitIs(at, '\n')) at += width;
        line.end = at = std::min(at, bytes_.size());  // an odd last byte of UTF-16 ends the line
        if (unitIs(at, '\r')) {
            at += width;
            if (unitIs(at, '\n')) at += width;
        } else if (unitIs(at, '\n')) {
            at += width;
        }
        line.next = at;
        std::string text;
        AppendFileText(kind_, reinterpret_cast<const uint8_t*>(bytes_.data()) + line.begin, line.end - line.begin,
                       &text);
        ReadLine(text, &line);
        lines_.push_back(std::move(line));
    }
}

std::vector<ProfileText::Section> ProfileText::Sections() const {
    std::vector<Section> sections{{NoHeader, 0, 0}};
    for (size_t k = 0; k < lines_.size(); ++k) {
        if (lines_[k].kind == ProfileLineKind::Section) sections.push_back({k, k + 1, k + 1});
        sections.back().last = k + 1;
    }
    return sections;
}

std::string_view ProfileText::NameOf(const Section& section) const {
    return section.header == NoHeader ? std::string_view() : std::string_view(lines_[section.header].name);
}

const ProfileLine* ProfileText::KeyIn(const Section& section, std::string_view key) const {
    for (size_t k = section.first; k < section.last; ++k)
        if (lines_[k].kind == ProfileLineKind::Key && SameName(lines_[k].name, key)) return &lines_[k];
    return nullptr;
}

bool ProfileText::Find(std::string_view section, std::string_view key, std::string* value) const {
    section = Trimmed(section);
    for (const Section& candidate : Sections()) {
        if (!SameName(NameOf(candidate), section)) continue;
        const ProfileLine* line = KeyIn(candidate, Trimmed(key));
        if (line == nullptr || !line->hasValue) return false;
        *value = WithoutQuotes(line->value);
        return true;
    }
    return false;
}

bool ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trimmed(section);
    key = Trimmed(key);
    value = WithoutLeadingSpaces(value);
    const std::string newLine = std::string(key) + "=" + std::string(value);
    for (const Section& candidate : Sections()) {
        if (!SameName(NameOf(candidate), section)) continue;
        if (const ProfileLine* line = KeyIn(candidate, key)) {
            if (line->hasValue && line->value == value) return false;
            Splice(line->begin, line->end, Encoded(line->name + "=" + std::string(value)));
            return true;
        }
        // After the last line that says something: a blank line before the
        // next section stays there.
        size_t after = candidate.header;
        for (size_t k = candidate.first; k < candidate.last; ++k)
            if (lines_[k].kind != ProfileLineKind::Empty) after = k;
        if (after == NoHeader) {
            Splice(MarkSize(kind_), MarkSize(kind_), Encoded(newLine) + LineBreak());
        } else if (lines_[after].next == lines_[after].end) {  // the file's last line, without a break
            Splice(lines_[after].end, lines_[after].end, LineBreak() + Encoded(newLine));
        } else {
            Splice(lines_[after].next, lines_[after].next, Encoded(newLine) + LineBreak());
        }
        return true;
    }
    const bool brokenOff = lines_.empty() || lines_.back().next > lines_.back().end;
    Splice(bytes_.size(), bytes_.size(),
           (brokenOff ? "" : LineBreak()) + Encoded("[" + std::string(section) + "]") + LineBreak() +
               Encoded(newLine) + LineBreak());
    return true;
}

bool ProfileText::RemoveKey(std::string_view section, std::string_view key) {
    section = Trimmed(section);
    for (const Section& candidate : Sections()) {
        if (!SameName(NameOf(candidate), section)) continue;
        if (const ProfileLine* line = KeyIn(candidate, Trimmed(key))) {
            Splice(line->begin, line->next, "");
            return true;
        }
    }
    return false;
}

bool ProfileText::RemoveSection(std::string_view section) {
    section = Trimmed(section);
    for (const Section& candidate : Sections()) {
        if (!SameName(NameOf(candidate), section)) continue;
        const size_t first = candidate.header == NoHeader ? candidate.first : candidate.header;
        if (first == candidate.last) return false;
        Splice(lines_[first].begin, lines_[candidate.last - 1].next, "");
        return true;
    }
    return false;
}

void ProfileText::TurnIntoUtf16() {
    if (kind_ != TextFileKind::Gbk) return;
    std::string bytes(Utf16LeMark);
    AppendFileBytes(TextFileKind::Utf16Le, bytes_.data(), bytes_.size(), &bytes);
    bytes_ = std::move(bytes);
    kind_ = TextFileKind::Utf16Le;
    ReadLines();
}

std::string ProfileText::Encoded(std::string_view text) const {
    std::string bytes;
    AppendFileBytes(kind_, text.data(), text.size(), &bytes);
    return bytes;
}

// The file's own line break, which its first line shows; CR LF in a file of one line.
std::string ProfileText::LineBreak() const {
    for (const ProfileLine& line : lines_)
        if (line.next > line.end) return bytes_.substr(line.end, line.next - line.end);
    return Encoded(CrLf);
}

void ProfileText::Splice(size_t begin, size_t end, const std::string& bytes) {
    bytes_.replace(begin, end - begin, bytes);
    ReadLines();
}

std::string ProfileDefault(std::string_view fallback) {
    while (fallback.size() > 1 && fallback.back() == ' ') fallback.remove_suffix(1);
    return WithoutQuotes(fallback);
}

}  // namespace quillet
