# Flags and helpers shared by every target of the tree.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Rebuilds of the four trees reuse objects where ccache is installed.
find_program(LUMIO_CCACHE ccache)
if(LUMIO_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${LUMIO_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${LUMIO_CCACHE})
endif()

# The native, win64 and win32 presets turn warnings into errors
# (CMAKE_COMPILE_WARNING_AS_ERROR), so a new warning stops the build that
# brings it; `cmake --compile-no-warning-as-error` lifts that for a local try.
# The clang presets (fuzz, bench) only report them.
# Floating-point results must agree across the three builds.
add_compile_options(-ffp-contract=off -Wall -Wextra)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # No MinGW runtime DLLs beside our binaries.
  add_link_options(-static -static-libgcc -static-libstdc++)
  enable_language(RC)
endif()

if(LUMIO_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(LUMIO_FUZZ)
  # Undefined behaviour stops a fuzzer run instead of scrolling past.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Wine runs the win64 tests: one prefix inside the build tree, zh_CN code page 936.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(LUMIO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-emu.sh ${LUMIO_WINEPREFIX})
endif()

set(LUMIO_TESTDATA ${CMAKE_SOURCE_DIR}/../shared/testdata CACHE PATH "Shared test data (PNG suite)")
set(LUMIO_ZLIB_DLL /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib/zlib1.dll)

# lumio_component(<target>): a static library whose every object goes into Lumiokit.dll.
define_property(GLOBAL PROPERTY LUMIO_COMPONENTS BRIEF_DOCS "Lumiokit parts" FULL_DOCS "Static libraries whose objects make up Lumiokit.dll")
function(lumio_component target)
  set_property(GLOBAL APPEND PROPERTY LUMIO_COMPONENTS ${target})
endfunction()

# add_subdirectories(): every direct subfolder that has a CMakeLists.txt,
# so that parallel work on sibling folders never edits a shared list.
macro(add_subdirectories)
  file(GLOB _lumio_children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _lumio_children)
  foreach(_child ${_lumio_children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_child}/CMakeLists.txt)
      add_subdirectory(${_child})
    endif()
  endforeach()
endmacro()

include(Testing)
