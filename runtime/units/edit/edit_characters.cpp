#include "runtime/units/edit/edit_characters.h"

#include <windows.h>

#include <bitset>

namespace quillet {
namespace {

// The ANSI code page's lead bytes, asked once.
struct LeadBytes {
    bool lead[256];      // by byte value
    bool knownCodePage;  // single-byte, or 936, whose characters are one or two bytes
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

// Whether the bytes of one character come back unchanged from Unicode.
bool SurvivesRoundTrip(const char* bytes, int size) {
    wchar_t wide[2] = {};
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, size, wide, 2) != 1) return false;
    char back[4] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, 1, back, sizeof back, nullptr, &lossy);
    return !lossy && length == size && back[0] == bytes[0] && (size == 1 || back[1] == bytes[1]);
}

// Every character of the code page that a control keeps as it is given:
// single bytes by value, double bytes by lead byte × 256 + trail byte.
// Worked out once, the first time it is needed.
struct KeptCharacters {
    std::bitset<256> single;
    std::bitset<65536> pair;
};

const KeptCharacters& Kept() {
    static const KeptCharacters kept = [] {
        KeptCharacters made;
        const LeadBytes& leads = Leads();
        for (int byte = 1; byte < 256; ++byte) {
            const char one = static_cast<char>(byte);
            made.single[byte] = !leads.lead[byte] && SurvivesRoundTrip(&one, 1);
            if (!leads.lead[byte]) continue;
            for (int trail = 1; trail < 256; ++trail) {
                const char two[2] = {static_cast<char>(byte), static_cast<char>(trail)};
                made.pair[byte * 256 + trail] = SurvivesRoundTrip(two, 2);
            }
        }
        return made;
    }();
    return kept;
}

// Bytes of the character at text[at], within size.
size_t CharacterAt(const bool* lead, const char* text, size_t size, size_t at) {
    return lead[static_cast<unsigned char>(text[at])] && at + 1 < size ? 2 : 1;
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
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t at = 0;
    // Plain ASCII, the most of most texts, keeps its bytes in every code page
    // known here.
    while (at < size && bytes[at] < 0x80) ++at;
    if (at == size) return true;
    const KeptCharacters& kept = Kept();
    for (; at < size; ++at) {
        const unsigned char byte = bytes[at];
        if (!leads.lead[byte]) {
            if (!kept.single[byte]) return false;
            continue;
        }
        if (at + 1 >= size || !kept.pair[byte * 256 + bytes[at + 1]]) return false;
        ++at;
    }
    return true;
}

}  // namespace quillet
