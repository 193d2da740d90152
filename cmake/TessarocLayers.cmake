# The layer order of src/: which folder's files may include which folder's
# headers. The configure step runs the check (tessaroc_check_layers), and the
# build runs it again whenever a source file changes (target layer_check), so
# an include that breaks the order stops both.
#
#   1  rules, wire, gif      no Qt; the wire may include the rules (card codes
#                            travel in frames), nothing else crosses
#   2  platform              layer 1
#   3  support               layers 1-2
#   4  core                  layers 1-3 (never forms or a subsystem)
#   5  forms                 layers 1-3 (never core)
#   6  table                 layers 1-5: the table window, which every
#                            subsystem draws on; what its events ask of the
#                            subsystems it emits as signals
#   7  items                 layers 1-6
#   8  sound                 layers 1-7 (the sound settings tell the item
#                            library of the game sounds' switch)
#   9  chat, settlement,     layers 1-8, never each other
#      video
#  10  play                  layers 1-9: the play flow, which opens the other
#                            subsystems' windows
#  11  app                   everything; it connects the table window's
#                            signals to the subsystems that answer them
#
# Each folder from core to play is a library of its own (tessaroc_<folder>)
# that links only the libraries below it, so a two-way include between two
# of them cannot build either.
#
# The same check keeps frame bytes in src/wire: no file of another folder
# reads or writes a frame's bytes by position (see _tessaroc_frame_byte_access).
#
# Run as a script: cmake -DTESSAROC_SOURCE_DIR=<src> [-DTESSAROC_STAMP=<file>] -P TessarocLayers.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

set(_tessaroc_subsystems table items sound chat settlement video play)

set(_tessaroc_may_include_rules rules)
set(_tessaroc_may_include_wire rules wire)
set(_tessaroc_may_include_gif gif)
set(_tessaroc_may_include_platform rules wire gif platform)
set(_tessaroc_may_include_support rules wire gif platform support)
set(_tessaroc_may_include_core rules wire gif platform support core)
set(_tessaroc_may_include_forms rules wire gif platform support forms)
set(_tessaroc_below_subsystems rules wire gif platform support core forms)
set(_tessaroc_may_include_table ${_tessaroc_below_subsystems} table)
set(_tessaroc_may_include_items ${_tessaroc_below_subsystems} table items)
set(_tessaroc_may_include_sound ${_tessaroc_below_subsystems} table items sound)
foreach(_folder chat settlement video)
  set(_tessaroc_may_include_${_folder} ${_tessaroc_below_subsystems} table items sound ${_folder})
endforeach()
set(_tessaroc_may_include_play ${_tessaroc_below_subsystems} table items sound chat settlement video play)
set(_tessaroc_may_include_app rules wire gif platform support core forms ${_tessaroc_subsystems} app)

# The folders of src/ (one level), sorted.
function(_tessaroc_src_folders src_dir out_var)
  file(GLOB entries LIST_DIRECTORIES true RELATIVE "${src_dir}" "${src_dir}/*")
  set(folders "")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${src_dir}/${entry}" AND NOT entry MATCHES "^\\.")
      list(APPEND folders ${entry})
    endif()
  endforeach()
  list(SORT folders)
  set(${out_var} ${folders} PARENT_SCOPE)
endfunction()

# Every C++ source and header below src/.
function(tessaroc_layer_sources src_dir out_var)
  file(GLOB_RECURSE files LIST_DIRECTORIES false
       "${src_dir}/*.h" "${src_dir}/*.hpp" "${src_dir}/*.cpp" "${src_dir}/*.cc")
  list(SORT files)
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()

# Frame bytes have one home, src/wire: its codecs turn a frame into a value and
# back. Other code passes whole frames along, sends them, and routes them by
# their command byte (cmd()), but reads and writes no byte by position. These
# catch the ways to do that: the named positions (wire::offset), the frame's
# positional readers and writers, its header writers and the raw header
# readers that have a codec (the seat, kind word and resume value), and
# indexing the frame's byte array. Comments do not count.
set(_tessaroc_frame_byte_access
    "(\\.|->)[ \t]*(byteAt|setByte|[iu](16|32|64)(le|be)|setU(16|32|64)(le|be)|setCmd|seatBit|setSeatBit|kindWord|resumeValue)[ \t]*\\("
    "offset::k[A-Za-z0-9_]*"
    "bytes\\(\\)[ \t]*(\\[|\\.[ \t]*at[ \t]*\\()")

