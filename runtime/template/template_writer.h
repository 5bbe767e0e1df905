#pragma once
// Writes window template data from a readable description: the program's own
// template is produced this way, and tests build theirs with it. Pure data code:
// it builds anywhere, not only for Windows.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/template/unit_id.h"

namespace quillet {

struct EventBinding {
    int32_t event;     // the type's own events from 0, common events below 0
    int32_t handler;   // offset from HandlerBase; -1 for none
};

// A unit, the window's own record, or (with isMenuItem) a menu item.
struct RecordDescription {
    UnitId id = 0;
    UnitTypeRef type = 0;
    UnitId eventSource = 0;        // 0: own bindings
    std::string name;
    int32_t left = 0, top = 0, width = 0, height = 0;
    UnitId parent = 0;             // 0: the window; else the container unit
    std::vector<UnitId> childWords;  // containers: ids page by page, each page ended by 0
    std::string mouseData = std::string(4, '\0');  // 4 zero bytes: the default pointer
    std::string tag;
    uint32_t flags = 0;            // RecordFlag bits
    uint32_t focusOrder = 0;
    std::vector<EventBinding> bindings;
    std::string typeData;          // the type's own property data

    // Menu items only.
    bool isMenuItem = false;
    uint32_t shortcut = 0, nestingLevel = 0;
    std::string caption;
    int32_t menuHandler = -1;
};

struct WindowDescription {
    UnitId id = 0;
    uint32_t word1 = 0, word2 = 0;
    std::string text1, text2;
    std::vector<RecordDescription> records;  // record 0: the window's own
};

std::vector<uint8_t> WriteTemplate(const std::vector<WindowDescription>& windows);

// The bytes of one unit collection (ids, offsets, records), as a window body holds it.
std::vector<uint8_t> WriteUnitCollection(const std::vector<RecordDescription>& records);

}  // namespace quillet
