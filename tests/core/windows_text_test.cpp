// Text and paths as Windows has them: UTF-16 to and from UTF-8, and paths with and without the
// prefix that lets Win32 calls take them at any length.
#include "zarn/utf8_path.h"
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

TEST(Utf16Text, ConvertsBothWaysKeepingLoneSurrogates)
{
    struct Case
    {
        std::string utf8;
        std::u32string utf16;
        // Whether the UTF-16 text converts back to the same bytes: not where they were no UTF-8.
        bool convertsBack = true;
    };
    const Case cases[] = {
        {"", U""},
        {"C:\\Games\\AG", U"C:\\Games\\AG"},
        {"Spiel st\xc3\xa4nde", U"Spiel st\u00e4nde"},
        {"\xe2\x82\xac \xe6\x88\xa6", U"\u20ac \u6226"},
        // Characters beyond the first 65536, up to the last, as pairs of surrogates.
        {"\xf0\x9d\x84\x9e", {0xD834, 0xDD1E}},
        {"\xf4\x8f\xbf\xbf", {0xDBFF, 0xDFFF}},
        // Lone surrogates, high and low, as Windows allows them in names.
        {"a\xed\xa0\x80z", {U'a', 0xD800, U'z'}},
        {"\xed\xbf\xbf", {0xDFFF}},
        {"\xed\xb0\x80\xed\xa0\x80", {0xDC00, 0xD800}},
        // Each byte that is not part of UTF-8 as a replacement character.
        {"caf\xe9", U"caf\ufffd", false},
        {"\xe2\x82", U"\ufffd\ufffd", false},
        {"\xc0\xaf", U"\ufffd\ufffd", false},
        {"\xf4\x90\x80\x80!", U"\ufffd\ufffd\ufffd\ufffd!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(shownText(c.utf8));
        const std::wstring utf16(c.utf16.begin(), c.utf16.end());
        EXPECT_EQ(units(utf16FromUtf8(c.utf8)), c.utf16);
        if (c.convertsBack) {
            EXPECT_EQ(utf8FromUtf16(utf16), c.utf8);
        }
    }
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
