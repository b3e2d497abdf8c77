#include "zarn/utf8_path.h"
#include "zarn/version.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The resources of zarn.exe are compiled into this test program as well.
std::vector<char> ownVersionInfo()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<char> info(GetFileVersionInfoSizeW(path, nullptr));
    EXPECT_FALSE(info.empty());
    EXPECT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    return info;
}

std::wstring versionString(std::vector<char>& info, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &length)) {
        return {};
    }
    return static_cast<const wchar_t*>(value);
}

// The version information that Explorer shows is the program's version, as text and as the
// numbers that Windows compares, the major version above the minor one.
TEST(Resources, VersionInformationNamesZarnAndItsVersion)
{
    std::vector<char> info = ownVersionInfo();
    EXPECT_EQ(versionString(info, L"ProductName"), L"zarn");
    EXPECT_EQ(versionString(info, L"FileVersion"), zarn::utf16FromUtf8(zarn::version));
    EXPECT_EQ(versionString(info, L"ProductVersion"), zarn::utf16FromUtf8(zarn::version));

    const std::string version = zarn::version;
    const std::size_t dot = version.find('.');
    const WORD major = static_cast<WORD>(std::stoi(version.substr(0, dot)));
    const WORD minor = static_cast<WORD>(std::stoi(version.substr(dot + 1)));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(minor, major));
}

TEST(Resources, HoldTheIconAndTheFourButtonPictures)
{
    const HINSTANCE program = GetModuleHandleW(nullptr);
    EXPECT_NE(LoadImageW(program, L"tank", IMAGE_ICON, 32, 32, 0), nullptr);
    for (const char* picture : {"exe_txt", "txt_exe", "quit", "help"}) {
        SCOPED_TRACE(picture);
        const auto bitmap =
            static_cast<HBITMAP>(LoadImageW(program, zarn::utf16FromUtf8(picture).c_str(),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        BITMAP size{};
        GetObjectW(bitmap, sizeof size, &size);
        EXPECT_EQ(size.bmWidth, 60);
        EXPECT_EQ(size.bmHeight, 60);
        DeleteObject(bitmap);
    }
}

} // namespace
