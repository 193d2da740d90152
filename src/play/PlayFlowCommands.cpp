// What the server's deal and play announcements ask of the play flow.
#include "play/PlayFlowService.h"

namespace tessaroc::play {

void PlayFlowService::FaPai(const core::DealtHand &hand)
{
    deal_.FaPai(hand);
}

void PlayFlowService::DiPaiAnimation(int p)
{
    deal_.DiPaiAnimation(p);
}

void PlayFlowService::SortHandByFace(int p, int n)
{
    sorting_.SortHandByFace(p, n);
}

void PlayFlowService::SortHandByGroup(int p, int n)
{
    sorting_.SortHandByGroup(p, n);
}

void PlayFlowService::ShowCardFace(int pos, int index, rules::CardCode code)
{
    pictures_.ShowCardPicture(pos, index, CardPictureNo(code));
}

void PlayFlowService::ShowCardPicture(int pos, int index, int pictureNo)
{
    pictures_.ShowCardPicture(pos, index, pictureNo);
}

void PlayFlowService::ShowChuPai(const core::AnnouncedPlay &play)
{
    announced_.ShowChuPai(play);
}

} // namespace tessaroc::play
