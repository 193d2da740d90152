# Helpers shared by every folder's CMakeLists.txt.

# Warnings for our own targets. CONVERSION adds -Wconversion, which the pure
# libraries (rules, wire) hold to because they move bytes and 16-bit values.
function(tessaroc_warnings target)
  cmake_parse_arguments(ARG "CONVERSION" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
  if(ARG_CONVERSION)
    target_compile_options(${target} PRIVATE -Wconversion)
  endif()
  if(TESSAROC_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A static library of the client on Qt: the Qt modules it needs (QT) and the
# libraries of lower layers it builds on (LINK), both public. Qt's
# signals/slots/emit keywords are macros that clash with our own names (a hand
# record's `slots`); the code uses Q_SIGNALS, Q_SLOTS and Q_EMIT.
function(tessaroc_qt_library name)
  cmake_parse_arguments(ARG "" "" "QT;LINK" ${ARGN})
  find_package(Qt6 6.4 REQUIRED COMPONENTS ${ARG_QT})
  list(TRANSFORM ARG_QT PREPEND "Qt6::" OUTPUT_VARIABLE qt_targets)
  add_library(${name} STATIC)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS)
  target_link_libraries(${name} PUBLIC ${ARG_LINK} ${qt_targets})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  tessaroc_warnings(${name})
endfunction()

# Walks the link closure of a target and stops the configure step when any
# Qt target appears in it.
function(_tessaroc_collect_links target out_var)
  set(seen ${${out_var}})
  if(target IN_LIST seen)
    return()
  endif()
  list(APPEND seen ${target})
  if(TARGET ${target})
    get_target_property(type ${target} TYPE)
    set(props INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND props LINK_LIBRARIES)
    endif()
    foreach(prop IN LISTS props)
      get_target_property(libs ${target} ${prop})
      if(libs)
        foreach(lib IN LISTS libs)
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
          _tessaroc_collect_links(${lib} seen)
        endforeach()
      endif()
    endforeach()
  endif()
  set(${out_var} ${seen} PARENT_SCOPE)
endfunction()

function(tessaroc_forbid_qt target)
  if(NOT TARGET ${target})
    return()
  endif()
  set(closure "")
  _tessaroc_collect_links(${target} closure)
  foreach(lib IN LISTS closure)
    if(lib MATCHES "^Qt[0-9]*::" OR lib MATCHES "Qt[0-9]*(Core|Gui|Widgets|Network)")
      message(FATAL_ERROR "${target} must not link Qt, but its link closure holds ${lib}")
    endif()
  endforeach()
endfunction()

# Stops the configure step when `forbidden` is in the link closure of
# `target`: a lower layer never links a library that builds on it.
function(tessaroc_forbid_link target forbidden)
  if(NOT TARGET ${target})
    return()
  endif()
  set(closure "")
  _tessaroc_collect_links(${target} closure)
  list(REMOVE_AT closure 0)
  if(forbidden IN_LIST closure)
    message(FATAL_ERROR "${target} must not link ${forbidden}")
  endif()
endfunction()

# One GoogleTest binary per area. QT links the shared Qt test main (which
# creates the QApplication); otherwise GoogleTest's own main is used.
function(tessaroc_add_test_binary name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tessaroc_warnings(${name})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE tessaroc_qt_test_main ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${ARG_LIBS})
  endif()
  # The offscreen platform and the non-interactive flag come from the test
  # presets and the shared Qt test main. Discovered tests take their
  # properties as one flat list, so a list value such as an environment would
  # shift the pairs after it.
  set(properties)
  if(ARG_LABELS)
    set(properties PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()
