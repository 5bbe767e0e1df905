// Each tool against a short reference model written from its rules: thousands
// of small generated texts and option sets run through the real window (its
// main box hidden, so that appending is quick), the result compared byte for
// byte with the model's.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/app/tool_window.h"
#include "tests/support/text_command_model.h"

namespace {

using namespace tool;

// ---- the models ----

// Characters as the text commands' model steps them: one byte below 0x81 and
// at 0xFF (the euro sign 0x80 among them), a lead byte and its trail, or a
// four-byte code of one GBK lacks.
size_t Width(const std::string& text, size_t i) {
    return static_cast<size_t>(quillet::text_test::Width(text, static_cast<int64_t>(i)));
}

std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        const size_t width = Width(text, i);
        characters.push_back(text.substr(i, width));
        i += width;
    }
    return characters;
}

// GB18030's codes of U+00A0, U+2003 (as the other spaces U+2000-U+200A, U+202F,
// U+205F), and of U+200B and U+FEFF, which only removal takes.
const std::string NoBreakSpace = "\x81\x30\x84\x32", EmSpace = "\x81\x36\xA3\x39";
const std::string ZeroWidthSpace = "\x81\x36\xA4\x37", ByteOrderMark = "\x84\x31\x95\x33";

bool IsSpace(const std::string& c) { return c == " " || c == "\xA1\xA1" || c == NoBreakSpace || c == EmSpace; }
bool IsRemovedSpace(const std::string& c) { return IsSpace(c) || c == ZeroWidthSpace || c == ByteOrderMark; }

// Lines are what CR LF separates; the text after the last CR LF is a line only
// when it is not empty.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string Written(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string CleanupModel(const std::string& text, const CleanupOptions& o) {
    if (!o.removeSpaces && !o.trim && !o.removeTabs && !o.removeBlankLines && !o.joinLines) return text;
    std::vector<std::string> lines = Lines(text);
    for (std::string& line : lines) {
        std::vector<std::string> c = Characters(line);
        if (o.removeSpaces) std::erase_if(c, IsRemovedSpace);
        if (o.trim) {
            while (!c.empty() && IsSpace(c.front())) c.erase(c.begin());
            while (!c.empty() && IsSpace(c.back())) c.pop_back();
        }
        if (o.removeTabs) std::erase(c, std::string("\t"));
        line.clear();
        for (const std::string& character : c) line += character;
    }
    if (o.removeBlankLines)
        std::erase_if(lines, [](const std::string& line) {
            return line.find_first_not_of(" \t") == std::string::npos;
        });
    if (o.joinLines) {
        std::string joined;
        for (const std::string& line : lines) joined += line.empty() ? "\r\n\r\n" : line;
        lines = Lines(joined);
    }
    return Written(lines);
}


std::string Decimal(int32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    return text;
}

std::string NumberingModel(const std::string& text, const NumberingOptions& o) {
    const std::vector<std::string> lines = Lines(text);
    const int32_t count = static_cast<int32_t>(lines.size());
    // The start number as text becomes an integer as atoi reads it.
    int32_t n = quillet::text_test::Atoi(o.start);
    char widest[32];
    std::snprintf(widest, sizeof widest, "%.13g", static_cast<double>(n) + count - 1);
    const int32_t width = static_cast<int32_t>(std::string(widest).size());
    std::string pad, out;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t d = width - static_cast<int32_t>(Decimal(n).size());
        if (d >= 0 && d <= 5) pad = std::string(d, '0');
        const std::string& line = lines[i];
        if (o.start.empty()) {
            out += o.prefix + o.suffix + line;
        } else if (o.zeroFill || o.skipBlank) {
            if (!line.empty()) out += o.prefix + (o.zeroFill ? pad : "") + Decimal(n++) + o.suffix + line;
        } else {
            out += o.prefix + Decimal(n++) + o.suffix + line;
        }
        if (i + 1 < count) out += "\r\n";
    }
    return Written(Lines(out));
}

// Every occurrence, left to right, never starting inside a character, never
// looking again at what was put in.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement) {
    if (search.empty()) return text;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, search.size(), search) == 0) {
            out += replacement;
            i += search.size();
        } else {
            const size_t width = Width(text, i);
            out += text.substr(i, width);
            i += width;
        }
    }
    return out;
}

