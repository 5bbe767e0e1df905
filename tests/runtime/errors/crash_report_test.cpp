// What a crash's report says, and the rescue file it saves texts into: how
// texts are converted as they are written, and a new name for every file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/errors/crash_report.h"
#include "runtime/errors/rescue_file.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/rescued_texts.h"
#include "tests/support/temporary_folder.h"

namespace quillet {
namespace {

std::string CrashMessage(DWORD code, std::vector<ULONG_PTR> information = {}) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = code;
    record.ExceptionAddress = reinterpret_cast<void*>(0x00401234);
    record.NumberParameters = static_cast<DWORD>(information.size());
    for (size_t i = 0; i < information.size(); ++i) record.ExceptionInformation[i] = information[i];
    char message[512];
    ComposeCrashMessage(record, message, sizeof message);
    return message;
}

TEST(CrashMessageTest, WhatHappenedItsCodeAndWhere) {
    EXPECT_EQ(CrashMessage(EXCEPTION_ACCESS_VIOLATION, {1, 0x10}),
              "程序崩溃：访问违例（写入地址 0x00000010），异常代码 0xC0000005，位置 0x00401234");
    EXPECT_EQ(CrashMessage(EXCEPTION_ACCESS_VIOLATION, {0, 0xFFFF0000}),
              "程序崩溃：访问违例（读取地址 0xFFFF0000），异常代码 0xC0000005，位置 0x00401234");
    EXPECT_EQ(CrashMessage(EXCEPTION_ACCESS_VIOLATION, {8, 0x2000}),
              "程序崩溃：访问违例（执行地址 0x00002000），异常代码 0xC0000005，位置 0x00401234");
    EXPECT_EQ(CrashMessage(EXCEPTION_ACCESS_VIOLATION), "程序崩溃：访问违例，异常代码 0xC0000005，位置 0x00401234")
        << "a record without the access";
    EXPECT_EQ(CrashMessage(EXCEPTION_STACK_OVERFLOW), "程序崩溃：堆栈溢出，异常代码 0xC00000FD，位置 0x00401234");
    EXPECT_EQ(CrashMessage(EXCEPTION_INT_DIVIDE_BY_ZERO), "程序崩溃：整数除以零，异常代码 0xC0000094，位置 0x00401234");
    EXPECT_EQ(CrashMessage(0xE0434F4D), "程序崩溃：未知异常，异常代码 0xE0434F4D，位置 0x00401234");
}

// Each case is written as one section of a file of its own: UTF-16 pieces
// (wide) or runtime text pieces (text), one call each.
TEST(RescueFileTest, TextsAreWrittenAsUtf8WhateverTheirPieces) {
    struct Piece {
        std::wstring wide;
        std::wstring text;  // converted to runtime text first
    };
    struct Case {
        const char* why;
        std::vector<Piece> pieces;
        std::wstring expected;
    };
    const Case cases[] = {
        {"a pair split between two pieces", {{L"a\xD83D", L""}, {L"\xDE00" L"b", L""}}, L"a😀b"},
        {"a low half alone", {{L"\xDC00x", L""}}, L"\xFFFDx"},
        {"a high half before runtime text", {{L"\xD83D", L""}, {L"", L"c"}}, L"\xFFFD" L"c"},
        {"a high half at the end", {{L"z\xD83D", L""}}, L"z\xFFFD"},
        {"runtime text of GBK and four-byte codes", {{L"", L"中文😀𠮷\r\n"}}, L"中文😀𠮷\r\n"},
        {"both, and an empty piece", {{L"前", L""}, {L"", L""}, {L"", L"后"}}, L"前后"},
    };
    std::vector<std::wstring> paths;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        RescueFile file;
        ASSERT_TRUE(file.BeginSection("t"));
        for (const Piece& piece : c.pieces) {
            file.AppendWide(piece.wide.data(), piece.wide.size());
            const std::string text = TextFromWide(piece.text.data(), piece.text.size());
            file.AppendText(text.data(), text.size());
        }
        EXPECT_TRUE(file.Finish());
        paths.push_back(file.Path());
        const auto sections = rescuedtexts::Sections(FileBytes(paths.back()));
        EXPECT_EQ(sections, (std::map<std::string, std::string>{{"t", rescuedtexts::Utf8(c.expected)}}));
    }
    // Beside the program, each under a name of its own though they came within a second.
    for (const std::wstring& path : paths) {
        EXPECT_EQ(std::count(paths.begin(), paths.end(), path), 1);
        EXPECT_NE(path.find(L"runtime_tests-rescue-"), std::wstring::npos);
        DeleteFileW(path.c_str());
    }
}

TEST(RescueFileTest, NothingBegunIsNoFile) {
    RescueFile file;
    EXPECT_FALSE(file.Finish());
    EXPECT_FALSE(file.Attempted());
    EXPECT_STREQ(file.Path(), L"");
}

}  // namespace
}  // namespace quillet