# Appends to out_var every line of a file outside src/wire that reads or
# writes frame bytes, each named by file and line, with its code.
function(_tessaroc_frame_byte_problems src_dir file out_var)
  file(RELATIVE_PATH rel "${src_dir}" "${file}")
  file(READ "${file}" text)
  # Blanking comments keeps the lines where they are.
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  set(lines "")
  foreach(pattern IN LISTS _tessaroc_frame_byte_access)
    set(rest "${text}")
    set(line 1)
    while(TRUE)
      string(REGEX MATCH "${pattern}" found "${rest}")
      if(found STREQUAL "")
        break()
      endif()
      string(FIND "${rest}" "${found}" at)
      string(SUBSTRING "${rest}" 0 ${at} before)
      string(REGEX MATCHALL "\n" breaks "${before}")
      list(LENGTH breaks count)
      math(EXPR line "${line} + ${count}")
      string(SUBSTRING "${rest}" ${at} -1 rest)
      # A line's first find still holds the whole line before it.
      if(NOT DEFINED _tessaroc_code_${line})
        string(REGEX MATCH "[^\n]*$" head "${before}")
        string(REGEX MATCH "^[^\n]*" tail "${rest}")
        string(STRIP "${head}${tail}" _tessaroc_code_${line})
      endif()
      list(APPEND lines ${line})
      string(LENGTH "${found}" length)
      string(SUBSTRING "${rest}" ${length} -1 rest)
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES lines)
  list(SORT lines COMPARE NATURAL)
  set(problems "${${out_var}}")
  foreach(line IN LISTS lines)
    string(APPEND problems "\n  src/${rel}:${line}: ${_tessaroc_code_${line}}")
  endforeach()
  set(${out_var} "${problems}" PARENT_SCOPE)
endfunction()

# Fails with every include of src/ that breaks the layer order, each named by
# file and include, and with every frame byte access outside src/wire, each
# named by file and line.
function(tessaroc_check_layers src_dir)
  _tessaroc_src_folders("${src_dir}" folders)
  set(problems "")
  set(byte_problems "")
  foreach(folder IN LISTS folders)
    if(NOT DEFINED _tessaroc_may_include_${folder})
      string(APPEND problems
             "\n  src/${folder}/ has no place in the layer order (add it to cmake/TessarocLayers.cmake)")
    endif()
  endforeach()

  tessaroc_layer_sources("${src_dir}" files)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH rel "${src_dir}" "${file}")
    string(REGEX MATCH "^[^/]+" folder "${rel}")
    if(folder STREQUAL rel OR NOT DEFINED _tessaroc_may_include_${folder})
      continue()
    endif()
    if(NOT folder STREQUAL "wire")
      _tessaroc_frame_byte_problems("${src_dir}" "${file}" byte_problems)
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]+[\">]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
      # A path relative to the file counts by the folder it lands in.
      if(header MATCHES "^\\.\\./")
        get_filename_component(dir "${file}" DIRECTORY)
        get_filename_component(target "${dir}/${header}" ABSOLUTE)
        file(RELATIVE_PATH target_rel "${src_dir}" "${target}")
      else()
        set(target_rel "${header}")
      endif()
      if(NOT target_rel MATCHES "^([^/.][^/]*)/")
        continue()
      endif()
      set(included "${CMAKE_MATCH_1}")
      if(NOT included IN_LIST folders OR included IN_LIST _tessaroc_may_include_${folder})
        continue()
      endif()
      list(JOIN _tessaroc_may_include_${folder} ", " allowed)
      string(APPEND problems
             "\n  src/${rel} includes \"${header}\": ${folder} may include only ${allowed}")
    endforeach()
  endforeach()

  set(report "")
  if(problems)
    string(APPEND report "The layer order of src/ is broken (see cmake/TessarocLayers.cmake):${problems}\n")
  endif()
  if(byte_problems)
    string(APPEND report "Frame bytes are read or written outside src/wire (use its codecs):${byte_problems}\n")
  endif()
  if(report)
    message(FATAL_ERROR "${report}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND TESSAROC_SOURCE_DIR)
  tessaroc_check_layers("${TESSAROC_SOURCE_DIR}")
  if(TESSAROC_STAMP)
    file(TOUCH "${TESSAROC_STAMP}")
  endif()
endif()
