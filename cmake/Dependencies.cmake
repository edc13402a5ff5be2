# Finds the third-party libraries and defines one imported target for each (zavix::curl, zavix::zlib,
# zavix::jsoncpp, zavix::lzma, zavix::stb, zavix::gtest), plus the compile flags every target shares.
# Libraries are looked up through CMAKE_PREFIX_PATH; the cache that tools/bootstrap.sh fills is added
# to it, so a build elsewhere (MSYS2, vcpkg) only needs its own prefix there.

file(STRINGS ${PROJECT_SOURCE_DIR}/tools/deps-dir.sh _recipe REGEX "^ZAVIX_DEPS_RECIPE=")
string(REGEX REPLACE ".*=" "" _recipe "${_recipe}")
if(DEFINED ENV{ZAVIX_DEPS_ROOT})
  set(_deps_root "$ENV{ZAVIX_DEPS_ROOT}")
else()
  set(_deps_root /var/cache/zavix-deps)
endif()
if(WIN32)
  set(_deps_name ${ZAVIX_TRIPLE})
else()
  set(_deps_name host)
endif()
set(ZAVIX_DEPS_PREFIX "${_deps_root}/r${_recipe}/${_deps_name}" CACHE PATH "Prefix of the libraries built by tools/bootstrap.sh")
if(EXISTS "${ZAVIX_DEPS_PREFIX}")
  list(APPEND CMAKE_PREFIX_PATH "${ZAVIX_DEPS_PREFIX}")
endif()

function(zavix_import name lib header)
  cmake_parse_arguments(I "" "" "LIB_NAMES;SUFFIXES;DEFINES;LINKS" ${ARGN})
  find_path(${name}_INCLUDE_DIR ${header} PATH_SUFFIXES ${I_SUFFIXES} REQUIRED)
  find_library(${name}_LIBRARY NAMES ${I_LIB_NAMES} REQUIRED)
  add_library(${lib} STATIC IMPORTED GLOBAL)
  set_target_properties(${lib} PROPERTIES
    IMPORTED_LOCATION "${${name}_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${${name}_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS "${I_DEFINES}"
    INTERFACE_LINK_LIBRARIES "${I_LINKS}")
endfunction()

if(WIN32)
  # static archives only: the shipped program is one file with no DLLs beside it
  zavix_import(ZLIB zavix::zlib zlib.h LIB_NAMES libz.a)
  zavix_import(CURL zavix::curl curl/curl.h LIB_NAMES libcurl.a DEFINES CURL_STATICLIB
    LINKS "zavix::zlib;ws2_32;crypt32;bcrypt;advapi32;secur32;normaliz;pthread")
  zavix_import(JSONCPP zavix::jsoncpp json/json.h LIB_NAMES libjsoncpp.a libjsoncpp_static.a)
else()
  zavix_import(ZLIB zavix::zlib zlib.h LIB_NAMES z)
  zavix_import(CURL zavix::curl curl/curl.h LIB_NAMES curl)
  zavix_import(JSONCPP zavix::jsoncpp json/json.h LIB_NAMES jsoncpp SUFFIXES jsoncpp)
endif()
zavix_import(LZMA zavix::lzma 7z.h LIB_NAMES liblzmasdk.a SUFFIXES lzma-sdk)

find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
add_library(zavix::stb INTERFACE IMPORTED GLOBAL)
set_target_properties(zavix::stb PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${STB_INCLUDE_DIR}")

# Compiler cache: CI and developers rebuild the same sources on the same machine again and again.
find_program(ZAVIX_CCACHE ccache)
if(ZAVIX_CCACHE)
  # paths relative to the source tree, so that a fresh clone elsewhere hits the same entries
  set(_launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${ZAVIX_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${_launcher})
endif()

# Shared compile settings.
add_library(zavix_flags INTERFACE)
target_compile_options(zavix_flags INTERFACE -Wall -Wextra)
if(WIN32)
  target_compile_definitions(zavix_flags INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 __USE_MINGW_ANSI_STDIO=1)
  # one self-contained executable: static runtime and winpthreads
  target_link_options(zavix_flags INTERFACE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
else()
  # Host builds run under sanitizers; -DZAVIX_SANITIZE=thread gives a data-race build instead.
  set(ZAVIX_SANITIZE "address,undefined" CACHE STRING "Sanitizers of the host build")
  target_compile_options(zavix_flags INTERFACE -fsanitize=${ZAVIX_SANITIZE} -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  target_link_options(zavix_flags INTERFACE -fsanitize=${ZAVIX_SANITIZE})
endif()

if(ZAVIX_UNIT_TESTS)
  # GoogleTest from Debian's sources, built with the same compiler and flags as the code under test
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT WIN32)
    target_compile_options(gtest PRIVATE -fsanitize=${ZAVIX_SANITIZE} -fno-omit-frame-pointer)
    target_compile_options(gtest_main PRIVATE -fsanitize=${ZAVIX_SANITIZE} -fno-omit-frame-pointer)
  endif()
  include(GoogleTest)
endif()
