// Files in and out of the main box through the real window: a file comes back
// byte for byte in its own form, a run is saved in that form, the questions a
// save asks and the answers' bytes, the title, and failures that leave the
// file as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/values/text_encoding.h"
#include "tests/app/tool_window.h"
#include "tests/support/dropped_files.h"
#include "tests/support/temporary_folder.h"

namespace {

using namespace tool;
namespace FileEncoding = quillet::commands::FileEncoding;

const std::string Title0 = "Quillet [Sandpost_tmwrk]";

// A text's bytes as a file of the encoding holds them. GBK and GB18030 are the
// runtime's own bytes: the same for the characters these tests use.
std::string FileOf(const std::wstring& text, int encoding) {
    constexpr SavedAs Unicode[] = {SavedAs::Utf8, SavedAs::Utf8Mark, SavedAs::Utf16Le, SavedAs::Utf16Be};
    return encoding <= FileEncoding::Gb18030 ? quillet::TextFromWide(text.c_str())
                                             : SavedBytes(text, Unicode[encoding - FileEncoding::Utf8]);
}

std::wstring Joined(const std::vector<std::wstring>& lines, const std::wstring& lineBreak, bool lastBreak) {
    std::wstring text;
    for (size_t k = 0; k < lines.size(); ++k) text += lines[k] + (k + 1 < lines.size() || lastBreak ? lineBreak : L"");
    return text;
}

// The key, with no box expected; a box it showed fails the test.
void Press(UINT key, std::vector<UINT> modifiers = {VK_CONTROL}) {
    for (const SeenMessageBox& box : PressKeyAnswering(Unit::MainBox, key, modifiers, {{IDOK}}))
        ADD_FAILURE() << "a message box showed: " << box.text;
}

class FilesTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }

    std::wstring Write(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = WidePath(folder_.Path(), name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    std::wstring Load(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = Write(name, bytes);
        const SeenMessageBox box = DropWatchingForBox(Unit::MainBox, {path});
        EXPECT_FALSE(box.found) << box.text;
        return path;
    }
    // The folder's names: a save leaves nothing behind but the file and its backup.
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(WidePath(folder_.Path(), L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    TemporaryFolder folder_;
};

TEST_F(FilesTest, EveryFormComesBackByteForByteAndARunIsSavedInIt) {
    const std::wstring breaks[] = {L"\r\n", L"\n", L"\r"};
    NumberingOptions numbering;  // "1、"
    numbering.suffix = "\xA1\xA2";
    numbering.zeroFill = false;
    int serial = 0;
    for (int encoding = 0; encoding < FileEncoding::Count; ++encoding) {
        for (const std::wstring& lineBreak : breaks) {
            const bool lastBreak = ++serial % 2 == 0;
            SCOPED_TRACE("encoding " + std::to_string(encoding) + ", file " + std::to_string(serial));
            // An emoji makes a file without a mark GB18030; GBK cannot hold it.
            const std::wstring tail = encoding == FileEncoding::Gbk ? L"" : L" \U0001F600";
            const std::vector<std::wstring> lines = {L"\u7B2C\u4E00\u884C alpha", L"", L"beta \u00E9" + tail};
            const std::string original = FileOf(Joined(lines, lineBreak, lastBreak), encoding);
            const std::wstring name = L"\u6587\u4EF6 " + std::to_wstring(serial) + L".txt";
            const std::wstring path = Load(name, original);
            Idle();
            EXPECT_EQ(Title(), Title0 + " - " + quillet::TextFromWide(name.c_str()));

            Press('S');  // nothing changed: nothing written, no backup
            EXPECT_EQ(FileBytes(path), original);
            EXPECT_EQ(Footer().rfind("\xCE\xC4\xB1\xBE", 0), 0u) << Footer();  // "文本与文件相同…"
            EXPECT_EQ(FileSizeOf(path + L".bak"), -1);

            RunNumbering(Text(Unit::MainBox), numbering);  // every line numbered: the breaks were lines'
            Idle();
            EXPECT_NE(Title().find(" - *"), std::string::npos) << Title();
            Press('S');
            const std::vector<std::wstring> numbered = {L"1\u3001" + lines[0], L"", L"2\u3001" + lines[2]};
            EXPECT_EQ(FileBytes(path), FileOf(Joined(numbered, lineBreak, lastBreak), encoding));
            EXPECT_EQ(FileBytes(path + L".bak"), original);
            Idle();
            EXPECT_EQ(Title().find('*'), std::string::npos) << Title();

            Click(Unit::UndoLabel);  // the text of the file as it was, saved again: the very bytes
            Press('S');
            EXPECT_EQ(FileBytes(path), original);
            EXPECT_EQ(FileBytes(path + L".bak"), original) << "later saves keep the session's backup";
        }
    }
}

// GBK lacks the emoji: the save asks, and each answer gives its bytes.
TEST_F(FilesTest, ACharacterTheEncodingLacksIsNamedAndTheAnswerChoosesTheEncoding) {
    const std::wstring text = L"\u4E2D\u6587\r\nsmile \U0001F600\r\n";
    const struct {
        int button;
        std::string bytes;
    } answers[] = {
        {IDYES, quillet::TextFromWide(text.c_str())},  // GB18030
        {IDNO, SavedBytes(text, SavedAs::Utf8)},
        {IDCANCEL, "\xD6\xD0\xCE\xC4\r\n"},  // as it was
    };
    for (const auto& answer : answers) {
        const std::wstring path = Load(L"gbk " + std::to_wstring(answer.button) + L".txt", "\xD6\xD0\xCE\xC4\r\n");
        SetText(Unit::MainBox, quillet::TextFromWide(text.c_str()));
        const auto boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{answer.button}});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find("\xB5\xDA 2 \xD0\xD0"), std::string::npos) << boxes[0].text;  // 第 2 行
        EXPECT_NE(boxes[0].text.find("\x94\x39\xFC\x36"), std::string::npos) << boxes[0].text;   // the emoji
        EXPECT_EQ(FileBytes(path), answer.bytes);
    }
}

