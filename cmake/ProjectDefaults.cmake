# Compiler settings shared by every target of the project (not by third-party code).

set(NORVIK_WARNINGS -Wall -Wextra)
if(NORVIK_WERROR)
  list(APPEND NORVIK_WARNINGS -Werror)
endif()

# norvik_defaults(target): warnings (as errors with NORVIK_WERROR), hidden symbols,
# static runtime on Windows.
function(norvik_defaults target)
  target_compile_options(${target} PRIVATE ${NORVIK_WARNINGS})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      # Programs and DLLs carry their C++ runtime, so Wine and users need no MinGW DLLs.
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endif()
endfunction()

# norvik_test(name sources... LIBS libs...): one GoogleTest program registered with CTest.
function(norvik_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  norvik_defaults(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
