# The import library of the simulator's XPLM_64.dll, which we do not have: a .def
# file written at build time from the XPLM_API declarations of the SDK headers,
# turned into libXPLM_64.a by dlltool. The plug-in links against it, so it can
# import only what the headers declare, and the two cannot drift apart.
get_target_property(VXR_XPLM_HEADER_DIR xplm_sdk INTERFACE_INCLUDE_DIRECTORIES)
file(GLOB VXR_XPLM_HEADERS CONFIGURE_DEPENDS ${VXR_XPLM_HEADER_DIR}/*.h)
set(VXR_XPLM_DEF ${CMAKE_BINARY_DIR}/xplm/XPLM_64.def)
set(VXR_XPLM_IMPLIB ${CMAKE_BINARY_DIR}/xplm/libXPLM_64.a)

add_custom_command(
    OUTPUT ${VXR_XPLM_DEF} ${VXR_XPLM_IMPLIB}
    COMMAND ${VXR_ROOT}/tools/win/xplm-def.sh ${VXR_XPLM_DEF} ${VXR_XPLM_HEADERS}
    COMMAND ${CMAKE_DLLTOOL} -d ${VXR_XPLM_DEF} -l ${VXR_XPLM_IMPLIB} -D XPLM_64.dll
    DEPENDS ${VXR_ROOT}/tools/win/xplm-def.sh ${VXR_XPLM_HEADERS}
    COMMENT "Writing XPLM_64.def from the SDK headers and its import library"
    VERBATIM)
add_custom_target(xplm_import_lib DEPENDS ${VXR_XPLM_IMPLIB})

add_library(xplm_import INTERFACE)
add_dependencies(xplm_import xplm_import_lib)
target_link_libraries(xplm_import INTERFACE ${VXR_XPLM_IMPLIB})
