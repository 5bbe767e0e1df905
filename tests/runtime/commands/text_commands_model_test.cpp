// Every text command against a small reference model on std::string, for
// thousands of generated GBK texts: valid pairs (some with trail bytes that look
// like letters, spaces or commas), the one-byte characters 0x80 (the euro sign)
// and 0xFF before pairs, digits and line breaks, stray bytes 0x80-0xFF, lone
// lead bytes at the end, full-width spaces, tabs, commas and CR LF; and, mixed
// in, four-byte codes of characters GBK lacks (spaces among them), codes cut
// short and digits after lead bytes. The seed is fixed, and a failure names its
// input in hex.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/runtime/commands/text_command_calls.h"
#include "tests/support/text_command_model.h"

namespace quillet::text_test {
namespace {

// ---- Generated inputs. ----

class Generator {
public:
    explicit Generator(uint32_t seed, bool fourByteCodes = false) : random_(seed), fourByteCodes_(fourByteCodes) {}

    int32_t Number(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random_); }
    bool OneIn(int32_t n) { return Number(1, n) == 1; }

    std::string Token() {
        static const char* const Tokens[] = {
            "a", "b", "A", "B", "z", "Z", "@", "`", " ", " ", "\t", ",", ",", "\r\n", "\r", "\n",
            "\xB0\xA1", "\xA1\xA1", "\xA1\xA1", "\xD6\xD0", "\x81\x41", "\x82\x61", "\xA1\xB0",
            "\xB0\xB0", "\xA1\x20", "\xC1\x2C", "\xFE\x7E", "\x80", "\x80", "\xFF", "9",
        };
        // Emoji, CJK extensions A and B, Hangul, spaces GBK lacks, codes cut short
        // or with digits after a lead byte, and shapes that code nothing.
        static const char* const FourByteTokens[] = {
            "\x94\x39\xFC\x36", "\x95\x34\xB2\x35", "\x81\x39\xEE\x39", "\x83\x36\x84\x33",
            "\x81\x30\x84\x32", "\x81\x36\xA3\x38", "\x81\x36\xA4\x37", "\x84\x31\x95\x33",
            "\x81\x30\x81", "\x81\x30", "\xB0\x35", "\x30\x81\x30", "\xFE\x39\xFE\x39",
        };
        constexpr int32_t Count = sizeof Tokens / sizeof Tokens[0];
        if (fourByteCodes_ && OneIn(3)) return FourByteTokens[Number(0, std::size(FourByteTokens) - 1)];
        if (OneIn(8)) return std::string(1, static_cast<char>(Number(0x80, 0xFF)));   // a stray high byte
        return Tokens[Number(0, Count - 1)];
    }

    std::string Text(int32_t maxTokens) {
        std::string text;
        const int32_t count = Number(0, maxTokens);
        for (int32_t i = 0; i < count; ++i) text += Token();
        if (OneIn(4)) text += static_cast<char>(Number(0x80, 0xFF));   // a lone lead byte at the end
        return text;
    }

    // A search text: often a piece of the text itself, starting anywhere (trail bytes too).
    std::string SearchFor(const std::string& text, int32_t longest) {
        if (text.empty() || OneIn(3)) return Text(2);
        const int32_t from = Number(0, static_cast<int32_t>(text.size()) - 1);
        std::string piece = text.substr(static_cast<size_t>(from), static_cast<size_t>(Number(0, longest)));
        if (OneIn(3))
            for (char& byte : piece) byte = static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 32 : byte);
        return piece;
    }

    std::optional<int32_t> MaybeNumber(int32_t low, int32_t high) {
        if (OneIn(3)) return std::nullopt;
        return Number(low, high);
    }

private:
    std::mt19937 random_;
    bool fourByteCodes_;  // tokens of characters GBK lacks are mixed in
};

In NumberIn(std::optional<int32_t> value) { return value ? I(*value) : Omit; }

std::string Shown(std::optional<int32_t> value) { return value ? std::to_string(*value) : "-"; }

std::string Shown(const Pieces& pieces) {
    std::string shown;
    for (const std::string& piece : pieces) shown += Hex(piece) + " ";
    return "{" + shown + "}";
}

// Checks one generated case against the model; returns false at the first disagreement.
class Checker {
public:
    explicit Checker(Generator& generate) : generate_(generate) {}

