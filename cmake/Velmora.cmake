# Compiler settings every target of the project links.
add_library(velmora_cfg INTERFACE)
target_compile_features(velmora_cfg INTERFACE cxx_std_20)
target_compile_options(velmora_cfg INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
target_compile_definitions(velmora_cfg INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS
  VELMORA_VERSION_SUFFIX=" v${VELMORA_VERSION}")

# velmora_add_library(NAME DIR ...): a static library of every .cpp/.h in DIR
# matching the given glob patterns. The globs keep each subsystem's file list
# in one place (its folder) so that parallel work never edits a shared list.
function(velmora_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  set(files)
  foreach(pattern IN LISTS ARG_SOURCES)
    file(GLOB matched CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND files ${matched})
  endforeach()
  add_library(${name} STATIC ${files})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC velmora_cfg ${ARG_LINKS})
endfunction()

# velmora_runtime_files(DEST SRC...): copies files or folders into the program
# folder at build time and installs them beside the executable.
function(velmora_runtime_files target)
  cmake_parse_arguments(ARG "" "DEST" "FILES;DIRS" ${ARGN})
  set(outputs)
  foreach(f IN LISTS ARG_FILES)
    get_filename_component(fname ${f} NAME)
    set(out ${VELMORA_RUNTIME_DIR}/${ARG_DEST}/${fname})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
      DEPENDS ${f} VERBATIM)
    list(APPEND outputs ${out})
    install(FILES ${f} DESTINATION ${VELMORA_INSTALL_DIR}/${ARG_DEST})
  endforeach()
  foreach(d IN LISTS ARG_DIRS)
    file(GLOB_RECURSE dfiles CONFIGURE_DEPENDS ${d}/*)
    get_filename_component(dname ${d} NAME)
    foreach(f IN LISTS dfiles)
      file(RELATIVE_PATH rel ${d} ${f})
      set(out ${VELMORA_RUNTIME_DIR}/${ARG_DEST}/${dname}/${rel})
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
        DEPENDS ${f} VERBATIM)
      list(APPEND outputs ${out})
    endforeach()
    install(DIRECTORY ${d} DESTINATION ${VELMORA_INSTALL_DIR}/${ARG_DEST})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

# velmora_add_gtest(NAME SOURCES... LINKS...): a GoogleTest executable run by ctest.
function(velmora_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE velmora_cfg GTest::gtest GTest::gtest_main ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_RUNTIME_DIR})
  gtest_discover_tests(${name} WORKING_DIRECTORY ${VELMORA_RUNTIME_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()

# Seconds a Qt test program may run; the sanitizer build, several times slower, gives more.
set(VELMORA_TEST_TIMEOUT 300 CACHE STRING "Time limit of each Qt test program, in seconds")

# velmora_add_qtest(NAME SOURCES... LINKS...): a Qt Test executable (widgets, offscreen).
function(velmora_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE velmora_cfg Qt6::Test ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_RUNTIME_DIR})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${VELMORA_RUNTIME_DIR})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                                           TIMEOUT ${VELMORA_TEST_TIMEOUT})
endfunction()
