// The version resource of each shipped file, read back the way Explorer's Details page reads
// it: through the platform's version functions, from the files in the build's bin folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct ShippedFile {
    const wchar_t* name;
    DWORD fileType;
    const wchar_t* description;
};

// The files of a release, as tavrin_version_resource() describes them.
const ShippedFile kShippedFiles[] = {
    {L"Tavrin.exe", VFT_APP, L"Tavrin remote viewing launcher"},
    {L"KXC_IE_NATT.dll", VFT_DLL, L"Tavrin NAT traversal library"},
    {L"Pellix.exe", VFT_APP, L"Tavrin stand-in viewer"},
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.erase(folder.find_last_of(L'\\') + 1);
}

std::wstring Widen(const char* text) {
    return std::wstring(text, text + strlen(text));
}

// A file's whole version resource; empty if it has none.
std::vector<char> VersionBlock(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

// One value of the US English string table, or "(missing)".
std::wstring StringValue(std::vector<char>& block, const wchar_t* key) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) {
        return L"(missing)";
    }
    return static_cast<const wchar_t*>(value);
}

TEST(VersionResourceTest, EveryShippedFileCarriesTheProjectVersionAndItsOwnDescription) {
    // TAVRIN_VERSION is project(Tavrin VERSION ...), the one place a release sets it.
    const std::wstring version = Widen(TAVRIN_VERSION);
    unsigned parts[4] = {};
    ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]),
              4);

    for (const ShippedFile& file : kShippedFiles) {
        SCOPED_TRACE(file.name);
        std::vector<char> block = VersionBlock(ProgramFolder() + file.name);
        ASSERT_FALSE(block.empty()) << "no version resource";

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
        EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(parts[1], parts[0]));
        EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(parts[3], parts[2]));
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileType, file.fileType);
        EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));

        // Explorer looks the strings up through the translation the file lists.
        struct Translation {
            WORD language;
            WORD codePage;
        }* translation = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &length));
        ASSERT_EQ(length, sizeof(Translation));
        EXPECT_EQ(translation->language, 0x0409);
        EXPECT_EQ(translation->codePage, 1200);

        EXPECT_EQ(StringValue(block, L"ProductName"), L"Tavrin");
        EXPECT_EQ(StringValue(block, L"ProductVersion"), version);
        EXPECT_EQ(StringValue(block, L"FileVersion"), version);
        EXPECT_EQ(StringValue(block, L"FileDescription"), file.description);
        // The same name as the installer's Publisher, which Apps and Features shows.
        EXPECT_EQ(StringValue(block, L"CompanyName"), L"Tavrin developers");
        EXPECT_EQ(StringValue(block, L"OriginalFilename"), file.name);
    }
}

// The manifest that Windows reads as the launcher starts: the one the build made for this
// version, not a copy of an older one that windres found first.
TEST(VersionResourceTest, TheLaunchersManifestNamesTheProjectVersion) {
    HMODULE exe = LoadLibraryExW((ProgramFolder() + L"Tavrin.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                               SizeofResource(exe, found));
    FreeLibrary(exe);
    EXPECT_NE(manifest.find(std::string("name=\"Tavrin\" version=\"") + TAVRIN_VERSION + "\""),
              std::string::npos)
        << manifest;
}

}  // namespace
