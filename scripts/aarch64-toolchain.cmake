# Cross build for Debian 12 arm64 with Debian's aarch64-linux-gnu compiler, against an arm64 Debian
# root that holds the -dev packages (ZELTRAN_ARM64_SYSROOT, made by scripts/package arm64).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Read from the environment as well, because try_compile projects see only the environment.
if(NOT ZELTRAN_ARM64_SYSROOT)
  set(ZELTRAN_ARM64_SYSROOT $ENV{ZELTRAN_ARM64_SYSROOT})
endif()
set(CMAKE_SYSROOT ${ZELTRAN_ARM64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH ${ZELTRAN_ARM64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# pkg-config answers from the root's .pc files, with the root put in front of their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${ZELTRAN_ARM64_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
    "${ZELTRAN_ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${ZELTRAN_ARM64_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
