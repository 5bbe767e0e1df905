// Prints every two-byte character of code page 936 as the platform converts
// it with best fit off: "LLTT UUUU" for each pair whose character comes back
// to the same bytes. Built and run under Wine by make-text-tables.
#include <windows.h>

#include <cstdio>

int main() {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x01; trail <= 0xFF; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2] = {};
            if (MultiByteToWideChar(936, 0, pair, 2, wide, 2) != 1) continue;
            char back[4] = {};
            BOOL lossy = FALSE;
            const int length = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide, 1, back, sizeof back, nullptr, &lossy);
            if (lossy || length != 2 || back[0] != pair[0] || back[1] != pair[1]) continue;
            std::printf("%02X%02X %04X\n", lead, trail, static_cast<unsigned>(wide[0]));
        }
    }
    return 0;
}
