#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/system/UniqueHandle.h"

// The resources are read back from the built Dovrel.exe, as Explorer and the
// loader see them. The build passes its path as a Unix path, which Wine
// reaches through drive Z:.
#ifndef DOVREL_EXE_PATH
#error "DOVREL_EXE_PATH must name the built Dovrel.exe"
#endif

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using win32::UniqueIcon;
using win32::UniqueModule;

constexpr WORD kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::wstring DovrelExePath()
{
    std::wstring path = L"Z:" DOVREL_EXE_PATH;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// A resource's name or number as text: "A_MAIN", "#1".
std::wstring NameText(const wchar_t* name)
{
    return IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(NameText(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

// One entry of an icon group, as read from its 14-byte GRPICONDIRENTRY.
struct GroupEntry {
    int width = 0;
    int height = 0;
    int colours = 0;
    int planes = 0;
    int bits = 0;
    DWORD bytes = 0;
    int id = 0;

    // What the tests compare: the size, depth and number of the image.
    std::tuple<int, int, int, int, int> Key() const { return {width, height, colours, bits, id}; }
};

template <typename T>
T ReadAt(const BYTE* data, size_t offset)
{
    T value{};
    std::memcpy(&value, data + offset, sizeof(value));
    return value;
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_.Reset(LoadLibraryExW(DovrelExePath().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_) << "cannot open " << testing::PrintToString(DovrelExePath()) << ", error "
                             << GetLastError();
    }

    // The bytes of one resource in exactly this language; empty when there
    // is none.
    std::vector<BYTE> Resource(const wchar_t* type, const wchar_t* name, WORD language) const
    {
        const HRSRC resource = FindResourceExW(module_.Get(), type, name, language);
        if (!resource)
            return {};
        const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_.Get(), resource)));
        if (!data)
            return {};
        return {data, data + SizeofResource(module_.Get(), resource)};
    }

    std::vector<std::wstring> Names(const wchar_t* type) const
    {
        std::vector<std::wstring> names;
        EnumResourceNamesW(module_.Get(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    std::vector<WORD> Languages(const wchar_t* type, const wchar_t* name) const
    {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(module_.Get(), type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    std::vector<GroupEntry> Group(const wchar_t* name, WORD language) const
    {
        const std::vector<BYTE> data = Resource(RT_GROUP_ICON, name, language);
        std::vector<GroupEntry> entries;
        if (data.size() < 6) {
            ADD_FAILURE() << "no icon group " << testing::PrintToString(NameText(name)) << " in language "
                          << language;
            return entries;
        }
        EXPECT_EQ(ReadAt<WORD>(data.data(), 0), 0);
        EXPECT_EQ(ReadAt<WORD>(data.data(), 2), 1) << "not an icon group";
        const WORD count = ReadAt<WORD>(data.data(), 4);
        EXPECT_EQ(data.size(), 6u + 14u * count);
        for (WORD i = 0; i < count && 6u + 14u * (i + 1u) <= data.size(); ++i) {
            const BYTE* entry = data.data() + 6 + 14 * i;
            GroupEntry e;
            e.width = entry[0] ? entry[0] : 256;
            e.height = entry[1] ? entry[1] : 256;
            e.colours = entry[2];
            e.planes = ReadAt<WORD>(entry, 4);
            e.bits = ReadAt<WORD>(entry, 6);
            e.bytes = ReadAt<DWORD>(entry, 8);
            e.id = ReadAt<WORD>(entry, 12);
            entries.push_back(e);
        }
        return entries;
    }

    // Each image a group names is a bitmap of the entry's size and depth in
    // the group's language, complete, and one the system makes an icon of.
    void ExpectImagesMatch(const std::vector<GroupEntry>& entries, WORD language) const
    {
        for (const GroupEntry& entry : entries) {
            SCOPED_TRACE("image " + std::to_string(entry.id));
            EXPECT_EQ(Languages(RT_ICON, MAKEINTRESOURCEW(entry.id)), std::vector<WORD>{language});
            std::vector<BYTE> image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id), language);
            ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
            EXPECT_EQ(image.size(), entry.bytes);
            const auto header = ReadAt<BITMAPINFOHEADER>(image.data(), 0);
            EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER)) << "not a bitmap";
            EXPECT_EQ(header.biWidth, entry.width);
            EXPECT_EQ(header.biHeight, 2 * entry.height) << "the height counts the colour image and the mask";
            EXPECT_EQ(header.biPlanes, 1);
            EXPECT_EQ(entry.planes, 1);
            EXPECT_EQ(header.biBitCount, entry.bits);
            EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

            const size_t paletteSize = header.biClrUsed ? header.biClrUsed : size_t{1} << header.biBitCount;
            const auto rowBytes = [](int width, int bits) { return static_cast<size_t>((width * bits + 31) / 32 * 4); };
            EXPECT_EQ(image.size(), sizeof(BITMAPINFOHEADER) + 4 * paletteSize +
                                        entry.height * (rowBytes(entry.width, entry.bits) + rowBytes(entry.width, 1)));

            const UniqueIcon icon(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                                           0x00030000, entry.width, entry.height, LR_DEFAULTCOLOR));
            EXPECT_TRUE(icon) << "error " << GetLastError();
        }
    }

    UniqueModule module_;
};

using Image = std::tuple<int, int, int, int, int>;  // width, height, colours, bits per pixel, number

TEST_F(ResourcesTest, TheWindowIconIsRussianWithSixImagesNumberedOneToSix)
{
    EXPECT_THAT(Languages(RT_GROUP_ICON, L"A_MAIN"), ElementsAre(kRussian));
    const std::vector<GroupEntry> entries = Group(L"A_MAIN", kRussian);
    std::vector<Image> images;
    for (const GroupEntry& entry : entries)
        images.push_back(entry.Key());
    EXPECT_THAT(images, ElementsAre(Image{48, 48, 16, 4, 1}, Image{32, 32, 16, 4, 2}, Image{16, 16, 16, 4, 3},
                                    Image{48, 48, 0, 8, 4}, Image{32, 32, 0, 8, 5}, Image{16, 16, 0, 8, 6}));
    ExpectImagesMatch(entries, kRussian);
}

TEST_F(ResourcesTest, TheFileIconIsNeutralWithThreeImagesNumberedFrom30001)
{
    EXPECT_THAT(Languages(RT_GROUP_ICON, MAKEINTRESOURCEW(1)), ElementsAre(kNeutral));
    const std::vector<GroupEntry> entries = Group(MAKEINTRESOURCEW(1), kNeutral);
    std::vector<Image> images;
    for (const GroupEntry& entry : entries)
        images.push_back(entry.Key());
    EXPECT_THAT(images, ElementsAre(Image{32, 32, 2, 1, 30001}, Image{32, 32, 16, 4, 30002},
                                    Image{16, 16, 16, 4, 30003}));
    ExpectImagesMatch(entries, kNeutral);
}

TEST_F(ResourcesTest, TheProgramHoldsOnlyTheseIconsAndOneOfEveryOtherKind)
{
    EXPECT_THAT(Names(RT_GROUP_ICON), UnorderedElementsAre(L"A_MAIN", L"#1"));
    EXPECT_THAT(Names(RT_ICON), UnorderedElementsAre(L"#1", L"#2", L"#3", L"#4", L"#5", L"#6", L"#30001", L"#30002",
                                                     L"#30003"));
    EXPECT_THAT(Names(RT_MANIFEST), ElementsAre(L"#1"));
    EXPECT_THAT(Names(RT_VERSION), ElementsAre(L"#1"));
    EXPECT_THAT(Languages(RT_VERSION, MAKEINTRESOURCEW(1)), ElementsAre(kUsEnglish));
}

TEST_F(ResourcesTest, TheManifestAsksForCommonControls6AndDpiAwareness)
{
    const std::vector<BYTE> data = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1), kNeutral);
    ASSERT_FALSE(data.empty());
    const std::string manifest(data.begin(), data.end());
    EXPECT_THAT(manifest, HasSubstr("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_THAT(manifest, HasSubstr("publicKeyToken=\"6595b64144ccf1df\""));
    EXPECT_THAT(manifest,
                HasSubstr("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"));
    EXPECT_THAT(manifest, HasSubstr("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                                    "PerMonitorV2, System</dpiAwareness>"));
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_THAT(manifest, HasSubstr(std::string("<supportedOS Id=\"") + windows + "\"/>"));
}

// The test program carries the same manifest, so the loader must have acted
// on it here. Wine's comctl32 reports version 5.81 from DllGetVersion
// whichever copy is loaded, so the copy is told by where it comes from: the
// side-by-side assembly of common controls 6. (DPI awareness cannot be seen
// this way: Wine makes every program DPI aware.)
TEST(ResourcesManifestTest, TheRunningProgramGetsCommonControls6)
{
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(redirection);
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                         &redirection))
        << "the program's activation context does not redirect comctl32.dll";

    const UniqueModule comctl(LoadLibraryW(L"comctl32.dll"));
    ASSERT_TRUE(comctl);
    wchar_t file[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(comctl.Get(), file, MAX_PATH), 0u);
    std::wstring path(file);
    std::transform(path.begin(), path.end(), path.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    EXPECT_THAT(path, HasSubstr(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."));
}

class VersionResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(DovrelExePath().c_str(), &ignored);
        ASSERT_NE(size, 0u) << "error " << GetLastError();
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(DovrelExePath().c_str(), 0, size, data_.data()));
    }

    std::wstring String(const std::wstring& name)
    {
        void* text = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + name;
        if (!VerQueryValueW(data_.data(), query.c_str(), &text, &length))
            return L"(missing)";
        std::wstring value(static_cast<const wchar_t*>(text), length);
        value.resize(std::min(value.find(L'\0'), value.size()));
        return value;
    }

    std::vector<BYTE> data_;
};

