# lumio_add_test(<name> SOURCES ... [LIBS ...] [WINDOWS] [TIMEOUT s] [LOCK] [ENV k=v ...] [DATA file ...])
# Native tests are discovered per GoogleTest case; Windows tests run whole through Wine.
# WINDOWS: only in the Windows builds. LOCK: needs the desktop alone (focus, foreground, input).
# DATA: files copied beside the executable (zlib1.dll, fixtures).
if(BUILD_TESTING AND NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Warnings stop our code's build, not a compiler's view of someone else's.
  set_target_properties(gtest gtest_main gmock gmock_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endif()
include(GoogleTest)

# The 32-bit build runs emulated, about twice as slow.
if(WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(LUMIO_TIMEOUT_SCALE 2)
else()
  set(LUMIO_TIMEOUT_SCALE 1)
endif()

function(lumio_add_test name)
  cmake_parse_arguments(T "WINDOWS;LOCK" "TIMEOUT" "SOURCES;LIBS;ENV;DATA" ${ARGN})
  if(T_WINDOWS AND NOT WIN32)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  math(EXPR T_TIMEOUT "${T_TIMEOUT} * ${LUMIO_TIMEOUT_SCALE}")
  add_executable(${name} ${T_SOURCES})
  if(T_WINDOWS)
    list(APPEND T_LIBS lumio_test_support) # tests/support: live-object counts, sequences, waits
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  target_compile_definitions(${name} PRIVATE
    LUMIO_TESTDATA="${LUMIO_TESTDATA}" LUMIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  foreach(f ${T_DATA})
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} $<TARGET_FILE_DIR:${name}>)
  endforeach()
  if(WIN32)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
      return()
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}> ENVIRONMENT "${T_ENV}")
    if(T_LOCK)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${T_ENV}")
  endif()
endfunction()

# lumio_add_atl_host_test(<name> SOURCES ... [TIMEOUT s] [LOCK])
# A test of Lumiokit.dll under the system's ATL host (tests/support/atl_host.h):
# the library beside the executable, registered in a Wine prefix of the
# test's own, away from the hosts of tests running at the same time.
function(lumio_add_atl_host_test name)
  cmake_parse_arguments(T "LOCK" "TIMEOUT" "SOURCES" ${ARGN})
  if(NOT WIN32 OR NOT CMAKE_CROSSCOMPILING_EMULATOR OR NOT BUILD_TESTING)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  math(EXPR T_TIMEOUT "${T_TIMEOUT} * ${LUMIO_TIMEOUT_SCALE}")
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(${name} PRIVATE lumio_ids lumio_base_win gtest gtest_main ole32 oleaut32 user32)
  add_dependencies(${name} Lumiokit)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Lumiokit> $<TARGET_FILE_DIR:${name}>)
  add_test(NAME ${name}
    COMMAND ${LUMIO_WINE_EMU} ${CMAKE_BINARY_DIR}/${name}-wineprefix $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  if(T_LOCK)
    # Its own prefix, but the same X display: a window it shows takes the
    # activation from the desktop tests.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# lumio_add_link_case(<test> <variable> <file>)
# Before <test>, a folder where <file> is a symbolic link to real/<file>, made
# outside Wine (tests/support/make_link.cmake); the test reads the folder's
# path from the environment variable <variable>.
function(lumio_add_link_case test variable file)
  if(NOT TEST ${test})
    return()
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${test}_link_case)
  add_test(NAME ${test}_link COMMAND ${CMAKE_COMMAND} -DDIR=${dir} -DNAME=${file}
    -P ${CMAKE_SOURCE_DIR}/tests/support/make_link.cmake)
  set_tests_properties(${test}_link PROPERTIES FIXTURES_SETUP ${test}_link_case)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${test}_link_case)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${variable}=${dir})
endfunction()
