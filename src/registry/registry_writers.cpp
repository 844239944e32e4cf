#include "registry/registry_writers.h"

#include <windows.h>

#include <cstdlib>

#include "cvinstaller.h"
#include "frame/unique_resource.h"
#include "registry/registry_path.h"

namespace cvi {
namespace {

// A heap copy of a caller's text.
class TextCopy {
public:
    TextCopy(const char* text, RuntimeAllocator allocate)
        : length_(::lstrlenA(text)),
          copy_(static_cast<char*>(allocate(static_cast<std::size_t>(length_) + 1))) {
        if (copy_) ::lstrcpyA(copy_.get(), text);
    }

    bool allocated() const { return static_cast<bool>(copy_); }
    const BYTE* bytes() const { return reinterpret_cast<const BYTE*>(copy_.get()); }
    // The terminator is stored with the text.
    DWORD size() const { return static_cast<DWORD>(length_) + 1; }

private:
    int length_;
    unique_runtime_heap<char> copy_;
};

// Writes `data` as a REG_SZ value. An uncopyable text is a failure of its
// own: reporting success there would tell the setup that a value it
// depends on is in place when it is not.
LONG WriteTextValue(HKEY key, const char* valueName, const char* data, RuntimeAllocator allocate) {
    TextCopy copy(data, allocate);
    if (!copy.allocated()) return ERROR_NOT_ENOUGH_MEMORY;
    return ::RegSetValueExA(key, valueName, 0, REG_SZ, copy.bytes(), copy.size());
}

// 0xF003F without, 0xF013F with the 64-bit view.
REGSAM WriterAccessMask(int use64BitView) {
    return use64BitView != 0 ? (KEY_ALL_ACCESS | KEY_WOW64_64KEY) : KEY_ALL_ACCESS;
}

// The disposition is of no interest: an existing key is written the same way.
LONG CreateKeyForWriting(HKEY root, const char* subKey, int use64BitView, unique_hkey& key) {
    if (IsRegistryPathTooLong(subKey)) return ERROR_INVALID_PARAMETER;
    HKEY raw = nullptr;  // only a success is known to leave a key here
    const LONG status = ::RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          WriterAccessMask(use64BitView), nullptr, &raw, nullptr);
    if (status == ERROR_SUCCESS) key.reset(raw);
    return status;
}

}  // namespace

LONG CreateEmptyKey(HKEY root, const char* subKey, const char* defaultValue, int use64BitView,
                    RuntimeAllocator allocate) {
    unique_hkey key;
    const LONG created = CreateKeyForWriting(root, subKey, use64BitView, key);
    if (created != ERROR_SUCCESS) return created;
    if (!defaultValue) return ERROR_SUCCESS;
    return WriteTextValue(key.get(), nullptr, defaultValue, allocate);
}

LONG SetRegistryString(HKEY root, const char* subKey, const char* valueName, const char* data,
                       int use64BitView, RuntimeAllocator allocate) {
    unique_hkey key;
    const LONG created = CreateKeyForWriting(root, subKey, use64BitView, key);
    if (created != ERROR_SUCCESS) return created;
    const LONG written = data ? WriteTextValue(key.get(), valueName, data, allocate) : ERROR_SUCCESS;
    // The setup has always seen the result of closing the key when all went
    // well; a failed write must not hide behind it.
    const LONG closed = ::RegCloseKey(key.release());
    return written != ERROR_SUCCESS ? written : closed;
}

}  // namespace cvi

extern "C" LONG WINAPI CreateEmptyKey3264(HKEY root, const char* subKey, const char* defaultValue,
                                          int use64BitView) {
    return cvi::CreateEmptyKey(root, subKey, defaultValue, use64BitView, &std::malloc);
}

extern "C" LONG WINAPI SetRegistryString3264(HKEY root, const char* subKey, const char* valueName,
                                             const char* data, int use64BitView) {
    return cvi::SetRegistryString(root, subKey, valueName, data, use64BitView,
                                  &std::malloc);
}

extern "C" int WINAPI SetRegistryWord3264(HKEY root, const char* subKey, const char* valueName,
                                          DWORD value, int use64BitView) {
    cvi::unique_hkey key;
    if (cvi::CreateKeyForWriting(root, subKey, use64BitView, key) != ERROR_SUCCESS) return 0;
    const LONG written = ::RegSetValueExA(key.get(), valueName, 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&value), sizeof(value));
    return written == ERROR_SUCCESS ? 1 : 0;
}
