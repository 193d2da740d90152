#include "play/Effects.h"

#include "core/CoreContext.h"
#include "play/PlaySounds.h"
#include "rules/PlayKind.h"
#include "sound/SoundFiles.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"

namespace tessaroc::play {

namespace {

// The bubbles' entries in the bubble picture table: the four jokers at seat
// p take entry 26 + p, the bombs of four to eight 29 + p.
constexpr int kJokerBubbleBase = 26;
constexpr int kBombBubbleBase = 29;

} // namespace

PlayEffects::PlayEffects(table::MainForm &form, core::CoreContext &context)
    : form_(form)
    , c_(context)
{ }

void PlayEffects::ShowBombBubble(int pos, int kind)
{
    if (pos < 1 || pos > 3)
        return;
    int entry;
    if (kind >= rules::KindBomb4 && kind <= rules::KindBomb8)
        entry = kBombBubbleBase + pos;
    else if (kind == rules::KindFourJokers)
        entry = kJokerBubbleBase + pos;
    else
        return;
    forms::Image &bubble = form_.messages.Speak(pos);
    table::loadPicture(bubble, c_.state.pictures.SpeakPic[static_cast<std::size_t>(entry)]);
    bubble.setVisible(true);
    bubble.ZOrder(0);
}

void PlayEffects::PlayBombAnimation(int kind)
{
    const int picture = BombPicture(
            kind, [this] { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); });
    if (picture != 0)
        ShowBomb(picture);
}

void PlayEffects::ShowBomb(int picture)
{
    forms::ucAniGIF &bomb = form_.effects.bombPlayer;
    bomb.setVisible(false);
    const QByteArray bytes = support::PictureStore::resourceBytes(picture);
    bomb.setVisible(true);
    bomb.ZOrder(0);
    bomb.LoadAnimatedGIF_Array(bytes);
    bomb.setLoops(1);
}

void PlayEffects::PlayKindSound(int kind)
{
    const KindSound sound = KindSoundOf(kind);
    if (sound.file.empty())
        return;
    if (sound.gameFolder)
        playGameSound(c_, sound.file);
    else
        playSharedEffect(c_, sound.file);
}

KindSound KindSoundOf(int kind)
{
    switch (kind) {
    case rules::KindBomb5:
    case rules::KindBomb6:
    case rules::KindBomb7:
    case rules::KindBomb8:
        return {sound::files::kBomb};
    case rules::KindFourJokers:
        return {sound::files::kFourJokers};
    case rules::KindSingle:
    case rules::KindPair:
    case rules::KindTriple:
    case rules::KindTripleWithPair:
    case rules::KindBomb4:
        return {sound::files::kPlainPlay};
    case rules::KindTripleChain:
    case rules::KindPlaneWithPairs:
    case rules::KindPlaneWithPairsAlt:
        return {sound::files::kPlane, true};
    case rules::KindPairChain:
        return {sound::files::kPairChain, true};
    default:
        return {};
    }
}

} // namespace tessaroc::play
