# Shared by the two toolchain files: a MinGW-w64 cross build for
# MINGW_TRIPLET with the win32 thread model (the posix variant links
# winpthreads, which imports GetTickCount64 and so cannot load on Windows XP),
# its tests run under Wine in the prefix of KRV_ARCH.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL      ${MINGW_TRIPLET}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR env KRV_ARCH=${KRV_ARCH} ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec)
