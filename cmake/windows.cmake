# The Windows build: the libraries are static, cross-built into ZELTRAN_WINDOWS_PREFIX by
# scripts/windows.sh (see scripts/mingw64-toolchain.cmake), and the programs are linked
# statically, so that zeltran.exe needs no DLL beside it.
add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
# GCC 12 at -O3 reports overlapping copies inside std::string where there are none (GCC bug
# 105651); the Linux build at -O2 does not meet it.
add_compile_options(-Wno-restrict)

find_package(OpenCV REQUIRED COMPONENTS core imgproc imgcodecs videoio)
set(OPENCV_INCLUDE_DIR ${OpenCV_INCLUDE_DIRS})
set(OPENCV_LIBS ${OpenCV_LIBS})
find_package(SDL2 REQUIRED)
find_package(SDL2_ttf REQUIRED)
# Only the static libraries are built: the names the program links stand for them.
foreach(library SDL2 SDL2_ttf)
  if(NOT TARGET ${library}::${library})
    add_library(${library}::${library} INTERFACE IMPORTED)
    set_target_properties(${library}::${library} PROPERTIES
      INTERFACE_LINK_LIBRARIES ${library}::${library}-static)
  endif()
endforeach()
find_package(PkgConfig REQUIRED)
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET libturbojpeg)
pkg_check_modules(MHD REQUIRED IMPORTED_TARGET libmicrohttpd)
set(SYSTEM_LIBS PkgConfig::TURBOJPEG ws2_32)
# libmicrohttpd's own need of Winsock, so that the static link puts ws2_32 after it.
set_property(TARGET PkgConfig::MHD APPEND PROPERTY INTERFACE_LINK_LIBRARIES ws2_32)
set(HTTP_LIBS PkgConfig::MHD)
set(WINDOW_SYSTEM_LIBS)

set(CLOCK_SOURCE src/platform/clock_win32.cpp)
set(DISPLAY_POWER_SOURCE src/platform/display_power_win32.cpp)
# POSIX platform files whose Windows counterpart has another name (or that have none).
set(POSIX_ONLY_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/display_power_x11.cpp)
# The manifest: UTF-8 as the program's code page, so that file names, the command line and the
# environment reach the program in UTF-8 as on Linux.
enable_language(RC)
set(PROGRAM_RESOURCES ${CMAKE_SOURCE_DIR}/dist/windows/zeltran.rc)
