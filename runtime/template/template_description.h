#pragma once
// Deserialised windows described again in the writer's terms, handler addresses
// turned back into offsets from HandlerBase: writing the description gives the
// template's bytes again.
#include "runtime/template/template_writer.h"
#include "runtime/template/window_table.h"

namespace quillet {

std::vector<WindowDescription> DescribeWindows(WindowTable& table, uintptr_t handlerBase);
std::vector<RecordDescription> DescribeRecords(UnitCollection& collection, uintptr_t handlerBase);

}  // namespace quillet
