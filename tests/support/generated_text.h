#pragma once
// Texts of random lines for the tests that run over many texts: words drawn
// from the test's own pieces, CR LF between lines and now and then none after
// the last.
#include <cstddef>
#include <random>
#include <string>

#include "tests/support/holds.h"

namespace generatedtext {

// `lines` lines of fewer than `wordLimit` pieces each; the same text for the same random state.
template <size_t N>
std::string Lines(std::mt19937& random, int lines, const char* const (&pieces)[N], unsigned wordLimit) {
    ASSERT_HOLDS(wordLimit > 0, "a line of fewer than 0 pieces cannot be drawn");
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const unsigned words = random() % wordLimit;
        for (unsigned w = 0; w < words; ++w) text += pieces[random() % N];
        if (i + 1 < lines || random() % 2 == 0) text += "\r\n";
    }
    return text;
}

}  // namespace generatedtext
