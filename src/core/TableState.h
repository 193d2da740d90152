#pragma once

#include "core/CommandState.h"
#include "core/MainLoopState.h"
#include "rules/CardCode.h"
#include "rules/CardRulesState.h"
#include "support/LayoutScale.h"
#include "support/PictureIds.h"

#include <array>
#include <cstdint>

namespace tessaroc::core {

// The state the client core owns: the turn and hand flags, the counters of
// the dispatcher and the main loop, and the toolbar's held buttons.
struct CoreState
{
    std::int16_t LandlordPos = -1; // display position of the landlord, -1 while there is none
    bool BidClockOn = false;
    std::int16_t TickPhase = 0; // the bid clock's tick counter, 0..19
    std::int16_t BidFrameCount = 0; // bid-turn messages received in the hand
    std::int16_t PlayFrameCount = 0; // play messages received in the hand
    std::int16_t PlayCounter = 0; // announced plays since the table was cleared
    bool HandOver = false; // the hand result has arrived
    // The seat whose play bubble the main loop hides; written by the bid
    // turn and by core::ApplyAnnouncedPlay.
    std::int16_t BubbleSeat = 0;
    std::int16_t ReconnectTries = 0;
    std::int16_t ReconnectCountdown = 0;
    bool MingXiDocked = false; // the hover-off surfaces may hide the task window
    bool LeaveAfterSettlement = false;
    std::int16_t ResultPhase = 0; // 1 settlement held back, 2 shown, 0 none
    // Per toolbar button: held down. The ready button AnNiu(2) ignores presses
    // while it is held.
    std::array<bool, 9> ButtonDown{};
    bool TableHidden = false; // the full F1 auto mode hid the table
    bool AutoModeKey = false;
    bool AutoMode = false;
    std::int16_t TurnSeconds = 15;
    std::int16_t TimeoutCount = 0;
    bool CameraSkipped = true; // the play layout does not start the own camera
    bool VideoAllowed = false;
    bool RuleSetFlag = false;
    std::int32_t WealthDouble = 0; // not 0 while the wealth multiplier is in force
    std::array<std::int32_t, 4> Wealth{};
};

// The table window's own values: the layout scale, the hand line and the
// hover flags of its picture buttons.
struct TableWindowState
{
    // ScaleX and ScaleY, set once by the start-up before any layout runs.
    support::LayoutScale scale;
    // Top of an unraised own card, 565 x ScaleY rounded; 0 until the table is
    // first cleared.
    std::int16_t HandLine = 0;
    std::array<bool, 9> ButtonFlag{}; // toolbar AnNiu(i) shows its hover picture
    std::array<bool, 6> OperationFlag{}; // action button Operation(i) shows its hover picture
    std::array<bool, 2> TanOperationFlag{}; // choice button tanOperation(i) likewise
    bool RenWuHover = false; // the task icon shows its hover picture
    // No bid button shows its hover picture (armed); false while one may.
    bool BidButtonHover = false;
    std::int16_t BidHoverPicture = 0; // last hover picture put on a bid button
    bool BankHover = false; // the bank icon shows its hover picture
    bool Word1Hover = false; // imgword1 shows its hover picture
    bool Word2Hover = false; // imgword2 likewise
    // The first web panel reported a navigation error: it stays hidden for
    // the rest of the run. AdPanel2Failed likewise for the second.
    bool AdPanel1Failed = false;
    bool AdPanel2Failed = false;
    bool TanHover = false;
    // Both caption buttons show their normal pictures.
    bool CaptionButtonsIdle = true;
    // Per display position the voice set (1..4) of the quick-phrase sounds.
    std::array<std::int16_t, 4> VoiceSet{};
};

// The trick state, per display position. Only the functions of
// core/HandEvents.h write it: the hand's events through their Apply functions
// (the announced plays, the own turn, the own play sent, the hand's results
// taking the plays off the table) and the table's reset through ClearTricks.
// The play flow, the table window and the settlement read it. The bid row
// (BidRowPos, BidRowOn) and the revealed hands' fan counts (BackFanCount) are
// the table's reset's alone.
struct PlayState
{
    // Column 33 holds the count of the picture indexes in columns 0..32.
    static constexpr int kCountColumn = rules::kMaxHandCards;
    using CardPictureRow = std::array<std::int16_t, rules::kMaxHandCards + 1>;
    std::array<CardPictureRow, 4> TableCards{}; // the seat's current play
    std::array<CardPictureRow, 4> PrevTableCards{}; // the seat's previous play

    // Bombs per seat, face and size: sizes 5..9 (9 stands for the four
    // jokers) are stored at entries 0..4.
    static constexpr int kSmallestBomb = 5;
    static constexpr int kBombSizes = 5;
    using BombsByFace = std::array<std::array<std::int16_t, kBombSizes>, rules::kFaceBigJoker>;
    std::array<BombsByFace, 4> BombCount{};
    std::array<std::int16_t, 4> SeatBombCount{}; // big bombs per seat

    // Cards played so far by display positions 1..3 (entries 0..2).
    std::array<std::int16_t, 3> BackCount{};
    // The display position of the last announced play, the own included.
    std::int16_t RevealSkipPos = 0;
    std::int16_t BidRowPos = 0;
    // The rule variant's board shows the bid row at BidRowPos; while it is
    // on, the other seats' hands lie open and their plays come out of them.
    bool BidRowOn = false;
    // Display positions 1..3 (entries 0..2): the picture of an open hand's
    // card in slot w is entry - w of the seat's row.
    std::array<std::int16_t, 3> BackFanCount{};
};

// What the settlement keeps across hands.
struct SettlementState
{
    std::int32_t JuNum = 0; // finished hands at this table
    std::array<std::array<std::int16_t, 3>, 4> TaskCount{};
    std::int16_t TaskType = 0;
};

// The switches of the sound settings. Every start has them all on and the
// table green; nothing is stored between runs. A failing sound device clears
// VoiceOn, which then also marks the device as unusable.
struct SoundSwitches
{
    bool MusicOn = true; // the background loop
    bool EffectsOn = true; // the game's effects
    bool VoiceOn = true; // the chat voices and the clocks' warning tick
    bool TableColour = false; // true: the blue table, false: the green one
    bool operator==(const SoundSwitches &) const = default;
};

// Everything the subsystems share, grouped by the subsystem that owns it. The
// client object owns one and hands it to each subsystem by reference.
struct TableState
{
    // The play to beat and the hands' cards change with the hand's events in
    // core/HandEvents.h and with the own play in rules::ApplyOwnPlay. Beyond
    // those, the play flow's sorting reorders a hand, the settlement turns up
    // the cards left, and the play flow and the table's reset place the rows
    // (rowX, rowY).
    rules::CardRulesState rules;
    CoreState core;
    support::PictureIds pictures;
    TableWindowState table;
    PlayState play;
    SettlementState settlement;
    SoundSwitches sound;
    MainLoopState loop;
    CommandState commands;
    std::int16_t gamedllstate = 0; // the item library runs while above 0
    bool VideoOn = false; // own video available
};

} // namespace tessaroc::core
