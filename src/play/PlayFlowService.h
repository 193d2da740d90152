#pragma once

#include "core/services/PlayFlow.h"
#include "play/CardPictures.h"
#include "play/Deal.h"
#include "play/Effects.h"
#include "play/Fans.h"
#include "play/ShowChuPai.h"
#include "play/Sorting.h"
#include "rules/JudgeChuPai.h"

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::forms {
class Image;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// The play flow as the client core reaches it: the own card pictures on the
// hand line, the own play judged and sent, and the F1 auto mode. The
// portrait handlers belong to the table's players' cards, which are not here
// yet.
class PlayFlowService final : public core::services::PlayFlow
{
public:
    PlayFlowService(table::MainForm &form, core::CoreContext &context);

    void LowerOwnCard(int picIndex) override;
    void RaiseOwnCard(int picIndex) override;
    void JudgeChuPai() override;
    void Pic1_KeyDown(int keyCode, int shift) override;
    void Tou_Click(int seat) override;
    void Tou_MouseMove(int seat) override;

    void FaPai(const wire::MessageFrame &frame) override;
    void DiPaiAnimation(int p) override;
    void SortHandByFace(int p, int n) override;
    void ShowCardPicture(int pos, int index, int pictureNo) override;
    void ShowChuPai(const wire::MessageFrame &frame) override;

    // The own hand by groups, as the sort button and the own play ask.
    void SortHandByGroup(int p, int n);
    // The card faces of the table and the sorting of a hand, for the
    // play flow's other parts.
    CardPictures &cardPictures() { return pictures_; }
    HandSorting &sorting() { return sorting_; }
    PlayEffects &effects() { return effects_; }
    BackFans &fans() { return fans_; }
    AnnouncedPlays &announcedPlays() { return announced_; }

    static constexpr int kF1 = 112;

private:
    forms::Image *ownCard(int picIndex) const;
    // The own play sent: it becomes the play to beat and its cards leave
    // the hand; the turn is over.
    void sendOwnPlay(const rules::OwnPlayDecision &decision);
    void endOwnTurn();

    table::MainForm &form_;
    core::CoreContext &c_;
    CardPictures pictures_;
    HandSorting sorting_;
    Deal deal_;
    PlayEffects effects_;
    BackFans fans_;
    AnnouncedPlays announced_;
};

} // namespace tessaroc::play
