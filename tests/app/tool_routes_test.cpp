// The window and the command line run one implementation of each tool: what
// the window makes of its box and its page's options is what the tool makes
// of the same text and choice with no window at all.
#include <gtest/gtest.h>

#include <string>

#include "app/tools.h"
#include "tests/app/tool_window.h"

namespace {

using namespace tool;
namespace app = quillet::app;

std::string Bytes(const quillet::compiled::OwnedText& text) { return text.Get() != nullptr ? text.Get() : ""; }

// Blank lines of spaces and tabs, full-width spaces, a four-byte code, a last
// line without its break, a lone LF and CR inside lines.
const std::string Texts[] = {
    "",
    "  \xD6\xD0\xCE\xC4 a\t b  \r\n\r\n \t \r\n\xA1\xA1x\xA1\xA1\r\nlast",
    "one\r\n\r\n\r\ntwo\r\n\r\n\x94\x39\xFC\x36 three\r\n",
    "a\nb\rc\r\n\r\n",
};

TEST(ToolRoutesTest, TheWindowGivesWhatTheToolGivesForTheSameTextAndOptions) {
    Reset();
    const CleanupOptions cleanups[] = {{}, {true, true, true, true, true}, {false, true, false, false, true},
                                       {false, false, false, false, false}};
    const NumberingOptions numberings[] = {{}, {"\xB5\xDA", "7", "\xA1\xA2", false, false}, {"[", "", "]", true, true},
                                           {"", "98", ".", true, false}};
    const std::pair<const char*, const char*> lists[] = {{"a,b,", ",x,y"}, {"\xD6\xD0", "zhong"}, {"t,,", "T"}};
    for (const std::string& text : Texts) {
        SCOPED_TRACE(text);
        for (const CleanupOptions& o : cleanups) {
            const app::CleanupChoice choice{o.removeSpaces, o.trim, o.removeTabs, o.removeBlankLines, o.joinLines};
            EXPECT_EQ(RunCleanup(text, o), Bytes(app::CleanupText(text.c_str(), choice, app::SteadyPace()).text));
        }
        for (const NumberingOptions& o : numberings) {
            const app::NumberingChoice choice{o.prefix.c_str(), o.start.c_str(), o.suffix.c_str(), o.zeroFill,
                                              o.skipBlank};
            EXPECT_EQ(RunNumbering(text, o), Bytes(app::NumberText(text.c_str(), choice, app::SteadyPace()).text));
        }
        for (const auto& [subjects, replacements] : lists) {
            const auto strippedSubjects = app::StripEndCommas(subjects), strippedReplacements = app::StripEndCommas(replacements);
            const app::ReplaceChoice choice{strippedSubjects.Get(), strippedReplacements.Get()};
            EXPECT_EQ(RunReplace(text, subjects, replacements),
                      Bytes(app::ReplaceText(text.c_str(), choice, app::SteadyPace()).text));
        }
    }
}

}  // namespace
