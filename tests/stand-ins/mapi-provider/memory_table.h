// A snapshot table over rows the stand-in assembled: enough of IMAPITable for
// HrQueryAllRows (columns, a content restriction, reading all rows).
#pragma once

#include <windows.h>
#include <mapix.h>

#include <vector>

#include "prop_cells.h"

namespace standin {

// `columns` are the columns until SetColumns changes them.
IMAPITable* NewMemoryTable(std::vector<Row> rows, std::vector<ULONG> columns);

}  // namespace standin
