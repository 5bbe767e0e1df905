// The main of every test executable: GoogleTest, with output that Wine's console
// passes through unbuffered so a crash still shows the last test started.
//
// A run under another locale (QUILLET_LOCALE, scripts/wine-env) names the code
// page it stands for in QUILLET_EXPECT_ACP; the system must report that one, as
// a locale that was never generated falls back to 1252 without a word and the
// run would prove nothing.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#ifdef _WIN32
    if (const char* expected = std::getenv("QUILLET_EXPECT_ACP")) {
        if (GetACP() != static_cast<UINT>(std::atoi(expected))) {
            std::printf("the system's code page is %u, not %s: is the locale generated?\n", GetACP(), expected);
            return 1;
        }
    }
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
