#include "memory_table.h"

#include <cstring>
#include <string>

#include "stand_in_object.h"

namespace standin {

namespace {

// The one restriction kind the stand-in understands.
struct ContentMatch {
    ULONG fuzzyLevel;
    ULONG tag;
    std::string text;
};

bool Matches(const ContentMatch& m, const Row& row) {
    const Cell* cell = FindCell(row, m.tag);
    if (!cell) return false;
    std::string have = cell->bytes;
    std::string want = m.text;
    if (m.fuzzyLevel & FL_IGNORECASE) {
        CharLowerBuffA(&have[0], static_cast<DWORD>(have.size()));
        CharLowerBuffA(&want[0], static_cast<DWORD>(want.size()));
    }
    switch (m.fuzzyLevel & 0xFFFF) {
        case FL_FULLSTRING:
            return have == want;
        case FL_SUBSTRING:
            return have.find(want) != std::string::npos;
        case FL_PREFIX:
            return have.compare(0, want.size(), want) == 0;
        default:
            return false;
    }
}

class MemoryTable final : public StandInObject<IMAPITable> {
public:
    MemoryTable(std::vector<Row> rows, std::vector<ULONG> columns)
        : StandInObject("IMAPITable", MapiIid(0x00020301)), rows_(std::move(rows)), columns_(std::move(columns)) {}

    HRESULT STDMETHODCALLTYPE SetColumns(LPSPropTagArray tags, ULONG) override {
        if (!tags) return MAPI_E_INVALID_PARAMETER;
        columns_.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Restrict(LPSRestriction restriction, ULONG) override {
        cursor_ = 0;
        if (!restriction) {
            restricted_ = false;
            return S_OK;
        }
        if (restriction->rt != RES_CONTENT) return MAPI_E_TOO_COMPLEX;
        const SContentRestriction& c = restriction->res.resContent;
        if (!c.lpProp || c.lpProp->ulPropTag != c.ulPropTag || PROP_TYPE(c.ulPropTag) != PT_STRING8 ||
            !c.lpProp->Value.lpszA)
            return MAPI_E_INVALID_PARAMETER;
        match_ = ContentMatch{c.ulFuzzyLevel, c.ulPropTag, c.lpProp->Value.lpszA};
        restricted_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRowCount(ULONG, ULONG* count) override {
        if (!count) return MAPI_E_INVALID_PARAMETER;
        *count = static_cast<ULONG>(Visible().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SeekRow(BOOKMARK origin, LONG offset, LONG* sought) override {
        const LONG total = static_cast<LONG>(Visible().size());
        LONG from = origin == BOOKMARK_BEGINNING ? 0 : origin == BOOKMARK_END ? total : cursor_;
        LONG to = from + offset;
        if (to < 0) to = 0;
        if (to > total) to = total;
        if (sought) *sought = to - from;
        cursor_ = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryRows(LONG count, ULONG, LPSRowSet* out) override {
        if (!out || count < 0) return MAPI_E_INVALID_PARAMETER;
        *out = nullptr;
        const std::vector<const Row*> visible = Visible();
        ULONG n = static_cast<ULONG>(visible.size()) - static_cast<ULONG>(cursor_);
        if (static_cast<ULONG>(count) < n) n = static_cast<ULONG>(count);

        void* block = nullptr;
        SCODE sc = AllocateBuffer(CbNewSRowSet(n), &block);
        if (FAILED(sc)) return sc;
        auto* set = static_cast<LPSRowSet>(block);
        for (ULONG i = 0; i < n; ++i) {
            bool missing = false;
            SPropValue* values = nullptr;
            sc = BuildValues(*visible[cursor_ + i], columns_.data(), static_cast<ULONG>(columns_.size()), &values,
                             &missing);
            if (FAILED(sc)) {
                for (ULONG j = 0; j < i; ++j) FreeBuffer(set->aRow[j].lpProps);
                FreeBuffer(set);
                return sc;
            }
            set->aRow[i].cValues = static_cast<ULONG>(columns_.size());
            set->aRow[i].lpProps = values;
            set->cRows = i + 1;
        }
        cursor_ += static_cast<LONG>(n);
        *out = set;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Advise(ULONG, LPMAPIADVISESINK, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE GetStatus(ULONG* status, ULONG* type) override {
        if (!status || !type) return MAPI_E_INVALID_PARAMETER;
        *status = TBLSTAT_COMPLETE;
        *type = TBLTYPE_SNAPSHOT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryColumns(ULONG, LPSPropTagArray*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE SeekRowApprox(ULONG, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE QueryPosition(ULONG*, ULONG*, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE FindRow(LPSRestriction, BOOKMARK, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE CreateBookmark(BOOKMARK*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE FreeBookmark(BOOKMARK) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE SortTable(LPSSortOrderSet, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE QuerySortOrder(LPSSortOrderSet*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE Abort() override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet*, ULONG*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE CollapseRow(ULONG, LPBYTE, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE WaitForCompletion(ULONG, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE GetCollapseState(ULONG, ULONG, LPBYTE, ULONG*, LPBYTE*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK*) override {
        return MAPI_E_NO_SUPPORT;
    }

private:
    std::vector<const Row*> Visible() const {
        std::vector<const Row*> out;
        for (const Row& r : rows_)
            if (!restricted_ || Matches(match_, r)) out.push_back(&r);
        return out;
    }

    std::vector<Row> rows_;
    std::vector<ULONG> columns_;
    bool restricted_ = false;
    ContentMatch match_{};
    LONG cursor_ = 0;
};

}  // namespace

IMAPITable* NewMemoryTable(std::vector<Row> rows, std::vector<ULONG> columns) {
    return new MemoryTable(std::move(rows), std::move(columns));
}

}  // namespace standin
