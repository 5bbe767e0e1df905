// A text file dropped on the main box: loaded in any of its encodings with
// every character, undone with one press; refused with a message, and the box
// and its undo text left alone, when it cannot be loaded.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/commands/command_list.h"
#include "tests/app/tool_window.h"
#include "tests/support/dropped_files.h"
#include "tests/support/temporary_folder.h"

namespace {

using namespace tool;

// Chinese, é (in GBK), then Thai ก, 😀 and 𠮷, which GBK lacks.
const std::wstring AnyText = L"\u7B2C\u4E00\u884C Quillet\r\n\u4E2D\u6587 \u0E01 \U0001F600 \u00E9 \U00020BB7\r\n";
// The same as the runtime holds it: GBK, and four-byte codes for the rest.
const std::string AnyTextBytes =
    "\xB5\xDA\xD2\xBB\xD0\xD0 Quillet\r\n\xD6\xD0\xCE\xC4 \x81\x32\xCE\x39 \x94\x39\xFC\x36 \xA8\xA6 "
    "\x95\x34\xB2\x35\r\n";
// A GBK file holds only what GBK has: 第一行 Quillet, 中文 é.
const std::string GbkText = "\xB5\xDA\xD2\xBB\xD0\xD0 Quillet\r\n\xD6\xD0\xCE\xC4 \xA8\xA6\r\n";

class FileDropTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }

    // The file written under a name with characters GBK lacks.
    std::wstring Saved(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = WidePath(folder_.Path(), L"\u6587\u672C \U0001F600 " + name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    TemporaryFolder folder_;
};

TEST_F(FileDropTest, ATextFileInAnyEncodingReplacesTheTextAndOneUndoBringsTheOldTextBack) {
    const struct {
        const char* what;
        std::string bytes;
        std::string text;  // the box's text after the drop
    } files[] = {
        {"UTF-8", SavedBytes(AnyText, SavedAs::Utf8), AnyTextBytes},
        {"UTF-8 with its mark", SavedBytes(AnyText, SavedAs::Utf8Mark), AnyTextBytes},
        {"UTF-16LE", SavedBytes(AnyText, SavedAs::Utf16Le), AnyTextBytes},
        {"UTF-16BE", SavedBytes(AnyText, SavedAs::Utf16Be), AnyTextBytes},
        {"GBK", GbkText, GbkText},
    };
    int serial = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        std::string before = "before the drop \xD6\xD0 ";
        before += std::to_string(++serial);
        SetText(Unit::MainBox, before);
        const std::wstring path = Saved(std::to_wstring(serial) + L".txt", file.bytes);
        const SeenMessageBox box = DropWatchingForBox(Unit::MainBox, {path});
        EXPECT_FALSE(box.found) << box.text;
        EXPECT_EQ(Text(Unit::MainBox), file.text);
        EXPECT_EQ(FileBytes(path), file.bytes) << "the file is only read";
        // By 撤消, or by Ctrl+Z while the box holds the file's text.
        serial % 2 == 0 ? Click(Unit::UndoLabel) : PressKey(Unit::MainBox, 'Z', {VK_CONTROL});
        EXPECT_EQ(Text(Unit::MainBox), before);
    }
}

// A UTF-8 file with a stray byte or a last character cut short is still read
// as UTF-8, each damaged place a U+FFFD that the footer counts.
TEST_F(FileDropTest, AFewDamagedPlacesInAUtf8FileAreReplacedAndCountedInTheFooter) {
    // Six copies hold 54 multi-byte characters: one stray byte in 108 is few enough.
    std::string utf8, text;
    for (int k = 0; k < 6; ++k) utf8 += SavedBytes(AnyText, SavedAs::Utf8), text += AnyTextBytes;
    const std::string fffd = "\x84\x31\xA4\x37";
    const struct {
        std::string bytes;
        std::string text;
        std::string footer;
    } files[] = {
        {utf8 + "\xFF" + utf8 + "\xE4\xB8", text + fffd + text + fffd, "已载入文件：2 处无法识别的编码已替换为 U+FFFD"},
        {utf8, text, "Quillet by Jev  版本：1.0"},
    };
    for (const auto& file : files) {
        ASSERT_FALSE(DropWatchingForBox(Unit::MainBox, {Saved(L"damaged.txt", file.bytes)}).found);
        EXPECT_EQ(Text(Unit::MainBox), file.text);
        EXPECT_EQ(Footer(), file.footer);
    }
}

// Of several files dropped at once, the first is loaded.
TEST_F(FileDropTest, OfSeveralFilesTheFirstIsLoaded) {
    const std::wstring first = Saved(L"first.txt", "first");
    const std::wstring second = Saved(L"second.txt", "second");
    const SeenMessageBox box = DropWatchingForBox(Unit::MainBox, {first, second});
    EXPECT_FALSE(box.found) << box.text;
    EXPECT_EQ(Text(Unit::MainBox), "first");
}

TEST_F(FileDropTest, AFileThatCannotBeLoadedIsRefusedWithAMessageAndChangesNothing) {
    // A loaded file first: undo has the text from before it.
    SetText(Unit::MainBox, "saved for undo");
    ASSERT_FALSE(DropWatchingForBox(Unit::MainBox, {Saved(L"loaded.txt", "loaded")}).found);
    ASSERT_EQ(Text(Unit::MainBox), "loaded");

    const std::wstring binary = Saved(L"program.exe", std::string("MZ\x90\0\x03\0\0\0\x04\0", 10));
    const std::wstring large = WidePath(folder_.Path(), L"large.txt");
    ASSERT_EQ(MakeFileOfSize(large, quillet::commands::LargestTextFile + 1), quillet::commands::LargestTextFile + 1);
    const struct {
        const char* what;
        std::wstring path;
        std::string message;
    } refused[] = {
        {"not text", binary, "这不是文本文件，未载入。"},
        {"missing", WidePath(folder_.Path(), L"missing.txt"), "无法打开或读取这个文件。"},
        // The message names the limit.
        {"too large", large,
         "文件太大，无法载入（最大 " + std::to_string(quillet::commands::LargestTextFile >> 20) + " MB）。"},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.what);
        const std::string bytes = FileBytes(file.path);
        const SeenMessageBox box = DropWatchingForBox(Unit::MainBox, {file.path});
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.text, file.message);
        EXPECT_EQ(Text(Unit::MainBox), "loaded");
        EXPECT_EQ(FileBytes(file.path), bytes);
    }
    EXPECT_EQ(FileSizeOf(large), quillet::commands::LargestTextFile + 1);
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), "saved for undo");
}

// A drop queued behind a run's click is handled by the run's ProcessEvents
// and ignored: the run's result stands, and undo goes back to before the run.
TEST_F(FileDropTest, ADropDuringARunIsIgnored) {
    std::string text;
    for (int i = 1; i <= 40; ++i) text += " line " + std::to_string(i) + " \tof text\r\n";
    const std::string result = RunCleanup(text, {});
    ASSERT_NE(result, text);

    SetText(Unit::MainBox, text);
    PostMouseDown(Unit::CleanupButton);
    PostMouseUp(Unit::CleanupButton);
    const SeenMessageBox box = DropWatchingForBox(Unit::MainBox, {Saved(L"dropped.txt", "dropped")});
    EXPECT_FALSE(box.found) << box.text;
    EXPECT_EQ(Text(Unit::MainBox), result);
    Click(Unit::UndoLabel);
    EXPECT_EQ(Text(Unit::MainBox), text);
}

}  // namespace
