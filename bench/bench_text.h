#pragma once
// The text the benchmarks run the tools on: the same text for the same size on
// every run.
#include <cstdint>
#include <string>

namespace bench {

// A small linear congruential generator: the same text for the same size on every run.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    uint32_t Below(uint32_t limit) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % limit;
    }

private:
    uint32_t state_;  // the generator's state
};

// Common characters, two GBK bytes each.
constexpr char Hanzi[] = "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说"
                         "产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从";
constexpr const char* Words[] = {"text", "line", "Quillet", "abc", "tool", "data", "x", "2024", "hello", "edit"};
constexpr char FullWidthSpace[] = "\xA1\xA1";

inline void AppendBlank(Random& random, std::string* line) {
    switch (random.Below(4)) {
    case 0: *line += '\t'; break;
    case 1: *line += FullWidthSpace; break;
    default: *line += ' '; break;
    }
}

inline void AppendWord(Random& random, std::string* line) {
    if (random.Below(2) == 0) {
        *line += Words[random.Below(sizeof Words / sizeof Words[0])];
        return;
    }
    const uint32_t characters = 1 + random.Below(4);
    for (uint32_t k = 0; k < characters; ++k) line->append(Hanzi + 2 * random.Below((sizeof Hanzi - 1) / 2), 2);
}

// Mixed GBK and ASCII: about one line in ten empty, one in twenty of blanks
// only, others with words between spaces, full-width spaces and tabs, some
// with blanks at either end. Lines end with CR LF, the last one included.
inline std::string GeneratedText(int32_t lines) {
    Random random(20240501u);
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 26);
    std::string line;
    for (int32_t i = 0; i < lines; ++i) {
        line.clear();
        const uint32_t kind = random.Below(20);
        if (kind < 2) {
            // empty
        } else if (kind == 2) {
            for (uint32_t k = 1 + random.Below(3); k > 0; --k) AppendBlank(random, &line);
        } else {
            if (random.Below(4) == 0) AppendBlank(random, &line);
            for (uint32_t w = 1 + random.Below(4); w > 0; --w) {
                AppendWord(random, &line);
                if (w > 1) AppendBlank(random, &line);
            }
            if (random.Below(5) == 0) AppendBlank(random, &line);
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace bench
