#include "prop_cells.h"

#include <cstring>

#include "provider_state.h"

namespace standin {

Cell TextCell(ULONG tag, const std::string& text) { return Cell{tag, text, 0}; }

Cell BinaryCell(ULONG tag, const void* data, ULONG size) {
    return Cell{tag, std::string(static_cast<const char*>(data), size), 0};
}

Cell NumberCell(ULONG tag, LONG number) { return Cell{tag, std::string(), number}; }

const Cell* FindCell(const Row& row, ULONG tag) {
    for (const Cell& c : row)
        if (c.tag == tag) return &c;
    return nullptr;
}

SCODE BuildValues(const Row& row, const ULONG* tags, ULONG count, SPropValue** values, bool* missing) {
    *values = nullptr;
    *missing = false;
    void* block = nullptr;
    SCODE sc = AllocateBuffer(count * sizeof(SPropValue) + 1, &block);
    if (FAILED(sc)) return sc;
    auto* out = static_cast<SPropValue*>(block);
    for (ULONG i = 0; i < count; ++i) {
        const Cell* cell = FindCell(row, tags[i]);
        if (!cell) {
            out[i].ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tags[i]));
            out[i].Value.err = MAPI_E_NOT_FOUND;
            *missing = true;
            continue;
        }
        out[i].ulPropTag = cell->tag;
        switch (PROP_TYPE(cell->tag)) {
            case PT_STRING8:
            case PT_BINARY: {
                void* data = nullptr;
                sc = AllocateMore(static_cast<ULONG>(cell->bytes.size()) + 1, block, &data);
                if (FAILED(sc)) {
                    FreeBuffer(block);
                    return sc;
                }
                memcpy(data, cell->bytes.data(), cell->bytes.size());
                if (PROP_TYPE(cell->tag) == PT_STRING8) {
                    out[i].Value.lpszA = static_cast<LPSTR>(data);
                } else {
                    out[i].Value.bin.cb = static_cast<ULONG>(cell->bytes.size());
                    out[i].Value.bin.lpb = static_cast<LPBYTE>(data);
                }
                break;
            }
            case PT_BOOLEAN:
                out[i].Value.b = static_cast<unsigned short>(cell->number);
                break;
            default:
                out[i].Value.l = cell->number;
                break;
        }
    }
    *values = out;
    return S_OK;
}

bool CellFromValue(const SPropValue& value, Cell* cell) {
    switch (PROP_TYPE(value.ulPropTag)) {
        case PT_STRING8:
            if (!value.Value.lpszA) return false;
            *cell = TextCell(value.ulPropTag, value.Value.lpszA);
            return true;
        case PT_BINARY:
            if (!value.Value.bin.lpb && value.Value.bin.cb) return false;
            *cell = BinaryCell(value.ulPropTag, value.Value.bin.lpb, value.Value.bin.cb);
            return true;
        case PT_LONG:
            *cell = NumberCell(value.ulPropTag, value.Value.l);
            return true;
        default:
            return false;
    }
}

}  // namespace standin
