// Files and edit boxes: which boxes take dropped files, the FileDropped event
// with the dropped path, and the LoadTextFile command's results.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/units/edit/edit_unit.h"
#include "runtime/values/text_encoding.h"
#include "tests/runtime/units/edit/edit_test_program.h"
#include "tests/support/dropped_files.h"
#include "tests/support/temporary_folder.h"

namespace quillet {
namespace {

using namespace edittest;

constexpr uint32_t A = 0x16010001;
constexpr uint32_t M = 0x16010002;

std::vector<std::string> droppedPaths;  // what the FileDropped handler was given

HandlerResult NoteDroppedPath(const uint32_t* args, int32_t argCount) {
    droppedPaths.push_back(argCount == 1 ? reinterpret_cast<const char*>(static_cast<uintptr_t>(args[0])) : "?");
    return {0, 0, 0};
}

// The box M, multi-line, takes drops; A, bound to its other events only, does not.
class EditFileTest : public EditTest {
protected:
    void LoadBoxes() {
        EditBoxData multi = MultiLine();
        std::vector<EventBinding> dropping = NotingBindings();
        dropping.push_back({EditBoxEvent::FileDropped, testprogram::HandlerOffset(&NoteDroppedPath)});
        ASSERT_TRUE(LoadWindowOf(WindowWith({EditAt(A, {20, 20, 220, 44}, {}, NotingBindings()),
                                             EditAt(M, {20, 60, 320, 260}, multi, dropping)})));
        TakeEvents();
        droppedPaths.clear();
    }

    TemporaryFolder folder_;
};

std::string RuntimeText(const std::wstring& wide) { return TextFromWide(wide.data(), wide.size()); }

bool AcceptsFiles(HWND box) { return (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

int32_t Load(uint32_t unit, const std::wstring& path) {
    const std::string text = RuntimeText(path);
    CommandArg args[2] = {{WindowId, unit, EditType}, {Word(text.c_str()), 0, DataType::Text}};
    CommandArg result{};
    commands::LoadTextFile(&result, 2, args);
    return static_cast<int32_t>(result.low);
}

TEST_F(EditFileTest, OnlyABoxWhoseTemplateBindsFileDroppedTakesDrops) {
    LoadBoxes();
    EXPECT_FALSE(AcceptsFiles(Handle(A)));
    EXPECT_TRUE(AcceptsFiles(Handle(M)));
    // Rebuilt from its saved properties, the box still takes them.
    Write(M, Prop::Alignment, 1);
    EXPECT_TRUE(AcceptsFiles(Handle(M)));
}

// The first of the files, its name with characters GBK lacks, reaches the
// handler as a runtime text; the box's text is the handler's business.
TEST_F(EditFileTest, ADropRaisesFileDroppedWithTheFirstPath) {
    LoadBoxes();
    WriteText(M, Prop::Content, "kept");
    TakeEvents();
    const std::wstring first = WidePath(folder_.Path(), L"\u6587\u672C \U0001F600 \u0E01.txt");
    ASSERT_TRUE(PostDroppedFiles(Handle(M), {first, WidePath(folder_.Path(), L"second.txt")}));
    testprogram::Pump();
    ASSERT_EQ(droppedPaths.size(), 1u);
    EXPECT_EQ(droppedPaths[0], RuntimeText(first));
    EXPECT_NE(droppedPaths[0].find("\xCE\xC4\xB1\xBE \x94\x39\xFC\x36 \x81\x32\xCE\x39.txt"), std::string::npos)
        << "文本, U+1F600 and U+0E01 as the runtime's bytes";
    EXPECT_EQ(ReadText(M, Prop::Content), "kept");
    EXPECT_TRUE(TakeEvents().empty());
}

// Each file against the box's text "before": its status, and the text after.
TEST_F(EditFileTest, LoadTextFileReportsWhyAFileWasNotLoaded) {
    LoadBoxes();
    const std::string gbk = "\xB5\xDA\xD2\xBB\xD0\xD0 line\r\n\xA8\xA6";  // 第一行, é
    // U+0E01 is two bytes in UTF-16 and four in the runtime: under the limit
    // as a file, over it as a text.
    const std::wstring thai(static_cast<size_t>(commands::LargestTextFile / 3), L'\u0E01');
    const struct {
        const char* what;
        std::wstring name;
        std::string bytes;  // the file's content when size is 0
        int64_t size;       // above 0: a file that long, made by moving its end; -1: no file made
        int32_t status;
        std::string text;   // the box's text afterwards
    } cases[] = {
        {"GBK text", L"gbk.txt", gbk, 0, commands::LoadTextFileStatus::Loaded, gbk},
        {"UTF-8 text", L"u8.txt", SavedBytes(L"\u7B2C\u4E00\u884C line\r\n\u00E9", SavedAs::Utf8), 0,
         commands::LoadTextFileStatus::Loaded, gbk},
        {"an empty file", L"empty.txt", "", 0, commands::LoadTextFileStatus::Loaded, ""},
        {"missing", L"missing.txt", "", -1, commands::LoadTextFileStatus::Unreadable, "before"},
        {"a folder", L"", "", -1, commands::LoadTextFileStatus::Unreadable, "before"},
        {"a 0 byte", L"bin.dat", std::string("text\0text", 9), 0, commands::LoadTextFileStatus::NotText, "before"},
        {"one byte too large", L"large.txt", "", commands::LargestTextFile + 1, commands::LoadTextFileStatus::TooLarge,
         "before"},
        {"its text too large", L"thai.txt", SavedBytes(thai, SavedAs::Utf16Le), 0,
         commands::LoadTextFileStatus::TooLarge, "before"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = c.name.empty() ? WidePath(folder_.Path(), L"") : WidePath(folder_.Path(), c.name);
        if (c.size > 0) {
            ASSERT_EQ(MakeFileOfSize(path, c.size), c.size);
        } else if (c.size == 0) {
            ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        }
        WriteText(M, Prop::Content, "before");
        TakeEvents();
        EXPECT_EQ(Load(M, path), c.status);
        EXPECT_EQ(ReadText(M, Prop::Content), c.text);
        // A loaded text is one Content write: one change.
        EXPECT_EQ(TakeEvents(), c.status == commands::LoadTextFileStatus::Loaded ? std::vector<std::string>{"changed 2"}
                                                                                 : std::vector<std::string>{});
        if (c.size == 0) {
            EXPECT_EQ(FileBytes(path), c.bytes) << "the file is never written";
        }
    }
}

TEST_F(EditFileTest, AUnitThatIsNoEditBoxIsLeftAlone) {
    LoadBoxes();
    const std::wstring path = WidePath(folder_.Path(), L"a.txt");
    ASSERT_TRUE(WriteFileBytes(path, "text"));
    const std::string text = RuntimeText(path);
    CommandArg args[2] = {{WindowId, 0, WindowType}, {Word(text.c_str()), 0, DataType::Text}};
    CommandArg result{};
    commands::LoadTextFile(&result, 2, args);
    EXPECT_EQ(static_cast<int32_t>(result.low), commands::LoadTextFileStatus::NotEditBox);
}

}  // namespace
}  // namespace quillet
