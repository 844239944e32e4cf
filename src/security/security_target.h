// How a target text names a registry key or a file. Free of any Windows
// dependency.
#pragma once

namespace cvi {

enum class TargetRoot { File, LocalMachine, ClassesRoot };

struct SecurityTarget {
    TargetRoot root;
    // The subkey below the root, or the whole text when it names a file;
    // points into the target text.
    const char* path;
};

// "REG:HKLM::" anywhere in the text names the subkey after its first
// occurrence below HKEY_LOCAL_MACHINE; failing that "REG:HKCR::" one below
// HKEY_CLASSES_ROOT; failing that "REG:" one below HKEY_LOCAL_MACHINE, so
// that any other root is taken literally. Without "REG:" the text is a file
// or directory path. Markers are case-sensitive. A null target is the empty
// file path.
SecurityTarget ParseSecurityTarget(const char* target);

}  // namespace cvi
