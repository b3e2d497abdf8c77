#include "raw_pixels.h"
#include "windows_images.h"
#include "xpm_image.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

// Three pixels wide, so that bitmap rows need padding: red, none, white over navy, navy, black.
const char* const smallPicture = R"(/* XPM */
static const char *small_xpm[] = {
"3 2 4 1",
"r c #FF0000",
"  c None",
"w c #FFFFFF",
"n c #000080",
"r w",
"nnn"
};
)";

std::uint32_t read32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

TEST(XpmImage, ReadsColoursAndTransparency)
{
    const xpm::Image image = xpm::parse(smallPicture);
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.at(0, 0), (xpm::Rgb{255, 0, 0}));
    EXPECT_FALSE(image.at(1, 0).has_value());
    EXPECT_EQ(image.at(2, 0), (xpm::Rgb{255, 255, 255}));
    EXPECT_EQ(image.at(1, 1), (xpm::Rgb{0, 0, 128}));
}

TEST(XpmImage, ReadsPicturesOfTwoCharactersAPixel)
{
    const xpm::Image image = xpm::parse(R"("2 2 3 2", "a. c #FF0000", ".a c #0000FF", "   c None",)"
                                        R"( ".aa.", "  .a")");
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.at(0, 0), (xpm::Rgb{0, 0, 255}));
    EXPECT_EQ(image.at(1, 0), (xpm::Rgb{255, 0, 0}));
    EXPECT_FALSE(image.at(0, 1).has_value());
    EXPECT_EQ(image.at(1, 1), (xpm::Rgb{0, 0, 255}));
    EXPECT_THROW(xpm::parse(R"("1 1 1 2", "a. c #FF0000", ".a")"), xpm::FormatError);
}

TEST(XpmImage, NamesWhatIsWrongWithTheText)
{
    struct Case
    {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"", "no XPM values found"},
        {R"("2 1 1 1", ". c #000000", "..", "..")",
         "expected 1 colours and 1 rows, found 3 strings"},
        {R"("2 1 1 1", ". c #000000", "...")", "row 1 has 3 characters instead of 2"},
        {R"("2 1 1 1", ". c #000000", ".x")", "row 1 uses the undefined pixel \"x\""},
        {R"("1 1 1 1", ". c red", ".")", "the colour \"red\" is neither #RRGGBB nor None"},
        {R"("1 1 1 1", ". c #00000", ".")", "the colour \"#00000\" is neither #RRGGBB nor None"},
        {R"("1 1 1 1", ". c #0000G0", ".")", "'G' is not a hexadecimal digit"},
        {R"("1 1 1 1", ". m #000000", ".")", "the colour line \" m #000000\" has no c colour"},
        {R"("0 1 1 1", ". c #000000", "")", "the values line \"0 1 1 1\" is not valid"},
        {R"("1 1 1 1", ". c #000000, ".")", "a string is not closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            xpm::parse(c.text);
            ADD_FAILURE() << "no error";
        } catch (const xpm::FormatError& error) {
            EXPECT_EQ(error.what(), c.error);
        }
    }
}

TEST(WindowsImages, BitmapIsBottomUpBlueGreenRedWithPaddedRows)
{
    const std::string bitmap = xpm::toBitmapFile(xpm::parse(smallPicture));
    // 14 + 40 bytes of headers, then two rows of 9 bytes padded to 12.
    ASSERT_EQ(bitmap.size(), 14u + 40u + 24u);
    EXPECT_EQ(bitmap.substr(0, 2), "BM");
    EXPECT_EQ(read32(bitmap, 2), bitmap.size());
    EXPECT_EQ(read32(bitmap, 10), 54u);
    EXPECT_EQ(read32(bitmap, 18), 3u);
    EXPECT_EQ(read32(bitmap, 22), 2u);
    const std::string bottomRow("\x80\0\0\x80\0\0\x80\0\0\0\0\0", 12);
    const std::string topRow("\0\0\xFF\0\0\0\xFF\xFF\xFF\0\0\0", 12);
    EXPECT_EQ(bitmap.substr(54), bottomRow + topRow);
}

TEST(WindowsImages, IconHasAlphaAndMaskForTransparentPixels)
{
    const std::string icon = xpm::toIconFile(xpm::parse(smallPicture));
    const std::size_t image = 6 + 16;
    const std::size_t colours = image + 40;
    const std::size_t mask = colours + 4 * 3 * 2;
    ASSERT_EQ(icon.size(), mask + 2 * 4);
    EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(icon[6], 3); // width
    EXPECT_EQ(icon[7], 2); // height
    EXPECT_EQ(read32(icon, 14), icon.size() - image);
    EXPECT_EQ(read32(icon, 18), image);
    EXPECT_EQ(read32(icon, image + 8), 4u); // colour image and mask together
    // The top row is stored last: red opaque, transparent, white opaque.
    EXPECT_EQ(icon.substr(colours + 12, 12),
              std::string("\0\0\xFF\xFF\0\0\0\0\xFF\xFF\xFF\xFF", 12));
    // Mask rows, bottom first: nothing, then the middle pixel of the top row.
    EXPECT_EQ(icon.substr(mask), std::string("\0\0\0\0\x40\0\0\0", 8));
}

TEST(RawPixels, AreSizeOpacityThenRowsOfLittleEndianArgbFromTheTop)
{
    const std::string raw = xpm::toRawPixels(xpm::parse(smallPicture));
    ASSERT_EQ(raw.size(), 12u + 4u * 3u * 2u);
    EXPECT_EQ(read32(raw, 0), 3u);
    EXPECT_EQ(read32(raw, 4), 2u);
    EXPECT_EQ(read32(raw, 8), 0u); // one pixel is transparent
    // Red, transparent, white; then navy three times.
    EXPECT_EQ(raw.substr(12, 12), std::string("\0\0\xFF\xFF\0\0\0\0\xFF\xFF\xFF\xFF", 12));
    EXPECT_EQ(raw.substr(24), std::string("\x80\0\0\xFF\x80\0\0\xFF\x80\0\0\xFF", 12));

    const std::string opaque = xpm::toRawPixels(xpm::parse(R"("1 1 1 1", ". c #102030", ".")"));
    EXPECT_EQ(read32(opaque, 8), 1u);
    EXPECT_EQ(opaque.substr(12), std::string("\x30\x20\x10\xFF", 4));
}

} // namespace
