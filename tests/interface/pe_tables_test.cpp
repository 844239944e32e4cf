// The export and import tables of the built DLL, read from the loaded image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
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

// System DLLs the library may import, upper-cased.
const std::set<std::string> kSystemDlls = {"KERNEL32.DLL", "MSVCRT.DLL",   "ADVAPI32.DLL",
                                           "USER32.DLL",   "OLE32.DLL",    "OLEAUT32.DLL",
                                           "MAPI32.DLL",   "ACTIVEDS.DLL", "MSI.DLL"};

// DLLs imported only by ordinal, with the ordinals the library uses.
const std::map<std::string, std::set<WORD>> kOrdinalImports = {
    {"MAPI32.DLL", {17, 19, 21, 23, 75, 140}},
    {"ACTIVEDS.DLL", {3}},
    {"MSI.DLL", {144}},
};

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
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base() + dos->e_lfanew);
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

struct Import {
    std::string dll;
    bool byOrdinal;
    WORD ordinal;
    std::string name;
    FARPROC bound;
};

std::vector<Import> Imports(const Image& img) {
    std::vector<Import> out;
    const auto& d = img.dir(IMAGE_DIRECTORY_ENTRY_IMPORT);
    for (const auto* desc = img.at<IMAGE_IMPORT_DESCRIPTOR>(d.VirtualAddress); desc->Name; ++desc) {
        const std::string dll = Upper(img.at<char>(desc->Name));
        const auto* lookup = img.at<IMAGE_THUNK_DATA32>(desc->OriginalFirstThunk ? desc->OriginalFirstThunk
                                                                                  : desc->FirstThunk);
        const auto* bound = img.at<IMAGE_THUNK_DATA32>(desc->FirstThunk);
        for (; lookup->u1.AddressOfData; ++lookup, ++bound) {
            Import imp{dll, false, 0, "", reinterpret_cast<FARPROC>(bound->u1.Function)};
            if (IMAGE_SNAP_BY_ORDINAL32(lookup->u1.Ordinal)) {
                imp.byOrdinal = true;
                imp.ordinal = static_cast<WORD>(IMAGE_ORDINAL32(lookup->u1.Ordinal));
            } else {
                imp.name = img.at<IMAGE_IMPORT_BY_NAME>(lookup->u1.AddressOfData)->Name;
            }
            out.push_back(imp);
        }
    }
    return out;
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
    std::set<std::string> dlls;
    for (const auto& imp : Imports(img)) dlls.insert(imp.dll);
    for (const auto& dll : dlls) EXPECT_EQ(kSystemDlls.count(dll), 1u) << "imports " << dll;
}

TEST(ImportTable, OrdinalDllsAreImportedByTheirOrdinalsAndBindToTheSystemFunctions) {
    Image img;
    ASSERT_NE(img.module, nullptr);
    std::map<std::string, std::set<WORD>> seen;
    for (const auto& imp : Imports(img)) {
        auto expected = kOrdinalImports.find(imp.dll);
        if (expected == kOrdinalImports.end()) continue;
        ASSERT_TRUE(imp.byOrdinal) << imp.dll << " imports " << imp.name << " by name";
        EXPECT_EQ(expected->second.count(imp.ordinal), 1u) << imp.dll << " ordinal " << imp.ordinal;
        seen[imp.dll].insert(imp.ordinal);
        HMODULE sys = GetModuleHandleA(imp.dll.c_str());
        ASSERT_NE(sys, nullptr);
        EXPECT_EQ(imp.bound, GetProcAddress(sys, MAKEINTRESOURCEA(imp.ordinal)))
            << imp.dll << " ordinal " << imp.ordinal << " bound elsewhere";
    }
    // Once every export exists, every ordinal the library needs is imported.
    if (ExportNames(img).size() == kAllExports.size()) {
        for (const auto& [dll, ordinals] : kOrdinalImports) EXPECT_EQ(seen[dll], ordinals) << dll;
    }
}

}  // namespace
