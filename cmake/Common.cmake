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

# Wine runs the Windows tests: one prefix inside the build tree, zh_CN code page 936.
# The 32-bit build runs in the emulated 32-bit Wine (scripts/setup-wine32.sh).
# LUMIO_WINE_EMU, followed by a prefix, runs a program of this build.
if(CMAKE_CROSSCOMPILING AND WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(LUMIO_WINE_EMU ${CMAKE_SOURCE_DIR}/scripts/wine-emu.sh)
  else()
    set(LUMIO_WINE_EMU ${CMAKE_SOURCE_DIR}/scripts/wine-emu.sh --win32)
  endif()
  set(LUMIO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMIO_WINE_EMU} ${LUMIO_WINEPREFIX})
endif()

set(LUMIO_TESTDATA ${CMAKE_SOURCE_DIR}/../shared/testdata CACHE PATH "Shared test data (PNG suite)")
set(LUMIO_ZLIB_DLL /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib/zlib1.dll)

# lumio_component(<target>): a static library whose every object goes into Lumiokit.dll.
define_property(GLOBAL PROPERTY LUMIO_COMPONENTS BRIEF_DOCS "Lumiokit parts" FULL_DOCS "Static libraries whose objects make up Lumiokit.dll")
function(lumio_component target)
  set_property(GLOBAL APPEND PROPERTY LUMIO_COMPONENTS ${target})
endfunction()

# lumio_whole_library(<objects_var> <libs_var>): what a target needs to hold the
# whole library as Lumiokit.dll does: every component's objects (class
# registrations included, which nothing references) and what to link them with.
# Only complete once every component's folder has been added.
function(lumio_whole_library objects_var libs_var)
  get_property(parts GLOBAL PROPERTY LUMIO_COMPONENTS)
  set(objects)
  foreach(p ${parts})
    list(APPEND objects $<TARGET_OBJECTS:${p}>)
  endforeach()
  set(${objects_var} ${objects} PARENT_SCOPE)
  set(${libs_var} ${parts} ole32 oleaut32 uuid gdi32 user32 msimg32 comctl32 shell32 advapi32 PARENT_SCOPE)
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

# lumio_check_sources(FOLDERS <folder>... EXCEPT <regex>...): every C and C++
# file under the folders is compiled by a target of this build, so that a file
# added without being listed in its folder's CMakeLists.txt stops the
# configuration instead of going missing. EXCEPT matches what the build leaves
# out on purpose (the other platform's files, programs of custom commands).
function(lumio_check_sources)
  cmake_parse_arguments(arg "" "" "FOLDERS;EXCEPT" ${ARGN})
  set(listed)
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t ${targets})
      get_target_property(sources ${t} SOURCES)
      get_target_property(source_dir ${t} SOURCE_DIR)
      foreach(s ${sources})
        if(NOT s MATCHES "^\\$<")
          cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY ${source_dir} NORMALIZE OUTPUT_VARIABLE s)
          list(APPEND listed ${s})
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(missing)
  foreach(folder ${arg_FOLDERS})
    # Checked again at every build, so that a new file is caught before it is missed.
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.c)
    foreach(f ${files})
      set(skip FALSE)
      foreach(pattern ${arg_EXCEPT})
        if(f MATCHES "${pattern}")
          set(skip TRUE)
        endif()
      endforeach()
      if(NOT skip AND NOT f IN_LIST listed)
        file(RELATIVE_PATH f ${CMAKE_SOURCE_DIR} ${f})
        list(APPEND missing ${f})
      endif()
    endforeach()
  endforeach()
  if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "Compiled by no target (list each in its folder's CMakeLists.txt):\n  ${missing}")
  endif()
endfunction()
