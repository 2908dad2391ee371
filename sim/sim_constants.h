// Windows error and result codes the simulated PC gives that the setup logic
// never names itself.
#pragma once

#include "platform/types.h"

namespace kx::sim {

inline constexpr DWORD kErrorInvalidData = 13;
inline constexpr DWORD kErrorDirectory = 267;
inline constexpr DWORD kErrorInvalidWindowHandle = 1400;
inline constexpr DWORD kErrorInvalidUserBuffer = 1784;
inline constexpr DWORD kErrorNoSuchDevinst = 0xE000020Bu;

inline constexpr ConfigRet kCrInvalidPointer = 0x03;
inline constexpr ConfigRet kCrInvalidDevnode = 0x05;
inline constexpr ConfigRet kCrNoSuchDevnode = 0x0D;

// The device-tree root's node, as CM_Locate_DevNodeA returns it.
inline constexpr DevInst kRootDevNode = 1;

// Process handles and window handles of the simulated PC.
inline constexpr std::uintptr_t kProcessHandleBase = 0x20000;
inline constexpr std::uintptr_t kThreadHandleBase = 0x30000;
inline constexpr std::uintptr_t kWindowHandleBase = 0x10000;

}  // namespace kx::sim
