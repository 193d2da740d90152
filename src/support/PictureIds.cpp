#include "support/PictureIds.h"

namespace tessaroc::support {

namespace {

QString text(int id)
{
    return QString::number(id);
}

// The card face of picture number n at the reduced scale. Within a suit the
// reduced faces run A, two, 3 .. K from 301 + 13 x suit.
int reducedCardId(int face, int suit)
{
    if (face <= 13)
        return 300 + 13 * suit + face;
    return 287 + 13 * suit + face;
}

void fillCards(std::array<QString, 64> &cards, bool large)
{
    for (QString &entry : cards)
        entry.clear();
    for (int suit = 0; suit < 4; ++suit) {
        for (int face = 3; face <= 15; ++face) {
            const int number = face + 16 * suit;
            cards[static_cast<std::size_t>(number)]
                    = text(large ? number : reducedCardId(face, suit));
        }
    }
    // The jokers and the card back sit under suit 0.
    cards[16] = text(large ? 16 : 353);
    cards[17] = text(large ? 17 : 354);
    cards[18] = text(18);
}

} // namespace

void InitPictureIds(PictureIds &ids, float ScaleX)
{
    const bool large = ScaleX == 1.0f;
    fillCards(ids.CardPictureIds, large);
    for (int i = 0; i < 20; ++i)
        ids.ButtonPic[static_cast<std::size_t>(i)] = text(large || i < 2 ? 150 + i : 281 + i);
    for (int i = 0; i < 8; ++i)
        ids.DialogButtonPic[static_cast<std::size_t>(i)] = text(170 + i);
    for (int i = 0; i < 15; ++i)
        ids.OperationPic[static_cast<std::size_t>(i)] = text(178 + i);
    for (QString &entry : ids.SpeakPic)
        entry.clear();
    const int speak[] = {882, 883, 884, 381, 382, 383};
    for (int i = 0; i < 6; ++i)
        ids.SpeakPic[static_cast<std::size_t>(27 + i)] = text(speak[i]);
    for (int i = 0; i < 20; ++i)
        ids.AvatarPic[static_cast<std::size_t>(i)] = text(240 + i);
    for (int i = 0; i < 4; ++i)
        ids.ReadyMarkPic[static_cast<std::size_t>(i)] = text(280 + i);
    for (int i = 0; i < 13; ++i)
        ids.VideoIconPic[static_cast<std::size_t>(i)] = text(850 + i);
    for (int i = 0; i < 6; ++i)
        ids.VideoBackPic[static_cast<std::size_t>(i)] = text(870 + i);
}

std::int16_t pictureId(const QString &entry)
{
    bool ok = false;
    const short id = entry.trimmed().toShort(&ok);
    return ok ? id : std::int16_t{0};
}

} // namespace tessaroc::support
