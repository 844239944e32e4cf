#include "security/dacl_reader.h"

#include <windows.h>

#include <new>
#include <utility>

#include "frame/unique_resource.h"
#include "security/dacl_messages.h"
#include "security/security_target.h"

namespace cvi {
namespace {

DaclReading Failure(std::string text) {
    DaclReading reading;
    reading.status = DaclStatus::Failed;
    reading.failure = std::move(text);
    return reading;
}

std::unique_ptr<BYTE[]> AllocateDescriptor(DWORD size) {
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[size]);
}

DaclReading ReadKeyDescriptor(HKEY root, const char* subKey) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(root, subKey, 0, READ_CONTROL, &raw) != ERROR_SUCCESS) {
        DaclReading reading;
        reading.status = DaclStatus::KeyNotOpened;
        return reading;
    }
    unique_hkey key(raw);

    // Only the size this probe reports matters, not its result.
    DWORD size = 0;
    ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    if (size == 0) return Failure(kKeySizeUnknown);

    DaclReading reading;
    reading.descriptor = AllocateDescriptor(size);
    if (!reading.descriptor) return Failure(SecurityReadFailedText(ERROR_NOT_ENOUGH_MEMORY));
    const LONG read =
        ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, reading.descriptor.get(), &size);
    key.reset();
    // The registry reports its error as the result; the thread's last error
    // may be left over from anything before.
    if (read != ERROR_SUCCESS) return Failure(SecurityReadFailedText(static_cast<DWORD>(read)));
    reading.status = DaclStatus::Entries;
    return reading;
}

DaclReading ReadFileDescriptor(const char* path) {
    // Some systems leave the size untouched when the path does not exist.
    DWORD size = 0;
    ::GetFileSecurityA(path, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return Failure(kFileSizeUnknown);

    DaclReading reading;
    reading.descriptor = AllocateDescriptor(size);
    if (!reading.descriptor) return Failure(SecurityReadFailedText(ERROR_NOT_ENOUGH_MEMORY));
    if (!::GetFileSecurityA(path, DACL_SECURITY_INFORMATION, reading.descriptor.get(), size,
                            &size)) {
        return Failure(SecurityReadFailedText(::GetLastError()));
    }
    reading.status = DaclStatus::Entries;
    return reading;
}

}  // namespace

DaclReading ReadTargetDacl(const char* target) {
    const SecurityTarget parsed = ParseSecurityTarget(target);
    DaclReading reading;
    switch (parsed.root) {
        case TargetRoot::LocalMachine:
            reading = ReadKeyDescriptor(HKEY_LOCAL_MACHINE, parsed.path);
            break;
        case TargetRoot::ClassesRoot:
            reading = ReadKeyDescriptor(HKEY_CLASSES_ROOT, parsed.path);
            break;
        case TargetRoot::File:
            reading = ReadFileDescriptor(parsed.path);
            break;
    }
    if (reading.status != DaclStatus::Entries) return reading;

    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(reading.descriptor.get(), &present, &dacl, &defaulted)) {
        return Failure(DaclRetrievalFailedText(::GetLastError()));
    }
    if (!present) return Failure(kDaclNotFound);
    if (!dacl) {
        reading.status = DaclStatus::NullDacl;
        return reading;
    }
    reading.dacl = dacl;
    return reading;
}

}  // namespace cvi
