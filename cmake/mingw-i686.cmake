# Cross build for 32-bit Windows with MinGW-w64 (i686-w64-mingw32).
#
# Setup.exe is built with the default (win32 thread model) compiler and links
# libgcc and libstdc++ statically, so it needs no DLL beyond those Windows 95
# ships. The Windows test programs use the posix variant (GoogleTest needs
# std::mutex); see KX_MINGW_POSIX_CXX below.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KX_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KX_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${KX_MINGW_PREFIX}-windres)
set(CMAKE_AR ${KX_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${KX_MINGW_PREFIX}-ranlib CACHE FILEPATH "")
set(KX_MINGW_OBJDUMP ${KX_MINGW_PREFIX}-objdump)
# The compiler for the Windows test programs (GoogleTest needs std::mutex).
set(KX_MINGW_POSIX_CXX ${KX_MINGW_PREFIX}-g++-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${KX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# No libgcc_s, libstdc++ or winpthread DLLs next to the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
