# The project's version for code, Windows version resources and scripts.
#   project_version: an interface library whose users can include "ProjectVersion.h".
#   norvik_version_info(target FILE name DESCRIPTION text): on Windows, gives the
#     target a version resource (FileVersion, ProductVersion, ProductName,
#     FileDescription, CompanyName, OriginalFilename) and makes it part of the
#     release: ${CMAKE_BINARY_DIR}/ReleaseFiles.txt lists "target file" a line
#     (written by norvik_write_release_files() at the end of the top CMakeLists.txt).
#   ${CMAKE_BINARY_DIR}/ProjectVersion.txt: the version alone, for scripts/package.

set(NORVIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProjectVersion.h.in ${NORVIK_GENERATED_DIR}/ProjectVersion.h @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/ProjectVersion.txt "${PROJECT_VERSION}\n")
add_library(project_version INTERFACE)
target_include_directories(project_version INTERFACE ${NORVIK_GENERATED_DIR})

function(norvik_version_info target)
  cmake_parse_arguments(V "" "FILE;DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(NORVIK_VI_TYPE VFT_APP)
  else()
    set(NORVIK_VI_TYPE VFT_DLL)
  endif()
  set(NORVIK_VI_FILE ${V_FILE})
  set(NORVIK_VI_DESCRIPTION ${V_DESCRIPTION})
  set(rc ${NORVIK_GENERATED_DIR}/${target}.version.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_property(GLOBAL APPEND PROPERTY NORVIK_RELEASE_FILES "${target} ${V_FILE}")
endfunction()

function(norvik_write_release_files)
  get_property(files GLOBAL PROPERTY NORVIK_RELEASE_FILES)
  list(JOIN files "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/ReleaseFiles.txt "${text}\n")
endfunction()
