# The unit tests built for Windows, run through wine by ctest (the toolchain's
# CMAKE_CROSSCOMPILING_EMULATOR). The tests that use POSIX facilities themselves (shm_open,
# fork, symbolic links, named pipes, BSD sockets, liblo's test peers) run on Linux only.
add_library(zeltran_test_support STATIC support/temp_tree.cpp support/probe_scan.cpp
  support/posix_calls_win32.cpp)
target_link_libraries(zeltran_test_support PUBLIC zeltran_core GTest::gtest)
target_include_directories(zeltran_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
# setenv, unsetenv and fmemopen for the tests that use them, without a change in those tests.
target_compile_options(zeltran_test_support PUBLIC
  -include ${CMAKE_CURRENT_SOURCE_DIR}/support/posix_calls_win32.hpp)

file(GLOB_RECURSE UNIT_SOURCES CONFIGURE_DEPENDS unit/*.cpp)
foreach(test block/shared_block contents/frame_list contents/video_import motion/motion
        motion/settings network/network network/receive platform/camera platform/camera_stream
        platform/udp shell/faults shell/keys_camera
        # Time zones by their names (TZ=Europe/Berlin) are POSIX.
        schedule/schedule_rule schedule/schedule_clock shell/opening_hours)
  list(REMOVE_ITEM UNIT_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/unit/${test}_test.cpp)
endforeach()
# The program's manifest too: the tests see file names and arguments in UTF-8 as the program does.
add_executable(zeltran_unit_tests ${UNIT_SOURCES} fakes/fake_window.cpp fakes/fake_clock.cpp
  ${PROGRAM_RESOURCES})
target_link_libraries(zeltran_unit_tests PRIVATE
  zeltran_test_support zeltran_core zeltran_camera zeltran_status GTest::gtest_main)
# Single tests that need what Windows or the Windows build lacks: removing the working folder while
# it is the current one, ffmpeg on PATH, and TIFF and PPM pictures (OpenCV reduced to JPEG and PNG).
set(LINUX_ONLY_TESTS
  ThresholdKeys.ReportAFileThatCannotBeReadOrWritten
  DecodePicture.JpegKindsMatchTheOpenCvReader
  DecodePicture.OtherKindsAreNotDecoded)
list(JOIN LINUX_ONLY_TESTS ":" LINUX_ONLY_FILTER)
gtest_discover_tests(zeltran_unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_FILTER "-${LINUX_ONLY_FILTER}" PROPERTIES LABELS unit TIMEOUT 120)
