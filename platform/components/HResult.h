#pragma once
#include <cstdint>

// Result codes of the component exports and the class objects: 0 and 1 succeed, values
// with the high bit set fail. The numbers are the ones containers and installers know.
namespace plat {

using HResult = int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;  // succeeded, answer "no" (DllCanUnloadNow: stay)
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
inline constexpr HResult kSelfRegTypeLib = static_cast<HResult>(0x80040200u);
inline constexpr HResult kSelfRegClass = static_cast<HResult>(0x80040201u);

inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }

}  // namespace plat
