#pragma once
// A profile (ini) file's text, read and edited as the platform's profile
// functions read it, but the same on every system code page: those read a
// file without a byte-order mark in the system's ANSI code page, so GBK came
// back garbled on any system but a Chinese one.
//
// The format as the platform reads it: a line break is CR, LF or CR LF; each
// line loses the spaces around it (tab, LF, VT, FF, CR, space and ^Z; not the
// full-width space); an empty line says nothing. A line beginning with '['
// and holding a ']' starts a section, named by what lies between the '[' and
// the last ']' (text after it is ignored); any other line is a key, named by
// what comes before its first '=', with what follows as its value. A key line
// without '=' (a comment, say) has no value. Lines before the first section
// belong to a section with the empty name. Names compare with ASCII letters
// case-insensitive and nothing else folded; the first section of a name, and
// the first key of a name in it, is the one that counts.
//
// Edits change only the lines they concern, in the file's own encoding and
// line breaks: every other byte stays as it was.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/values/text_file.h"

namespace quillet {

enum class ProfileLineKind { Empty, Section, Key };

// One line of the file: where it lies in the file's bytes, and what it says
// (names and value as runtime texts, without the spaces around them).
struct ProfileLine {
    size_t begin = 0;  // its first byte
    size_t end = 0;    // after its last byte before the line break
    size_t next = 0;   // after its line break: where the next line begins
    ProfileLineKind kind = ProfileLineKind::Empty;
    std::string name;
    bool hasValue = false;  // a key line with '='
    std::string value;
};

class ProfileText {
public:
    // The file's bytes; empty for a file that is not there. The encoding is
    // the byte-order mark's; without one the file is UTF-8 only when every
    // sequence is well-formed and one has three or four bytes (Chinese in UTF-8
    // does, while a GBK text can pass for two-byte UTF-8 by chance); otherwise GBK.
    explicit ProfileText(std::string bytes);

    TextFileKind Kind() const { return kind_; }
    const std::string& Bytes() const { return bytes_; }

    // The value of the key as a read finds it, quotes taken off; false when
    // the first section of that name has no such key, or the key no value.
    bool Find(std::string_view section, std::string_view key, std::string* value) const;

    // Edits; each tells whether the bytes changed. Names lose the spaces around
    // them, a value those before it, as when the platform writes them.
    // Set: key=value in the first section of that name (the key's line
    // rewritten, or a line added after the section's last line that says
    // something), or a new section at the end.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // RemoveKey: the first key of that name in a section of that name.
    bool RemoveKey(std::string_view section, std::string_view key);
    // RemoveSection: the first section of that name with all its lines.
    bool RemoveSection(std::string_view section);

    // A GBK file as UTF-16LE with a byte-order mark, every line kept.
    void TurnIntoUtf16();

private:
    // A section: its header line (none for the lines before the first header)
    // and the lines after it, [first, last).
    struct Section {
        size_t header;
        size_t first;
        size_t last;
    };
    static constexpr size_t NoHeader = static_cast<size_t>(-1);

    void ReadLines();
    std::vector<Section> Sections() const;
    std::string_view NameOf(const Section& section) const;
    const ProfileLine* KeyIn(const Section& section, std::string_view key) const;
    std::string Encoded(std::string_view text) const;
    std::string LineBreak() const;
    void Splice(size_t begin, size_t end, const std::string& bytes);

    std::string bytes_;
    TextFileKind kind_;
    std::vector<ProfileLine> lines_;
};

// The default a read gives when it finds no value, as the platform gives it:
// without its trailing spaces (though never emptied by that), quotes taken off.
std::string ProfileDefault(std::string_view fallback);

}  // namespace quillet
