# The 64-bit twin of the product, a test vehicle for kernels that run no
# 32-bit programs: run by ctest under the 64-bit Wine in .wineprefix64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(KRV_ARCH x64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
