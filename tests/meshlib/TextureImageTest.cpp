#include "crafted/CraftedShape.h"
#include "meshlib/DdsImage.h"
#include "meshlib/MeshTestSupport.h"
#include "meshlib/TextureReader.h"
#include "meshlib/TextureWriter.h"
#include "support/OutcomeAssertions.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>
#include <squish.h>

#include <algorithm>
#include <cstdlib>

using namespace m3d;

using namespace meshtest;

namespace {

// A 5 x 3 image (odd sizes catch row and pitch mistakes) with varied alpha.
TextureImage Sample()
{
    TextureImage image;
    image.width = 5;
    image.height = 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(40 * x), uint8_t(100 * y), uint8_t(x * y * 13 + 7),
                                                 uint8_t(255 - 30 * (x + y))});
    return image;
}

TextureImage Opaque(TextureImage image)
{
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    return image;
}

TextureImage WriteAndRead(const TextureImage& image, ImageFormat format, const std::string& name)
{
    TempFolder folder;
    EXPECT_TRUE(Succeeded(SaveTextureImage(image, folder.File(name), format)));
    TextureImage back;
    EXPECT_TRUE(Succeeded(LoadTextureImage(folder.path.string(), name, back)));
    return back;
}

void Put32(std::string& bytes, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k) bytes[at + k] = char((v >> (8 * k)) & 0xFF);
}

// A DDS header for the given pixel format, pixels to be appended.
std::string DdsHeader(int w, int h, uint32_t flags, uint32_t fourCc, uint32_t bits, uint32_t r, uint32_t g, uint32_t b,
                      uint32_t a)
{
    std::string bytes(128, '\0');
    bytes.replace(0, 4, "DDS ");
    Put32(bytes, 4, 124);
    Put32(bytes, 12, uint32_t(h));
    Put32(bytes, 16, uint32_t(w));
    Put32(bytes, 76, 32);
    Put32(bytes, 80, flags);
    Put32(bytes, 84, fourCc);
    Put32(bytes, 88, bits);
    Put32(bytes, 92, r);
    Put32(bytes, 96, g);
    Put32(bytes, 100, b);
    Put32(bytes, 104, a);
    return bytes;
}

TEST(TextureImage, LosslessFormatsGiveBackEveryByte)
{
    const TextureImage image = Sample();
    EXPECT_EQ(WriteAndRead(image, ImageFormat::Png, "a.png").rgba, image.rgba);
    EXPECT_EQ(WriteAndRead(image, ImageFormat::Tga, "a.tga").rgba, image.rgba);
    const TextureImage dds = WriteAndRead(image, ImageFormat::Dds, "a.dds");
    EXPECT_EQ(dds.width, 5);
    EXPECT_EQ(dds.height, 3);
    EXPECT_EQ(dds.rgba, image.rgba);
    EXPECT_EQ(WriteAndRead(image, ImageFormat::Bmp, "a.bmp").rgba, image.rgba);  // 32-bit with alpha
    // PPM holds no alpha.
    EXPECT_EQ(WriteAndRead(image, ImageFormat::Ppm, "a.ppm").rgba, Opaque(image).rgba);
}

TEST(TextureImage, JpegComesBackClose)
{
    TextureImage flat;
    flat.width = 16;
    flat.height = 8;
    for (int i = 0; i < 16 * 8; ++i) flat.rgba.insert(flat.rgba.end(), {200, 120, 40, 255});
    const TextureImage back = WriteAndRead(flat, ImageFormat::Jpeg, "a.jpg");
    ASSERT_EQ(back.rgba.size(), flat.rgba.size());
    for (size_t i = 0; i < back.rgba.size(); ++i) EXPECT_NEAR(back.rgba[i], flat.rgba[i], 4) << i;
}

TEST(TextureImage, WritersRefuseAnEmptyImage)
{
    for (ImageFormat format : {ImageFormat::Png, ImageFormat::Dds, ImageFormat::Ppm}) {
        const Expected<std::string> bytes = EncodeTextureImage(TextureImage{}, format);
        EXPECT_FALSE(bytes);
        EXPECT_EQ(bytes.Message(), "no image to write");
    }
}

