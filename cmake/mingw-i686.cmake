# The product: 32-bit Windows, run by ctest under Wine in .wineprefix.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(KRV_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
