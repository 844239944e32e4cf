// Property values as the stand-in keeps them, and their conversion into
// MAPI's SPropValue arrays allocated the way MAPI callers free them.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>
#include <vector>

namespace standin {

// PT_STRING8 and PT_BINARY keep their bytes in `bytes`; PT_LONG and
// PT_BOOLEAN their value in `number`.
struct Cell {
    ULONG tag;
    std::string bytes;
    LONG number;
};
using Row = std::vector<Cell>;

Cell TextCell(ULONG tag, const std::string& text);
Cell BinaryCell(ULONG tag, const void* data, ULONG size);
Cell NumberCell(ULONG tag, LONG number);

const Cell* FindCell(const Row& row, ULONG tag);

// One MAPIAllocateBuffer block holding one value per tag of `tags`, in that
// order, with their strings allocated "more" on it. A tag the row lacks (or
// holds under another type) comes back as PT_ERROR with MAPI_E_NOT_FOUND and
// sets *missing.
SCODE BuildValues(const Row& row, const ULONG* tags, ULONG count, SPropValue** values, bool* missing);

// Reads one caller value into a cell; false for types the stand-in does not
// keep.
bool CellFromValue(const SPropValue& value, Cell* cell);

}  // namespace standin
