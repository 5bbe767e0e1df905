#include "runtime/units/edit/edit_characters.h"

#include <windows.h>

#include <vector>

namespace quillet {
namespace {

// The ANSI code page's lead bytes, asked once.
struct LeadBytes {
    bool lead[256];     // by byte value
    bool knownCodePage; // single-byte, or 936, whose trail bytes are 0x40 to 0xFE but 0x7F
};

const LeadBytes& Leads() {
    static const LeadBytes leads = [] {
        LeadBytes made{};
        bool any = false;
        for (int byte = 0; byte < 256; ++byte) any |= (made.lead[byte] = IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0);
        made.knownCodePage = !any || GetACP() == 936;
        return made;
    }();
    return leads;
}

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte != 0x7F && byte != 0xFF; }

// Bytes of the character at text[at], within size.
size_t CharacterAt(const bool* lead, const char* text, size_t size, size_t at) {
    return lead[static_cast<unsigned char>(text[at])] && at + 1 < size ? 2 : 1;
}

// Whether every double-byte character has a Unicode counterpart (some trail
// bytes after a valid lead byte name no character).
bool AllMapped(const char* text, size_t size) {
    wchar_t small[512];
    std::vector<wchar_t> big;
    wchar_t* into = small;
    if (size > sizeof small / sizeof small[0]) {
        big.resize(size);
        into = big.data();
    }
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, static_cast<int>(size), into,
                               static_cast<int>(size)) > 0;
}

}  // namespace

// Asked once, of a throwaway control holding one double-byte character.
bool ControlCountsCharacters() {
    static const bool counts = [] {
        HWND probe = CreateWindowExA(0, "EDIT", "\xD6\xD0", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        if (probe == nullptr) return true;
        SendMessageA(probe, EM_SETSEL, 0, -1);
        DWORD start = 0, end = 0;
        SendMessageA(probe, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        DestroyWindow(probe);
        return end == 1;
    }();
    return counts;
}

bool IsLeadByte(unsigned char byte) { return Leads().lead[byte]; }

size_t CharacterBoundaryBefore(const char* text, size_t size, size_t limit) {
    const bool* lead = Leads().lead;
    if (limit > size) limit = size;
    size_t at = 0;
    while (at < limit) {
        const size_t next = at + CharacterAt(lead, text, size, at);
        if (next > limit) break;
        at = next;
    }
    return at;
}

int32_t CharacterCount(const char* text, size_t size) {
    const bool* lead = Leads().lead;
    int32_t characters = 0;
    for (size_t at = 0; at < size; ++characters) at += CharacterAt(lead, text, size, at);
    return characters;
}

bool KeepsItsBytes(const char* text, size_t size) {
    const LeadBytes& leads = Leads();
    if (!leads.knownCodePage) return false;
    bool doubleBytes = false;
    for (size_t at = 0; at < size; ++at) {
        if (!leads.lead[static_cast<unsigned char>(text[at])]) continue;
        if (at + 1 >= size || !IsTrailByte(static_cast<unsigned char>(text[at + 1]))) return false;
        doubleBytes = true;
        ++at;
    }
    return !doubleBytes || AllMapped(text, size);
}

}  // namespace quillet
