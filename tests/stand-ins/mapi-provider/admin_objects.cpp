#include "admin_objects.h"

#include <mapitags.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "memory_table.h"
#include "profile_store.h"
#include "stand_in_object.h"

namespace standin {

namespace {

constexpr ULONG kForceAccess = 0x00080000;

// Message services this MAPI knows how to create.
bool KnownService(const char* name) { return name && strcmp(name, "VAVA") == 0; }

std::string Hex(ULONG value) {
    char text[12];
    snprintf(text, sizeof text, "%08lX", value);
    return text;
}

class ProfileSection final : public StandInObject<IProfSect> {
public:
    ProfileSection(std::string profile, const MAPIUID& uid)
        : StandInObject("IProfSect", MapiIid(0x00020304)), profile_(std::move(profile)), uid_(uid) {}

    HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray tags, ULONG flags, ULONG* count,
                                       LPSPropValue* values) override {
        if (!count || !values) return MAPI_E_INVALID_PARAMETER;
        *count = 0;
        *values = nullptr;
        HRESULT armed = S_OK;
        if (Intercept("IMAPIProp::GetProps", &armed)) return armed;
        if (flags & MAPI_UNICODE) return MAPI_E_BAD_CHARWIDTH;

        const Row stored = StoreSection(profile_, uid_);
        std::vector<ULONG> wanted;
        if (tags) {
            wanted.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
        } else {
            for (const Cell& c : stored) wanted.push_back(c.tag);
        }
        std::string detail = "GetProps.tags=";
        for (ULONG t : wanted) detail += Hex(t) + ",";
        Journal(detail);

        bool missing = false;
        const SCODE sc = BuildValues(stored, wanted.data(), static_cast<ULONG>(wanted.size()), values, &missing);
        if (FAILED(sc)) return sc;
        *count = static_cast<ULONG>(wanted.size());
        return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
    }

