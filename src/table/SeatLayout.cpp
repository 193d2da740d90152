#include "table/MainForm.h"

#include "core/TableState.h"
#include "forms/Fonts.h"
#include "support/PictureStore.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

using forms::LayoutScale;

struct Point
{
    double left;
    double top;
};

// Per display position 0 (bottom), 1 (left), 2 (top), 3 (right).
constexpr Point kAvatars[] = {{10, 668}, {7, 15}, {350, 15}, {693, 15}};
constexpr Point kNames[] = {{181, 701}, {165, 15}, {509, 15}, {852, 15}};
constexpr Point kCoins[] = {{181, 725}, {165, 40}, {509, 40}, {852, 40}};
constexpr Point kLevels[] = {{181, 745}, {165, 64}, {509, 64}, {852, 64}};
constexpr Point kReadyMarks[] = {{460, 630}, {60, 280}, {460, 115}, {900, 280}};
constexpr Point kFirstMarks[] = {{460, 630}, {60, 280}, {460, 88}, {900, 280}};
// The video frames of positions 1..3: their Tops are 3 unscaled, and the left
// frame's Left is 0 unscaled.
constexpr double kFrameLefts[] = {0, 0, 342, 685};
constexpr double kVideoButtonLefts[] = {0, 32, 390, 720};

// Avatars: the own one is larger than the other three.
void layoutAvatars(SeatPanels &seats, LayoutScale s)
{
    forms::ControlArray<forms::Image> &Tou = seats.Tou;
    Tou(0).Move(s.x(kAvatars[0].left), s.y(kAvatars[0].top), s.x(85), s.y(90));
    Tou(0).setVisible(true);
    Tou(0).ZOrder(0);
    for (int p = 1; p <= 3; ++p) {
        Tou.Load(p);
        Tou(p).setWidth(s.x(70));
        Tou(p).setHeight(s.y(62));
    }
    for (int p = 1; p <= 3; ++p) {
        Tou(p).Move(s.x(kAvatars[p].left), s.y(kAvatars[p].top));
        Tou(p).setVisible(true);
        Tou(p).ZOrder(0);
    }
}

// The video of the seats: frames, the name strips beside them, the views in
// the frames, the video buttons and the panel buttons on the strips.
void layoutVideo(SeatPanels &seats, LayoutScale s)
{
    forms::ControlArray<forms::Image> &frame = seats.ImgKuang;
    WindowedArray<forms::Surface> &strip = seats.PicLocal;
    for (int p = 1; p <= 3; ++p) {
        const double left = p == 1 ? kFrameLefts[p] : s.x(kFrameLefts[p]);
        frame(p).Move(left, 3, s.x(126), s.y(105));
        frame(p).setVisible(false);
    }
    strip(0).Move(strip(0).Left(), s.y(742), s.x(87), s.y(17));
    for (int p = 1; p <= 3; ++p)
        strip(p).Move(strip(p).Left(), s.y(88), s.x(145), s.y(17));
    strip(0).setLeft(s.x(9));
    for (int p = 1; p <= 3; ++p)
        strip(p).setLeft(frame(p).Left() + frame(p).Width());
    for (int p = 0; p <= 3; ++p)
        strip(p).setVisible(false);
    for (int p = 1; p <= 3; ++p)
        seats.ImgShow(p).setVisible(false);

    // Views inset by 5 in their frames. The frames all have one height, and
    // the inset of the height is taken with the horizontal scale.
    for (int p = 1; p <= 3; ++p) {
        Windowed<platform::VideoView> &view = seats.vshow(p);
        view->Option1 = true;
        view.setTop(frame(p).Top() + s.y(5));
        view.setLeft(frame(p).Left() + s.x(5));
        view.setWidth(frame(p).Width() - s.x(10));
        view.setHeight(frame(p).Height() - s.x(10));
        view.setVisible(false);
    }

    for (int p = 1; p <= 3; ++p)
        seats.ImgShow(p).Move(s.x(kVideoButtonLefts[p]), s.y(80), s.x(16), s.y(14));

    // The panel buttons take the pointing hand of the first; on the reduced
    // table they shrink inside their shrunken strips.
    forms::ControlArray<forms::Image> &ImCmd = seats.ImCmd;
    for (int i = 1; i <= 15; ++i) {
        ImCmd(i).setMouseIcon(ImCmd(0).MouseIcon());
        ImCmd(i).setMousePointer(ImCmd(0).mousePointer());
    }
    if (s.isReduced()) {
        for (int i = 0; i <= 15; ++i) {
            forms::Image &button = ImCmd(i);
            button.setStretch(true);
            button.Move(s.x(button.Left()), s.y(button.Top()), s.x(button.Width()),
                        s.y(button.Height()));
        }
    }
}

