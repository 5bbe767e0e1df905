// The tab control's PropertyData and page list bytes: the tool's figure, the
// older versions, data that ends early, the wide page count, EnumTexts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "runtime/units/font_data.h"
#include "runtime/units/tab/tab_data.h"
#include "tests/runtime/units/tab/tab_test_units.h"

namespace quillet {
namespace {

using tabtest::PageListBytes;
using tabtest::TabBytes;
using tabtest::TabFields;

const std::vector<std::string> ToolPages = {"去除空行", "增加序号", "多词替换"};

std::string Written(const TabData& data) {
    PropertyDataWriter writer;
    WriteTabData(data, writer);
    return writer.Data();
}

std::string FontBlock(const char* faceName) {
    FontData font{};
    font.lfHeight = -12;
    std::strcpy(font.lfFaceName, faceName);
    return std::string(reinterpret_cast<const char*>(&font), sizeof font);
}

TEST(TabDataTest, TheToolsTabIsSeventyBytesAndReadsBackUnchanged) {
    TabFields fields;
    fields.pages = ToolPages;
    const std::string bytes = TabBytes(fields);
    EXPECT_EQ(bytes.size(), 70u);

    TabData data;
    ASSERT_TRUE(ReadTabData(bytes.data(), static_cast<int32_t>(bytes.size()), &data));
    EXPECT_EQ(data.pages, ToolPages);
    EXPECT_EQ(data.drawBackground, 1);
    EXPECT_EQ(data.backColor, DefaultColor);
    EXPECT_TRUE(data.font.empty());
    EXPECT_EQ(Written(data), bytes);
}

TEST(TabDataTest, OlderVersionsAreReadWithTheirDefaults) {
    TabFields fields;
    fields.pages = {"a", "b"};
    fields.tabPosition = 2;
    fields.multiLine = 1;
    fields.currentPage = 1;
    fields.hideTabs = 1;
    for (uint32_t version : {0u, 1u, 2u}) {
        fields.version = version;
        const std::string bytes = TabBytes(fields);
        TabData data;
        ASSERT_TRUE(ReadTabData(bytes.data(), static_cast<int32_t>(bytes.size()), &data)) << "version " << version;
        EXPECT_EQ(data.tabPosition, 2);
        EXPECT_EQ(data.multiLine, 1);
        EXPECT_EQ(data.currentPage, 1);
        EXPECT_EQ(data.hideTabs, version >= 2 ? 1 : 0) << "version " << version;
        EXPECT_EQ(data.drawBackground, 0) << "containers before version 3 painted nothing";
        EXPECT_EQ(data.backColor, DefaultColor);
        EXPECT_EQ(data.pages, fields.pages);
    }
    // Written again, they are version 3.
    TabData data;
    const std::string old = TabBytes(fields);
    ASSERT_TRUE(ReadTabData(old.data(), static_cast<int32_t>(old.size()), &data));
    EXPECT_EQ(Written(data).substr(0, 4), std::string("\x03\0\0\0", 4));
}

TEST(TabDataTest, AHigherVersionOrDataEndingEarlyIsRefused) {
    TabFields fields;
    fields.pages = ToolPages;
    fields.font = FontBlock("Arial");
    const std::string bytes = TabBytes(fields);
    TabData data;
    data.currentPage = 42;
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(ReadTabData(bytes.data(), static_cast<int32_t>(length), &data)) << "length " << length;
    EXPECT_EQ(data.currentPage, 42) << "a refused block leaves the data alone";
    EXPECT_FALSE(ReadTabData(nullptr, 0, &data));

    fields.version = 4;
    const std::string future = TabBytes(fields);
    EXPECT_FALSE(ReadTabData(future.data(), static_cast<int32_t>(future.size()), &data));
}

TEST(TabDataTest, OutOfRangeValuesAreBroughtIntoRange) {
    TabFields fields;
    fields.tabPosition = 9;
    fields.multiLine = 5;
    fields.pages = {};
    std::string bytes = TabBytes(fields);
    TabData data;
    ASSERT_TRUE(ReadTabData(bytes.data(), static_cast<int32_t>(bytes.size()), &data));
    EXPECT_EQ(data.tabPosition, 3);
    EXPECT_EQ(data.multiLine, 1);
    EXPECT_EQ(data.pages, std::vector<std::string>{""}) << "no page: one empty page";

    fields.tabPosition = -7;
    bytes = TabBytes(fields);
    ASSERT_TRUE(ReadTabData(bytes.data(), static_cast<int32_t>(bytes.size()), &data));
    EXPECT_EQ(data.tabPosition, 0);

    EXPECT_EQ(ClampPage(7, 3), 2);
    EXPECT_EQ(ClampPage(-1, 3), 0);
    EXPECT_EQ(ClampPage(5, 0), 0);
}

TEST(TabDataTest, ManyPagesUseTheWideCount) {
    std::vector<std::string> pages(70000);
    pages[69999] = "末页";
    const std::string bytes = WritePageList(pages);
    ASSERT_EQ(bytes.size(), 2 + 4 + 70000 * 4 + 4u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFF\x70\x11\x01\x00", 6));
    EXPECT_EQ(bytes, PageListBytes(pages));
    EXPECT_EQ(ReadPageListValue(bytes.data(), static_cast<uint32_t>(bytes.size())), pages);

    // 0xFFFE pages still fit the 16-bit count.
    const std::string narrow = WritePageList(std::vector<std::string>(0xFFFE));
    EXPECT_EQ(narrow.substr(0, 2), std::string("\xFE\xFF", 2));
    EXPECT_EQ(narrow.size(), 2 + 0xFFFE * 4u);
}

TEST(TabDataTest, AWrittenPageListKeepsItsCompletePages) {
    EXPECT_EQ(ReadPageListValue(nullptr, 0), std::vector<std::string>{""});
    const std::string two = PageListBytes({"一", "二"});
    EXPECT_EQ(ReadPageListValue(two.data(), static_cast<uint32_t>(two.size())),
              (std::vector<std::string>{"一", "二"}));
    // Cut inside the second caption: the first page stays.
    EXPECT_EQ(ReadPageListValue(two.data(), static_cast<uint32_t>(two.size() - 1)), std::vector<std::string>{"一"});
    // A count far beyond the bytes, and a caption length beyond them, read no more than is there.
    const std::string boastful = std::string("\xFF\xFF\xFF\xFF\xFF\xFF", 6) + PageListBytes({"x"}).substr(2) +
                                 std::string("\xFF\xFF\xFF\x7F", 4) + "yz";
    EXPECT_EQ(ReadPageListValue(boastful.data(), static_cast<uint32_t>(boastful.size())),
              std::vector<std::string>{"x"});
    EXPECT_EQ(ReadPageListValue("\x01", 1), std::vector<std::string>{""});
}

// ---- EnumTexts ----

TEST(TabDataTest, EnumTextsOffersTheFaceNameThenEveryCaption) {
    TabFields fields;
    fields.pages = ToolPages;
    fields.font = FontBlock("Arial");
    const std::string bytes = TabBytes(fields);
    int32_t length = static_cast<int32_t>(bytes.size());
    testunits::TextOffers offers({{"Arial", "黑体"}, {"增加序号", "加序号"}});
    HGLOBAL block = static_cast<HGLOBAL>(EnumTabTexts(bytes.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offers.offered, (std::vector<testunits::OfferedText>{
                           {"Arial", EnumTextFlag::FontName}, {"去除空行", 0}, {"增加序号", 0}, {"多词替换", 0}}));
    EXPECT_EQ(length, static_cast<int32_t>(bytes.size()) - 2) << "one caption two bytes shorter";
    TabData data;
    ASSERT_TRUE(ReadTabData(GlobalLock(block), length, &data));
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ(data.pages, (std::vector<std::string>{"去除空行", "加序号", "多词替换"}));
    ASSERT_EQ(data.font.size(), sizeof(FontData));
    EXPECT_STREQ(reinterpret_cast<const FontData*>(data.font.data())->lfFaceName, "黑体");

    // Without a font no face name is offered; refused data gives nothing.
    fields.font.clear();
    const std::string plain = TabBytes(fields);
    length = static_cast<int32_t>(plain.size());
    offers.offered.clear();
    block = static_cast<HGLOBAL>(EnumTabTexts(plain.data(), &length, offers.Answer, offers.Context()));
    ASSERT_NE(block, nullptr);
    GlobalFree(block);
    EXPECT_EQ(offers.offered.size(), 3u);
    EXPECT_EQ(offers.offered[0].flags, 0u);

    fields.version = 4;
    const std::string future = TabBytes(fields);
    length = static_cast<int32_t>(future.size());
    EXPECT_EQ(EnumTabTexts(future.data(), &length, offers.Answer, offers.Context()), nullptr);
    EXPECT_EQ(length, static_cast<int32_t>(future.size()));
}

}  // namespace
}  // namespace quillet