TEST(TextureImage, FormatIsChosenByTheFirstListedSubstring)
{
    EXPECT_EQ(ImageFormatFromName("skin.png"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatFromName("a.png.bmp"), ImageFormat::Bmp);  // ".bmp" is tested before ".png"
    EXPECT_EQ(ImageFormatFromName("a.bmp.png"), ImageFormat::Bmp);
    EXPECT_EQ(ImageFormatFromName("x.tga.dds"), ImageFormat::Dds);
    EXPECT_EQ(ImageFormatFromName("face.JPG"), ImageFormat::Jpeg);
    EXPECT_EQ(ImageFormatFromName("a.ppm.tga"), ImageFormat::Ppm);
    EXPECT_EQ(ImageFormatFromName("b.tga"), ImageFormat::Tga);
    EXPECT_EQ(ImageFormatFromName("photo.jpeg"), std::nullopt);
    EXPECT_EQ(ImageFormatFromName("pngfile"), std::nullopt);
}

TEST(DdsImage, CompressedBlocksDecodeThroughSquish)
{
    // Colours that 5:6:5 holds exactly, one per 4 x 4 block, so every format
    // must give them back unchanged; 8 x 8 pixels are four blocks in row order.
    const uint8_t colours[4][4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
    TextureImage image;
    image.width = image.height = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.rgba.insert(image.rgba.end(), colours[(y / 4) * 2 + x / 4], colours[(y / 4) * 2 + x / 4] + 4);
    const struct {
        const char* code;
        int flags;
    } kinds[] = {{"DXT1", squish::kDxt1}, {"DXT3", squish::kDxt3}, {"DXT5", squish::kDxt5}};
    for (const auto& kind : kinds) {
        std::string blocks(size_t(squish::GetStorageRequirements(8, 8, kind.flags)), '\0');
        squish::CompressImage(image.rgba.data(), 8, 8, blocks.data(), kind.flags);
        const uint32_t fourCc = uint32_t(uint8_t(kind.code[0])) | uint32_t(uint8_t(kind.code[1])) << 8 |
                                uint32_t(uint8_t(kind.code[2])) << 16 | uint32_t(uint8_t(kind.code[3])) << 24;
        const std::string file = DdsHeader(8, 8, 0x4, fourCc, 0, 0, 0, 0, 0) + blocks;
        TextureImage back;
        Outcome outcome;
        ASSERT_TRUE((outcome = DecodeTextureImage(file, "c.dds", back))) << kind.code << ": " << outcome.Message();
        EXPECT_EQ(back.rgba, image.rgba) << kind.code;
        // One byte short of the last block.
        EXPECT_FALSE((outcome = DecodeTextureImage(file.substr(0, file.size() - 1), "c.dds", back))) << kind.code;
    }
}

TEST(DdsImage, UncompressedPixelsFollowTheirMasks)
{
    // 24-bit with red in the low byte (the reverse of the usual order), 2 x 1 pixels.
    std::string file = DdsHeader(2, 1, 0x40, 0, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    file += std::string("\x10\x20\x30\x40\x50\x60", 6);
    TextureImage back;
    ASSERT_TRUE(Succeeded(DecodeTextureImage(file, "m.dds", back)));
    EXPECT_EQ(back.rgba, (std::vector<uint8_t>{0x10, 0x20, 0x30, 255, 0x40, 0x50, 0x60, 255}));

    // 32-bit X8R8G8B8: no alpha flag, so the top byte is ignored.
    file = DdsHeader(1, 1, 0x40, 0, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000) + std::string("\x01\x02\x03\x04", 4);
    ASSERT_TRUE(Succeeded(DecodeTextureImage(file, "m.dds", back)));
    EXPECT_EQ(back.rgba, (std::vector<uint8_t>{3, 2, 1, 255}));
}

TEST(DdsImage, MalformedFilesFailWithAReason)
{
    Outcome outcome;
    TextureImage back;
    const std::string good = EncodeDds(Sample());
    for (size_t n = 4; n < good.size(); n += 7) {
        EXPECT_FALSE((outcome = DecodeDds(good.substr(0, n), "t.dds", back))) << n;
        EXPECT_EQ(outcome.Message().rfind("t.dds: byte ", 0), 0u) << outcome.Message();
    }
    std::string huge = good;
    Put32(huge, 16, 1u << 20);
    EXPECT_FALSE((outcome = DecodeDds(huge, "t.dds", back)));
    EXPECT_NE(outcome.Message().find("not supported"), std::string::npos);
    std::string dx10 = DdsHeader(4, 4, 0x4, 0x30315844, 0, 0, 0, 0, 0) + std::string(64, '\0');
    EXPECT_FALSE((outcome = DecodeDds(dx10, "t.dds", back)));
    std::string sixteen = DdsHeader(4, 4, 0x40, 0, 16, 0xF800, 0x7E0, 0x1F, 0) + std::string(32, '\0');
    EXPECT_FALSE((outcome = DecodeDds(sixteen, "t.dds", back)));
    EXPECT_NE(outcome.Message().find("16-bit"), std::string::npos);
    EXPECT_EQ(back.width, 0);  // untouched by every failure
}

TEST(TextureImage, SixteenBitPnmKeepsTheHighByteOfEachSample)
{
    const std::string file =
        std::string("P6\n2 1\n65535\n") + std::string("\x12\x34\xAB\xCD\xFF\xFF\x00\x00\x80\x00\x00\xFF", 12);
    TextureImage back;
    ASSERT_TRUE(Succeeded(DecodeTextureImage(file, "w.ppm", back)));
    EXPECT_EQ(back.rgba, (std::vector<uint8_t>{0x12, 0xAB, 0xFF, 255, 0x00, 0x80, 0x00, 255}));
}

TEST(TextureImage, FilesTheDecoderMishandlesAreRefused)
{
    TextureImage back;
    Outcome outcome;
    // A Huffman table of 16 x 17 = 272 codes; the decoder has room for 256.
    const std::string jpeg = std::string("\xFF\xD8\xFF\xC4\x01\x23\x00", 7) + std::string(16, '\x11');
    EXPECT_FALSE((outcome = DecodeTextureImage(jpeg, "h.jpg", back)));
    EXPECT_EQ(outcome.Message(), "h.jpg: byte 2: JPEG Huffman table with more than 256 codes");
    // A PNG whose image data chunk claims 1.4 GB.
    const Expected<std::string> encoded = EncodeTextureImage(Sample(), ImageFormat::Png);
    ASSERT_TRUE(Succeeded(encoded));
    std::string png = *encoded;
    const size_t idat = png.find("IDAT") - 4;
    png.replace(idat, 4, std::string("\x53\x00\x00\x24", 4));
    EXPECT_FALSE((outcome = DecodeTextureImage(png, "c.png", back)));
    EXPECT_EQ(outcome.Message(), "c.png: byte " + std::to_string(idat) + ": PNG chunk runs past the end of the file");
    // A PPM one pixel byte short: the decoder would hand out uninitialised memory.
    const std::string ppm = std::string("P6 # two\n2 1 255\n") + std::string(5, '\x7F');
    EXPECT_FALSE((outcome = DecodeTextureImage(ppm, "s.ppm", back)));
    EXPECT_EQ(outcome.Message(), "s.ppm: byte 22: file ends inside the PNM pixels");
    EXPECT_TRUE(Succeeded(DecodeTextureImage(ppm + '\x7F', "s.ppm", back)));
}

// Writes the crafted shape `name` at `size` into folder and reads imageName beside its model.
Outcome LoadCraftedTexture(const std::string& name, size_t size, const std::string& imageName)
{
    const std::vector<CraftedShape> shapes = CraftedShapes();
    const auto shape =
        std::find_if(shapes.begin(), shapes.end(), [&](const CraftedShape& s) { return s.name == name; });
    EXPECT_NE(shape, shapes.end()) << name;
    TempFolder folder;
    shape->write(folder.path, size);
    TextureImage back;
    Outcome loaded = LoadTextureImage(folder.path, imageName, back);
    if (!loaded) {
        EXPECT_EQ(loaded.Message().find(folder.File(imageName) + ": "), 0u) << loaded.Message();
    }
    return loaded;
}

TEST(TextureImage, HeadersClaimingMorePixelsThanTheBytesHoldAreRefused)
{
    Outcome outcome;
    EXPECT_FALSE((outcome = LoadCraftedTexture("bmp-truncated-8192", 64, "short.bmp")));
    EXPECT_NE(outcome.Message().find(": byte 154: file ends before the 64 x 64 pixels its BMP header claims"),
              std::string::npos);
    EXPECT_FALSE((outcome = LoadCraftedTexture("tga-rle-truncated", 64, "short.tga")));
    EXPECT_NE(outcome.Message().find(": byte 21: file ends before the 64 x 64 pixels its TGA header claims"),
              std::string::npos);
    std::string bmp(57, '\0');  // an unknown compression code is read as plain rows
    bmp.replace(0, 2, "BM");
    for (auto [at, value] : {std::pair{10, 54}, {14, 40}, {18, 4096}, {22, 512}, {26, 1}, {28, 24}, {33, 0xFF}})
        bmp[at] = char(value & 0xFF), bmp[at + 1] = char(value >> 8);
    TextureImage back;
    EXPECT_FALSE((outcome = DecodeTextureImage(bmp, "odd.bmp", back)));
    EXPECT_EQ(outcome.Message(), "odd.bmp: byte 57: file ends before the 4096 x 512 pixels its BMP header claims");
    EXPECT_FALSE((outcome = LoadCraftedTexture("jpeg-size-claim", 4096, "short.jpg")));
    EXPECT_NE(outcome.Message().find(": file too short for the 1024 x 4096 pixels its JPEG header claims"),
              std::string::npos)
        << outcome.Message();
    EXPECT_FALSE((outcome = LoadCraftedTexture("dds-huge-claim", 16384, "huge.dds")));
    EXPECT_NE(outcome.Message().find(": byte 12: image size 16384 x 16384 not supported"), std::string::npos);
    // The decoder would grow its buffer to whatever the data inflates to.
    EXPECT_FALSE((outcome = LoadCraftedTexture("png-overlong-data", 64, "long.png")));
    EXPECT_NE(
        outcome.Message().find(": byte 33: PNG image data holds more than the 64 x 64 pixels its header declares"),
        std::string::npos)
        << outcome.Message();
    EXPECT_TRUE(Succeeded(LoadCraftedTexture("png-wide-claim", 64, "wide.png")));
}

TEST(TextureImage, SizeLimitsHoldOnBothSidesAndInAll)
{
    EXPECT_FALSE(ImageSizeRefusal(16384, 4096));
    EXPECT_FALSE(ImageSizeRefusal(1, 1));
    EXPECT_TRUE(ImageSizeRefusal(16385, 1));
    EXPECT_TRUE(ImageSizeRefusal(1, 16385));
    EXPECT_TRUE(ImageSizeRefusal(8192, 8193));
    EXPECT_TRUE(ImageSizeRefusal(0, 1));
}

TEST(TextureImage, ImagesExactlyAsLongAsTheirHeaderNeedsLoad)
{
    TextureImage back;
    Outcome outcome;
    // A 32-bit BMP: rows of 20 bytes, no padding; one byte less is refused.
    const Expected<std::string> encoded = EncodeTextureImage(Sample(), ImageFormat::Bmp);
    ASSERT_TRUE(Succeeded(encoded));
    const std::string& bmp = *encoded;
    EXPECT_FALSE((outcome = DecodeTextureImage(bmp.substr(0, bmp.size() - 1), "a.bmp", back)));
    EXPECT_NE(outcome.Message().find("BMP header claims"), std::string::npos) << outcome.Message();
    // Stored top down (negative height, rows reversed) it is the same image.
    const size_t pixels = bmp.size() - 3 * 20;
    std::string topDown = bmp.substr(0, pixels);
    for (int row = 2; row >= 0; --row) topDown += bmp.substr(pixels + size_t(row) * 20, 20);
    Put32(topDown, 22, uint32_t(-3));
    ASSERT_TRUE(Succeeded(DecodeTextureImage(topDown, "a.bmp", back)));
    EXPECT_EQ(back.rgba, Sample().rgba);

    // An uncompressed 24-bit TGA of 2 x 2.
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = tga[14] = 2;
    tga[16] = 24;
    tga += std::string(12, '\x33');
    EXPECT_TRUE(Succeeded(DecodeTextureImage(tga, "a.tga", back)));
    EXPECT_FALSE((outcome = DecodeTextureImage(tga.substr(0, tga.size() - 1), "a.tga", back)));
    // Run-length: two packets of 128 repeats fill 256 pixels, not 257.
    tga.resize(18);
    tga[2] = 10;
    tga[12] = 0;
    tga[13] = 1;  // 256 x 1
    tga[14] = 1;
    tga += std::string("\xFF\x01\x02\x03\xFF\x04\x05\x06", 8);
    ASSERT_TRUE(Succeeded(DecodeTextureImage(tga, "r.tga", back)));
    EXPECT_EQ(back.width, 256);
    tga[12] = 1;  // 257 x 1
    EXPECT_FALSE((outcome = DecodeTextureImage(tga, "r.tga", back)));
    EXPECT_EQ(outcome.Message(), "r.tga: byte 26: file ends before the 257 x 1 pixels its TGA header claims");
}

TEST(TextureImage, GarbageIsNotAnImage)
{
    TextureImage back;
    Outcome outcome;
    // The decoder's other formats have no guard against short files.
    EXPECT_FALSE((outcome = DecodeTextureImage("GIF89a\x10\x00\x10\x00\x00\x00\x00", "a.gif", back)));
    EXPECT_EQ(outcome.Message(), "a.gif: not an image in a supported format (BMP, DDS, JPEG, PNG, PNM or TGA)");
    EXPECT_FALSE((outcome = DecodeTextureImage("\x89PNG\r\n\x1a\n broken", "b.png", back)));
    EXPECT_EQ(outcome.Message().rfind("b.png: ", 0), 0u);
    EXPECT_FALSE((outcome = LoadTextureImage("/nonexistent-folder", "x.png", back)));
}

}  // namespace
