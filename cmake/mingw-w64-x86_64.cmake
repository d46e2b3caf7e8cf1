# CMake toolchain for the Windows x64 build on Linux: Debian's mingw-w64 compilers
# (the posix-threads variant, which has std::thread and std::mutex), everything
# linked statically, libraries looked up only in the cross prefix that
# tools/win/build-deps.sh fills (VXR_WIN_DEPS_PREFIX, default build/win-deps/prefix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VXR_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VXR_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VXR_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${VXR_MINGW_HOST}-windres)
set(CMAKE_AR ${VXR_MINGW_HOST}-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${VXR_MINGW_HOST}-ranlib CACHE FILEPATH "Archive indexer")
set(CMAKE_DLLTOOL ${VXR_MINGW_HOST}-dlltool CACHE FILEPATH "Import library maker")
set(CMAKE_OBJDUMP ${VXR_MINGW_HOST}-objdump CACHE FILEPATH "Object file dumper")

if(NOT VXR_WIN_DEPS_PREFIX)
  if(DEFINED ENV{VXR_WIN_DEPS_PREFIX})
    set(VXR_WIN_DEPS_PREFIX $ENV{VXR_WIN_DEPS_PREFIX})
  else()
    get_filename_component(VXR_WIN_DEPS_PREFIX ${CMAKE_CURRENT_LIST_DIR}/../build/win-deps/prefix ABSOLUTE)
  endif()
endif()
set(VXR_WIN_DEPS_PREFIX ${VXR_WIN_DEPS_PREFIX} CACHE PATH "Prefix of the cross-built third-party libraries")
# try_compile projects read the toolchain file again; hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VXR_WIN_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${VXR_WIN_DEPS_PREFIX} /usr/${VXR_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# -static keeps libgcc, libstdc++ and libwinpthread inside the binary instead of
# importing their DLLs, which a simulator's plug-in folder would not have.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
