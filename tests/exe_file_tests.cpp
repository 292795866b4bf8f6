// The built program files as Windows sees them before running them: the PE headers, the
// DLLs they import and the resources the shell and the loader read. Both the 32-bit program
// that players get and the 64-bit build the other tests run are checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

struct BuiltExe {
    const char* name;
    const char* unixPath;
    WORD machine;
    WORD optionalHeaderMagic;
};

const BuiltExe builtExes[] = {
    {"shipped_i686", TESSARIL_SHIPPED_EXE_UNIX, IMAGE_FILE_MACHINE_I386,
     IMAGE_NT_OPTIONAL_HDR32_MAGIC},
    {"tested_x86_64", TESSARIL_EXE_UNIX, IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC},
};

std::string nameOf(const testing::TestParamInfo<BuiltExe>& info) {
    return info.param.name;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// ---- PE headers, read from the file's bytes ----

struct PeFile {
    Bytes bytes;
    IMAGE_FILE_HEADER header = {};
    WORD magic = 0;
    ULONGLONG imageBase = 0;
    WORD subsystem = 0;
    WORD dllCharacteristics = 0;
    std::vector<IMAGE_DATA_DIRECTORY> directories;
    std::vector<IMAGE_SECTION_HEADER> sections;

    template <typename T> bool read(size_t offset, T* out) const {
        if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
            return false;
        std::memcpy(out, bytes.data() + offset, sizeof(T));
        return true;
    }

    IMAGE_DATA_DIRECTORY directory(unsigned index) const {
        return index < directories.size() ? directories[index] : IMAGE_DATA_DIRECTORY{};
    }

    // The file offset of a relative virtual address; false outside every section's data.
    bool offsetOf(DWORD rva, size_t* offset) const {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            if (rva >= section.VirtualAddress &&
                rva - section.VirtualAddress < section.SizeOfRawData) {
                *offset = section.PointerToRawData + (rva - section.VirtualAddress);
                return *offset < bytes.size();
            }
        }
        return false;
    }

    bool stringAt(DWORD rva, std::string* text) const {
        size_t offset;
        if (!offsetOf(rva, &offset))
            return false;
        text->clear();
        for (; offset < bytes.size() && bytes[offset]; ++offset)
            text->push_back(static_cast<char>(bytes[offset]));
        return offset < bytes.size();
    }
};

std::string sectionName(const IMAGE_SECTION_HEADER& section) {
    const char* name = reinterpret_cast<const char*>(section.Name);
    return std::string(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME));
}

template <typename OptionalHeader> void readOptionalHeader(PeFile* pe, size_t offset) {
    OptionalHeader optional;
    ASSERT_TRUE(pe->read(offset, &optional)) << "the optional header is cut short";
    pe->imageBase = optional.ImageBase;
    pe->subsystem = optional.Subsystem;
    pe->dllCharacteristics = optional.DllCharacteristics;
    ASSERT_LE(optional.NumberOfRvaAndSizes, IMAGE_NUMBEROF_DIRECTORY_ENTRIES);
    pe->directories.assign(optional.DataDirectory,
                           optional.DataDirectory + optional.NumberOfRvaAndSizes);
}

