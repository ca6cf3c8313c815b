include(GoogleTest)

# Warnings are errors for our own code only; third-party headers come in as SYSTEM.
add_library(lexivar_warnings INTERFACE)
target_compile_options(lexivar_warnings INTERFACE -Wall -Wextra -Werror -Wformat=2 -Wformat-security)

# lexivar_library(NAME SOURCES ... [LIBS ...])
function(lexivar_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_LIBS} PRIVATE lexivar_warnings)
endfunction()

# lexivar_executable(NAME SOURCES ... [LIBS ...]) — placed at the top of the build folder.
function(lexivar_executable name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${A_LIBS} lexivar_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()

# lexivar_test(NAME LABEL unit|integration|ui|e2e SOURCES ... [LIBS ...] [TIMEOUT s] [DESKTOP])
# One GoogleTest binary; every test case becomes a CTest test carrying the label.
# DESKTOP marks tests that share the machine's desktop: the test display, or
# running programs looked up by image name ("lexivar.exe", "Lexivar_un_asa.exe").
# CTest never runs two of them at once; e2e tests always hold that lock.
function(lexivar_test name)
  cmake_parse_arguments(A "DESKTOP" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  set(lock "")
  if(A_DESKTOP OR A_LABEL STREQUAL "e2e")
    set(lock RESOURCE_LOCK desktop)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main lexivar_warnings)
  target_compile_definitions(${name} PRIVATE
    LEXIVAR_BUILD_DIR="${PROJECT_BINARY_DIR}" LEXIVAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${A_LABEL} TIMEOUT ${A_TIMEOUT} ${lock})
endfunction()

# lexivar_fuzzer(NAME SOURCES ... [LIBS ...]) — libFuzzer target, only with LEXIVAR_FUZZ.
function(lexivar_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${A_LIBS} lexivar_warnings)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Adds every subfolder of the current folder that brings a CMakeLists.txt, in
# name order: tests/, bench/, fuzz/ and tools/ hold one folder per subsystem.
function(lexivar_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
