// Windows paths with and without the prefix that lets Win32 calls take them at any length.
#include "zarn/windows_path.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

// Compared as char32_t text: Valgrind mistakes the C library's comparison of wchar_t text for
// reads past the end.
std::u32string units(std::wstring_view text)
{
    return {text.begin(), text.end()};
}

TEST(WindowsPath, EveryFormOfAPathComesPlainAndLong)
{
    struct Case
    {
        const wchar_t* path;
        std::u32string plain;
        std::u32string withPrefix;
    };
    const Case cases[] = {
        {L"C:\\game\\zarn.exe", U"C:\\game\\zarn.exe", U"\\\\?\\C:\\game\\zarn.exe"},
        {L"C:/game/ag.exe", U"C:/game/ag.exe", U"\\\\?\\C:\\game\\ag.exe"},
        {L"\\\\server\\share\\game", U"\\\\server\\share\\game",
         U"\\\\?\\UNC\\server\\share\\game"},
        {L"\\\\?\\C:\\game", U"C:\\game", U"\\\\?\\C:\\game"},
        {L"\\\\?\\UNC\\server\\share\\game", U"\\\\server\\share\\game",
         U"\\\\?\\UNC\\server\\share\\game"},
        // Wine's form of a network path.
        {L"UNC\\server\\share\\zarn.exe", U"\\\\server\\share\\zarn.exe",
         U"UNC\\server\\share\\zarn.exe"},
        // A volume without a drive letter has no other form.
        {L"\\\\?\\Volume{0b1e2c3d}\\game", U"\\\\?\\Volume{0b1e2c3d}\\game",
         U"\\\\?\\Volume{0b1e2c3d}\\game"},
        {L"game\\ag.exe", U"game\\ag.exe", U"game\\ag.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.path);
        EXPECT_EQ(units(withoutLongPathPrefix(c.path)), c.plain);
        EXPECT_EQ(units(withLongPathPrefix(c.path)), c.withPrefix);
    }
}

} // namespace
} // namespace zarn
