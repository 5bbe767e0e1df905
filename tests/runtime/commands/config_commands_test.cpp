// ReadConfigItem and WriteConfigItem on real profile files in a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/commands/command_list.h"
#include "runtime/services/compiled_code.h"
#include "runtime/values/text_encoding.h"
#include "tests/support/temporary_folder.h"

namespace quillet::compiled {
namespace {

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

    TemporaryFolder folder{"quillet-config"};
    const std::string file = folder.File("qlt_config.ini");
};

TEST_F(ConfigCommandsTest, GbkValuesRoundTripUnderKeysBeginningWithHash) {
    ASSERT_TRUE(Write(file, "replace", "#subject", "苹果,香蕉,橙子"));
    ASSERT_TRUE(Write(file, "replace", "#predicate", "apple,banana,orange"));
    EXPECT_EQ(Read(file, "replace", "#subject"), "苹果,香蕉,橙子");
    EXPECT_EQ(Read(file, "replace", "#predicate"), "apple,banana,orange");
    EXPECT_NE(FileBytes(file).find("#subject=苹果,香蕉,橙子"), std::string::npos) << "GBK bytes are stored as they are";
}

TEST_F(ConfigCommandsTest, ValuesAreCutToOneByteLessThanTheBuffer) {
    const std::string fits(10239, 'x');
    ASSERT_TRUE(Write(file, "s", "fits", fits.c_str()));
    EXPECT_EQ(Read(file, "s", "fits"), fits);

    const std::string full(10240, 'y');
    ASSERT_TRUE(Write(file, "s", "full", full.c_str()));
    EXPECT_EQ(Read(file, "s", "full"), full.substr(0, 10239));

    std::string longer(10241, 'z');
    longer[10238] = '!';
    ASSERT_TRUE(Write(file, "s", "longer", longer.c_str()));
    const std::string back = Read(file, "s", "longer");
    EXPECT_EQ(back.size(), 10239u);
    EXPECT_EQ(back, longer.substr(0, 10239));
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

TEST_F(ConfigCommandsTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    ASSERT_TRUE(Write(file, "s", "k", "old"));
    const std::string before = FileBytes(file);

    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Write(file, "s", "k", "new"));
    EXPECT_FALSE(Write(file, "s", "added", "new"));
    EXPECT_EQ(CallInt(commands::WriteConfigItem, TextArg(file.c_str()), TextArg("s"), Omitted), 0)
        << "no section deletion";
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(Read(file, "s", "k"), "old");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open by someone else without sharing.
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Write(file, "s", "k", "new"));
    CloseHandle(held);
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(Read(file, "s", "k"), "old");
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
    const std::string reference = folder.File("reference.ini");
    for (const auto& step : steps) {
        ASSERT_TRUE(WriteOrRemove(file, step.section, step.key, step.value)) << step.section;
        WritePrivateProfileStringA(step.section, step.key, step.value, reference.c_str());
    }
    EXPECT_EQ(FileBytes(file), FileBytes(reference));
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
    for (const auto& item : old) ASSERT_TRUE(WritePrivateProfileStringA(item.section, item.key, item.value, file.c_str()));
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

TEST_F(ConfigCommandsTest, AFileThatCannotBeWrittenIsNotConverted) {
    ASSERT_TRUE(Write(file, "s", "k", "旧"));
    const std::string before = FileBytes(file);

    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Write(file, "s", "k", Bytes(L"\U0001F600")));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileBytes(file), before);

    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Write(file, "s", "k", Bytes(L"\U0001F600")));
    CloseHandle(held);
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(Read(file, "s", "k"), "旧");
}

// A character that would cross the 10239th byte is left out whole. For GBK this is
// what the ANSI calls do on a GBK file, and the UTF-16 file gives the same.
TEST_F(ConfigCommandsTest, LongValuesAreCutBeforeACharacterCrossingTheLimit) {
    const std::string smile = Bytes(L"\U0001F600");
    const auto x = [](size_t count) { return std::string(count, 'x'); };
    const struct {
        std::string value;
        size_t kept;
    } cases[] = {
        {x(10240), 10239},          {x(10237) + "中", 10239},          {x(10238) + "中", 10238},
        {x(10236) + "中中", 10238}, {x(10235) + smile, 10239},         {x(10236) + smile + "y", 10236},
        {x(10238) + smile, 10238},  {x(10234) + "中" + smile, 10236},
    };
    const std::string gbkFile = folder.File("gbk.ini");
    ASSERT_TRUE(Write(file, "s", "mark", smile));
    ASSERT_TRUE(IsUtf16(file));
    for (const auto& c : cases) {
        ASSERT_TRUE(Write(file, "s", "v", c.value.c_str()));
        const std::string back = Read(file, "s", "v");
        EXPECT_EQ(back.size(), c.kept);
        EXPECT_TRUE(back == c.value.substr(0, c.kept)) << c.kept;  // not printed: 10,000 bytes
        if (c.value.find(smile) != std::string::npos) continue;
        ASSERT_TRUE(Write(gbkFile, "s", "v", c.value.c_str()));
        EXPECT_TRUE(Read(gbkFile, "s", "v") == back) << c.kept << " as the ANSI calls cut it";
    }
    EXPECT_FALSE(IsUtf16(gbkFile));
}

}  // namespace
}  // namespace quillet::compiled