// A box's list after one comma is stripped at each end: one text, or two and more items.
struct List {
    std::string single;
    std::vector<std::string> items;
};

std::string Stripped(std::string box) {
    if (!box.empty() && box.back() == ',') box.pop_back();
    if (!box.empty() && box.front() == ',') box.erase(0, 1);
    return box;
}

List ListOf(const std::string& box) {
    List list;
    if (box.find(',') == std::string::npos) {
        list.single = box;
        return list;
    }
    size_t start = 0;
    for (size_t at; (at = box.find(',', start)) != std::string::npos; start = at + 1)
        list.items.push_back(box.substr(start, at - start));
    if (start < box.size()) list.items.push_back(box.substr(start));
    if (list.items.size() == 1) {
        list.single = list.items[0];
        list.items.clear();
    }
    return list;
}

struct ReplaceResult {
    std::string text;
    std::string message;
};

ReplaceResult ReplaceModel(const std::string& text, const std::string& subjectBox, const std::string& predicateBox) {
    const std::string subject = Stripped(subjectBox), predicate = Stripped(predicateBox);
    const List s = ListOf(subject), p = ListOf(predicate);
    const bool subjectList = s.items.size() > 1, predicateList = p.items.size() > 1;
    if (predicateList && (subjectList ? p.items.size() != s.items.size() : !s.single.empty()))
        return {text, "预被替换内容与用作替换内容不匹配！"};
    std::string out = text;
    if (subjectList) {
        for (size_t k = 0; k < s.items.size(); ++k)
            out = ReplaceAll(out, s.items[k], predicateList ? p.items[k] : p.single);
    } else {
        out = ReplaceAll(out, s.single, p.single);
    }
    return {Written(Lines(out)), subject.empty() ? "预被替换文本不能为空。" : ""};
}

// ---- generated cases ----

