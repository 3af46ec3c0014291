# Cross-compiling for 64-bit Windows with MinGW-w64 (the posix thread flavour:
# the win32 one has no std::thread in GCC 12). Qt for Windows is found in
# TV_WIN_QT_DIR (an unpacked Qt prefix); moc, uic and rcc come from the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(TV_WIN_QT_DIR "" CACHE PATH "Unpacked Qt 6 for MinGW-w64")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TV_WIN_QT_DIR})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(TV_WIN_QT_DIR)
  list(APPEND CMAKE_PREFIX_PATH ${TV_WIN_QT_DIR})
  set(QT_HOST_PATH /usr CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
endif()

# The compiler's own runtime (libstdc++, libgcc, winpthread) goes into each
# program, so a program runs with nothing beside it but the DLLs it names.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the cross-built programs under Wine.
find_program(TV_WINE wine)
if(TV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TV_WINE})
endif()
