#include "runtime/units/tab/tab_data.h"

#include "runtime/units/field_walk.h"
#include "runtime/units/tab/tab_type.h"

namespace quillet {
namespace {

void KeepOnePage(std::vector<std::string>* pages) {
    if (pages->empty()) pages->emplace_back();
}

constexpr auto WalkTabFields = [](auto& visit, uint32_t version, auto& d) {
    visit.Pick(d.tabPosition, LastChoiceOf(TabOwnProperties, TabProperty::TabPosition));
    visit.Flag(d.multiLine);
    visit.Int(d.currentPage);
    if (version >= 2) visit.Flag(d.hideTabs);
    if (version >= 3) {
        visit.Flag(d.drawBackground);
        visit.Word(d.backColor);
    }
    visit.Font(d.font);
    visit.TextList(d.pages);
};

}  // namespace

int32_t ClampPage(int32_t page, int32_t pageCount) {
    if (pageCount <= 0 || page < 0) return 0;
    return page < pageCount ? page : pageCount - 1;
}

bool ReadTabData(const void* bytes, int32_t length, TabData* data) {
    TabData read;
    // Containers saved before the background existed painted nothing.
    read.drawBackground = 0;
    if (!ReadFields(bytes, length, TabDataVersion, WalkTabFields, std::move(read), data)) return false;
    KeepOnePage(&data->pages);
    return true;
}

void WriteTabData(const TabData& data, PropertyDataWriter& writer) {
    WriteFields(writer, TabDataVersion, WalkTabFields, data);
}

std::string WritePageList(const std::vector<std::string>& pages) {
    PropertyDataWriter writer;
    WriteTextList(pages, writer);
    return writer.Data();
}

std::vector<std::string> ReadPageListValue(const void* bytes, uint32_t length) {
    std::vector<std::string> pages;
    if (bytes != nullptr && length > 0) {
        PropertyDataReader reader(bytes, static_cast<int32_t>(length));
        ReadTextList(reader, &pages);
    }
    KeepOnePage(&pages);
    return pages;
}

void* EnumTabTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    return EnumFieldTexts<TabData>(bytes, length, callback, userWord, ReadTabData, TabDataVersion, WalkTabFields);
}

}  // namespace quillet
