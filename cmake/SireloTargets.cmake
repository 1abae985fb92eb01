# Helpers that keep the core free of Qt: widget code is registered as such, and a
# test checks that no other file under src/ includes a Qt header.

set_property(GLOBAL PROPERTY SIRELO_GUI_SOURCES "")

# sirelo_core_library(<name> SOURCES ... [DEPS ...])
function(sirelo_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
endfunction()

# sirelo_gui_library(<name> SOURCES ... [DEPS ...]): widget code, Qt allowed.
function(sirelo_gui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Widgets)
  foreach(src IN LISTS ARG_SOURCES)
    get_filename_component(abs ${src} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY SIRELO_GUI_SOURCES ${abs})
  endforeach()
endfunction()

# Lists the widget sources for the check that the rest of src/ has no Qt in it.
function(sirelo_write_gui_source_list)
  get_property(sources GLOBAL PROPERTY SIRELO_GUI_SOURCES)
  list(JOIN sources "\n" text)
  file(WRITE ${PROJECT_BINARY_DIR}/gui-sources.txt "${text}\n")
endfunction()

# sirelo_test(<name> SOURCES ... DEPS ... [LABELS ...])
function(sirelo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE SIRELO_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# sirelo_qt_test(<name> SOURCES ... DEPS ...): a Qt Test program run offscreen.
function(sirelo_qt_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE SIRELO_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS gui ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
