// ReadConfigItem and WriteConfigItem on real profile files in a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "runtime/commands/command_list.h"
#include "runtime/commands/settings_file.h"
#include "runtime/services/compiled_code.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/dropped_files.h"
#include "tests/support/failing_file_calls.h"
#include "tests/support/temporary_folder.h"

namespace quillet::compiled {
namespace {

using commands::LargestSettingsFile;
namespace SettingsFileState = commands::SettingsFileState;

class ConfigCommandsTest : public testing::Test {
protected:
    std::string Read(const std::string& file, const char* section, const char* key) {
        return Text(CallText(commands::ReadConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key)));
    }
    std::string Read(const std::string& file, const char* section, const char* key, const char* fallback) {
        return Text(CallText(commands::ReadConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key),
                             TextArg(fallback)));
    }
    bool Write(const std::string& file, const char* section, const char* key, const char* value) {
        return CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key),
                       TextArg(value)) != 0;
    }
    bool Write(const std::string& file, const std::string& section, const std::string& key, const std::string& value) {
        return Write(file, section.c_str(), key.c_str(), value.c_str());
    }
    // Null leaves the key or the value out.
    bool WriteOrRemove(const std::string& file, const char* section, const char* key, const char* value) {
        return CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg(section), key ? TextArg(key) : Omitted,
                       value ? TextArg(value) : Omitted) != 0;
    }
    static std::string Text(const OwnedText& text) { return text.IsEmpty() ? std::string() : text.Get(); }
    // Runtime bytes of characters code page 936 lacks, which no narrow literal here can hold.
    static std::string Bytes(std::wstring_view wide) { return TextFromWide(wide.data(), wide.size()); }
    static bool IsUtf16(const std::string& file) { return FileBytes(file).rfind("\xFF\xFE", 0) == 0; }
    // The platform's own read, of any length, after dropping the copy of the
    // file it may keep from before our last write.
    static std::string PlatformRead(const std::string& file, const wchar_t* section, const wchar_t* key,
                                    const wchar_t* fallback = L"") {
        const std::wstring path = WideFromText(file.c_str());
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
        std::wstring value(256, L'\0');
        for (;; value.resize(value.size() * 2)) {  // until the value is not cut to the buffer
            const DWORD units = GetPrivateProfileStringW(section, key, fallback, value.data(),
                                                         static_cast<DWORD>(value.size()), path.c_str());
            if (units + 1 < value.size()) return TextFromWide(value.data(), units);
        }
    }

    TemporaryFolder folder{"quillet-config"};
    const std::string file = folder.File("qlt_config.ini");
    FileSystemCalls calls = SystemFileCalls();  // for the cases that make one fail
};

TEST_F(ConfigCommandsTest, GbkValuesRoundTripUnderKeysBeginningWithHash) {
    ASSERT_TRUE(Write(file, "replace", "#subject", "苹果,香蕉,橙子"));
    ASSERT_TRUE(Write(file, "replace", "#predicate", "apple,banana,orange"));
    EXPECT_EQ(Read(file, "replace", "#subject"), "苹果,香蕉,橙子");
    EXPECT_EQ(Read(file, "replace", "#predicate"), "apple,banana,orange");
    EXPECT_NE(FileBytes(file).find("#subject=苹果,香蕉,橙子"), std::string::npos) << "GBK bytes are stored as they are";
}

// A value is read whole, however long: a long replacement list (some 1,300
// words) comes back as it was saved, in a GBK file and a UTF-16 one alike.
TEST_F(ConfigCommandsTest, ValuesOfAnyLengthAreReadWhole) {
    std::string words;
    for (int i = 0; i < 1300; ++i) words += (i > 0 ? ",词语" : "词语") + std::to_string(i);
    const std::string smile = Bytes(L"\U0001F600");
    const auto x = [](size_t count) { return std::string(count, 'x'); };
    const std::string values[] = {words, x(10239), x(10240), x(10237) + "中", x(10236) + smile + "y",
                                  x(100000) + "中" + smile};
    ASSERT_GT(words.size(), 10240u);
    // The GBK file turns UTF-16 at the emoji, long lines and all.
    for (const bool utf16 : {false, true}) {
        const std::string at = folder.File(utf16 ? "utf16.ini" : "gbk.ini");
        ASSERT_TRUE(WriteFileBytes(at, utf16 ? "\xFF\xFE" : ""));
        const auto key = [](size_t i) { return "k" + std::to_string(i); };
        for (size_t i = 0; i < std::size(values); ++i) ASSERT_TRUE(Write(at, "s", key(i), values[i])) << i;
        for (size_t i = 0; i < std::size(values); ++i)
            EXPECT_TRUE(Read(at, "s", key(i).c_str()) == values[i]) << utf16 << " " << i;  // not printed: long
        EXPECT_TRUE(IsUtf16(at));
        EXPECT_EQ(PlatformRead(at, L"s", L"k0"), words) << "the platform reads it so too";
    }
}

