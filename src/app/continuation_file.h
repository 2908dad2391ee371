// The continuation file "KXISETUP.INI" in the Windows folder: what remains to
// be done after this program, for the programs that run after it.
//
// [Need_To_Reboot]         Install=YES|NO
// [Need_To_InstallDriver]  Install=YES|NO, Command=<second-stage driver setup>,
//                          InstallDX=YES|NO, InstallDXCommand=<DirectX setup>|NO
// [Need_To_Install_DX]     Install=YES when DirectX is to be installed
//
// The DirectX keys are written by a program outside this system; this
// program only consumes them in the DirectX hand-off.
#pragma once

#include "platform/platform.h"

namespace kx {

inline constexpr char kContinuationFile[] = "KXISETUP.INI";

// Written by the main dialog just before it starts the applications setup.
// deferDriver: the WDM driver is to be installed by the second-stage setup
// "MESetup.dat" in the WDM staging folder (which also becomes the current
// folder); the applications setup must not restart then. Otherwise the
// applications setup restarts and no driver installation is pending.
void WriteContinuationFile(Platform& platform, bool deferDriver, bool isWin98SE);

// At the end of the flat-package installation: when a DirectX installation is
// pending, marks it done, asks for the CD until the DirectX setup program can
// be opened (or the user cancels) and starts it. True when it was started; the
// caller then ends without a restart.
bool RunDirectXHandOff(Platform& platform);

}  // namespace kx