void readPeFile(const char* unixPath, PeFile* pe) {
    pe->bytes = readWholeFile(windowsPathOf(unixPath));
    ASSERT_FALSE(pe->bytes.empty()) << "no program at " << unixPath;

    IMAGE_DOS_HEADER dos;
    ASSERT_TRUE(pe->read(0, &dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    DWORD signature = 0;
    ASSERT_TRUE(pe->read(dos.e_lfanew, &signature));
    ASSERT_EQ(signature, IMAGE_NT_SIGNATURE);
    const size_t headerAt = dos.e_lfanew + sizeof signature;
    ASSERT_TRUE(pe->read(headerAt, &pe->header));

    const size_t optionalAt = headerAt + sizeof(IMAGE_FILE_HEADER);
    ASSERT_TRUE(pe->read(optionalAt, &pe->magic));
    if (pe->magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        ASSERT_NO_FATAL_FAILURE(readOptionalHeader<IMAGE_OPTIONAL_HEADER32>(pe, optionalAt));
    else if (pe->magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        ASSERT_NO_FATAL_FAILURE(readOptionalHeader<IMAGE_OPTIONAL_HEADER64>(pe, optionalAt));
    else
        FAIL() << "unknown optional header magic " << pe->magic;

    const size_t sectionsAt = optionalAt + pe->header.SizeOfOptionalHeader;
    for (unsigned i = 0; i < pe->header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        ASSERT_TRUE(pe->read(sectionsAt + i * sizeof section, &section));
        pe->sections.push_back(section);
    }
}

// The DLLs named by the import table and by the delay-load table, as written in the file.
void readImportedDlls(const PeFile& pe, std::vector<std::string>* dlls) {
    const IMAGE_DATA_DIRECTORY imports = pe.directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    size_t at;
    ASSERT_TRUE(imports.VirtualAddress && pe.offsetOf(imports.VirtualAddress, &at))
        << "no import table";
    for (;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor;
        ASSERT_TRUE(pe.read(at, &descriptor)) << "the import table runs off the file";
        if (descriptor.Name == 0)
            break;
        std::string name;
        ASSERT_TRUE(pe.stringAt(descriptor.Name, &name));
        dlls->push_back(name);
    }

    const IMAGE_DATA_DIRECTORY delayed = pe.directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT);
    if (!delayed.VirtualAddress)
        return;
    ASSERT_TRUE(pe.offsetOf(delayed.VirtualAddress, &at));
    for (;; at += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
        IMAGE_DELAYLOAD_DESCRIPTOR descriptor;
        ASSERT_TRUE(pe.read(at, &descriptor)) << "the delay-load table runs off the file";
        if (descriptor.DllNameRVA == 0)
            break;
        // Old-style entries hold addresses rather than relative ones.
        DWORD nameAt = descriptor.DllNameRVA;
        if (!(descriptor.Attributes.AllAttributes & 1))
            nameAt = static_cast<DWORD>(nameAt - pe.imageBase);
        std::string name;
        ASSERT_TRUE(pe.stringAt(nameAt, &name));
        dlls->push_back(name);
    }
}

// Every Windows since 7 has these in its system folder. MinGW's run-time DLLs
// (libstdc++-6, libgcc_s_*, libwinpthread-1) are not among them: a player does not have them.
const char* const windowsDlls[] = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",    "ole32.dll",    "oleaut32.dll",
    "msvcrt.dll",   "shell32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
    "shlwapi.dll",  "version.dll", "uxtheme.dll",  "imm32.dll",    "winmm.dll",
};

class ExeFile : public testing::TestWithParam<BuiltExe> {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(readPeFile(GetParam().unixPath, &pe_)); }
    PeFile pe_;
};

TEST_P(ExeFile, IsAWindowsGuiProgramForItsMachine) {
    EXPECT_EQ(pe_.header.Machine, GetParam().machine);
    EXPECT_EQ(pe_.magic, GetParam().optionalHeaderMagic);
    EXPECT_EQ(pe_.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_TRUE(pe_.header.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE);
    EXPECT_FALSE(pe_.header.Characteristics & IMAGE_FILE_DLL);
}

TEST_P(ExeFile, CanBeMovedInMemoryAndKeepsCodeAndDataApart) {
    EXPECT_TRUE(pe_.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(pe_.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    // Without its relocations the loader cannot move the program, whatever the flag says.
    EXPECT_FALSE(pe_.header.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_NE(pe_.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);

    ASSERT_FALSE(pe_.sections.empty());
    for (const IMAGE_SECTION_HEADER& section : pe_.sections) {
        const DWORD writableCode = IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE;
        EXPECT_NE(section.Characteristics & writableCode, writableCode)
            << "section " << sectionName(section) << " is both writable and executable";
    }
}

TEST_P(ExeFile, IsStripped) {
    EXPECT_EQ(pe_.header.NumberOfSymbols, 0u);
    EXPECT_EQ(pe_.header.PointerToSymbolTable, 0u);
    for (const IMAGE_SECTION_HEADER& section : pe_.sections) {
        const std::string name = sectionName(section);
        EXPECT_NE(name.rfind(".debug", 0), 0u) << "debug section " << name;
        // "/4" and the like point into the symbol string table: long DWARF section names.
        EXPECT_NE(name.rfind("/", 0), 0u) << "section with a long name " << name;
    }
}

TEST_P(ExeFile, ImportsOnlyDllsThatShipWithWindows) {
    std::vector<std::string> dlls;
    ASSERT_NO_FATAL_FAILURE(readImportedDlls(pe_, &dlls));
    std::set<std::string> imported;
    for (const std::string& dll : dlls)
        imported.insert(lowerCase(dll));
    // The table was found and read: every Windows program needs kernel32.
    EXPECT_EQ(imported.count("kernel32.dll"), 1u);
    const std::set<std::string> allowed(std::begin(windowsDlls), std::end(windowsDlls));
    for (const std::string& dll : imported)
        EXPECT_EQ(allowed.count(dll), 1u) << "imports " << dll << ", which Windows lacks";
}

INSTANTIATE_TEST_SUITE_P(Built, ExeFile, testing::ValuesIn(builtExes), nameOf);

// ---- Resources, read back through the system's loader ----

class ExeResources : public testing::TestWithParam<BuiltExe> {
  protected:
    void SetUp() override {
        const std::wstring path = windowsPathOf(GetParam().unixPath);
        // As data: loads files of either bitness without running anything in them.
        module_ = LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr)
            << "cannot load " << GetParam().unixPath << " as data, error " << GetLastError();
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }

    // The resource's bytes; empty if there is none.
    Bytes resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, name, type);
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
        return data ? Bytes(data, data + SizeofResource(module_, found)) : Bytes();
    }

    std::vector<std::wstring> resourceNames(const wchar_t* type) const {
        std::vector<std::wstring> names;
        EnumResourceNamesW(
            module_, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
                auto* names = reinterpret_cast<std::vector<std::wstring>*>(list);
                names->push_back(IS_INTRESOURCE(name)
                                     ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                     : std::wstring(name));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved, type, count;
};
struct IconGroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource;
    WORD iconId;
};
struct IconFileEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource, imageOffset;
};
#pragma pack(pop)

TEST_P(ExeResources, FirstIconGroupIsTheProgramIconWithOne48PixelImage) {
    // The shell shows a program's first icon group as its icon.
    const std::vector<std::wstring> groups = resourceNames(RT_GROUP_ICON);
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(narrow(groups[0]), "DEFAULT_ICON");

    const Bytes group = resource(L"DEFAULT_ICON", RT_GROUP_ICON);
    IconGroupHeader header;
    IconGroupEntry entry;
    ASSERT_EQ(group.size(), sizeof header + sizeof entry);
    std::memcpy(&header, group.data(), sizeof header);
    std::memcpy(&entry, group.data() + sizeof header, sizeof entry);
    EXPECT_EQ(header.type, 1);
    EXPECT_EQ(header.count, 1);
    EXPECT_EQ(entry.width, 48);
    EXPECT_EQ(entry.height, 48);
    EXPECT_EQ(entry.bitCount, 32);
    EXPECT_EQ(entry.bytesInResource, 9640u);

    // The image it names is the one of the project's icon file, and makes an icon.
    const Bytes image = resource(MAKEINTRESOURCEW(entry.iconId), RT_ICON);
    ASSERT_EQ(image.size(), 9640u);
    const Bytes iconFile = readWholeFile(windowsPathOf(TESSARIL_ICON_UNIX));
    IconFileEntry fileEntry;
    ASSERT_GE(iconFile.size(), sizeof header + sizeof fileEntry);
    std::memcpy(&fileEntry, iconFile.data() + sizeof header, sizeof fileEntry);
    ASSERT_LE(size_t{fileEntry.imageOffset} + fileEntry.bytesInResource, iconFile.size());
    EXPECT_EQ(image, Bytes(iconFile.begin() + fileEntry.imageOffset,
                           iconFile.begin() + fileEntry.imageOffset + fileEntry.bytesInResource));
    HICON icon =
        CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                 TRUE, 0x00030000, 48, 48, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);
}

// One node of a version record: a key, a text or binary value, and child nodes.
struct VersionNode {
    std::wstring key;
    std::wstring text;
    Bytes binary;
    std::vector<VersionNode> children;
};

size_t dwordAligned(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

// Reads the node at `at` (offsets from the record's start, which is DWORD-aligned);
// returns its length, 0 if it is malformed.
size_t readVersionNode(const Bytes& record, size_t at, size_t end, VersionNode* node) {
    WORD fields[3]; // length, value length, type (1: text)
    if (at + sizeof fields > end)
        return 0;
    std::memcpy(fields, record.data() + at, sizeof fields);
    const size_t length = fields[0];
    if (length < sizeof fields || at + length > end)
        return 0;
    const size_t nodeEnd = at + length;
    size_t cursor = at + sizeof fields;
    for (wchar_t c; cursor + 2 <= nodeEnd; cursor += 2) {
        std::memcpy(&c, record.data() + cursor, 2);
        if (!c)
            break;
        node->key.push_back(c);
    }
    cursor = dwordAligned(cursor + 2);
    const size_t valueBytes = fields[2] == 1 ? fields[1] * size_t{2} : fields[1];
    if (cursor + valueBytes > nodeEnd)
        return 0;
    if (fields[2] == 1) {
        for (size_t i = 0; i < valueBytes; i += 2) {
            wchar_t c;
            std::memcpy(&c, record.data() + cursor + i, 2);
            if (!c)
                break;
            node->text.push_back(c);
        }
    } else {
        node->binary.assign(record.begin() + cursor, record.begin() + cursor + valueBytes);
    }
    cursor = dwordAligned(cursor + valueBytes);
    while (cursor < nodeEnd) {
        VersionNode child;
        const size_t childLength = readVersionNode(record, cursor, nodeEnd, &child);
        if (!childLength)
            return 0;
        node->children.push_back(child);
        cursor = dwordAligned(cursor + childLength);
    }
    return length;
}

std::wstring queriedText(const Bytes& record, const std::wstring& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), path.c_str(), &value, &length) || !value)
        return L"(none)";
    return static_cast<const wchar_t*>(value);
}

