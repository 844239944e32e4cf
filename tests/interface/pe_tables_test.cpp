// The export and import tables of the built DLL, read from the loaded image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

const std::set<std::string> kAllExports = {
    "KillProcessByFileName", "RegistryKeyExists",     "InitMAPIDir",
    "IIS_CheckNetFilters",   "GetADSIStatus",         "CheckForASPNETISAPI",
    "CreateProfile",         "ProfileExists",         "GetTimeAsLong",
    "MSI_SetMAPIProperties", "SetRegistryWord3264",   "SetRegistryString3264",
    "CreateEmptyKey3264"};

// The DLLs the library may import at load time, upper-cased: KnownDLLs
// only, which the loader never takes from the host's folder. MAPI32,
// activeds and msi are bound at run time from the system folder.
const std::set<std::string> kSystemDlls = {"KERNEL32.DLL", "MSVCRT.DLL", "ADVAPI32.DLL",
                                           "USER32.DLL",   "OLE32.DLL",  "OLEAUT32.DLL"};

std::string Upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Image {
    HMODULE module = LoadLibraryA((cvi_test::BinDir() + "\\CVINSTALLER.dll").c_str());
    ~Image() {
        if (module) FreeLibrary(module);
    }
    const BYTE* base() const { return reinterpret_cast<const BYTE*>(module); }
    const IMAGE_DATA_DIRECTORY& dir(int i) const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base() + dos->e_lfanew);
        return nt->OptionalHeader.DataDirectory[i];
    }
    template <typename T>
    const T* at(DWORD rva) const {
        return reinterpret_cast<const T*>(base() + rva);
    }
};

std::vector<std::string> ExportNames(const Image& img) {
    std::vector<std::string> names;
    const auto& d = img.dir(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!d.VirtualAddress) return names;
    const auto* exp = img.at<IMAGE_EXPORT_DIRECTORY>(d.VirtualAddress);
    const auto* nameRvas = img.at<DWORD>(exp->AddressOfNames);
    for (DWORD i = 0; i < exp->NumberOfNames; ++i) names.push_back(img.at<char>(nameRvas[i]));
    return names;
}

// The DLLs named by the import table, upper-cased.
std::set<std::string> ImportedDlls(const Image& img) {
    std::set<std::string> dlls;
    const auto& d = img.dir(IMAGE_DIRECTORY_ENTRY_IMPORT);
    for (const auto* desc = img.at<IMAGE_IMPORT_DESCRIPTOR>(d.VirtualAddress); desc->Name; ++desc)
        dlls.insert(Upper(img.at<char>(desc->Name)));
    return dlls;
}

std::set<std::string> DefinedExports() {
    std::set<std::string> names;
    std::ifstream in(CVI_EXPORTS_DEF);
    std::string line;
    bool inExports = false;
    while (std::getline(in, line)) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (line.rfind("EXPORTS", 0) == 0) {
            inExports = true;
            continue;
        }
        if (!inExports || line.empty()) continue;
        names.insert(line.substr(0, line.find('@')));
    }
    return names;
}

TEST(ExportTable, HoldsExactlyTheImplementedNamesUndecorated) {
    Image img;
    ASSERT_NE(img.module, nullptr);
    const auto names = ExportNames(img);
    const auto defined = DefinedExports();
    ASSERT_FALSE(defined.empty()) << "no export table source at " << CVI_EXPORTS_DEF;

    std::set<std::string> exported(names.begin(), names.end());
    EXPECT_EQ(exported.size(), names.size()) << "duplicate export names";
    // Every one of the thirteen is required, by name: a line lost from the
    // table must not shrink what is checked.
    for (const auto& required : kAllExports) {
        EXPECT_EQ(exported.count(required), 1u) << "missing or decorated export " << required;
        EXPECT_EQ(defined.count(required), 1u) << "missing from the export table " << required;
    }
    EXPECT_EQ(exported, defined);
    for (const auto& n : names) {
        EXPECT_EQ(n.find('@'), std::string::npos) << n;
        EXPECT_NE(n[0], '_') << n;
        EXPECT_EQ(kAllExports.count(n), 1u) << "unexpected export " << n;
        EXPECT_NE(GetProcAddress(img.module, n.c_str()), nullptr) << n;
    }
}

TEST(ImportTable, NamesSystemDllsOnly) {
    Image img;
    ASSERT_NE(img.module, nullptr);
    for (const auto& dll : ImportedDlls(img)) EXPECT_EQ(kSystemDlls.count(dll), 1u) << "imports " << dll;
}

}  // namespace
