# libjpeg (6b interface), libspng with zlib, stb_image_resize and GoogleTest, found where the
# system has them.

# libjpeg: prefer a static library, so the program needs no DLL beside it.
find_path(VISTREL_JPEG_INCLUDE_DIR jpeglib.h)
find_library(VISTREL_JPEG_LIBRARY NAMES libjpeg.a jpeg-static jpeg)
if(NOT VISTREL_JPEG_INCLUDE_DIR OR NOT VISTREL_JPEG_LIBRARY)
  message(FATAL_ERROR "libjpeg not found: run scripts/install-deps")
endif()
add_library(vistrel::jpeg UNKNOWN IMPORTED)
set_target_properties(vistrel::jpeg PROPERTIES
  IMPORTED_LOCATION "${VISTREL_JPEG_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${VISTREL_JPEG_INCLUDE_DIR}")
message(STATUS "libjpeg: ${VISTREL_JPEG_LIBRARY}")

# libspng and its zlib. For Windows both are static (libspng as scripts/install-deps builds
# it, zlib from MinGW's sysroot, not its import library), and spng.h must then be told so,
# or it declares every function as imported from a DLL.
find_path(VISTREL_SPNG_INCLUDE_DIR spng.h)
find_library(VISTREL_SPNG_LIBRARY NAMES libspng_static.a spng_static spng)
if(WIN32)
  find_library(VISTREL_ZLIB_LIBRARY NAMES libz.a)
else()
  find_library(VISTREL_ZLIB_LIBRARY NAMES z)
endif()
if(NOT VISTREL_SPNG_INCLUDE_DIR OR NOT VISTREL_SPNG_LIBRARY OR NOT VISTREL_ZLIB_LIBRARY)
  message(FATAL_ERROR "libspng or zlib not found: run scripts/install-deps")
endif()
add_library(vistrel::png UNKNOWN IMPORTED)
set_target_properties(vistrel::png PROPERTIES
  IMPORTED_LOCATION "${VISTREL_SPNG_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${VISTREL_SPNG_INCLUDE_DIR}"
  INTERFACE_LINK_LIBRARIES "${VISTREL_ZLIB_LIBRARY}")
if(WIN32)
  set_property(TARGET vistrel::png PROPERTY INTERFACE_COMPILE_DEFINITIONS SPNG_STATIC)
endif()
message(STATUS "libspng: ${VISTREL_SPNG_LIBRARY}, zlib: ${VISTREL_ZLIB_LIBRARY}")

# stb_image_resize is a header of its own; the same file serves every target.
find_path(VISTREL_STB_INCLUDE_DIR stb_image_resize.h PATH_SUFFIXES stb NO_CMAKE_FIND_ROOT_PATH)
if(NOT VISTREL_STB_INCLUDE_DIR)
  message(FATAL_ERROR "stb_image_resize.h not found: run scripts/install-deps")
endif()
add_library(vistrel::stb INTERFACE IMPORTED)
set_target_properties(vistrel::stb PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${VISTREL_STB_INCLUDE_DIR}")

# GoogleTest from its sources, so one copy serves the native and the Windows build.
if(VISTREL_TESTS OR VISTREL_BENCH)
  set(VISTREL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
  if(EXISTS ${VISTREL_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${VISTREL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own code is not ours to keep warning-free.
    foreach(t gtest gtest_main)
      target_compile_options(${t} PRIVATE -w)
    endforeach()
  else()
    find_package(GTest REQUIRED)
    add_library(gtest ALIAS GTest::gtest)
    add_library(gtest_main ALIAS GTest::gtest_main)
  endif()
endif()