// Toolbar: the send button alone, the other eight in two rows of four. Every
// button starts up and plain, but the ready button starts held down.
void layoutToolbar(Toolbar &toolbar, const support::PictureIds &pictures, core::CoreState &core,
                   core::TableWindowState &table, LayoutScale s)
{
    forms::ControlArray<forms::Image> &AnNiu = toolbar.AnNiu;
    for (int i = 1; i <= 8; ++i) {
        AnNiu.Load(i).setVisible(true);
        AnNiu(i).ZOrder(0);
    }
    for (int i = 0; i <= 8; ++i) {
        core.ButtonDown[static_cast<std::size_t>(i)] = false;
        table.ButtonFlag[static_cast<std::size_t>(i)] = false;
        AnNiu(i).setWidth(s.x(i == 0 ? 50 : 60));
        AnNiu(i).setHeight(s.y(30));
        // The ready button's second pair (entries 6 and 7) is for later.
        const int entry = i <= 2 ? 2 * i : 2 * i + 2;
        loadPicture(AnNiu(i), pictures.ButtonPic[static_cast<std::size_t>(entry)]);
    }
    core.ButtonDown[2] = true;
    AnNiu(0).Move(s.x(575), s.y(730));
    AnNiu(1).Move(s.x(648), s.y(700));
    for (int i : {2, 3, 4})
        AnNiu(i).Move(AnNiu(i - 1).Left() + s.x(70), AnNiu(i - 1).Top());
    AnNiu(5).Move(AnNiu(1).Left(), AnNiu(1).Top() + s.y(33));
    for (int i : {6, 7, 8})
        AnNiu(i).Move(AnNiu(i - 1).Left() + s.x(70), AnNiu(i - 1).Top());
}

// Names, coins and levels.
void layoutSeatTexts(SeatPanels &seats, LayoutScale s)
{
    for (int p = 1; p <= 3; ++p) {
        for (auto *group : {&seats.Nid, &seats.Cash, &seats.Level})
            group->Load(p).setVisible(true);
    }
    if (s.isReduced()) {
        for (int p = 0; p <= 3; ++p) {
            if (p > 0)
                forms::setFontSize(seats.Cash(p), 8);
            forms::setFontSize(seats.Level(p), 8);
        }
    }
    for (int p = 0; p <= 3; ++p) {
        seats.Nid(p).Move(s.x(kNames[p].left), s.y(kNames[p].top));
        seats.Cash(p).Move(s.x(kCoins[p].left), s.y(kCoins[p].top));
        seats.Level(p).Move(s.x(kLevels[p].left), s.y(kLevels[p].top));
    }
}

// The room strip with its text and its two tabs.
void layoutRoomStrip(TableArea &area, LayoutScale s)
{
    area.Location.Move(s.x(760), s.y(668));
    area.Location.ZOrder(0);
    area.imgword1.Move(s.x(640), s.y(662), s.x(57), s.y(13));
    area.imgword2.Move(s.x(640), s.y(676), s.x(57), s.y(13));
    area.imgLocation.setStretch(true);
    area.imgLocation.Move(s.x(632), s.y(656), s.x(394), s.y(39));
}

// Ready and first-player marks; they share a place except at the top.
void layoutMarks(SeatPanels &seats, LayoutScale s)
{
    for (int p = 1; p <= 3; ++p) {
        seats.OK.Load(p);
        seats.first.Load(p);
    }
    for (int p = 0; p <= 3; ++p) {
        seats.OK(p).Move(s.x(kReadyMarks[p].left), s.y(kReadyMarks[p].top));
        seats.first(p).Move(s.x(kFirstMarks[p].left), s.y(kFirstMarks[p].top));
        seats.OK(p).setVisible(false);
        seats.first(p).setVisible(false);
    }
}

// The turn clock waits below the table, hidden, with its seconds beside it;
// its animation plays for ever once shown.
void parkTurnClock(TurnClock &turn, LayoutScale s)
{
    const double secondsOffset = s.isReduced() ? 31 : 26;
    turn.Time_Img.Move(s.x(875), s.y(550));
    turn.Time_Img.setAnimatedGIF(std::nullopt);
    turn.Time_Img.ZOrder(0);
    turn.Number.Move(turn.Time_Img.Left() + s.x(secondsOffset),
                     turn.Time_Img.Top() + s.y(secondsOffset));
    turn.Number.ZOrder(0);
    turn.Time_Img.setVisible(false);
    turn.Time_Img.LoadAnimatedGIF_Array(support::PictureStore::resourceBytes(kTurnClockPicture));
    turn.Time_Img.setLoops(0);
    turn.Time_Img.setVisible(false);
}

// The bank icon, brought in front of everything placed so far.
void layoutBank(Toolbar &toolbar, LayoutScale s)
{
    toolbar.Bank.Move(s.x(698), s.y(662));
    toolbar.Bank.setVisible(true);
    toolbar.Bank.ZOrder(0);
    if (s.isReduced()) {
        toolbar.Bank.setWidth(s.x(55));
        toolbar.Bank.setHeight(s.y(31));
    }
}

} // namespace

void MainForm::InitSeatLayout()
{
    const LayoutScale s = scale();

    layoutAvatars(seats, s);
    layoutVideo(seats, s);
    layoutToolbar(toolbar, state_.pictures, state_.core, state_.table, s);
    layoutSeatTexts(seats, s);
    layoutRoomStrip(area, s);
    layoutMarks(seats, s);
    for (int p = 1; p <= 3; ++p)
        hands.ImgLPai.Load(p);

    // The task window and its texts keep their own pixels; the task icon.
    MingXiWindow &task = frmMingXi();
    task.resizeToDesign();
    task.Labxianshi1.Move(32, 48, 265, 41);
    task.Labxianshi2.Move(32, 96, 265, 57);
    area.imgRenWu.setWidth(s.x(60));
    area.imgRenWu.setHeight(s.y(30));
    area.imgRenWu.setStretch(false);
    if (s.isReduced())
        hands.imgFaPai8.setStretch(true);

    parkTurnClock(turn, s);
    state_.core.LeaveAfterSettlement = false;
    state_.core.ResultPhase = 0;
    layoutBank(toolbar, s);
}

} // namespace tessaroc::table
