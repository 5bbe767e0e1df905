// The third page, "多词替换", run by its button on the real window, with the
// message boxes it shows read from the screen.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/tool_window.h"
#include "tests/support/child_process.h"

namespace {

using namespace tool;

const char* const EmptySubject = "预被替换文本不能为空。";
const char* const Mismatch = "预被替换内容与用作替换内容不匹配！";

// The settings file the program writes beside the running executable.
std::string SettingsFile() { return BesideTests("qlt_config.ini"); }

std::string Stored(const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA("replace", key, "(missing)", value, sizeof value, SettingsFile().c_str());
    return value;
}

class ReplaceTest : public testing::Test {
protected:
    void SetUp() override {
        Reset();
        DeleteFileA(SettingsFile().c_str());
    }

    // A run that must show no message box.
    std::string Run(const std::string& text, const std::string& subjects, const std::string& replacements) {
        SeenMessageBox box;
        std::string result = RunReplace(text, subjects, replacements, &box);
        EXPECT_FALSE(box.found) << box.text;
        return result;
    }

    // A run that must show exactly this message in an OK box titled as the runtime titles it.
    std::string RunExpecting(const char* message, const std::string& text, const std::string& subjects,
                             const std::string& replacements) {
        SeenMessageBox box;
        std::string result = RunReplace(text, subjects, replacements, &box);
        EXPECT_TRUE(box.found);
        EXPECT_EQ(box.text, message);
        EXPECT_EQ(box.title, "信息：");
        EXPECT_EQ(box.buttonIds, std::vector<int>{IDOK});
        return result;
    }
};

// Each row: the main box's text, the subject and replacement boxes, the text after the run.
TEST_F(ReplaceTest, SubjectsAreReplacedInOrderOverTheWholeText) {
    struct Case {
        const char* why;
        std::string text, subjects, replacements, expected;
    };
    const Case cases[] = {
        {"pairs in order", "abc cab\r\nbca", "a,b,c", "x,y,z", "xyz zxy\r\nyzx\r\n"},
        {"the second pair acts on what the first inserted", "ab ba", "a,b", "b,c", "cc cc\r\n"},
        {"a list against one text", "a-b-c", "a,b", "_", "_-_-c\r\n"},
        {"a list against nothing", "a-b-c", "a,b", "", "--c\r\n"},
        {"one text against one text", "中文中 文", "中", "X", "X文X 文\r\n"},
        {"no overlap, no second look at the result", "aaaa", "aa", "a", "aa\r\n"},
        {"one text against nothing", "a b a", "a", "", " b \r\n"},
        {"case-sensitive", "Aa", "a", "x", "Ax\r\n"},
        {"a match never starts inside a double-byte character", "\xB0\xA1\xA1\xB0", "\xA1\xA1", "x",
         "\xB0\xA1\xA1\xB0\r\n"},
        {"the euro sign is one byte: a pair after it is whole", "100€中国", "中国", "CN", "100€CN\r\n"},
        {"the euro sign never leads a four-byte code's bytes", "€\x94\x39\xFC\x36", "9", "x",
         "€\x94\x39\xFC\x36\r\n"},
        {"a full-width comma does not split", "a\xA3\xAC" "b and a", "a\xA3\xAC" "b", "X", "X and a\r\n"},
        {"an empty middle item counts but replaces nothing", "a b c", "a,,b", "x,y,z", "x z c\r\n"},
        // "x,," keeps one comma after stripping and splits into the one item x.
        {"a subject list of one item", "x y", "x,,", "z", "z y\r\n"},
        {"a replacement list of one item", "x y", "x", "z,,", "z y\r\n"},
        {"both lists of one item", "x y x", "x,,", "z,,", "z y z\r\n"},
        {"two subjects with a replacement list of one", "x y", "x,y", "z,,", "z z\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Run(c.text, c.subjects, c.replacements), c.expected) << c.why;
}

TEST_F(ReplaceTest, OneCommaIsStrippedAtEachEndOfEachBoxAndTheFileKeepsThemUntilTheNextRun) {
    EXPECT_EQ(Run("a b", "a,b,", "x,y"), "x y\r\n");
    EXPECT_EQ(Text(Unit::SubjectBox), "a,b");
    EXPECT_EQ(Stored("#subject"), "a,b,");
    EXPECT_EQ(Stored("#predicate"), "x,y");

    // ",a," splits into "" and "a", paired with x and y.
    EXPECT_EQ(Run("a b", ",,a,,", ",x,y,"), "y b\r\n");
    EXPECT_EQ(Text(Unit::SubjectBox), ",a,");
    EXPECT_EQ(Text(Unit::PredicateBox), "x,y");
    EXPECT_EQ(Stored("#subject"), ",,a,,");

    // The next run writes what the boxes hold now, then strips them again:
    // the one subject "a" no longer fits the two replacements.
    EXPECT_EQ(ClickWatchingForBox(Unit::ReplaceButton).text, Mismatch);
    EXPECT_EQ(Stored("#subject"), ",a,");
    EXPECT_EQ(Stored("#predicate"), "x,y");
    EXPECT_EQ(Text(Unit::SubjectBox), "a");
}

TEST_F(ReplaceTest, DifferentListLengthsAreReportedAndChangeNothing) {
    const std::string text = "a b c";  // no line break at the end: not even that is added
    EXPECT_EQ(RunExpecting(Mismatch, text, "a,b,c", "x,y"), text);
    // The boxes were saved and undo holds the same text.
    EXPECT_EQ(Stored("#subject"), "a,b,c");
    EXPECT_EQ(Stored("#predicate"), "x,y");
    SetText(Unit::MainBox, "other");
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), text);
}

TEST_F(ReplaceTest, AnEmptySubjectIsReportedAndTheLinesAreStillRewritten) {
    EXPECT_EQ(RunExpecting(EmptySubject, "a\r\nb", "", "x"), "a\r\nb\r\n");
    EXPECT_EQ(RunExpecting(EmptySubject, "a,b", ",", "x,y"), "a,b\r\n");  // one comma, stripped away
}

TEST_F(ReplaceTest, OneSubjectAgainstAListIsReportedAndChangesNothing) {
    EXPECT_EQ(RunExpecting(Mismatch, "x y", "x", "p,q"), "x y");
    EXPECT_EQ(RunExpecting(Mismatch, "x y", "x,,", "p,q,r"), "x y");
}

// Lists the settings file cannot take (here a folder has its name) are named
// in one message a session, after the run, which goes on as ever.
TEST_F(ReplaceTest, ListsThatCannotBeSavedAreToldOnceASessionAfterTheRun) {
    struct Folder {
        std::string path;
        ~Folder() { RemoveDirectoryA(path.c_str()); }
    } folder{SettingsFile()};
    ASSERT_TRUE(CreateDirectoryA(folder.path.c_str(), nullptr));
    ShowPage(2);
    SetText(Unit::MainBox, "a b");
    SetText(Unit::SubjectBox, "a");
    SetText(Unit::PredicateBox, "x");
    HWND mainBox = Handle(Unit::MainBox);
    std::wstring whileShown;
    const SeenMessageBox box = ClickWatchingForBox(Unit::ReplaceButton, [&](HWND) {
        whileShown.resize(static_cast<size_t>(GetWindowTextLengthW(mainBox)) + 1);
        whileShown.resize(static_cast<size_t>(GetWindowTextW(mainBox, whileShown.data(), static_cast<int>(whileShown.size()))));
    });
    EXPECT_EQ(box.text, "无法写入设置文件 " + SettingsFile() + "，两个替换列表没有保存，下次启动时将不会恢复。");
    EXPECT_EQ(whileShown, L"x b\r\n") << "shown when the run is done";
    EXPECT_EQ(Run("a b", "a", "y"), "y b\r\n") << "told once a session";
}

}  // namespace
