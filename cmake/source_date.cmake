# vxr_source_date(MAIN_CPP ROOT): the version banner in MAIN_CPP gets the date
# and time (UTC) of the commit at ROOT, in the compiler's __DATE__ " " __TIME__
# form ("Oct 30 2022 20:49:48"), so that two builds of one commit are the same
# file. VXR_SOURCE_DATE given on the command line wins (the Debian 11 build
# sees no repository); without either, the compiler's own date stays. Only
# MAIN_CPP is rebuilt when the date changes. Call it where the targets are made.
function(vxr_source_date main_cpp root)
  set(date "${VXR_SOURCE_DATE}")
  if(NOT date)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C TZ=UTC
                git -C ${root} log -1 --format=%cd "--date=format-local:%b %e %Y %H:%M:%S"
        OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      set(date "")
    endif()
  endif()
  if(date)
    set_property(SOURCE ${main_cpp} APPEND PROPERTY COMPILE_DEFINITIONS "VXR_SOURCE_DATE=\"${date}\"")
  endif()
endfunction()
