#include "pictures/ColourPalette.h"
#include "pictures/MovieFile.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

TEST(MovieFile, TheNameChoosesTheKindAndNumbersTheFramesOfASequence)
{
    EXPECT_EQ(MovieKindOf("/a/walk.PNG"), MovieKind::Png);
    EXPECT_EQ(MovieKindOf("walk_%04d.png"), MovieKind::PngSequence);
    EXPECT_EQ(MovieKindOf("walk%d.png"), MovieKind::PngSequence);
    EXPECT_EQ(MovieKindOf("walk.webp"), MovieKind::WebP);
    EXPECT_EQ(MovieKindOf("walk.gif"), MovieKind::Gif);
    EXPECT_EQ(MovieKindOf("walk.Mp4"), MovieKind::Mp4);
    EXPECT_EQ(MovieKindOf("walk.webm"), MovieKind::WebM);
    for (const char* refused : {"walk", "walk.jpg", "walk_%04d.gif", "dir.png/walk"})
        EXPECT_FALSE(MovieKindOf(refused).has_value()) << refused;
    EXPECT_EQ(SequenceFileName("w_%04d.png", 7), "w_0007.png");
    EXPECT_EQ(SequenceFileName("w_%04d.png", 12345), "w_12345.png");
    EXPECT_EQ(SequenceFileName("%d/w%d.png", 3), "3/w%d.png");  // the first field only
    EXPECT_EQ(SequenceFileName("100%.png", 3), "100%.png");
    // A chosen kind renames the file, a sequence's number field coming and going.
    EXPECT_EQ(WithMovieKind("/a.b/walk.webp", MovieKind::PngSequence), "/a.b/walk%04d.png");
    EXPECT_EQ(WithMovieKind("/a.b/walk%04d.png", MovieKind::Gif), "/a.b/walk.gif");
    EXPECT_EQ(WithMovieKind("/a.b/walk", MovieKind::Mp4), "/a.b/walk.mp4");
}

TEST(ColourPalette, FewColoursKeepTheirValuesAndManyComeWithinAFewSteps)
{
    // Three exact colours and a transparent corner: each kept as it is.
    TextureImage few{4, 1, {255, 0, 0, 255, 10, 200, 30, 255, 10, 200, 30, 255, 0, 0, 0, 0}};
    const IndexedImage indexed = QuantizeImage(few, 256, true);
    ASSERT_EQ(indexed.palette.size(), 3u);  // two colours and the transparent entry
    EXPECT_EQ(indexed.transparentIndex, 2);
    EXPECT_EQ(indexed.indices[3], 2);
    EXPECT_EQ(indexed.indices[1], indexed.indices[2]);
    const auto& red = indexed.palette[indexed.indices[0]];
    EXPECT_EQ(red, (std::array<uint8_t, 3>{255, 0, 0}));
    EXPECT_EQ(indexed.palette[indexed.indices[1]], (std::array<uint8_t, 3>{10, 200, 30}));

    // A smooth gradient over 65,536 colours in 256 entries: every pixel near its own colour.
    TextureImage gradient{256, 256, {}};
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) gradient.rgba.insert(gradient.rgba.end(), {uint8_t(x), uint8_t(y), 128, 255});
    const IndexedImage many = QuantizeImage(gradient, 256, false);
    EXPECT_LE(many.palette.size(), 256u);
    EXPECT_EQ(many.transparentIndex, -1);
    double worst = 0;
    for (size_t i = 0; i < many.indices.size(); ++i) {
        const auto& c = many.palette[many.indices[i]];
        worst = std::max({worst, std::fabs(c[0] - double(gradient.rgba[i * 4])),
                          std::fabs(c[1] - double(gradient.rgba[i * 4 + 1]))});
    }
    EXPECT_LE(worst, 16.0);
}
