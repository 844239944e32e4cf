#include "profile_store.h"

#include <cstdio>
#include <cstring>

namespace standin {

namespace {

class Key {
public:
    Key() = default;
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* put() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool ValidName(const char* name) {
    return name && *name && !strchr(name, '\\') && strlen(name) < 64;
}

std::string ProfilePath(const std::string& profile) { return std::string(CVI_STAND_IN_STORE) + "\\" + profile; }

std::string UidHex(const MAPIUID& uid) {
    std::string hex;
    char two[3];
    for (BYTE b : uid.ab) {
        snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    return hex;
}

bool UidFromHex(const char* hex, MAPIUID* uid) {
    if (strlen(hex) != 32) return false;
    for (int i = 0; i < 16; ++i) {
        unsigned v = 0;
        if (sscanf(hex + 2 * i, "%2x", &v) != 1) return false;
        uid->ab[i] = static_cast<BYTE>(v);
    }
    return true;
}

std::vector<std::string> SubkeyNames(const std::string& path) {
    std::vector<std::string> names;
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    return names;
}

std::string ReadText(HKEY key, const char* value) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return text;
}

}  // namespace

HRESULT StoreCreateProfile(const char* name) {
    if (!ValidName(name)) return MAPI_E_INVALID_PARAMETER;
    Key key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProfilePath(name).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                        &disposition) != ERROR_SUCCESS)
        return MAPI_E_CALL_FAILED;
    // Real profile stores refuse a second profile of the same name.
    return disposition == REG_CREATED_NEW_KEY ? S_OK : MAPI_E_NO_ACCESS;
}

HRESULT StoreDeleteProfile(const char* name) {
    if (!ValidName(name)) return MAPI_E_INVALID_PARAMETER;
    if (!StoreHasProfile(name)) return MAPI_E_NOT_FOUND;
    return RegDeleteTreeA(HKEY_CURRENT_USER, ProfilePath(name).c_str()) == ERROR_SUCCESS ? S_OK
                                                                                         : MAPI_E_CALL_FAILED;
}

bool StoreHasProfile(const char* name) {
    if (!ValidName(name)) return false;
    Key key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, ProfilePath(name).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::vector<std::string> StoreProfileNames() { return SubkeyNames(CVI_STAND_IN_STORE); }

HRESULT StoreAddService(const std::string& profile, const std::string& service, const std::string& displayName) {
    if (!StoreHasProfile(profile.c_str())) return MAPI_E_NOT_FOUND;
    MAPIUID uid;
    GUID guid;
    if (FAILED(CoCreateGuid(&guid))) return MAPI_E_CALL_FAILED;
    memcpy(uid.ab, &guid, sizeof uid.ab);
    Key key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (ProfilePath(profile) + "\\" + UidHex(uid)).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return MAPI_E_CALL_FAILED;
    RegSetValueExA(key.get(), "ServiceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(service.c_str()),
                   static_cast<DWORD>(service.size() + 1));
    RegSetValueExA(key.get(), "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(displayName.c_str()),
                   static_cast<DWORD>(displayName.size() + 1));
    return S_OK;
}

std::vector<StoredService> StoreServices(const std::string& profile) {
    std::vector<StoredService> services;
    for (const std::string& hex : SubkeyNames(ProfilePath(profile))) {
        StoredService s;
        if (!UidFromHex(hex.c_str(), &s.uid)) continue;
        Key key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (ProfilePath(profile) + "\\" + hex).c_str(), 0, KEY_READ, key.put()) !=
            ERROR_SUCCESS)
            continue;
        s.name = ReadText(key.get(), "ServiceName");
        s.displayName = ReadText(key.get(), "DisplayName");
        services.push_back(s);
    }
    return services;
}

bool StoreHasService(const std::string& profile, const MAPIUID& uid) {
    Key key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, (ProfilePath(profile) + "\\" + UidHex(uid)).c_str(), 0, KEY_READ,
                         key.put()) == ERROR_SUCCESS;
}

Row StoreSection(const std::string& profile, const MAPIUID& uid) {
    Row cells;
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (ProfilePath(profile) + "\\" + UidHex(uid)).c_str(), 0, KEY_READ,
                      key.put()) != ERROR_SUCCESS)
        return cells;
    for (DWORD i = 0;; ++i) {
        char name[64];
        DWORD nameSize = sizeof name;
        BYTE data[2048];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        unsigned long tag = 0;
        char rest = 0;
        if (strlen(name) != 8 || sscanf(name, "%8lx%c", &tag, &rest) != 1) continue;
        if (type == REG_SZ && PROP_TYPE(tag) == PT_STRING8) {
            cells.push_back(TextCell(tag, std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0)));
        } else if (type == REG_BINARY && PROP_TYPE(tag) == PT_BINARY) {
            cells.push_back(BinaryCell(tag, data, dataSize));
        } else if (type == REG_DWORD && PROP_TYPE(tag) == PT_LONG) {
            LONG number = 0;
            memcpy(&number, data, sizeof number);
            cells.push_back(NumberCell(tag, number));
        }
    }
    return cells;
}

HRESULT StoreWriteSection(const std::string& profile, const MAPIUID& uid, const Row& cells) {
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (ProfilePath(profile) + "\\" + UidHex(uid)).c_str(), 0, KEY_WRITE,
                      key.put()) != ERROR_SUCCESS)
        return MAPI_E_NOT_FOUND;
    for (const Cell& c : cells) {
        char name[16];
        snprintf(name, sizeof name, "%08lX", c.tag);
        LONG rc = ERROR_SUCCESS;
        switch (PROP_TYPE(c.tag)) {
            case PT_STRING8:
                rc = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.bytes.c_str()),
                                    static_cast<DWORD>(c.bytes.size() + 1));
                break;
            case PT_BINARY:
                rc = RegSetValueExA(key.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(c.bytes.data()),
                                    static_cast<DWORD>(c.bytes.size()));
                break;
            default:
                rc = RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.number),
                                    sizeof c.number);
                break;
        }
        if (rc != ERROR_SUCCESS) return MAPI_E_CALL_FAILED;
    }
    return S_OK;
}

}  // namespace standin