TEST_F(ConfigCommandsTest, MissingFileSectionOrKeyGivesTheDefault) {
    const std::string missingFile = folder.File("none.ini");
    EXPECT_EQ(Read(missingFile, "s", "k", "默认"), "默认");
    EXPECT_EQ(Read(missingFile, "s", "k"), "");
    EXPECT_FALSE(FileExists(missingFile)) << "reading creates no file";

    ASSERT_TRUE(Write(file, "s", "k", "v"));
    EXPECT_EQ(Read(file, "other", "k", "d1"), "d1");
    EXPECT_EQ(Read(file, "s", "other", "d2"), "d2");
    EXPECT_TRUE(CallText(commands::ReadConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("other")).Get() ==
                nullptr)
        << "no default: the empty text";
}

TEST_F(ConfigCommandsTest, AnEmptyValueIsStoredAndAnOmittedValueDeletesTheKey) {
    ASSERT_TRUE(Write(file, "s", "keep", "1"));
    ASSERT_TRUE(Write(file, "s", "empty", ""));
    EXPECT_EQ(Read(file, "s", "empty", "default"), "") << "the key exists, with an empty value";

    ASSERT_TRUE(Write(file, "s", "gone", "2"));
    EXPECT_NE(CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("gone")), 0);
    EXPECT_EQ(Read(file, "s", "gone", "default"), "default");
    EXPECT_EQ(FileBytes(file).find("gone"), std::string::npos);
    EXPECT_EQ(Read(file, "s", "keep"), "1");

    // An omitted record in the middle of the list counts by its type word.
    ASSERT_TRUE(Write(file, "s", "gone", "3"));
    EXPECT_NE(CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("gone"), Omitted), 0);
    EXPECT_EQ(Read(file, "s", "gone", "default"), "default");
}

TEST_F(ConfigCommandsTest, AnOmittedKeyDeletesTheWholeSection) {
    ASSERT_TRUE(Write(file, "first", "a", "1"));
    ASSERT_TRUE(Write(file, "first", "b", "2"));
    ASSERT_TRUE(Write(file, "second", "c", "3"));
    EXPECT_NE(CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg("first"), Omitted, TextArg("ignored")),
              0);
    EXPECT_EQ(Read(file, "first", "a", "none"), "none");
    EXPECT_EQ(Read(file, "first", "b", "none"), "none");
    EXPECT_EQ(Read(file, "second", "c"), "3");
    EXPECT_EQ(FileBytes(file).find("[first]"), std::string::npos);
}

