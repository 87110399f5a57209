# Cross build for Windows x86_64 with Debian's MinGW-w64, posix thread model: the C++
# library's std::mutex (which GoogleTest needs) exists only there. With -static, nothing
# of it becomes a DLL the executable needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLET}-windres)
set(CMAKE_AR           ${MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

# Libraries come from the MinGW sysroot (zlib) and from the prefix our dependency
# script fills (libjpeg-turbo, libpng); never from the Linux host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
if(DEFINED ENV{QUORVIN_DEPS_PREFIX})
  list(PREPEND CMAKE_FIND_ROOT_PATH "$ENV{QUORVIN_DEPS_PREFIX}")
endif()
if(QUORVIN_DEPS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${QUORVIN_DEPS_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executable must need nothing but Windows' own DLLs: prefer static archives
# (the sysroot also holds libz.dll.a).
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)
