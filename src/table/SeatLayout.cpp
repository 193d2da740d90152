#include "table/MainForm.h"

#include "core/TableState.h"
#include "support/PictureStore.h"
#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

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

void setFontSize(forms::Label &label, double points)
{
    QFont font = label.Font();
    font.setPointSizeF(points);
    label.setFont(font);
}

} // namespace

void MainForm::InitSeatLayout()
{
    const forms::LayoutScale s = scale();
    const bool reduced = s.isReduced();

    // Avatars: the own one is larger than the other three.
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

    // Video frames, then the name strips beside them.
    for (int p = 1; p <= 3; ++p) {
        const double left = p == 1 ? kFrameLefts[p] : s.x(kFrameLefts[p]);
        ImgKuang(p).Move(left, 3, s.x(126), s.y(105));
        ImgKuang(p).setVisible(false);
    }
    PicLocal(0).Move(PicLocal(0).Left(), s.y(742), s.x(87), s.y(17));
    for (int p = 1; p <= 3; ++p)
        PicLocal(p).Move(PicLocal(p).Left(), s.y(88), s.x(145), s.y(17));
    PicLocal(0).setLeft(s.x(9));
    for (int p = 1; p <= 3; ++p)
        PicLocal(p).setLeft(ImgKuang(p).Left() + ImgKuang(p).Width());
    for (int p = 0; p <= 3; ++p)
        PicLocal(p).setVisible(false);
    for (int p = 1; p <= 3; ++p)
        ImgShow(p).setVisible(false);

    // Video views inset by 5 in their frames. The frames all have one height,
    // and the inset of the height is taken with the horizontal scale.
    for (int p = 1; p <= 3; ++p) {
        Windowed<video::VideoView> &view = vshow(p);
        view->Option1 = true;
        view.setTop(ImgKuang(p).Top() + s.y(5));
        view.setLeft(ImgKuang(p).Left() + s.x(5));
        view.setWidth(ImgKuang(p).Width() - s.x(10));
        view.setHeight(ImgKuang(p).Height() - s.x(10));
        view.setVisible(false);
    }

    for (int p = 1; p <= 3; ++p)
        ImgShow(p).Move(s.x(kVideoButtonLefts[p]), s.y(80), s.x(16), s.y(14));

    // The video panel buttons take the pointing hand of the first; on the
    // reduced table they shrink inside their shrunken strips.
    for (int i = 1; i <= 15; ++i) {
        ImCmd(i).setMouseIcon(ImCmd(0).MouseIcon());
        ImCmd(i).setMousePointer(ImCmd(0).mousePointer());
    }
    if (reduced) {
        for (int i = 0; i <= 15; ++i) {
            forms::Image &button = ImCmd(i);
            button.setStretch(true);
            button.Move(s.x(button.Left()), s.y(button.Top()), s.x(button.Width()),
                        s.y(button.Height()));
        }
    }

    // Toolbar: the send button alone, the other eight in two rows of four.
    for (int i = 1; i <= 8; ++i) {
        AnNiu.Load(i).setVisible(true);
        AnNiu(i).ZOrder(0);
    }
    const auto &ButtonPic = state_.pictures.ButtonPic;
    for (int i = 0; i <= 8; ++i) {
        state_.core.ButtonDown[static_cast<std::size_t>(i)] = false;
        state_.table.ButtonFlag[static_cast<std::size_t>(i)] = false;
        AnNiu(i).setWidth(s.x(i == 0 ? 50 : 60));
        AnNiu(i).setHeight(s.y(30));
        // The ready button's second pair (entries 6 and 7) is for later.
        const int entry = i <= 2 ? 2 * i : 2 * i + 2;
        loadPicture(AnNiu(i), ButtonPic[static_cast<std::size_t>(entry)]);
    }
    state_.core.ButtonDown[2] = true;
    AnNiu(0).Move(s.x(575), s.y(730));
    AnNiu(1).Move(s.x(648), s.y(700));
    for (int i : {2, 3, 4})
        AnNiu(i).Move(AnNiu(i - 1).Left() + s.x(70), AnNiu(i - 1).Top());
    AnNiu(5).Move(AnNiu(1).Left(), AnNiu(1).Top() + s.y(33));
    for (int i : {6, 7, 8})
        AnNiu(i).Move(AnNiu(i - 1).Left() + s.x(70), AnNiu(i - 1).Top());

    // Names, coins and levels.
    for (int p = 1; p <= 3; ++p) {
        for (auto *group : {&Nid, &Cash, &Level})
            group->Load(p).setVisible(true);
    }
    if (reduced) {
        for (int p = 0; p <= 3; ++p) {
            if (p > 0)
                setFontSize(Cash(p), 8);
            setFontSize(Level(p), 8);
        }
    }
    for (int p = 0; p <= 3; ++p) {
        Nid(p).Move(s.x(kNames[p].left), s.y(kNames[p].top));
        Cash(p).Move(s.x(kCoins[p].left), s.y(kCoins[p].top));
        Level(p).Move(s.x(kLevels[p].left), s.y(kLevels[p].top));
    }

    // The room strip with its text and its two tabs.
    Location.Move(s.x(760), s.y(668));
    Location.ZOrder(0);
    imgword1.Move(s.x(640), s.y(662), s.x(57), s.y(13));
    imgword2.Move(s.x(640), s.y(676), s.x(57), s.y(13));
    imgLocation.setStretch(true);
    imgLocation.Move(s.x(632), s.y(656), s.x(394), s.y(39));

    // Ready and first-player marks; they share a place except at the top.
    for (int p = 1; p <= 3; ++p) {
        OK.Load(p);
        first.Load(p);
    }
    for (int p = 0; p <= 3; ++p) {
        OK(p).Move(s.x(kReadyMarks[p].left), s.y(kReadyMarks[p].top));
        first(p).Move(s.x(kFirstMarks[p].left), s.y(kFirstMarks[p].top));
        OK(p).setVisible(false);
        first(p).setVisible(false);
    }

    for (int p = 1; p <= 3; ++p)
        ImgLPai.Load(p);

    // The task window and its texts keep their own pixels; the task icon.
    MingXiWindow &task = frmMingXi();
    task.resize(static_cast<int>(forms::twipsToPixels(4860)),
                static_cast<int>(forms::twipsToPixels(2610)));
    task.Labxianshi1.Move(32, 48, 265, 41);
    task.Labxianshi2.Move(32, 96, 265, 57);
    imgRenWu.setWidth(s.x(60));
    imgRenWu.setHeight(s.y(30));
    imgRenWu.setStretch(false);
    if (reduced)
        imgFaPai8.setStretch(true);

    // The turn clock waits below the table, hidden, with its seconds beside
    // it; its animation plays for ever once shown.
    const double secondsOffset = reduced ? 31 : 26;
    Time_Img.Move(s.x(875), s.y(550));
    Time_Img.setAnimatedGIF(std::nullopt);
    Time_Img.ZOrder(0);
    Number.Move(Time_Img.Left() + s.x(secondsOffset), Time_Img.Top() + s.y(secondsOffset));
    Number.ZOrder(0);
    Time_Img.setVisible(false);
    Time_Img.LoadAnimatedGIF_Array(support::PictureStore::resourceBytes(198));
    Time_Img.setLoops(0);
    Time_Img.setVisible(false);

    state_.core.LeaveAfterSettlement = false;
    state_.core.ResultPhase = 0;

    Bank.Move(s.x(698), s.y(662));
    Bank.setVisible(true);
    Bank.ZOrder(0);
    if (reduced) {
        Bank.setWidth(s.x(55));
        Bank.setHeight(s.y(31));
    }
}

} // namespace tessaroc::table
