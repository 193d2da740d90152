#include "play/CardPictures.h"

#include "core/CoreContext.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"
#include "table/Rounding.h"

namespace tessaroc::play {

forms::ControlArray<forms::Image> *cardGroup(table::MainForm &form, int pos)
{
    return pos >= 0 && pos <= 3 ? &form.hands.cardRow(pos) : nullptr;
}

bool isRefusedPictureNo(int number)
{
    if (number > 127)
        return true;
    // The row is the number divided by 16 toward zero and the nibble its low
    // four bits, as the number's two's complement has them: a negative number
    // lies in row 0 or above -16 and is not refused here (it has no picture).
    const int nibble = number & 15;
    const int row = number / 16;
    if (nibble > 2)
        return false;
    return row == 0 || row == 2 || row == 3 || row == 4 || row == 6 || row == 7;
}

bool hasCardPicture(const support::PictureIds &ids, int number)
{
    if (isRefusedPictureNo(number) || number < 0
        || number >= static_cast<int>(ids.CardPictureIds.size()))
        return false;
    return support::pictureId(ids.CardPictureIds[static_cast<std::size_t>(number)]) != 0;
}

CardPictures::CardPictures(table::MainForm &form, core::CoreContext &context)
    : form_(form)
    , c_(context)
{ }

bool CardPictures::loadCardFace(forms::Image &image, int number)
{
    const support::PictureIds &ids = c_.state.pictures;
    if (!hasCardPicture(ids, number))
        return false;
    const std::int16_t id = support::pictureId(ids.CardPictureIds[static_cast<std::size_t>(number)]);
    return support::LoadGifResource(id, u"GIF", &image) != 0;
}

void CardPictures::ShowCardPicture(int pos, int index, int number)
{
    if (isRefusedPictureNo(number)) {
        // A number no card can have means the hand cannot be trusted: the
        // table goes out of sight and the hall comes back (without a hall
        // the program ends there).
        c_.window.Minimise();
        c_.hall.RestoreHall();
        return;
    }
    forms::ControlArray<forms::Image> *group = cardGroup(form_, pos);
    if (!group)
        return;
    if (forms::Image *card = group->find(index))
        loadCardFace(*card, number);
}

void CardPictures::ShowShownCard(int pos, int show)
{
    forms::Image *card = form_.hands.ImgLPai.find(pos);
    if (!card)
        return;
    if (show == -1) {
        loadCardFace(*card, c_.state.commands.ShownCard);
        card->setVisible(true);
    } else {
        card->setVisible(false);
    }
}

bool LoadPictureInto(int resourceId, QStringView resourceType, forms::Image &image,
                     std::optional<double> left)
{
    if (resourceId < INT16_MIN || resourceId > INT16_MAX)
        return false;
    if (support::LoadGifResource(static_cast<std::int16_t>(resourceId), resourceType, &image) == 0)
        return false;
    if (left)
        image.setLeft(table::roundToInt16(*left));
    return true;
}

} // namespace tessaroc::play
