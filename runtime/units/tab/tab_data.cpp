#include "runtime/units/tab/tab_data.h"

namespace quillet {
namespace {

constexpr uint16_t WideCountMark = 0xFFFF;

// The pages the reader holds, as many as are complete; false when one of the
// counted pages is missing. The count is not trusted for reserving memory.
bool ReadPages(PropertyDataReader& reader, std::vector<std::string>* pages) {
    uint32_t count = reader.HalfWord();
    if (count == WideCountMark) count = reader.Word();
    if (reader.Failed()) return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string caption = reader.Bytes();
        if (reader.Failed()) return false;
        pages->push_back(std::move(caption));
    }
    return true;
}

void KeepOnePage(std::vector<std::string>* pages) {
    if (pages->empty()) pages->emplace_back();
}

void WritePages(const std::vector<std::string>& pages, PropertyDataWriter& writer) {
    const auto count = static_cast<uint32_t>(pages.size());
    if (count < WideCountMark) {
        writer.HalfWord(static_cast<uint16_t>(count));
    } else {
        writer.HalfWord(WideCountMark);
        writer.Word(count);
    }
    for (const std::string& caption : pages) writer.Bytes(caption);
}

}  // namespace

int32_t ClampPage(int32_t page, int32_t pageCount) {
    if (pageCount <= 0 || page < 0) return 0;
    return page < pageCount ? page : pageCount - 1;
}

bool ReadTabData(const void* bytes, int32_t length, TabData* data) {
    PropertyDataReader reader(bytes, length);
    TabData read;
    const uint32_t version = reader.Word();
    if (reader.Failed() || version > TabDataVersion) return false;
    read.tabPosition = ClampPick(reader.Int(), TabSide::Right);
    read.multiLine = reader.Int() != 0 ? 1 : 0;
    read.currentPage = reader.Int();
    if (version >= 2) read.hideTabs = reader.Int() != 0 ? 1 : 0;
    // Containers saved before the background existed painted nothing.
    read.drawBackground = 0;
    if (version >= 3) {
        read.drawBackground = reader.Int() != 0 ? 1 : 0;
        read.backColor = reader.Word();
    }
    read.font = reader.Bytes();
    read.pages.clear();
    if (!ReadPages(reader, &read.pages) || reader.Failed()) return false;
    KeepOnePage(&read.pages);
    *data = std::move(read);
    return true;
}

void WriteTabData(const TabData& data, PropertyDataWriter& writer) {
    writer.Word(TabDataVersion);
    writer.Int(data.tabPosition);
    writer.Int(data.multiLine);
    writer.Int(data.currentPage);
    writer.Int(data.hideTabs);
    writer.Int(data.drawBackground);
    writer.Word(data.backColor);
    writer.Bytes(data.font);
    WritePages(data.pages, writer);
}

std::string WritePageList(const std::vector<std::string>& pages) {
    PropertyDataWriter writer;
    WritePages(pages, writer);
    return writer.Data();
}

std::vector<std::string> ReadPageListValue(const void* bytes, uint32_t length) {
    std::vector<std::string> pages;
    if (bytes != nullptr && length > 0) {
        PropertyDataReader reader(bytes, static_cast<int32_t>(length));
        ReadPages(reader, &pages);
    }
    KeepOnePage(&pages);
    return pages;
}

void* EnumTabTexts(const void* bytes, int32_t* length, EnumTextCallback callback, uintptr_t userWord) {
    TabData data;
    if (length == nullptr || !ReadTabData(bytes, *length, &data)) return nullptr;
    OfferFaceName(&data.font, callback, userWord);
    for (std::string& caption : data.pages) OfferText(&caption, 0, callback, userWord);
    PropertyDataWriter writer;
    WriteTabData(data, writer);
    return EnumTextsResult(writer, length);
}

}  // namespace quillet