    HRESULT STDMETHODCALLTYPE SaveChanges(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPropList(ULONG, LPSPropTagArray*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN*) override {
        return MAPI_E_NO_SUPPORT;
    }
    // The section is opened for reading: nothing may change through it.
    HRESULT STDMETHODCALLTYPE SetProps(ULONG, LPSPropValue, LPSPropProblemArray*) override { return MAPI_E_NO_ACCESS; }
    HRESULT STDMETHODCALLTYPE DeleteProps(LPSPropTagArray, LPSPropProblemArray*) override { return MAPI_E_NO_ACCESS; }
    HRESULT STDMETHODCALLTYPE CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                                     LPSPropProblemArray*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE CopyProps(LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                                        LPSPropProblemArray*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE GetNamesFromIDs(LPSPropTagArray*, LPGUID, ULONG, ULONG*, LPMAPINAMEID**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray*) override {
        return MAPI_E_NO_SUPPORT;
    }

private:
    std::string profile_;
    MAPIUID uid_;
};

class ServiceAdmin final : public StandInObject<IMsgServiceAdmin> {
public:
    explicit ServiceAdmin(std::string profile)
        : StandInObject("IMsgServiceAdmin", MapiIid(0x0002031D)), profile_(std::move(profile)) {}

    HRESULT STDMETHODCALLTYPE GetMsgServiceTable(ULONG, LPMAPITABLE* table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        HRESULT armed = S_OK;
        if (Intercept("IMsgServiceAdmin::GetMsgServiceTable", &armed)) return armed;
        std::vector<Row> rows;
        for (const StoredService& s : StoreServices(profile_)) {
            rows.push_back(Row{TextCell(PR_SERVICE_NAME_A, s.name), BinaryCell(PR_SERVICE_UID, s.uid.ab, 16),
                               BinaryCell(PR_SERVICE_EXTRA_UIDS, nullptr, 0),
                               TextCell(PR_DISPLAY_NAME_A, s.displayName)});
        }
        *table = NewMemoryTable(std::move(rows),
                                {PR_SERVICE_NAME_A, PR_SERVICE_UID, PR_SERVICE_EXTRA_UIDS, PR_DISPLAY_NAME_A});
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE CreateMsgService(LPTSTR service, LPTSTR displayName, ULONG_PTR, ULONG) override {
        HRESULT armed = S_OK;
        if (Intercept("IMsgServiceAdmin::CreateMsgService", &armed)) return armed;
        if (!KnownService(service)) return MAPI_E_NOT_FOUND;
        return StoreAddService(profile_, service, displayName ? displayName : service);
    }

    HRESULT STDMETHODCALLTYPE ConfigureMsgService(LPMAPIUID uid, ULONG_PTR, ULONG, ULONG count,
                                                  LPSPropValue values) override {
        HRESULT armed = S_OK;
        if (Intercept("IMsgServiceAdmin::ConfigureMsgService", &armed)) return armed;
        if (!uid || (count && !values)) return MAPI_E_INVALID_PARAMETER;
        if (!StoreHasService(profile_, *uid)) return MAPI_E_NOT_FOUND;
        // The real service checks and keeps its configuration in its own
        // profile section; here every value is kept as given.
        Row cells;
        for (ULONG i = 0; i < count; ++i) {
            Cell cell;
            if (!CellFromValue(values[i], &cell)) return MAPI_E_INVALID_PARAMETER;
            cells.push_back(cell);
        }
        return StoreWriteSection(profile_, *uid, cells);
    }

    HRESULT STDMETHODCALLTYPE OpenProfileSection(LPMAPIUID uid, LPCIID iid, ULONG flags,
                                                 LPPROFSECT* section) override {
        if (!section) return MAPI_E_INVALID_PARAMETER;
        *section = nullptr;
        HRESULT armed = S_OK;
        if (Intercept("IMsgServiceAdmin::OpenProfileSection", &armed)) return armed;
        Journal("OpenProfileSection.flags=" + Hex(flags));
        if (!uid) return MAPI_E_INVALID_PARAMETER;
        if (iid && !IsEqualIID(*iid, MapiIid(0x00020304)) && !IsEqualIID(*iid, MapiIid(0x00020303)))
            return MAPI_E_INTERFACE_NOT_SUPPORTED;
        // Only reading, forced or not, is offered.
        if (flags & ~kForceAccess) return MAPI_E_NO_ACCESS;
        if (!StoreHasService(profile_, *uid)) return MAPI_E_NOT_FOUND;
        *section = new ProfileSection(profile_, *uid);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DeleteMsgService(LPMAPIUID) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE CopyMsgService(LPMAPIUID, LPTSTR, LPCIID, LPCIID, LPVOID, ULONG_PTR, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE RenameMsgService(LPMAPIUID, ULONG, LPTSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE MsgServiceTransportOrder(ULONG, LPMAPIUID, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE AdminProviders(LPMAPIUID, ULONG, LPPROVIDERADMIN*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE SetPrimaryIdentity(LPMAPIUID, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT STDMETHODCALLTYPE GetProviderTable(ULONG, LPMAPITABLE*) override { return MAPI_E_NO_SUPPORT; }

private:
    std::string profile_;
};

class ProfAdmin final : public StandInObject<IProfAdmin> {
public:
    ProfAdmin() : StandInObject("IProfAdmin", MapiIid(0x0002031C)) {}

    HRESULT STDMETHODCALLTYPE GetProfileTable(ULONG, LPMAPITABLE* table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        HRESULT armed = S_OK;
        if (Intercept("IProfAdmin::GetProfileTable", &armed)) return armed;
        std::vector<Row> rows;
        for (const std::string& name : StoreProfileNames())
            rows.push_back(Row{TextCell(PR_DISPLAY_NAME_A, name), NumberCell(PR_DEFAULT_PROFILE, 0)});
        *table = NewMemoryTable(std::move(rows), {PR_DISPLAY_NAME_A, PR_DEFAULT_PROFILE});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateProfile(LPTSTR name, LPTSTR, ULONG_PTR, ULONG) override {
        HRESULT armed = S_OK;
        if (Intercept("IProfAdmin::CreateProfile", &armed)) return armed;
        return StoreCreateProfile(name);
    }
    HRESULT STDMETHODCALLTYPE DeleteProfile(LPTSTR name, ULONG) override {
        HRESULT armed = S_OK;
        if (Intercept("IProfAdmin::DeleteProfile", &armed)) return armed;
        return StoreDeleteProfile(name);
    }
    HRESULT STDMETHODCALLTYPE AdminServices(LPTSTR name, LPTSTR, ULONG_PTR, ULONG,
                                            LPSERVICEADMIN* admin) override {
        if (!admin) return MAPI_E_INVALID_PARAMETER;
        *admin = nullptr;
        HRESULT armed = S_OK;
        if (Intercept("IProfAdmin::AdminServices", &armed)) return armed;
        if (!StoreHasProfile(name)) return MAPI_E_NOT_FOUND;
        *admin = new ServiceAdmin(name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ChangeProfilePassword(LPTSTR, LPTSTR, LPTSTR, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE CopyProfile(LPTSTR, LPTSTR, LPTSTR, ULONG_PTR, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE RenameProfile(LPTSTR, LPTSTR, LPTSTR, ULONG_PTR, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT STDMETHODCALLTYPE SetDefaultProfile(LPTSTR, ULONG) override { return MAPI_E_NO_SUPPORT; }
};

}  // namespace

IProfAdmin* NewProfAdmin() { return new ProfAdmin(); }

}  // namespace standin