// A write that cannot be done leaves the file as it was, byte for byte, and
// nothing beside it, whatever the write: a changed value, a character GBK
// lacks (which would turn the file UTF-16), a section removed.
TEST_F(ConfigCommandsTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    const std::string lists = "[s]\r\nk=旧\r\n[t]\r\nx=1\r\n", tooLarge = lists + std::string(LargestSettingsFile, ' ');
    const struct {
        const char* what;
        const std::string& content;
        DWORD holderSharing;   // held open by another program meanwhile, sharing this; ~0: not held
        bool readOnly;
        BOOL(WINAPI* write)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
        BOOL(WINAPI* replace)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
        const char* reads;  // the value meanwhile
    } cases[] = {
        {"read-only", lists, ~0u, true, WriteFile, ReplaceFileW, "旧"},
        {"held open without sharing", lists, 0, false, WriteFile, ReplaceFileW, ""},
        {"held by a reader sharing reading only", lists, FILE_SHARE_READ, false, WriteFile, ReplaceFileW, "旧"},
        {"beyond the largest settings file", tooLarge, ~0u, false, WriteFile, ReplaceFileW, ""},
        {"a disk full halfway", lists, ~0u, false, failing::HalfWritten, ReplaceFileW, "旧"},
        {"the replacement stopping halfway", lists, ~0u, false, WriteFile, failing::ReplaceStoppingHalfway, "旧"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(file, c.content));
        const std::vector<std::wstring> names = NamesIn(folder.WidePath());
        SetFileAttributesA(file.c_str(), c.readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        HANDLE held = c.holderSharing == ~0u ? INVALID_HANDLE_VALUE
                                             : CreateFileA(file.c_str(), GENERIC_READ, c.holderSharing, nullptr,
                                                           OPEN_EXISTING, 0, nullptr);
        calls.writeFile = c.write;
        calls.replaceFile = c.replace;
        failing::error = ERROR_DISK_FULL;
        commands::UseConfigFileCalls(&calls);
        EXPECT_FALSE(Write(file, "s", "k", "新"));
        EXPECT_FALSE(Write(file, "s", "smile", Bytes(L"\U0001F600")));
        EXPECT_FALSE(WriteOrRemove(file, "s", nullptr, nullptr));
        EXPECT_EQ(Read(file, "s", "k"), c.reads);
        // The same value again writes nothing, so nothing fails, where the file can be read.
        EXPECT_EQ(Write(file, "s", "k", "旧"), std::string(c.reads) == "旧");
        commands::UseConfigFileCalls(nullptr);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(FileBytes(file) == c.content) << "not printed: it may be long";
        EXPECT_EQ(NamesIn(folder.WidePath()), names);
    }
}

// What the program finds at start decides whether it may write the file in
// that session: only one it could read, or none.
TEST_F(ConfigCommandsTest, ASettingsFileIsReadableMissingUnreadableOrTooLarge) {
    const std::string lists = "[s]\r\nk=v\r\n";
    const struct {
        const char* what;
        std::string content;
        std::string path;
        HANDLE (WINAPI* open)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
        int32_t state;
    } cases[] = {
        {"a file", lists, file, CreateFileW, SettingsFileState::Readable},
        {"no file", lists, folder.File("none.ini"), CreateFileW, SettingsFileState::Missing},
        {"no folder", lists, folder.File("none\\qlt_config.ini"), CreateFileW, SettingsFileState::Missing},
        {"a folder of that name", lists, folder.Path(), CreateFileW, SettingsFileState::Unreadable},
        {"no permission", lists, file, failing::Create, SettingsFileState::Unreadable},
        {"the largest", lists + std::string(LargestSettingsFile - lists.size(), ' '), file, CreateFileW,
         SettingsFileState::Readable},
        {"one byte more", lists + std::string(LargestSettingsFile + 1 - lists.size(), ' '), file, CreateFileW,
         SettingsFileState::TooLarge},
    };
    failing::error = ERROR_ACCESS_DENIED;
    commands::UseConfigFileCalls(&calls);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(file, c.content));
        calls.createFile = c.open;
        EXPECT_EQ(CallInt(commands::ConfigFileState, TextArg(c.path.c_str())), c.state) << c.what;
    }
    commands::UseConfigFileCalls(nullptr);
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(CallInt(commands::ConfigFileState, TextArg(file.c_str())), SettingsFileState::Unreadable) << "held";
    CloseHandle(held);
}