TEST_F(VersionResourceTest, TheFixedPartIsVersion1_1_0_16OfAWindowsApplication)
{
    void* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", &fixed, &size));
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00000010u);
    EXPECT_EQ(info.dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(info.dwProductVersionLS, 0x00000010u);
    EXPECT_EQ(info.dwFileFlagsMask, static_cast<DWORD>(VS_FFI_FILEFLAGSMASK));
    EXPECT_EQ(info.dwFileFlags, 0u);
    EXPECT_EQ(info.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(info.dwFileSubtype, static_cast<DWORD>(VFT2_UNKNOWN));
}

TEST_F(VersionResourceTest, TheStringsAreInUsEnglishUnicodeAndComplete)
{
    void* translations = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &translations, &size));
    ASSERT_EQ(size, 2 * sizeof(WORD)) << "exactly one translation";
    EXPECT_EQ(static_cast<const WORD*>(translations)[0], 0x0409);
    EXPECT_EQ(static_cast<const WORD*>(translations)[1], 0x04B0);

    EXPECT_EQ(String(L"FileVersion"), L"1.01.0016");
    EXPECT_EQ(String(L"ProductVersion"), L"1.01.0016");
    EXPECT_EQ(String(L"Comments"), L"Orvane - Dovrel 1.01");
    EXPECT_EQ(String(L"FileDescription"), L"Orvane - Dovrel 1.01");
    EXPECT_EQ(String(L"InternalName"), L"Dovrel");
    EXPECT_EQ(String(L"OriginalFilename"), L"Dovrel.EXE");
    for (const wchar_t* filled : {L"CompanyName", L"ProductName", L"LegalCopyright", L"LegalTrademarks"}) {
        const std::wstring value = String(filled);
        EXPECT_FALSE(value.empty() || value == L"(missing)") << testing::PrintToString(std::wstring(filled));
    }
}

}  // namespace
}  // namespace dovrel::test
