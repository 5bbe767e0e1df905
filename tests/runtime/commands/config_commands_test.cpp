// ReadConfigItem and WriteConfigItem on real profile files in a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/commands/command_list.h"
#include "runtime/commands/compiled_code.h"
#include "tests/support/temporary_folder.h"

namespace quillet::compiled {
namespace {

class ConfigCommandsTest : public testing::Test {
protected:
    std::string Read(const std::string& file, const char* section, const char* key) {
        return Text(CallText(ReadConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key)));
    }
    std::string Read(const std::string& file, const char* section, const char* key, const char* fallback) {
        return Text(CallText(ReadConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key), TextArg(fallback)));
    }
    bool Write(const std::string& file, const char* section, const char* key, const char* value) {
        return CallInt(WriteConfigItem, TextArg(file.c_str()), TextArg(section), TextArg(key), TextArg(value)) != 0;
    }
    static std::string Text(const OwnedText& text) { return text.IsEmpty() ? std::string() : text.Get(); }

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
    EXPECT_TRUE(CallText(ReadConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("other")).Get() == nullptr)
        << "no default: the empty text";
}

TEST_F(ConfigCommandsTest, AnEmptyValueIsStoredAndAnOmittedValueDeletesTheKey) {
    ASSERT_TRUE(Write(file, "s", "keep", "1"));
    ASSERT_TRUE(Write(file, "s", "empty", ""));
    EXPECT_EQ(Read(file, "s", "empty", "default"), "") << "the key exists, with an empty value";

    ASSERT_TRUE(Write(file, "s", "gone", "2"));
    EXPECT_NE(CallInt(WriteConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("gone")), 0);
    EXPECT_EQ(Read(file, "s", "gone", "default"), "default");
    EXPECT_EQ(FileBytes(file).find("gone"), std::string::npos);
    EXPECT_EQ(Read(file, "s", "keep"), "1");

    // An omitted record in the middle of the list counts by its type word.
    ASSERT_TRUE(Write(file, "s", "gone", "3"));
    EXPECT_NE(CallInt(WriteConfigItem, TextArg(file.c_str()), TextArg("s"), TextArg("gone"), Omitted), 0);
    EXPECT_EQ(Read(file, "s", "gone", "default"), "default");
}

TEST_F(ConfigCommandsTest, AnOmittedKeyDeletesTheWholeSection) {
    ASSERT_TRUE(Write(file, "first", "a", "1"));
    ASSERT_TRUE(Write(file, "first", "b", "2"));
    ASSERT_TRUE(Write(file, "second", "c", "3"));
    EXPECT_NE(CallInt(WriteConfigItem, TextArg(file.c_str()), TextArg("first"), Omitted, TextArg("ignored")), 0);
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
    EXPECT_EQ(CallInt(WriteConfigItem, TextArg(file.c_str()), TextArg("s"), Omitted), 0) << "no section deletion";
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
    EXPECT_EQ(Text(CallText(ReadConfigItem, TextArg(file.c_str()), TextArg("s"), IntArg(5), TextArg("d"))), "");
    EXPECT_EQ(Text(CallText(ReadConfigItem, TextArg(file.c_str()), TextArg("s"))), "");
    EXPECT_FALSE(Write("", "s", "k", "v")) << "an empty file name is no file";
}

}  // namespace
}  // namespace quillet::compiled
