# Shared build settings of the Zifferon targets.

# Folder where the program and the files it reads at run time live.
set(ZIFFERON_RUNTIME_DIR ${CMAKE_BINARY_DIR})

# CI builds with ZIFFERON_WERROR=ON, so that no warning lands; the user's build only shows them.
option(ZIFFERON_WERROR "Treat compiler warnings as errors" OFF)

function(zifferon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(ZIFFERON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(zifferon_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  zifferon_warnings(${target})
endfunction()

# A Qt Test executable registered with CTest; GUI tests run on the offscreen platform.
function(zifferon_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  zifferon_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZIFFERON_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
    TIMEOUT 300)
endfunction()
