#pragma once

#include "wire/MessageFrame.h"

#include "rules/CardCode.h"

namespace tessaroc::core {
struct AnnouncedPlay;
struct DealtHand;
} // namespace tessaroc::core

namespace tessaroc::core::services {

// What the client core asks of the play flow: the own card pictures, the own
// play, and the table's handlers that the item library may trigger.
class PlayFlow
{
public:
    virtual ~PlayFlow() = default;

    // The own card picture cardImage0(picIndex) put down on the hand line
    // when it is raised, or raised above it.
    virtual void LowerOwnCard(int picIndex) = 0;
    virtual void RaiseOwnCard(int picIndex) = 0;
    // The own play with the raised cards, as the play button makes it.
    virtual void JudgeChuPai() = 0;
    // The table's key handler (F1 is 112) and the portrait click and hover.
    virtual void Pic1_KeyDown(int keyCode, int shift) = 0;
    virtual void Tou_Click(int seat) = 0;
    virtual void Tou_MouseMove(int seat) = 0;

    // The hand-start deal, applied to the hand's state: the own cards laid
    // out, the deal animation run, the fans put up.
    virtual void FaPai(const DealtHand &hand) = 0;
    // The eight bottom cards fly to the seat at display position p.
    virtual void DiPaiAnimation(int p) = 0;
    virtual void SortHandByFace(int p, int n) = 0;
    // Card picture `index` of the seat's row shows the face of `code`.
    virtual void ShowCardFace(int pos, int index, rules::CardCode code) = 0;
    // A seat's announced play, applied to the hand's state: its cards laid
    // out and slid in, its rows retired, its effects.
    virtual void ShowChuPai(const AnnouncedPlay &play) = 0;
};

} // namespace tessaroc::core::services