TEST_P(ExeResources, VersionRecordNamesTessaril100InOneChineseStringTable) {
    // As the shell's property pages read it.
    const std::wstring path = windowsPathOf(GetParam().unixPath);
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_NE(size, 0u) << "no version record, error " << GetLastError();
    Bytes record(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(
        VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    ASSERT_EQ(fixedLength, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags, 0u);

    WORD* translation = nullptr;
    UINT translationLength = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &translationLength));
    ASSERT_EQ(translationLength, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    const std::wstring table = L"\\StringFileInfo\\080404B0\\";
    EXPECT_EQ(narrow(queriedText(record, table + L"FileVersion")), "1.0.0.0");
    EXPECT_EQ(narrow(queriedText(record, table + L"ProductVersion")), "1.0.0.0");
    EXPECT_EQ(narrow(queriedText(record, table + L"FileDescription")), "Tessaril");
    EXPECT_EQ(narrow(queriedText(record, table + L"ProductName")), "Tessaril");

    // The whole record: one string table with those four strings and nothing else.
    VersionNode root;
    const WORD recordLength = *reinterpret_cast<const WORD*>(record.data());
    ASSERT_LE(recordLength, record.size());
    ASSERT_EQ(readVersionNode(record, 0, recordLength, &root), recordLength) << "malformed";
    EXPECT_EQ(narrow(root.key), "VS_VERSION_INFO");
    std::vector<std::string> tables, strings;
    for (const VersionNode& block : root.children) {
        if (block.key != L"StringFileInfo")
            continue;
        for (const VersionNode& stringTable : block.children) {
            tables.push_back(narrow(stringTable.key));
            for (const VersionNode& string : stringTable.children)
                strings.push_back(narrow(string.key) + "=" + narrow(string.text));
        }
    }
    EXPECT_EQ(tables, std::vector<std::string>{"080404B0"});
    EXPECT_EQ(std::set<std::string>(strings.begin(), strings.end()),
              (std::set<std::string>{"FileDescription=Tessaril", "FileVersion=1.0.0.0",
                                     "ProductName=Tessaril", "ProductVersion=1.0.0.0"}));
    EXPECT_EQ(strings.size(), 4u);
}

// The names of the XML elements in a manifest, namespace prefixes dropped, in order.
std::vector<std::string> elementNames(const std::string& xml) {
    std::vector<std::string> names;
    for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        if (at + 1 >= xml.size() || xml[at + 1] == '?' || xml[at + 1] == '!' || xml[at + 1] == '/')
            continue;
        const size_t end = xml.find_first_of(" \t\r\n/>", at + 1);
        std::string name = xml.substr(at + 1, end - at - 1);
        const size_t colon = name.find(':');
        names.push_back(colon == std::string::npos ? name : name.substr(colon + 1));
    }
    return names;
}

// The text of an element's start tag, from its '<' to its '>'.
std::string startTag(const std::string& xml, const std::string& element) {
    const size_t at = xml.find("<" + element);
    if (at == std::string::npos)
        return "";
    return xml.substr(at, xml.find('>', at) - at + 1);
}

TEST_P(ExeResources, ManifestAsksToRunAsInvokerAndNothingElse) {
    EXPECT_EQ(resourceNames(RT_MANIFEST), std::vector<std::wstring>{L"#1"});
    const Bytes manifest = resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const std::string xml(manifest.begin(), manifest.end());

    // No common controls version, no DPI awareness, no compatibility list: only the
    // execution level, and the elements that hold it.
    EXPECT_EQ(elementNames(xml),
              (std::vector<std::string>{"assembly", "trustInfo", "security", "requestedPrivileges",
                                        "requestedExecutionLevel"}));
    const std::string level = startTag(xml, "requestedExecutionLevel");
    EXPECT_NE(level.find("level=\"asInvoker\""), std::string::npos) << level;
    EXPECT_EQ(level.find("uiAccess=\"true\""), std::string::npos) << level;
}

INSTANTIATE_TEST_SUITE_P(Built, ExeResources, testing::ValuesIn(builtExes), nameOf);

} // namespace