    bool Run(const std::string& t, int32_t longestSearch) {
        const int32_t length = static_cast<int32_t>(t.size());
        Expect(CallInt(commands::TextLength, {T(t)}), static_cast<int32_t>(t.size()), "TextLength", t);

        const int32_t count = generate_.Number(-1, length + 1);
        Expect(CallText(commands::LeftText, {T(t), I(count)}), ModelLeft(t, count),
               "LeftText count " + std::to_string(count), t);
        Expect(CallText(commands::RightText, {T(t), I(count)}), ModelRight(t, count),
               "RightText count " + std::to_string(count), t);
        const int32_t code = generate_.Number(0, 0x1FF);
        Expect(CallText(commands::CharFromCode, {I(code)}), ModelCharFromCode(code),
               "CharFromCode " + std::to_string(code), t);

        const std::string s = generate_.SearchFor(t, longestSearch);
        const std::optional<int32_t> start = generate_.MaybeNumber(-1, length + 2);
        const int32_t ignoreCase = generate_.Number(0, 2);   // 0 false, 1 true, 2 left out
        const In flagIn = ignoreCase == 2 ? Omit : B(ignoreCase == 1);
        Expect(
            CallInt(commands::FindText, {T(t), T(s), NumberIn(start), flagIn}), ModelFind(t, s, start, ignoreCase == 1),
            "FindText search " + Hex(s) + " start " + Shown(start) + " ignore case " + std::to_string(ignoreCase), t);

        const std::string r = generate_.OneIn(4) ? s + s : generate_.Text(2);
        const std::optional<int32_t> replaceCount = generate_.MaybeNumber(-2, 3);
        // The flag record: left out, false, true, or a value word without a type word.
        const int32_t flagKind = generate_.Number(0, 3);
        const In flags[] = {Omit, B(false), B(true), Rec(1, 0, 0)};
        const uint32_t flagWord = flagKind >= 2 ? 1 : 0;
        Expect(CallText(commands::ReplaceSubtext,
                        {T(t), T(s), T(r), NumberIn(start), NumberIn(replaceCount), flags[flagKind]}),
               ModelReplace(t, s, r, start, replaceCount, flagWord),
               "ReplaceSubtext search " + Hex(s) + " by " + Hex(r) + " start " + Shown(start) + " count " +
                   Shown(replaceCount) + " flag kind " + std::to_string(flagKind),
               t);

        const std::optional<std::string> delimiter =
            generate_.OneIn(3) ? std::nullopt : std::optional<std::string>(generate_.SearchFor(t, longestSearch));
        const std::optional<int32_t> maximum = generate_.MaybeNumber(-1, 4);
        const Pieces pieces =
            CallTextArray(commands::SplitText, {T(t), delimiter ? T(*delimiter) : Omit, NumberIn(maximum)});
        const Pieces expected = ModelSplit(t, delimiter, maximum);
        if (pieces != expected) Fail("SplitText delimiter " + (delimiter ? Hex(*delimiter) : "-") + " maximum " +
                                         Shown(maximum) + " gave " + Shown(pieces) + " not " + Shown(expected), t);

        Expect(CallText(commands::TrimBothEnds, {T(t)}), ModelTrim(t), "TrimBothEnds", t);
        Expect(CallText(commands::RemoveAllSpaces, {T(t)}), ModelRemoveSpaces(t), "RemoveAllSpaces", t);
        return ok_;
    }

private:
    template <typename Value>
    void Expect(const Value& actual, const Value& expected, const std::string& what, const std::string& t) {
        if (actual == expected) return;
        std::ostringstream message;
        message << what << " gave " << Printed(actual) << " not " << Printed(expected);
        Fail(message.str(), t);
    }
    static std::string Printed(const std::string& text) { return Hex(text); }
    static std::string Printed(int32_t number) { return std::to_string(number); }

    void Fail(const std::string& message, const std::string& t) {
        ADD_FAILURE() << "text " << Hex(t) << ": " << message;
        ok_ = false;
    }

    Generator& generate_;
    bool ok_ = true;
};

// How many of `rounds` texts (made by text()) the commands and the model
// disagree on, searching with up to longestSearch bytes; it stops at failureLimit.
template <typename MakeText>
int Disagreements(Generator& generate, int rounds, int failureLimit, int32_t longestSearch, MakeText text) {
    int failures = 0;
    for (int i = 0; i < rounds && failures < failureLimit; ++i) {
        const std::string t = text();
        if (!Checker(generate).Run(t, longestSearch)) ++failures;
    }
    return failures;
}

TEST(TextCommandsModelTest, ShortTextsAgreeWithTheModel) {
    Generator generate(20240611);
    EXPECT_EQ(Disagreements(generate, 6000, 10, 6, [&] { return generate.Text(14); }), 0);
}

// Nothing is found inside a four-byte code or across two; the spaces GBK lacks
// are trimmed and removed like the full-width space.
TEST(TextCommandsModelTest, TextsWithFourByteCodesAgreeWithTheModel) {
    Generator generate(1430, true);
    EXPECT_EQ(Disagreements(generate, 6000, 10, 9, [&] { return generate.Text(14); }), 0);
}

// Long texts and searches longer than the finder keeps on its stack.
TEST(TextCommandsModelTest, LongTextsAndLongSearchesAgreeWithTheModel) {
    Generator generate(77031);
    EXPECT_EQ(Disagreements(generate, 60, 5, 200, [&] { return generate.Text(1500); }), 0);
}

// Few distinct bytes give many overlapping and trail-byte candidates.
TEST(TextCommandsModelTest, RepetitiveTextsAgreeWithTheModel) {
    Generator generate(5151);
    const auto repetitive = [&] {
        std::string t;
        const int32_t length = generate.Number(0, 40);
        for (int32_t k = 0; k < length; ++k) t += "a\xB0\xA1 "[generate.Number(0, 3)];
        return t;
    };
    EXPECT_EQ(Disagreements(generate, 2000, 10, 8, repetitive), 0);
}

}  // namespace
}  // namespace quillet::text_test
