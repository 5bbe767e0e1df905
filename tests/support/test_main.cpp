// The main of every test executable: GoogleTest, with output that Wine's console
// passes through unbuffered so a crash still shows the last test started.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
