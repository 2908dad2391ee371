# The cross build of the Windows test programs: as mingw-i686.cmake, but with
# the posix thread model that GoogleTest needs. Setup.exe is never built here.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER ${KX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KX_MINGW_PREFIX}-g++-posix)
