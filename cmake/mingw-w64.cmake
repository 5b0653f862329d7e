# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread and std::mutex need):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DQV_BUILD_GUI=OFF
#     -DQV_BUILD_SHEET=OFF
# or, for QVSetting.exe too, with a Qt for Windows built for mingw-w64 (see the README):
#   ... -DQV_BUILD_SHEET=OFF -DCMAKE_PREFIX_PATH=/path/to/qt-windows -DQT_HOST_PATH=...
# The programs link the C++ runtime and winpthread statically, so qvctl.exe and qvsim.exe need
# no DLL beside the ones every Windows has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW_PREFIX}-windres)

# Libraries and headers come from the cross root only; programs (gzip, bash) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# A Qt for Windows (for the window) is given as CMAKE_PREFIX_PATH; it is a root of its own, since
# everything else is looked up in the cross root only.
if(CMAKE_PREFIX_PATH)
    list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
endif()

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs are run under wine64 (ctest and gtest_discover_tests use this); Debian keeps the
# 64-bit loader out of PATH, behind its `wine` launcher.
find_program(QV_WINE64 NAMES wine64 PATHS /usr/lib/wine)
if(QV_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_WINE64})
endif()
