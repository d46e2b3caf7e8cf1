# A second pass of the tests that draw with OpenGL, on Mesa's Zink (OpenGL on
# Vulkan, here over lavapipe, Mesa's software Vulkan): the way X-Plane 12
# gives plug-ins their OpenGL. Each such test is registered again as
# zink.<name> (label "zink"), run through zink-run.sh, which sets Mesa's
# driver and a fresh runtime folder per test.
#
# Release builds only: the sanitizer builds keep llvmpipe alone (Mesa's Vulkan
# driver is not built with the sanitizers, and a second pass would double
# their long run).
set(VXR_ZINK_RUN ${CMAKE_CURRENT_LIST_DIR}/zink-run.sh)

set(zink_default ON)
if(VXR_SANITIZE)
  set(zink_default OFF)
endif()
option(VXR_ZINK_TESTS "Run the OpenGL tests a second time on Zink over lavapipe" ${zink_default})
if(VXR_ZINK_TESTS AND VXR_SANITIZE)
  message(FATAL_ERROR "VXR_ZINK_TESTS: the sanitizer builds run on llvmpipe only")
endif()
if(VXR_ZINK_TESTS)
  find_file(VXR_LAVAPIPE_ICD NAMES lvp_icd.x86_64.json lvp_icd.json PATHS /usr/share/vulkan/icd.d NO_DEFAULT_PATH)
  find_file(VXR_ZINK_DRI zink_dri.so PATHS /usr/lib/x86_64-linux-gnu/dri /usr/lib/dri NO_DEFAULT_PATH)
  if(NOT VXR_LAVAPIPE_ICD OR NOT VXR_ZINK_DRI)
    message(WARNING "Zink or lavapipe is missing (./x setup installs mesa-vulkan-drivers): "
                    "the OpenGL tests run on llvmpipe only")
    set(VXR_ZINK_TESTS OFF)
  endif()
endif()

# gtest_discover_tests(TARGET ARGS...) and, on Zink, the same suite again as
# zink.<Suite>.<Test>. ZINK_FILTER <gtest filter> keeps only the tests that
# draw for the second pass. DESKTOP runs each test of the first pass on a
# desktop of its own (desktop-run.sh: a private Xvfb), for the tests that
# read the cursor back from it, in both passes.
# The sanitizer builds run without one: with an X connection in the process,
# LeakSanitizer's tracer crashes now and then at exit ("Tracer caught signal
# 11") after every check held; there the cursor checks report as skipped, and
# the release build reads the cursors.
if(VXR_SANITIZE)
  set(VXR_DESKTOP_RUN)
else()
  set(VXR_DESKTOP_RUN ${CMAKE_CURRENT_LIST_DIR}/desktop-run.sh)
endif()
function(vxr_gtest_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "DESKTOP" "ZINK_FILTER" "")
  set(args ${arg_UNPARSED_ARGUMENTS})
  if(arg_DESKTOP)
    set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${VXR_DESKTOP_RUN})
  endif()
  gtest_discover_tests(${target} ${args})
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR "")
  if(NOT VXR_ZINK_TESTS)
    return()
  endif()
  list(FIND args PROPERTIES at)
  if(at EQUAL -1)
    list(APPEND args PROPERTIES LABELS zink)
  else()
    math(EXPR at "${at} + 1")
    list(INSERT args ${at} LABELS zink)
  endif()
  if(arg_ZINK_FILTER)
    list(APPEND args TEST_FILTER ${arg_ZINK_FILTER})
  endif()
  # gtest_discover_tests runs a target's tests (and lists them) through its
  # emulator, read when it is called; set only for this call.
  set(emulator ${VXR_ZINK_RUN})
  if(arg_DESKTOP)
    list(APPEND emulator ${VXR_DESKTOP_RUN})
  endif()
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR "${emulator}")
  gtest_discover_tests(${target} TEST_PREFIX zink. ${args})
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR "")
endfunction()

# add_test(NAME zink.NAME COMMAND ...) run on Zink; a target named first in
# COMMAND stands for its file, as in add_test.
function(vxr_zink_add_test)
  if(NOT VXR_ZINK_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME" "COMMAND")
  list(POP_FRONT arg_COMMAND program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME zink.${arg_NAME} COMMAND ${VXR_ZINK_RUN} ${program} ${arg_COMMAND})
  set_tests_properties(zink.${arg_NAME} PROPERTIES LABELS zink)
endfunction()
