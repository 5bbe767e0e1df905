#pragma once
// Walking GBK text character by character, and finding a subtext that may only
// begin where such a walk stops (never on the trail byte of a double-byte
// character, nor inside a four-byte code).
//
// The finder runs in time linear in the bytes it reads, whatever the texts: a
// Knuth-Morris-Pratt scan proposes every byte offset where the subtext occurs,
// and a cursor walking the characters from the scan's start keeps or rejects
// each proposal. Both only ever move forward.
#include <cstdint>
#include <cstring>

#include "runtime/values/runtime_heap.h"
#include "runtime/values/text.h"

namespace quillet {

// Bytes of the character at `at`: 4 for a four-byte code, 2 at another lead
// byte, 1 otherwise.
inline int32_t CharacterWidth(const char* text, int32_t at) {
    if (!IsLeadByte(text[at])) return 1;
    return IsFourByteCode(text + at) ? 4 : 2;
}

// A lead byte directly followed by the ending 0 byte.
inline bool IsTruncatedCharacter(const char* text, int32_t at) {
    return IsLeadByte(text[at]) && text[at + 1] == '\0';
}

// The full-width space, the byte pair 0xA1 0xA1.
constexpr char FullWidthSpaceByte = '\xA1';
inline bool IsFullWidthSpace(const char* text, int32_t at) {
    return text[at] == FullWidthSpaceByte && text[at + 1] == FullWidthSpaceByte;
}

// True when a character walk that starts at `from` stops at `target` (from <= target).
inline bool WalkReaches(const char* text, int32_t from, int32_t target) {
    int32_t at = from;
    while (at < target) at += CharacterWidth(text, at);
    return at == target;
}

namespace gbk_detail {
// Byte maps: exact comparison, and ASCII A-Z folded to a-z (every other byte as is).
struct ByteMap {
    unsigned char to[256];
};
constexpr ByteMap MakeByteMap(bool foldLetters) {
    ByteMap map{};
    for (int byte = 0; byte < 256; ++byte)
        map.to[byte] = static_cast<unsigned char>(foldLetters && byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    return map;
}
inline constexpr ByteMap ExactBytes = MakeByteMap(false);
inline constexpr ByteMap FoldedBytes = MakeByteMap(true);
}  // namespace gbk_detail

class SubtextFinder {
public:
    // text: `length` bytes followed by the ending 0; pattern: patternLength >= 1 bytes.
    // foldCase compares ASCII letters without regard to case, byte by byte.
    SubtextFinder(const char* text, int32_t length, const char* pattern, int32_t patternLength, bool foldCase)
        : text_(text),
          length_(length),
          patternLength_(patternLength),
          map_((foldCase ? gbk_detail::FoldedBytes : gbk_detail::ExactBytes).to) {
        if (patternLength_ > length_) return;   // can never match: Next answers -1 at once
        if (patternLength_ > InlinePattern) {
            // One block for the whole search; a failed allocation is the runtime's fatal error.
            storage_ = AllocateBlock(patternLength_ * static_cast<int32_t>(sizeof(int32_t) + 1));
            fallback_ = static_cast<int32_t*>(storage_);
            pattern_ = reinterpret_cast<unsigned char*>(fallback_ + patternLength_);
        }
        for (int32_t i = 0; i < patternLength_; ++i) pattern_[i] = Mapped(pattern[i]);
        BuildFallback();
    }
    ~SubtextFinder() { FreeBlock(storage_); }
    SubtextFinder(const SubtextFinder&) = delete;
    SubtextFinder& operator=(const SubtextFinder&) = delete;

    // The first offset at or after `from` where the pattern matches and where a
    // character walk starting at `from` stops; -1 when there is none.
    int32_t Next(int32_t from) const {
        const int32_t lastStart = length_ - patternLength_;
        if (from < 0 || from > lastStart) return -1;
        int32_t walk = from;     // the character walk, never ahead of a proposal it has not judged
        int32_t matched = 0;     // pattern bytes matched so far
        for (int32_t at = from; at < length_; ++at) {
            if (matched == 0) {
                at = SkipToFirstPatternByte(at);
                if (at > lastStart) return -1;
            }
            const unsigned char byte = Mapped(text_[at]);
            while (matched > 0 && pattern_[matched] != byte) matched = fallback_[matched - 1];
            if (pattern_[matched] == byte) ++matched;
            if (matched == patternLength_) {
                const int32_t start = at + 1 - patternLength_;
                while (walk < start) walk += CharacterWidth(text_, walk);
                if (walk == start) return start;
                matched = fallback_[matched - 1];   // on a trail byte: keep looking, overlaps included
            }
        }
        return -1;
    }

private:
    static constexpr int32_t InlinePattern = 64;

    unsigned char Mapped(char byte) const { return map_[static_cast<unsigned char>(byte)]; }

    // fallback_[i]: length of the longest proper border of pattern_[0..i].
    void BuildFallback() {
        fallback_[0] = 0;
        int32_t border = 0;
        for (int32_t i = 1; i < patternLength_; ++i) {
            while (border > 0 && pattern_[i] != pattern_[border]) border = fallback_[border - 1];
            if (pattern_[i] == pattern_[border]) ++border;
            fallback_[i] = border;
        }
    }

    // The first offset at or after `at` whose byte can begin a match, or length_.
    int32_t SkipToFirstPatternByte(int32_t at) const {
        const unsigned char first = pattern_[0];
        const bool eitherCase = map_ == gbk_detail::FoldedBytes.to && first >= 'a' && first <= 'z';
        if (!eitherCase) {
            const void* hit = std::memchr(text_ + at, first, static_cast<size_t>(length_ - at));
            return hit != nullptr ? static_cast<int32_t>(static_cast<const char*>(hit) - text_) : length_;
        }
        const char lower = static_cast<char>(first);
        const char upper = static_cast<char>(first - 32);
        while (at < length_ && text_[at] != lower && text_[at] != upper) ++at;
        return at;
    }

    const char* text_;
    int32_t length_;
    int32_t patternLength_;
    const unsigned char* map_;
    void* storage_ = nullptr;
    int32_t inlineFallback_[InlinePattern];
    unsigned char inlinePattern_[InlinePattern];
    int32_t* fallback_ = inlineFallback_;
    unsigned char* pattern_ = inlinePattern_;
};

}  // namespace quillet
