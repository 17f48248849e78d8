#pragma once

#include <cstdint>

namespace m3d {

// 32-bit result codes of the rendering framework and its graphics driver, in
// the style of the Windows HRESULT: negative means failure.
using HResult = int32_t;

constexpr HResult ResultFromBits(uint32_t bits) { return static_cast<HResult>(bits); }
constexpr bool Failed(HResult result) { return result < 0; }
constexpr bool Succeeded(HResult result) { return result >= 0; }

inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = ResultFromBits(0x80004005u);
inline constexpr HResult E_OUTOFMEMORY = ResultFromBits(0x8007000Eu);

// Driver results.
inline constexpr HResult D3DERR_OUTOFVIDEOMEMORY = ResultFromBits(0x8876017Cu);
inline constexpr HResult D3DERR_DEVICELOST = ResultFromBits(0x88760868u);
inline constexpr HResult D3DERR_DEVICENOTRESET = ResultFromBits(0x88760869u);
inline constexpr HResult D3DERR_NOTAVAILABLE = ResultFromBits(0x8876086Au);
inline constexpr HResult D3DERR_INVALIDCALL = ResultFromBits(0x8876086Cu);

// The framework's own failures.
inline constexpr HResult AppErrNoDirect3D = ResultFromBits(0x82000001u);  // no graphics driver
inline constexpr HResult AppErrNoCompatibleDevices =
    ResultFromBits(0x82000003u);  // no windowed device on the desktop format
inline constexpr HResult AppErrNonZeroRefCount = ResultFromBits(0x8200000Au);  // the device outlived its release
inline constexpr HResult AppErrNullRefDevice = ResultFromBits(0x8200000Du);    // reference device that renders nothing

}  // namespace m3d
