# Helpers shared by every target of the project.

# Warnings for the project's own code; third-party headers come in as SYSTEM.
function(rx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wno-missing-field-initializers)
  if(RX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(RX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # For code that must know (GCC says __SANITIZE_ADDRESS__, clang does not).
  add_compile_definitions(RX_SANITIZE_ADDRESS=1)
  # GCC's flow analysis reports false maybe-uninitialized warnings inside
  # libstdc++ (<regex>, std::function) once sanitizer code is inlined.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()
# Fuzz targets (tests/fuzz, clang only): every library gets libFuzzer's
# coverage hooks and the address and undefined-behaviour sanitizers.
if(RX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(RX_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# rx_library(NAME [STATIC|SHARED|OBJECT] SOURCES ... [LIBS ...] [PUBLIC_LIBS ...])
function(rx_library name)
  cmake_parse_arguments(A "STATIC;SHARED;OBJECT" "" "SOURCES;LIBS;PUBLIC_LIBS" ${ARGN})
  set(kind STATIC)
  if(A_SHARED)
    set(kind SHARED)
  elseif(A_OBJECT)
    set(kind OBJECT)
  endif()
  add_library(${name} ${kind} ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} PUBLIC ${A_PUBLIC_LIBS})
  rx_warnings(${name})
endfunction()

# rx_executable(NAME SOURCES ... [LIBS ...])
function(rx_executable name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  rx_warnings(${name})
endfunction()

# The roots the tests run under live in a temporary directory of this build
# tree, never in the checkout or the real system paths. The directory's name
# is short and fixed for the build tree (the list paths below a root have a
# length limit that a deep checkout must not reach); the build tree holds a
# link to it named test-roots.
if(RX_BUILD_TESTS)
  if(NOT RX_TEST_ROOTS)
    if(DEFINED ENV{TMPDIR} AND IS_DIRECTORY "$ENV{TMPDIR}")
      set(tmp "$ENV{TMPDIR}")
    else()
      set(tmp /tmp)
    endif()
    string(SHA1 tree_hash "${CMAKE_BINARY_DIR}")
    string(SUBSTRING "${tree_hash}" 0 10 tree_hash)
    set(RX_TEST_ROOTS "${tmp}/rx8240-tests-${tree_hash}" CACHE PATH "Directory of the tests' private roots")
  endif()
  file(MAKE_DIRECTORY "${RX_TEST_ROOTS}")
  if(IS_DIRECTORY "${CMAKE_BINARY_DIR}/test-roots" AND NOT IS_SYMLINK "${CMAKE_BINARY_DIR}/test-roots")
    file(REMOVE_RECURSE "${CMAKE_BINARY_DIR}/test-roots")
  endif()
  file(CREATE_LINK "${RX_TEST_ROOTS}" "${CMAKE_BINARY_DIR}/test-roots" SYMBOLIC)
endif()

# rx_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [QT] [SERIAL])
# Every test runs with the offscreen Qt platform and under a private
# TARNVALE_ROOT of its own below RX_TEST_ROOTS.
# QT: link the test main that creates a QApplication; otherwise gtest_main.
function(rx_test name)
  cmake_parse_arguments(A "QT;SERIAL" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(A_QT)
    target_link_libraries(${name} PRIVATE ${A_LIBS} rx_qt_test_main GTest::gmock GTest::gtest Qt6::Widgets Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  rx_warnings(${name})
  set(root ${RX_TEST_ROOTS}/${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${A_TIMEOUT}
    LABELS "${A_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARNVALE_ROOT=${root};RX_TEST_ROOT=${root};RX_SOURCE_DIR=${PROJECT_SOURCE_DIR};RX_BINARY_DIR=${CMAKE_BINARY_DIR};RX_BUNDLE_DIR=${RX_BUNDLE_DIR}")
  if(A_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
