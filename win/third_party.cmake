# cairo (with pixman, libpng and zlib) and GLEW as static libraries from the
# cross prefix, each an INTERFACE target that carries what its users need:
# include folders, the archives in link order, the Windows libraries they call,
# and the definitions that select the static form of their headers.
function(vxr_find_archive var name)
  find_library(${var} NAMES lib${name}.a REQUIRED)
endfunction()

find_path(VXR_CAIRO_INCLUDE_DIR cairo.h PATH_SUFFIXES cairo REQUIRED)
find_path(VXR_GLEW_INCLUDE_DIR GL/glew.h REQUIRED)
vxr_find_archive(VXR_CAIRO_LIB cairo)
vxr_find_archive(VXR_PIXMAN_LIB pixman-1)
vxr_find_archive(VXR_PNG_LIB png16)
vxr_find_archive(VXR_ZLIB_LIB z)
vxr_find_archive(VXR_GLEW_LIB glew32)

add_library(win_cairo INTERFACE)
target_include_directories(win_cairo SYSTEM INTERFACE ${VXR_CAIRO_INCLUDE_DIR})
target_compile_definitions(win_cairo INTERFACE CAIRO_WIN32_STATIC_BUILD=1)
# cairo's Windows surface and fonts call GDI, AlphaBlend (msimg32) and USER;
# its own build turns on _FORTIFY_SOURCE, whose checked functions are in libssp.
target_link_libraries(win_cairo INTERFACE
    ${VXR_CAIRO_LIB} ${VXR_PIXMAN_LIB} ${VXR_PNG_LIB} ${VXR_ZLIB_LIB} gdi32 msimg32 user32 ssp)

add_library(win_glew INTERFACE)
target_include_directories(win_glew SYSTEM INTERFACE ${VXR_GLEW_INCLUDE_DIR})
target_compile_definitions(win_glew INTERFACE GLEW_STATIC=1)
target_link_libraries(win_glew INTERFACE ${VXR_GLEW_LIB} opengl32 gdi32 user32)
