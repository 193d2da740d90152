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
  tessaroc_precompiled_headers(${name} QT ${ARG_QT})
endfunction()

# Precompiled headers. Most of a file's compile went into parsing the same
# headers again: the standard library's, Qt's and GoogleTest's. Each kind of
# target (the Qt modules it links, and whether it is a test) has one donor
# target that compiles them once; every target of that kind reuses its
# precompiled headers. A donor compiles with the flags of its kind, which is
# what lets the others reuse them: the compiler refuses a precompiled header
# made with other options (and -Winvalid-pch, which CMake adds, says so).
set(_tessaroc_pch_std <algorithm> <array> <cstdint> <functional> <memory> <optional> <span>
    <string> <string_view> <vector>)
set(_tessaroc_pch_Core <QByteArray> <QCoreApplication> <QDir> <QElapsedTimer> <QFile> <QObject>
    <QPointer> <QString> <QStringList> <QTimer>)
set(_tessaroc_pch_Gui <QColor> <QFont> <QImage> <QPainter> <QPixmap>)
set(_tessaroc_pch_Widgets <QApplication> <QWidget>)
set(_tessaroc_pch_Network <QTcpSocket>)
set(_tessaroc_pch_test <gtest/gtest.h>)

# Gives `target` the precompiled headers of its kind: QT the Qt modules it
# links (without the Qt6:: prefix), TEST for a test binary. Our Qt code
# holds to the text and keyword macros of tessaroc_qt_library; said again
# here, they match the shared precompiled headers.
function(tessaroc_precompiled_headers target)
  cmake_parse_arguments(ARG "TEST" "" "QT" ${ARGN})
  if(ARG_QT)
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                                 QT_NO_KEYWORDS)
  endif()
  list(REMOVE_DUPLICATES ARG_QT)
  list(SORT ARG_QT)
  set(donor tessaroc_pch)
  foreach(module IN LISTS ARG_QT)
    string(TOLOWER "${module}" lower)
    string(APPEND donor "_${lower}")
  endforeach()
  if(ARG_TEST)
    string(APPEND donor "_test")
  endif()
  if(NOT TARGET ${donor})
    set(source "${PROJECT_BINARY_DIR}/pch/${donor}.cpp")
    file(CONFIGURE OUTPUT "${source}" CONTENT "// Compiles the precompiled headers of ${donor}.\n")
    add_library(${donor} OBJECT "${source}")
    set(headers ${_tessaroc_pch_std})
    if(ARG_QT)
      find_package(Qt6 6.4 REQUIRED COMPONENTS ${ARG_QT})
      list(TRANSFORM ARG_QT PREPEND "Qt6::" OUTPUT_VARIABLE qt_targets)
      target_link_libraries(${donor} PRIVATE ${qt_targets})
      target_compile_definitions(${donor} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                                  QT_NO_KEYWORDS)
      foreach(module IN LISTS ARG_QT)
        list(APPEND headers ${_tessaroc_pch_${module}})
      endforeach()
    endif()
    if(ARG_TEST)
      target_link_libraries(${donor} PRIVATE GTest::gtest)
      list(APPEND headers ${_tessaroc_pch_test})
    endif()
    tessaroc_warnings(${donor})
    target_precompile_headers(${donor} PRIVATE ${headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${donor})
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
# creates the QApplication); otherwise GoogleTest's own main is used. COST is
# about the seconds the binary's longest test takes: ctest starts the costly
# tests first, and a fresh build tree has no timings of an earlier run to
# tell it which they are, so a long whole-client run would otherwise start
# last and keep the whole run waiting for it.
function(tessaroc_add_test_binary name)
  cmake_parse_arguments(ARG "QT" "COST" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tessaroc_warnings(${name})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE tessaroc_qt_test_main ${ARG_LIBS})
    tessaroc_precompiled_headers(${name} TEST QT Core Gui Widgets)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${ARG_LIBS})
    tessaroc_precompiled_headers(${name} TEST)
  endif()
  # The offscreen platform and the non-interactive flag come from the test
  # presets and the shared Qt test main. Discovered tests take their
  # properties as one flat list, so a list value such as an environment would
  # shift the pairs after it.
  set(properties)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if(ARG_COST)
    list(APPEND properties COST ${ARG_COST})
  endif()
  if(properties)
    list(PREPEND properties PROPERTIES)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()

# Puts a copy of the web panels' engine module beside the binary of `target`:
# a client loads it from its own folder only, and a test binary that shows
# pages is its own program. The binaries of one folder share the copy, which
# replaces the old one by a rename, never by writing into a module that a
# running test may have loaded.
function(tessaroc_webengine_beside target)
  get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT folder)
    set(folder "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  file(RELATIVE_PATH name "${PROJECT_BINARY_DIR}" "${folder}")
  string(MAKE_C_IDENTIFIER "tessaroc_webengine_in_${name}" copy_target)
  if(NOT TARGET ${copy_target})
    set(copy "${folder}/libtessaroc_webengine.so")
    add_custom_command(OUTPUT "${copy}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
      COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:tessaroc_webengine>" "${copy}.new"
      COMMAND ${CMAKE_COMMAND} -E rename "${copy}.new" "${copy}"
      COMMAND chmod go-w "${copy}" "${folder}"
      DEPENDS tessaroc_webengine
      VERBATIM)
    add_custom_target(${copy_target} DEPENDS "${copy}")
  endif()
  add_dependencies(${target} ${copy_target})
endfunction()
