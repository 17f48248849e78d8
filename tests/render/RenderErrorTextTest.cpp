#include "render/RenderErrorText.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(RenderErrorText, EachCodeHasItsMessage)
{
    EXPECT_EQ(RenderErrorMessage(AppErrNoDirect3D),
              "Could not initialize Direct3D. You may\nwant to check that the latest version of\nDirectX is correctly "
              "installed on your\nsystem.  Also make sure that this program\nwas compiled with header files that "
              "match\nthe installed DirectX DLLs.");
    EXPECT_EQ(RenderErrorMessage(AppErrNoCompatibleDevices), "Could not find any compatible Direct3D\ndevices.");
    EXPECT_EQ(RenderErrorMessage(ResultFromBits(0x8007000E)), "Not enough memory.");
    EXPECT_EQ(RenderErrorMessage(ResultFromBits(0x8876017C)), "Not enough video memory.");
    // Codes without their own message, the device-loss codes among them.
    for (HResult code : {E_FAIL, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET, ResultFromBits(0x82000002), S_OK})
        EXPECT_EQ(RenderErrorMessage(code),
                  "Generic application error. Enable\ndebug output for detailed information.");
}

TEST(RenderErrorText, KindsAddTheirSuffix)
{
    EXPECT_EQ(RenderErrorText(E_OUTOFMEMORY, ErrorKind::Warning), "Not enough memory.");
    EXPECT_EQ(RenderErrorText(E_OUTOFMEMORY, ErrorKind::Fatal), "Not enough memory.\n\nThis sample will now exit.");
    EXPECT_EQ(RenderErrorText(E_OUTOFMEMORY, ErrorKind::SwitchedToReference),
              "Not enough memory.\n\nSwitching to the reference rasterizer,\na software device that implements the "
              "entire\nDirect3D feature set, but runs very slowly.");
    // The longest message with the longest suffix still fits the 512-byte box of the original texts.
    EXPECT_LT(RenderErrorText(AppErrNullRefDevice, ErrorKind::SwitchedToReference).size(), 512u);
}

TEST(RenderErrorText, ResultCodesKeepTheirBitPatterns)
{
    EXPECT_EQ(static_cast<uint32_t>(AppErrNoDirect3D), 0x82000001u);
    EXPECT_EQ(static_cast<uint32_t>(AppErrNoCompatibleDevices), 0x82000003u);
    EXPECT_EQ(static_cast<uint32_t>(AppErrNonZeroRefCount), 0x8200000Au);
    EXPECT_EQ(static_cast<uint32_t>(AppErrNullRefDevice), 0x8200000Du);
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_DEVICELOST), 0x88760868u);
    EXPECT_EQ(static_cast<uint32_t>(D3DERR_DEVICENOTRESET), 0x88760869u);
    EXPECT_TRUE(Failed(AppErrNoDirect3D));
    EXPECT_TRUE(Failed(D3DERR_DEVICELOST));
    EXPECT_FALSE(Failed(S_OK));
}
