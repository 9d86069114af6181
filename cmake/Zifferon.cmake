# Shared build settings of the Zifferon targets.

# Folder where the program and the files it reads at run time live.
set(ZIFFERON_RUNTIME_DIR ${CMAKE_BINARY_DIR})
# The same folder when installed, below the prefix; bin/ holds a link to the program in it.
set(ZIFFERON_INSTALL_PROGRAMDIR lib/zifferon)
# The environment of the Qt tools and tests that the build runs: no screen, and a private
# runtime folder of their own, so that Qt has nothing to warn about.
set(zifferon_runtime ${CMAKE_BINARY_DIR}/runtime)
file(MAKE_DIRECTORY ${zifferon_runtime})
file(CHMOD ${zifferon_runtime} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ZIFFERON_TOOL_ENVIRONMENT QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${zifferon_runtime})
# The application's id: the names of its desktop entry, icons and AppStream metadata.
set(ZIFFERON_APP_ID de.morvantis.Zifferon)

# CI builds with ZIFFERON_WERROR=ON, so that no warning lands; the user's build only shows them.
option(ZIFFERON_WERROR "Treat compiler warnings as errors" OFF)

# Every target with AddressSanitizer and UndefinedBehaviorSanitizer; tools/sanitize.sh builds and
# tests so in build-asan/. The first report ends the process with a failure.
option(ZIFFERON_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZIFFERON_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitizers})
  add_link_options(${sanitizers})
  # GCC's instrumentation hides the initialisation of std::variant members from its flow analysis.
  add_compile_options($<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
endif()
# Sanitized and fuzzed builds also check the standard library's indices and optionals, so that an
# unchecked one ends the run with a report.
if(ZIFFERON_SANITIZE OR ZIFFERON_FUZZ)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()

function(zifferon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(ZIFFERON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Gives the target (and, PUBLIC or INTERFACE, those that link it) the headers of one folder of the
# repository, the current one unless named, and no other: its include root in the build tree
# holds one link, named like the folder ("calc", "tests/support"), so "calc/tape.h" resolves only
# for a target that links the calc library. No target gets the repository's root.
function(zifferon_include_root target scope)
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARGC GREATER 2)
    set(source ${ARGV2})
  endif()
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${source})
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${source} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

function(zifferon_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  zifferon_include_root(${target} PUBLIC)
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
    ENVIRONMENT "${ZIFFERON_TOOL_ENVIRONMENT};ZIFFERON_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data"
    TIMEOUT 300)
endfunction()