// Beside the program only where a file is and the folder takes a new one
// (which an installed program's does not: made to fail here); else in the
// application data, whose folder the first write makes.
TEST_F(ConfigCommandsTest, TheSettingsFileIsBesideTheProgramOnlyWhereItCanBeWritten) {
    const std::wstring program = folder.WidePath() + L"\\程序", appData = folder.WidePath() + L"\\AppData";
    const std::wstring beside = program + L"\\qlt_config.ini", inAppData = appData + L"\\Quillet\\qlt_config.ini";
    ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr) && CreateDirectoryW(appData.c_str(), nullptr));
    const struct {
        bool fileBeside;
        bool refusesNewFiles;
        std::wstring appData;
        const std::wstring& chosen;
    } cases[] = {
        {true, false, appData, beside},
        {true, true, appData, inAppData},
        {false, false, appData, inAppData},
        {false, true, L"", beside},  // no application data folder
    };
    failing::error = ERROR_ACCESS_DENIED;
    for (const auto& c : cases) {
        DeleteFileW(beside.c_str());
        ASSERT_TRUE(!c.fileBeside || WriteFileBytes(beside, ""));
        calls.createFile = c.refusesNewFiles ? failing::Create : CreateFileW;
        EXPECT_EQ(commands::ChooseSettingsFile(program, c.appData, L"Quillet", L"qlt_config.ini", calls), c.chosen);
        EXPECT_EQ(NamesIn(program).size(), c.fileBeside ? 1u : 0u) << "nothing left by the test of the folder";
    }
    const std::string settings = TextFromWide(inAppData.c_str());
    EXPECT_FALSE(Write(settings, "replace", "#subject", "a")) << "its folder is made only when asked";
    EXPECT_NE(CallInt(commands::WriteConfigItem, TextArg(settings.c_str()), TextArg("replace"), TextArg("#subject"),
                      TextArg("a"), BoolArg(true)),
              0);
    EXPECT_EQ(Read(settings, "replace", "#subject"), "a");
}

TEST_F(ConfigCommandsTest, ReadingIgnoresLeadingControlBytesBeforeNamesWritingDoesNot) {
    ASSERT_TRUE(Write(file, "sec", "key", "value"));
    EXPECT_EQ(Read("  \t" + file, "\r\n sec", "\x01\x1F key"), "value");
    EXPECT_EQ(Read(file, "sec", "key\x01", "d"), "d") << "trailing bytes stay part of the name";

    // The name is used as given: a path behind two spaces names no existing folder.
    EXPECT_FALSE(Write("  " + file, "sec", "key", "other"));
    EXPECT_EQ(Read(file, "sec", "key"), "value");
}

TEST_F(ConfigCommandsTest, EmptyNamesReadAsTheEmptyTextWithoutTheDefault) {
    ASSERT_TRUE(Write(file, "s", "k", "v"));
    EXPECT_EQ(Read(file, "s", "   ", "default"), "");
    EXPECT_EQ(Read(file, " \t", "k", "default"), "");
    EXPECT_EQ(Read(" ", "s", "k", "default"), "");
    EXPECT_EQ(Read(file, "s", "", "default"), "");
    // Names that are not texts count as empty, and so does a missing record.
    EXPECT_EQ(Text(CallText(commands::ReadConfigItem, TextArg(file.c_str()), TextArg("s"), IntArg(5), TextArg("d"))),
              "");
    EXPECT_EQ(Text(CallText(commands::ReadConfigItem, TextArg(file.c_str()), TextArg("s"))), "");
    EXPECT_FALSE(Write("", "s", "k", "v")) << "an empty file name is no file";
}

TEST_F(ConfigCommandsTest, AnyCharacterRoundTripsInValuesAndNames) {
    const std::string values[] = {
        Bytes(L"\U0001F600"),                        // an emoji
        Bytes(L"\U0001F44D\U0001F3FD"),              // an emoji with a skin tone
        Bytes(L"\U00020BB7"),                        // CJK extension B
        Bytes(L"\xD55C\xAE00"),                      // Hangul
        Bytes(L"e\x0301"),                           // a combining accent
        "苹果" + Bytes(L"\U0001F600") + "香蕉," + Bytes(L"\xD55C") + "橙子",
    };
    const std::string section = "节" + Bytes(L"\U00020BB7");
    const auto key = [](size_t i) { return Bytes(L"\xD55C").append(std::to_string(i)); };
    for (size_t i = 0; i < std::size(values); ++i) ASSERT_TRUE(Write(file, section, key(i), values[i])) << i;
    EXPECT_TRUE(IsUtf16(file));
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(Read(file, section.c_str(), key(i).c_str()), values[i]) << i;
    EXPECT_EQ(Read(folder.File("none.ini"), "s", "k", values[1].c_str()), values[1]) << "a default";
}

