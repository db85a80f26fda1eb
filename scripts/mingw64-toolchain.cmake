# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (the posix thread model, so that
# std::thread works), against the libraries cross-built into ZELTRAN_WINDOWS_PREFIX by
# scripts/windows.sh. Programs are linked statically: no MinGW runtime DLL has to be found beside
# them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Read from the environment as well, because try_compile projects see only the environment.
if(NOT ZELTRAN_WINDOWS_PREFIX)
  set(ZELTRAN_WINDOWS_PREFIX $ENV{ZELTRAN_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${ZELTRAN_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs built for Windows run on this machine through wine (ctest, try_run).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# pkg-config answers from the prefix's .pc files and MinGW's own (zlib) only.
set(ENV{PKG_CONFIG_LIBDIR} "${ZELTRAN_WINDOWS_PREFIX}/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