// 另存为: the dialog offers the encodings with the file's own chosen first;
// the bytes are the chosen encoding's, and the box holds the new file after.
TEST_F(FilesTest, SaveAsOffersTheEncodingsWithTheFilesOwnChosen) {
    const std::wstring text = L"\u4E2D\u6587 \U0001F600\r\n";
    Load(L"big endian.txt", SavedBytes(text, SavedAs::Utf16Be));
    const std::wstring copy = WidePath(folder_.Path(), L"\u526F\u672C.txt");
    FileDialogView view;
    const auto boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL, VK_SHIFT},
                                         {{IDOK, FillFileDialog(copy, FileEncoding::Utf8Mark, &view)}});
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_EQ(view.types.size(), static_cast<size_t>(FileEncoding::Count));
    EXPECT_EQ(view.types[0].rfind("GBK", 0), 0u);
    EXPECT_EQ(view.types[FileEncoding::Utf8Mark].rfind("UTF-8 ", 0), 0u);
    EXPECT_EQ(view.shownType, FileEncoding::Utf16Be);
    EXPECT_EQ(FileBytes(copy), SavedBytes(text, SavedAs::Utf8Mark));
    Idle();
    EXPECT_EQ(Title(), Title0 + " - \xB8\xB1\xB1\xBE.txt");  // 副本.txt

    // A text without a file: Ctrl+S asks where, GBK chosen first when GBK holds it all.
    Reset();
    SetText(Unit::MainBox, "\xD6\xD0\xCE\xC4");
    view = {};
    const std::wstring fresh = WidePath(folder_.Path(), L"new.txt");
    PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{IDOK, FillFileDialog(fresh, -1, &view)}});
    EXPECT_EQ(view.shownType, FileEncoding::Gbk);
    EXPECT_EQ(FileBytes(fresh), "\xD6\xD0\xCE\xC4");
}