TEST_F(ConfigCommandsTest, AFileNameMayHoldAnyCharacter) {
    const std::string name = folder.File("配置" + Bytes(L"\U0001F600") + ".ini");
    const std::wstring wideName = WideFromText(name.c_str());
    struct Removed {
        std::wstring path;
        ~Removed() { DeleteFileW(path.c_str()); }  // the folder's own clean-up cannot name it
    } removed{wideName};

    ASSERT_TRUE(Write(name, "s", "gbk", "苹果"));
    ASSERT_TRUE(Write(name, "s", "any", Bytes(L"\U0001F600")));
    EXPECT_NE(GetFileAttributesW(wideName.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(name, "s", "gbk"), "苹果");
    EXPECT_EQ(Read(name, "s", "any"), Bytes(L"\U0001F600"));
}

TEST_F(ConfigCommandsTest, AFileOfGbkValuesKeepsTheBytesOfTheAnsiCalls) {
    const struct {
        const char* section;
        const char* key;
        const char* value;  // null removes the key; a null key removes the section
    } steps[] = {
        {"replace", "#subject", "苹果,香蕉"}, {"replace", "#predicate", "apple"}, {"其他", "键", "值 "},
        {"replace", "#subject", "橙子"},      {"其他", "键", nullptr},          {"空", "k", ""},
        {"旧", "a", "1"},                     {"旧", nullptr, nullptr},
    };
    // The platform's own writer on a UTF-16 copy, where it is exact on every
    // code page: the same lines, which GBK holds byte for byte.
    const std::string reference = folder.File("reference.ini");
    ASSERT_TRUE(WriteFileBytes(reference, "\xFF\xFE"));
    const auto wide = [](const char* text) { return text != nullptr ? WideFromText(text) : std::wstring(); };
    const auto given = [](const char* text, const std::wstring& made) { return text != nullptr ? made.c_str() : nullptr; };
    for (const auto& step : steps) {
        ASSERT_TRUE(WriteOrRemove(file, step.section, step.key, step.value)) << step.section;
        const std::wstring section = wide(step.section), key = wide(step.key), value = wide(step.value);
        WritePrivateProfileStringW(section.c_str(), given(step.key, key), given(step.value, value),
                                   quillet::WideFromText(reference.c_str()).c_str());
    }
    const std::string platform = FileBytes(reference).substr(2);
    EXPECT_EQ(FileBytes(file), TextFromWide(reinterpret_cast<const wchar_t*>(platform.data()), platform.size() / 2));
    EXPECT_FALSE(IsUtf16(file));
    EXPECT_NE(FileBytes(file).find("[replace]"), std::string::npos);
}

TEST_F(ConfigCommandsTest, AnOldGbkFileIsReadAsItWasAndTurnsUtf16ForGood) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } old[] = {
        {"replace", "#subject", "苹果,香蕉,橙子"}, {"replace", "#predicate", "apple,banana,orange"},
        {"窗口", "宽度", "640"},                   {"窗口", "标题", "文本 助手"},
        {"空", "k", ""},
    };
    // As older copies wrote it, in GBK whatever the system's code page.
    ASSERT_TRUE(WriteFileBytes(file, "[replace]\r\n#subject=苹果,香蕉,橙子\r\n#predicate=apple,banana,orange\r\n"
                                     "[窗口]\r\n宽度=640\r\n标题=文本 助手\r\n[空]\r\nk=\r\n"));
    const auto expectOld = [&](const char* when) {
        for (const auto& item : old) EXPECT_EQ(Read(file, item.section, item.key, "?"), item.value) << when << item.key;
    };
    expectOld("before: ");

    const std::string smile = "笑" + Bytes(L"\U0001F600");
    ASSERT_TRUE(Write(file, "窗口", "表情", smile.c_str()));
    EXPECT_TRUE(IsUtf16(file));
    expectOld("converted: ");
    EXPECT_EQ(Read(file, "窗口", "表情"), smile);

    ASSERT_TRUE(Write(file, "窗口", "字体", "宋体"));
    ASSERT_TRUE(Write(file, "另", "a", smile));
    ASSERT_TRUE(WriteOrRemove(file, "窗口", "表情", nullptr));
    ASSERT_TRUE(WriteOrRemove(file, "另", nullptr, nullptr));
    EXPECT_TRUE(IsUtf16(file)) << "GBK values and removals keep it UTF-16";
    expectOld("after: ");
    EXPECT_EQ(Read(file, "窗口", "字体"), "宋体");
    EXPECT_EQ(Read(file, "窗口", "表情", "gone"), "gone");
    EXPECT_EQ(Read(file, "另", "a", "gone"), "gone");
}

