# The self-contained Linux plug-in: cairo (with pixman, libpng, zlib) and GLEW
# as position-independent static libraries that tools/lin/build-deps.sh builds
# from Debian's source packages into build/lin-deps/ (run from here when its
# cache is not up to date), and vxr_self_contained(TARGET), which links a module
# with them, with its own static C++ runtime, exporting only what the version
# script names. Such a module needs nothing but libGL.so.1 and glibc.
set(VXR_LIN_DEPS_DIR ${CMAKE_SOURCE_DIR}/build/lin-deps
    CACHE PATH "Where tools/lin/build-deps.sh keeps the Linux plug-in's static libraries")
set(VXR_LIN_DEPS_PREFIX ${VXR_LIN_DEPS_DIR}/prefix)

# The release build in the Debian 11 root (lin/) finds its libraries built
# there already, by the same script run from outside.
if(NOT VXR_LIN_DEPS_PREBUILT)
  execute_process(
      COMMAND ${CMAKE_COMMAND} -E env LIN_DEPS_DIR=${VXR_LIN_DEPS_DIR}
              ${CMAKE_SOURCE_DIR}/tools/lin/build-deps.sh
      RESULT_VARIABLE vxr_lin_deps_result)
  if(NOT vxr_lin_deps_result EQUAL 0)
    message(FATAL_ERROR "tools/lin/build-deps.sh failed (${vxr_lin_deps_result}): "
                        "its log is ${VXR_LIN_DEPS_DIR}/build.log")
  endif()
endif()

function(vxr_lin_archive var name)
  find_library(${var} NAMES lib${name}.a PATHS ${VXR_LIN_DEPS_PREFIX}/lib NO_DEFAULT_PATH REQUIRED)
endfunction()
vxr_lin_archive(VXR_LIN_CAIRO_LIB cairo)
vxr_lin_archive(VXR_LIN_PIXMAN_LIB pixman-1)
vxr_lin_archive(VXR_LIN_PNG_LIB png16)
vxr_lin_archive(VXR_LIN_ZLIB_LIB z)
vxr_lin_archive(VXR_LIN_GLEW_LIB GLEW)

add_library(lin_cairo INTERFACE)
target_include_directories(lin_cairo SYSTEM INTERFACE ${VXR_LIN_DEPS_PREFIX}/include/cairo)
target_link_libraries(lin_cairo INTERFACE
    ${VXR_LIN_CAIRO_LIB} ${VXR_LIN_PIXMAN_LIB} ${VXR_LIN_PNG_LIB} ${VXR_LIN_ZLIB_LIB} Threads::Threads m)

# libGL.so.1 itself, GL and GLX in one, as every Linux OpenGL driver offers it
# (OpenGL::GL may be GLVND's libOpenGL.so.0, which has no GLX).
find_library(VXR_LIBGL NAMES GL REQUIRED)

add_library(lin_glew INTERFACE)
target_include_directories(lin_glew SYSTEM INTERFACE ${VXR_LIN_DEPS_PREFIX}/include)
target_compile_definitions(lin_glew INTERFACE GLEW_STATIC=1 GLEW_NO_GLU=1)
target_link_libraries(lin_glew INTERFACE ${VXR_LIN_GLEW_LIB} ${VXR_LIBGL})

# --as-needed: the static libraries' link lines name libraries (libdl, librt)
# whose functions glibc now carries itself; they must not become NEEDED entries.
# VXR_OWN_CXX_RUNTIME: plugin/own_runtime.cpp readies the module's own unwinder
# and gives back its libraries' static data when it is unloaded.
function(vxr_self_contained target exports)
  target_compile_definitions(${target} PRIVATE VXR_OWN_CXX_RUNTIME=1)
  target_link_options(${target} PRIVATE
      -static-libstdc++ -static-libgcc
      -Wl,--version-script=${exports} -Wl,--as-needed -Wl,--gc-sections)
  set_target_properties(${target} PROPERTIES
      C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
      LINK_DEPENDS ${exports})
endfunction()