class Generator {
public:
    explicit Generator(uint32_t seed) : random_(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Coin() { return Below(2) == 1; }
    std::string From(const std::vector<std::string>& pieces, int maxPieces) {
        std::string text;
        for (int k = Below(maxPieces + 1); k > 0; --k) text += pieces[Below(static_cast<int>(pieces.size()))];
        return text;
    }
    const std::string& Pick(const std::vector<std::string>& choices) {
        return choices[Below(static_cast<int>(choices.size()))];
    }

private:
    std::mt19937 random_;
};

class ModelTest : public testing::Test {
protected:
    void SetUp() override {
        Reset();
        SetInt(Unit::MainBox, Property::Visible, 0);
    }
    void TearDown() override { SetInt(Unit::MainBox, Property::Visible, 1); }
};

constexpr int Cases = 1000;

TEST_F(ModelTest, CleanupMatchesItsModel) {
    Generator g(1201);
    const std::vector<std::string> pieces = {"a", "b", " ", " ", "\xA1\xA1", "\t", "\r\n", "\r\n", "\r\n",
                                             "\r", "\n", "中", "€", "\xFF"};
    for (int run = 0; run < Cases; ++run) {
        const std::string text = g.From(pieces, 14);
        const CleanupOptions options{g.Coin(), g.Coin(), g.Coin(), g.Coin(), g.Coin()};
        const std::string got = RunCleanup(text, options);
        ASSERT_EQ(got, CleanupModel(text, options))
            << "text [" << text << "] options " << options.removeSpaces << options.trim << options.removeTabs
            << options.removeBlankLines << options.joinLines;
    }
}

TEST_F(ModelTest, NumberingMatchesItsModel) {
    Generator g(1301);
    const std::vector<std::string> pieces = {"a", "b", " ", "中", "€", "\r\n", "\r\n", "\r\n"};
    const std::vector<std::string> starts = {"1", "1", "0", "9", "98", "-3", "-1", "", "abc", " 7x", "+5"};
    const std::vector<std::string> affixes = {"", "", "(", ")", "第", " ", "、"};
    for (int run = 0; run < Cases; ++run) {
        const std::string text = g.From(pieces, 16);
        const NumberingOptions options{g.Pick(affixes), g.Pick(starts), g.Pick(affixes), g.Coin(), g.Coin()};
        const std::string got = RunNumbering(text, options);
        ASSERT_EQ(got, NumberingModel(text, options))
            << "text [" << text << "] start [" << options.start << "] prefix [" << options.prefix << "] suffix ["
            << options.suffix << "] zero fill " << options.zeroFill << " skip blank " << options.skipBlank;
    }
}

// One replacement run against the model: the text, the message shown, and the
// boxes as the run leaves them.
void CheckReplace(const std::string& text, const std::string& subjects, const std::string& replacements) {
    SeenMessageBox box;
    const std::string got = RunReplace(text, subjects, replacements, &box);
    const ReplaceResult want = ReplaceModel(text, subjects, replacements);
    ASSERT_EQ(got, want.text) << "text [" << text << "] subjects [" << subjects << "] replacements [" << replacements
                              << "]";
    ASSERT_EQ(box.found ? box.text : "", want.message)
        << "subjects [" << subjects << "] replacements [" << replacements << "]";
    ASSERT_EQ(Text(Unit::SubjectBox), Stripped(subjects));
    ASSERT_EQ(Text(Unit::PredicateBox), Stripped(replacements));
}

TEST_F(ModelTest, MultiReplaceMatchesItsModel) {
    Generator g(1401);
    const std::vector<std::string> textPieces = {"a", "b", "ab", "A", "中", "文", " ", "\r\n", ",",
                                                 "\xB0\xA1", "\xA1\xB0", "\xA3\xAC", "€"};
    const std::vector<std::string> listPieces = {"a", "b", "中", "文", "x", " ", ",", ",", ",", "\xA1\xA1", "A", "€"};
    for (int run = 0; run < Cases; ++run) {
        const std::string text = g.From(textPieces, 10);
        const std::string subjects = g.From(listPieces, 6), replacements = g.From(listPieces, 6);
        CheckReplace(text, subjects, replacements);
        if (HasFatalFailure()) return;
    }
}

// Characters GBK lacks, as the runtime holds them: emoji (one with a skin
// tone), CJK extensions B and A, Hangul, Thai, Hebrew, e with a combining
// accent, and the spaces above. The result is what GBK text gives with them
// kept where they were.
const std::string Smile = "\x94\x39\xFC\x36", ThumbsUp = "\x94\x39\xD1\x31\x94\x39\xC9\x31";
const std::string ExtensionB = "\x95\x34\xB2\x35", ExtensionA = "\x81\x39\xEE\x39", Hangul = "\x83\x36\x84\x33";
const std::string Thai = "\x81\x32\xCE\x39", Hebrew = "\x81\x30\xF9\x32", Accented = "e\x81\x30\xBC\x37";

TEST_F(ModelTest, EveryToolKeepsCharactersGbkLacks) {
    Generator g(1501);
    const std::vector<std::string> pieces = {"a",    " ",    "\xA1\xA1", "\t",       "\r\n",   "\r\n",         "中",
                                             Smile,  ThumbsUp, ExtensionB, ExtensionA, Hangul, Thai, Hebrew,
                                             Accented, NoBreakSpace, EmSpace, ZeroWidthSpace, ByteOrderMark};
    const std::vector<std::string> affixes = {"", Smile, "(" + Hangul, ExtensionB + "、"};
    const std::vector<std::string> listPieces = {Smile, ExtensionB, Hangul, "a", ",", ",", "笑", ThumbsUp};
    constexpr int WideCases = Cases / 10;
    for (int run = 0; run < WideCases; ++run) {
        const std::string text = g.From(pieces, 12);
        const CleanupOptions cleanup{g.Coin(), g.Coin(), g.Coin(), g.Coin(), g.Coin()};
        ASSERT_EQ(RunCleanup(text, cleanup), CleanupModel(text, cleanup))
            << "text [" << text << "] options " << cleanup.removeSpaces << cleanup.trim << cleanup.removeTabs
            << cleanup.removeBlankLines << cleanup.joinLines;

        const NumberingOptions numbering{g.Pick(affixes), g.Coin() ? "1" : "9", g.Pick(affixes), g.Coin(), g.Coin()};
        ASSERT_EQ(RunNumbering(text, numbering), NumberingModel(text, numbering))
            << "text [" << text << "] prefix [" << numbering.prefix << "] suffix [" << numbering.suffix << "]";

        CheckReplace(text, g.From(listPieces, 5), g.From(listPieces, 5));
        if (HasFatalFailure()) return;
    }
}

}  // namespace