// Our reader and writer against the platform's profile calls on tricky files:
// ours in each encoding, the platform's a UTF-16LE copy with its mark, where it
// is exact. The same reads before and after the same writes; and our file
// keeps, in its own encoding, every byte the writes did not concern.
TEST_F(ConfigCommandsTest, ReadsAndWritesAsThePlatformsProfileCalls) {
    struct Change {
        const wchar_t* section;
        const wchar_t* key;    // null: the section removed
        const wchar_t* value;  // null: the key removed
    };
    const struct {
        const char* what;
        std::wstring before;
        std::vector<Change> changes;
        std::wstring after;
    } cases[] = {
        {"spaces, comments, blank lines, LF",
         L"; 设置\n\n[ s ]  \n  k = 值 1  \n;c=注释\nbare\nbare=后\n\n[t]\nk=\"引号\"\n",
         {{L" S ", L"K", L"  新"}, {L"s", L"added", L"加 "}, {L"t", L"k", nullptr}, {L"new", L"x", L"1"}},
         L"; 设置\n\n[ s ]  \nk=新\n;c=注释\nbare\nbare=后\nadded=加 \n\n[t]\n[new]\nx=1\n"},
        {"the first of a name counts, ']' in a name, CR",
         L"[s]\rk=first\rk=second\r[a]b] 尾\r[u=5\r[S]\rk=third\ronly=4\r",
         {{L"S", L"only", L"6"}, {L"s", L"k", nullptr}, {L"A]B", nullptr, nullptr}},
         L"[s]\rk=second\ronly=6\r[S]\rk=third\ronly=4\r"},
        {"quotes, tabs and ^Z, no break at the end",
         L"top=顶\r\n[q]\x1A\r\n\ta\x1A=\x1A\"v\"\r\nb='v'\r\nc=\"v'\r\nd=\"\r\ne=\"\"\r\nf= \"中\" \r\n[u=5",
         {{L"q", L"new", L"n"}},
         L"top=顶\r\n[q]\x1A\r\n\ta\x1A=\x1A\"v\"\r\nb='v'\r\nc=\"v'\r\nd=\"\r\ne=\"\"\r\nf= \"中\" \r\n[u=5\r\nnew=n"},
        {"ASCII letters without case, no other", L"[ΣＡ]\r\nKEY=大\r\nσ=小\r\n",
         {{L"σａ", L"key", L"x"}, {L"ΣＡ", L"Key", L"y"}}, L"[ΣＡ]\r\nKEY=y\r\nσ=小\r\n[σａ]\r\nkey=x\r\n"},
        {"a comment alone", L"; 只有注释", {{L"s", L"k", L"v"}, {L"s", L"k", nullptr}}, L"; 只有注释\r\n[s]\r\n"},
    };
    const wchar_t* const sections[] = {L"s", L" S ", L"t", L"new", L"q", L"a]b", L"ΣＡ", L"σａ", L"σＡ"};
    const wchar_t* const keys[] = {L"k", L" K\t", L";c", L"bare", L"added", L"only", L"[u", L"a", L"b",
                                   L"c", L"d",    L"e",  L"f",    L"x",     L"KEY",  L"σ",  L"Σ"};
    const wchar_t* const fallbacks[] = {L"D", L"\"引 \"  ", L"  "};
    const struct {
        const char* name;
        bool gbk;
        SavedAs as;
    } encodings[] = {{"GBK", true, SavedAs::Utf8},
                     {"UTF-8", false, SavedAs::Utf8},
                     {"UTF-8 with its mark", false, SavedAs::Utf8Mark},
                     {"UTF-16LE", false, SavedAs::Utf16Le}};
    const std::string platform = folder.File("platform.ini");
    const auto expectSameReads = [&](const char* when) {
        size_t n = 0;
        for (const wchar_t* section : sections)
            for (const wchar_t* key : keys) {
                const wchar_t* fallback = fallbacks[n++ % std::size(fallbacks)];
                EXPECT_EQ(Read(file, Bytes(section).c_str(), Bytes(key).c_str(), Bytes(fallback).c_str()),
                          PlatformRead(platform, section, key, fallback))
                    << when << " [" << Bytes(section) << "] " << Bytes(key);
            }
    };
    for (const auto& c : cases)
        for (const auto& encoding : encodings) {
            SCOPED_TRACE(std::string(c.what) + " in " + encoding.name);
            const auto saved = [&](const std::wstring& text) {
                return encoding.gbk ? Bytes(text) : SavedBytes(text, encoding.as);
            };
            ASSERT_TRUE(WriteFileBytes(file, saved(c.before)));
            ASSERT_TRUE(WriteFileBytes(platform, SavedBytes(c.before, SavedAs::Utf16Le)));
            expectSameReads("before");
            for (const Change& change : c.changes) {
                const std::string key = change.key ? Bytes(change.key) : "", value = change.value ? Bytes(change.value) : "";
                ASSERT_TRUE(WriteOrRemove(file, Bytes(change.section).c_str(), change.key ? key.c_str() : nullptr,
                                          change.value ? value.c_str() : nullptr));
                ASSERT_TRUE(WritePrivateProfileStringW(change.section, change.key, change.value,
                                                       WideFromText(platform.c_str()).c_str()));
            }
            expectSameReads("after");
            EXPECT_EQ(FileBytes(file), saved(c.after));
        }
}

