# Runs the layer check on small source trees, one per case, and compares what
# it says with what the case expects.
#   cmake -DTESSAROC_LAYERS=<TessarocLayers.cmake> -DTESSAROC_TREES=<folder> -P LayerCheckTest.cmake
#
# A case: layer_case(<name> [EXPECT <regex>]... [REJECT <regex>]... [FILE <path below src> <text>]...)
# With no EXPECT the check must pass; with one it must fail and say each
# EXPECT. No REJECT may be said either way.

cmake_minimum_required(VERSION 3.25)

set(failures "")

function(layer_case name)
  set(tree "${TESSAROC_TREES}/${name}/src")
  file(REMOVE_RECURSE "${tree}")
  file(MAKE_DIRECTORY "${tree}")
  set(expect "")
  set(reject "")
  set(i 1)
  # The texts are read one argument at a time: they hold semicolons.
  while(i LESS ARGC)
    set(word "${ARGV${i}}")
    math(EXPR value "${i} + 1")
    if(word STREQUAL "EXPECT")
      list(APPEND expect "${ARGV${value}}")
      math(EXPR i "${i} + 2")
    elseif(word STREQUAL "REJECT")
      list(APPEND reject "${ARGV${value}}")
      math(EXPR i "${i} + 2")
    elseif(word STREQUAL "FILE")
      math(EXPR text "${i} + 2")
      file(WRITE "${tree}/${ARGV${value}}" "${ARGV${text}}")
      math(EXPR i "${i} + 3")
    else()
      message(FATAL_ERROR "case ${name}: unknown word ${word}")
    endif()
  endwhile()

  execute_process(COMMAND ${CMAKE_COMMAND} -DTESSAROC_SOURCE_DIR=${tree} -P ${TESSAROC_LAYERS}
                  RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
  # The message wraps long lines: join them again.
  string(REGEX REPLACE "\n +" " " said "${said}")
  set(wrong "")
  if(expect AND result EQUAL 0)
    string(APPEND wrong " passed but should fail;")
  elseif(NOT expect AND NOT result EQUAL 0)
    string(APPEND wrong " failed but should pass;")
  endif()
  foreach(pattern IN LISTS expect)
    if(NOT said MATCHES "${pattern}")
      string(APPEND wrong " does not say /${pattern}/;")
    endif()
  endforeach()
  foreach(pattern IN LISTS reject)
    if(said MATCHES "${pattern}")
      string(APPEND wrong " says /${pattern}/;")
    endif()
  endforeach()
  if(wrong)
    set(failures "${failures}\n  ${name}:${wrong}\n${said}" PARENT_SCOPE)
  endif()
endfunction()

# --- Includes ----------------------------------------------------------------

layer_case(IncludesDownTheLayersPass
  FILE rules/Cards.h [=[
#pragma once
]=]
  FILE wire/Frame.h [=[
#pragma once
#include "rules/Cards.h"
]=]
  FILE core/Loop.cpp [=[
#include "core/Loop.h"
#include "wire/Frame.h"
#include <vector>
]=])

layer_case(AnIncludeUpTheLayersIsNamed
  EXPECT "src/rules/Cards.cpp includes \"core/Loop.h\""
  FILE rules/Cards.cpp [=[
#include "rules/Cards.h"
#include "core/Loop.h"
]=]
  FILE core/Loop.h [=[
#pragma once
]=])

layer_case(AFolderOutsideTheOrderIsNamed
  EXPECT "src/extras/ has no place in the layer order"
  FILE extras/Thing.cpp [=[
int thing() { return 0; }
]=])

# --- Frame bytes -------------------------------------------------------------

# Whole frames may go anywhere; the command byte routes them.
layer_case(WholeFramesAndTheCommandPass
  FILE core/Send.cpp [=[
#include "wire/MessageFrame.h"
void send(Socket &socket, const wire::MessageFrame &frame)
{
    if (frame.cmd() == wire::CmdChat)
        socket.SendData(std::span<const std::uint8_t>(frame.bytes()));
    const wire::MessageFrame copy = wire::MessageFrame::fromBytes(buffer.data());
    const int seat = state.HandRecords[0].seatBit; // a field, not the frame's
    codec.byteAtEnd = 1;
}
]=])

layer_case(TheWireItselfMayTouchBytes
  FILE wire/ChatFrame.cpp [=[
void pack(MessageFrame &frame)
{
    frame.setByte(offset::kEcho, 1);
    frame.setU32be(236, 272);
    const auto b = frame.bytes()[3];
}
]=])

layer_case(CommentsMayNameBytes
  FILE settlement/Board.cpp [=[
// The stake is frame.byteAt(8) to byteAt(11), see wire::offset::kArg8.
int board() { return 0; } // not frame.setCmd(0)
]=])

# Each way of touching a byte, on a line of its own; the report names the
# file, the line and its code.
layer_case(EachWayOfTouchingBytesIsNamedByLine
  EXPECT "src/core/Poke.cpp:3: const int stake = frame.byteAt\\(8\\)"
  EXPECT "src/core/Poke.cpp:4: frame.setByte\\(260, 1\\)"
  EXPECT "src/core/Poke.cpp:5: held->setCmd\\(0\\)"
  EXPECT "src/core/Poke.cpp:6: frame.setSeatBit\\(seat\\)"
  EXPECT "src/core/Poke.cpp:7: const int from = message.seatBit\\(\\) & 0x0F"
  EXPECT "src/core/Poke.cpp:8: const bool item = message.kindWord\\(\\) == 272"
  EXPECT "src/core/Poke.cpp:9: const int resume = frame.resumeValue\\(\\)"
  EXPECT "src/core/Poke.cpp:10: const auto kind = frame.u32be \\(236\\)"
  EXPECT "src/core/Poke.cpp:11: const auto value = frame.i32le\\(268\\)"
  EXPECT "src/core/Poke.cpp:12: frame.setU64le\\(16, 0\\)"
  EXPECT "src/core/Poke.cpp:13: std::size_t at = offset::kArg11"
  EXPECT "src/core/Poke.cpp:14: const int ready = frame.bytes\\(\\)\\[15\\]"
  EXPECT "src/core/Poke.cpp:15: const int again = frame.bytes\\(\\).at\\(15\\)"
  EXPECT "src/core/Poke.cpp:17: \\. *u16le\\(260\\)"
  REJECT "Poke.cpp:(1|2|16|18):"
  FILE core/Poke.cpp [=[
void poke(wire::MessageFrame &frame, const wire::MessageFrame &message)
{
    const int stake = frame.byteAt(8);
    frame.setByte(260, 1);
    held->setCmd(0);
    frame.setSeatBit(seat);
    const int from = message.seatBit() & 0x0F;
    const bool item = message.kindWord() == 272;
    const int resume = frame.resumeValue();
    const auto kind = frame.u32be (236);
    const auto value = frame.i32le(268);
    frame.setU64le(16, 0);
    std::size_t at = offset::kArg11;
    const int ready = frame.bytes()[15];
    const int again = frame.bytes().at(15);
    const int echo = frame
                             . u16le(260);
}
]=])

# Two hits on one line make one report; every folder but the wire counts.
layer_case(EveryFolderButTheWireIsChecked
  EXPECT "src/settlement/Stake.cpp:1: int stake = f.byteAt\\(8\\) \\+ f.byteAt\\(9\\)"
  EXPECT "src/app/Main.cpp:2: { return static_cast<int>\\(wire::offset::kEcho\\)"
  EXPECT "Frame bytes are read or written outside src/wire"
  REJECT "Stake.cpp:1:.*Stake.cpp:1:"
  REJECT "src/wire/"
  FILE settlement/Stake.cpp [=[
int stake = f.byteAt(8) + f.byteAt(9);
]=]
  FILE app/Main.cpp [=[
int main()
{ return static_cast<int>(wire::offset::kEcho); }
]=]
  FILE wire/Codec.cpp [=[
int read(const MessageFrame &f) { return f.byteAt(8); }
]=])

if(failures)
  message(FATAL_ERROR "The layer check said otherwise than expected:${failures}")
endif()
