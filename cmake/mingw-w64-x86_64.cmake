# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# The MinGW sysroot first, so a libjpeg installed there (as MSYS2 does) wins over the one
# that scripts/install-deps cross-builds into its own prefix.
set(VISTREL_MINGW_DEPS_PREFIX "/opt/vistrel-deps/${_mingw}" CACHE PATH
    "Prefix holding libraries cross-built for MinGW")
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw} ${VISTREL_MINGW_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