// A file keeps its encoding; without a mark it is UTF-8 only when sure, else GBK.
TEST_F(ConfigCommandsTest, AFileKeepsItsEncodingAndIsUtf8OnlyWhenSure) {
    const std::string smile = Bytes(L"\U0001F600");
    const struct {
        const char* what;
        std::string before;
        std::string read;   // k of [s]
        std::string value;  // then written to n of [s]
        std::string after;
    } cases[] = {
        {"GBK that is two-byte UTF-8 by chance", "[s]\r\nk=\xC2\xA1,\xC2\xA5\r\n", "隆,楼", "新",
         "[s]\r\nk=\xC2\xA1,\xC2\xA5\r\nn=\xD0\xC2\r\n"},
        {"UTF-8", "[s]\r\nk=\xE4\xB8\xAD\r\n", "中", "新", "[s]\r\nk=\xE4\xB8\xAD\r\nn=\xE6\x96\xB0\r\n"},
        {"UTF-8 holds any character", "[s]\r\nk=\xE4\xB8\xAD\r\n", "中", smile,
         "[s]\r\nk=\xE4\xB8\xAD\r\nn=\xF0\x9F\x98\x80\r\n"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[s]\r\nk=a\r\n", "a", "新", "\xEF\xBB\xBF[s]\r\nk=a\r\nn=\xE6\x96\xB0\r\n"},
        {"a malformed byte: GBK", "[s]\r\nk=\xE4\xB8\xAD\x80\r\n", "\xE4\xB8\xAD\x80", "新",
         "[s]\r\nk=\xE4\xB8\xAD\x80\r\nn=\xD0\xC2\r\n"},
        {"a sequence cut off at the end: GBK", "[s]\r\nk=\xE4\xB8\xAD\r\nm=\xE4\xB8", "\xE4\xB8\xAD", "新",
         "[s]\r\nk=\xE4\xB8\xAD\r\nm=\xE4\xB8\r\nn=\xD0\xC2"},
        {"GBK turns UTF-16 for a character it lacks", "[s]\r\nk=\xD6\xD0\r\n", "中", smile,
         SavedBytes(L"[s]\r\nk=中\r\nn=\U0001F600\r\n", SavedAs::Utf16Le)},
        {"UTF-16BE", SavedBytes(L"[s]\nk=中\n", SavedAs::Utf16Be), "中", "新",
         SavedBytes(L"[s]\nk=中\nn=新\n", SavedAs::Utf16Be)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(file, c.before));
        EXPECT_EQ(Read(file, "s", "k"), c.read) << c.what;
        ASSERT_TRUE(Write(file, "s", "n", c.value)) << c.what;
        EXPECT_EQ(FileBytes(file), c.after) << c.what;
        EXPECT_EQ(Read(file, "s", "n"), c.value) << c.what;
    }
}

}  // namespace
}  // namespace quillet::compiled