// Whatever fails leaves the file as it was, no file behind, and a message
// that names the file and the cause; another program's change is asked about.
TEST_F(FilesTest, AFailedSaveLeavesTheFileAndSaysWhyAndAChangeFromOutsideIsAskedAbout) {
    const std::wstring path = Load(L"\u5B88.txt", "kept\r\n");
    SetText(Unit::MainBox, "changed\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    auto boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{IDOK}});
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("\xCA\xD8.txt"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("\xD6\xBB\xB6\xC1"), std::string::npos) << boxes[0].text;  // 只读
    EXPECT_EQ(FileBytes(path), "kept\r\n");

    {  // held open by another program, without sharing
        const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{IDOK}});
        CloseHandle(held);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(FileBytes(path), "kept\r\n");
    }
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"\u5B88.txt"});

    ASSERT_TRUE(WriteFileBytes(path, "theirs, longer\r\n"));
    for (const int button : {IDNO, IDYES}) {
        boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{button}});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(FileBytes(path), button == IDNO ? "theirs, longer\r\n" : "changed\r\n");
    }
}

// A GBK file's bytes that are no character: counted at load, shown as '?',
// and asked about before the first save that would write them so.
TEST_F(FilesTest, BytesThatAreNoCharacterAreToldAtLoadAndBeforeTheFirstSave) {
    const std::string damaged = "a\x81 b\r\n";
    const std::wstring path = Load(L"damaged.txt", damaged);
    EXPECT_NE(Footer().find("1 "), std::string::npos) << Footer();
    Press('S');  // unchanged: not written, nothing asked
    EXPECT_EQ(FileBytes(path), damaged);
    SetText(Unit::MainBox, Text(Unit::MainBox) + "more\r\n");
    for (const int button : {IDNO, IDYES}) {
        const auto boxes = PressKeyAnswering(Unit::MainBox, 'S', {VK_CONTROL}, {{button}});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(FileBytes(path) == damaged, button == IDNO);
    }
}

// Undo after a load gives back the text and the file it belonged to: a save
// then writes the first file, never the second.
TEST_F(FilesTest, UndoAfterALoadGivesBackTheFileTheOldTextBelongedTo) {
    const std::wstring first = Load(L"first.txt", "first\r\n");
    SetText(Unit::MainBox, "first, edited\r\n");
    const std::wstring second = Load(L"second.txt", "second\r\n");
    Click(Unit::UndoLabel);
    Press('S');
    EXPECT_EQ(FileBytes(first), "first, edited\r\n");
    EXPECT_EQ(FileBytes(second), "second\r\n");
    Idle();
    EXPECT_EQ(Title(), Title0 + " - first.txt");
}

// The file keys act from every unit, the tab strip too, and a key's repeats
// save nothing; 打开 is a click away as well.
TEST_F(FilesTest, TheFileKeysActFromEveryUnitOnceAndTheLabelsByMouse) {
    const std::wstring path = Load(L"keys.txt", "keys\r\n");
    SetText(Unit::MainBox, "keys, edited\r\n");
    PressKey(Unit::TabControl, 'S', {VK_CONTROL}, Stroke::Hold);  // the first goes down: saved
    EXPECT_EQ(FileBytes(path), "keys, edited\r\n");
    SetText(Unit::MainBox, "keys, edited again\r\n");
    PressKey(Unit::TabControl, 'S', {VK_CONTROL}, Stroke::Repeat);
    PressKey(Unit::TabControl, 'S', {VK_CONTROL}, Stroke::Release);
    EXPECT_EQ(FileBytes(path), "keys, edited\r\n") << "a repeat saves nothing";
    PressKeyAnswering(Unit::CleanupButton, 'S', {VK_CONTROL}, {});
    EXPECT_EQ(FileBytes(path), "keys, edited again\r\n");

    const std::wstring other = Write(L"other.txt", "other\r\n");
    const auto boxes = ClickAnswering(Unit::OpenLabel, {{IDOK, FillFileDialog(other)}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Text(Unit::MainBox), "other\r\n");
}

// Closing with unsaved changes asks; 取消 keeps the window and its text.
TEST_F(FilesTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
    Load(L"open.txt", "open\r\n");
    SetText(Unit::MainBox, "open, edited\r\n");
    const auto boxes = CloseAnswering({{IDCANCEL}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("open.txt"), std::string::npos) << boxes[0].text;
    ASSERT_NE(Handle(quillet::app::WindowRecord), nullptr);
    EXPECT_EQ(Text(Unit::MainBox), "open, edited\r\n");
}

}  // namespace
