#pragma once

#include "core/services/PlayFlow.h"
#include "play/CardPictures.h"
#include "play/Deal.h"
#include "play/Effects.h"
#include "play/Fans.h"
#include "play/IllegalPlayNotice.h"
#include "play/PlayWindows.h"
#include "play/ShowChuPai.h"
#include "play/Sorting.h"
#include "rules/JudgeChuPai.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

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

// The play flow as the client core reaches it, and the table's input: the
// own card pictures and the selection, the action, bid and toolbar buttons,
// the keys and the auto mode, the own play judged, sent and shown.
class PlayFlowService final : public QObject, public core::services::PlayFlow
{
public:
    PlayFlowService(table::MainForm &form, core::CoreContext &context,
                    const PlaySubsystems &subsystems);
    ~PlayFlowService() override;

    void LowerOwnCard(int picIndex) override;
    void RaiseOwnCard(int picIndex) override;
    void JudgeChuPai() override;
    void Pic1_KeyDown(int keyCode, int shift) override;
    void Tou_Click(int seat) override;
    void Tou_MouseMove(int seat) override;

    void FaPai(const core::DealtHand &hand) override;
    void DiPaiAnimation(int p) override;
    void SortHandByFace(int p, int n) override;
    void ShowCardFace(int pos, int index, rules::CardCode code) override;
    void ShowCardPicture(int pos, int index, int pictureNo);
    void ShowChuPai(const core::AnnouncedPlay &play) override;
    // The own hand by groups, as the sort button and the own play ask.
    void SortHandByGroup(int p, int n);

    // The card faces of the table and the sorting of a hand, for the
    // play flow's other parts.
    CardPictures &cardPictures() { return pictures_; }
    HandSorting &sorting() { return sorting_; }
    PlayEffects &effects() { return effects_; }
    BackFans &fans() { return fans_; }
    AnnouncedPlays &announcedPlays() { return announced_; }

    // --- The table's input (Selection.cpp, Buttons.cpp, Toolbar.cpp, Keys.cpp)
    // Mouse buttons: 1 left, 2 right; every other value is ignored.
    void cardImage0_MouseDown(int index, int button, int shift, double x, double y);
    void Pic1_MouseDown(int button, int shift, double x, double y);
    void bombPlayer_MouseDown(int button, int shift, double x, double y);
    void Pic2_MouseDown(int button, int shift, double x, double y);

    // Operation(0..5): play, hint, pass, sort, previous trick, lower all.
    enum OperationIndex : int {
        OpPlay = 0,
        OpHint = 1,
        OpPass = 2,
        OpSort = 3,
        OpPrevTrick = 4,
        OpLowerAll = 5
    };
    void Operation_Click(int index);
    void Timerformer_Timer();
    // btnJiaofen(0..3): 0 call, 1 no call. tanOperation(0..1): the choice.
    void btnJiaofen_Click(int index);
    void tanOperation_Click(int index);

    // AnNiu(0..8): chat, chat window, ready, sound, hide, score board, hall
    // of fame, information page, leave.
    enum ToolbarIndex : int {
        BtnChat = 0,
        BtnTalk = 1,
        BtnReady = 2,
        BtnSound = 3,
        BtnHide = 4,
        BtnScore = 5,
        BtnHero = 6,
        BtnWeb = 7,
        BtnExit = 8
    };
    void AnNiu_Click(int index);

    // Key codes as the window reports them; the shift state is not read.
    static constexpr int kEsc = 27;
    static constexpr int kAlt = 18;
    static constexpr int kKeyC = 67;
    static constexpr int kF1 = 112;
    static constexpr int kF6 = 117;
    void Form_KeyDown(int keyCode, int shift);
    void Pic2_KeyDown(int keyCode, int shift);
    void pic3_KeyDown(int keyCode, int shift);
    void pic4_KeyDown(int keyCode, int shift);

    // The illegal-play notice ChuPai.
    IllegalPlayNotice &ChuPai() { return chuPai_; }
    // The other subsystems' windows; the play flow starts on the table's.
    void setWindows(PlayWindows &windows) { windows_ = &windows; }
    PlayWindows &windows() { return *windows_; }
    // The table's own windows, which the play flow starts on.
    TablePlayWindows &tableWindows() { return *tableWindows_; }
    // The random number in [0, 1) that picks one of the two explosions of
    // five and six of a face.
    void setRandom(std::function<double()> random) { random_ = std::move(random); }

    // The address of the game's information page.
    static const QString kGameInfoPage;

private:
    forms::Image *ownCard(int picIndex) const;
    // An effect of the shared folder (pk) or of the game's own folder,
    // played while game sounds are on and, where asked, the window is not
    // minimised.
    void playPkEffect(std::string_view file, bool unlessMinimised);
    void playGameEffect(std::string_view file, bool unlessMinimised);
    void playEffect(const QString &path, bool unlessMinimised);
    // The play clock stopped and hidden.
    void stopPlayClock();
    // Operation(0..2) disabled with their normal pictures.
    void resetActionButtons();
    // The own turn over: the play clock stopped, the hand inactive, and the
    // play, hint and pass buttons hidden and reset.
    void closeTurnButtons();
    void lowerRaisedCards();
    void hint();
    void showLastTrick(bool previous);
    // The own play shown after it was sent (JudgeShow.cpp).
    void showOwnPlay(const rules::OwnPlayDecision &decision, double random);
    void showNotice(bool toFront);
    void connectInput();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void F1Full(bool pic2);
    void F1Short(bool pic3);
    // Tells the running item library that a toolbar button or Esc was
    // pressed, or passes it a key.
    void bankStateToLibrary();
    void keyToLibrary(int keyCode);

    table::MainForm &form_;
    core::CoreContext &c_;
    PlaySubsystems subsystems_;
    CardPictures pictures_;
    HandSorting sorting_;
    Deal deal_;
    PlayEffects effects_;
    BackFans fans_;
    AnnouncedPlays announced_;
    IllegalPlayNotice chuPai_;
    std::unique_ptr<TablePlayWindows> tableWindows_;
    PlayWindows *windows_;
    std::function<double()> random_;
};

} // namespace tessaroc::play
