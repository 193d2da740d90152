#include "OffscreenClient.h"
#include "items/TableItemHost.h"
#include "video/TableVideoHost.h"

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

using video::VideoControl;

// The hosts on the real table window, laid out offscreen: what the item
// bridge and the video link change is what the table shows.
struct TableHosts : ::testing::Test
{
    offscreen::OffscreenClient client;
    table::MainForm &form = *client.form;
    std::vector<int> cards;
    video::TableVideoHost videoHost{form, [this](int pos) { cards.push_back(pos); }, {}};
    items::TableItemHost itemHost{form, client.clock};
};

TEST_F(TableHosts, TheVideoHostReachesTheSeatControls)
{
    for (int k = 1; k <= 3; ++k) {
        videoHost.SetVisible(VideoControl::vshow, k, true);
        EXPECT_TRUE(form.seats.vshow(k).Visible()) << k;
        EXPECT_TRUE(videoHost.Visible(VideoControl::vshow, k));
        videoHost.SetVisible(VideoControl::ImgKuang, k, true);
        EXPECT_TRUE(form.seats.ImgKuang(k).Visible()) << k;
        EXPECT_EQ(&videoHost.View(k),
                  static_cast<platform::FrameView *>(&form.seats.vshow(k).widget()));
    }
    EXPECT_EQ(videoHost.Rect(VideoControl::Tou, 0), form.seats.Tou(0).rect());
    videoHost.Move(VideoControl::vcap1, 0, QRectF(12, 600, 80, 70));
    EXPECT_EQ(form.seats.vcap1.Left(), 12);
    EXPECT_EQ(form.seats.vcap1.Height(), 70);
    videoHost.SetTipText(QStringLiteral("拍照"));
    EXPECT_EQ(form.seats.Tiplbl->text(), QStringLiteral("拍照"));
    EXPECT_EQ(videoHost.TableWindow(),
              QRectF(form.Left(), form.Top(), form.Width(), form.Height()));
    videoHost.ShowPlayerCard(2, 0.14);
    EXPECT_EQ(cards, std::vector<int>{2});
    // Controls the table has no element for are neither shown nor fatal.
    videoHost.SetVisible(VideoControl::vshow, 0, true);
    videoHost.SetVisible(VideoControl::ImgKuang, 7, true);
    EXPECT_FALSE(videoHost.Visible(VideoControl::vshow, 0));
    videoHost.View(0).DrawFrame(platform::VideoFrame("x"));
}

TEST_F(TableHosts, TheItemHostShowsTheNoticeTheBankAndTheBoxes)
{
    items::ItemControls controls;
    controls.LbProp.caption = QStringLiteral("请选择一个宝箱打开");
    controls.LbProp.visible = true;
    controls.LbProp.left = 260;
    controls.LbProp.top = 420;
    controls.LbProp.width = 252;
    controls.LbProp.height = 50;
    controls.BankVisible = true;
    controls.ImgProp.resize(5);
    for (int m = 0; m < 5; ++m) {
        items::BoxControl &box = controls.ImgProp[static_cast<std::size_t>(m)];
        box.visible = true;
        box.left = 100 + 60 * m;
        box.top = 200;
        box.width = 50;
        box.height = 40;
        box.picture = items::BoxControl::Picture::Closed;
    }
    items::BoxLayout layout;
    layout.ClosedBoxPicture = QImage(50, 40, QImage::Format_RGB32);
    itemHost.ControlsChanged(controls, layout);
    const forms::Label &label = form.messages.LbProp;
    EXPECT_TRUE(label.Visible());
    EXPECT_EQ(label.Caption(), controls.LbProp.caption);
    EXPECT_EQ(label.rect(), QRectF(260, 420, 252, 50));
    EXPECT_TRUE(form.toolbar.Bank.Visible());

    // A caption the main loop wrote meanwhile stays when nothing about it
    // changed in the bridge.
    form.messages.LbProp.setCaption(QStringLiteral("countdown"));
    controls.ImgProp[2].visible = false;
    itemHost.ControlsChanged(controls, layout);
    EXPECT_EQ(label.Caption(), QStringLiteral("countdown"));
}

} // namespace
} // namespace tessaroc::test
