#pragma once

#include "wire/MessageFrame.h"

#include <bitset>
#include <stdexcept>
#include <string>
#include <string_view>

// Frames written as readable items, for scripts and tests, e.g.
//
//   "cmd=CmdPlayed seat=1 b11=8 b15=1 b17=0 b255=20"
//
// Items, separated by blanks:
//   cmd=N              byte 3: a number or a command name (CmdDeal, CmdPlay...)
//   seat=N             byte 6
//   bP=N               byte P (decimal position)
//   [P]=hh,hh,...      bytes from P in hexadecimal: the notation describe()
//                      prints, so a printed frame reads back
//   le16@P=N  le32@P=N  be32@P=N  le64@P=N
//                      numbers in their byte order
//   text@P="..."       text as GBK bytes (written as UTF-8 here) followed by a
//                      zero byte
//   ids@P=a,b,...      one byte per card id (the ids of a play)
//   cards@P=F/S/I,...  4-byte card codes: face / suit bit / id
// Numbers are decimal or 0x hexadecimal. As a pattern, a description matches
// a frame that holds every byte it names; the other bytes may be anything.
namespace tessaroc::tableserver {

class FrameSpecError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct FrameSpec
{
    wire::MessageFrame frame;
    std::bitset<wire::kFrameSize> named; // the bytes the description sets
};

// Throws FrameSpecError with the offending item on a malformed description.
FrameSpec parseFrameSpec(std::string_view description);
wire::MessageFrame frameFrom(std::string_view description);

// Whether the frame holds every byte the pattern names; on a mismatch why
// (when given) lists the differing bytes.
bool matchesSpec(const wire::MessageFrame &frame, const FrameSpec &pattern,
                 std::string *why = nullptr);

// The whole frame as 17 rows of 16 hexadecimal bytes.
std::string hexDump(const wire::MessageFrame &frame);

// "CmdPlayed" for 6; the number for codes without a name.
std::string commandName(std::uint8_t cmd);

} // namespace tessaroc::tableserver
