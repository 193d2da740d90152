#include "items/TableItemHost.h"

#include "items/ItemBridge.h"
#include "support/PictureStore.h"
#include "support/Waits.h"
#include "table/MainForm.h"

#include <chrono>

namespace tessaroc::items {

namespace {

QColor colourOf(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

forms::Label::Alignment alignmentOf(std::int16_t alignment)
{
    switch (alignment) {
    case NoticeLabel::Right:
        return forms::Label::Alignment::Right;
    case NoticeLabel::Centre:
        return forms::Label::Alignment::Center;
    default:
        return forms::Label::Alignment::Left;
    }
}

} // namespace

TableItemHost::TableItemHost(table::MainForm &form, const platform::Clock &clock)
    : form_(form)
    , clock_(clock)
{ }

TableItemHost::~TableItemHost() = default;

// Only what changed since the last call is put on the table, so a caption
// the main loop wrote on the notice label meanwhile stays.
void TableItemHost::ControlsChanged(const ItemControls &controls, const BoxLayout &layout)
{
    const ItemControls before = shown_.value_or(ItemControls{});
    const bool first = !shown_.has_value();
    forms::Image &bank = form_.toolbar.Bank;
    if (first || controls.BankVisible != before.BankVisible)
        bank.setVisible(controls.BankVisible);
    if (controls.BankFront != before.BankFront)
        bank.ZOrder(0);
    if (controls.BankPicture != before.BankPicture)
        support::LoadGifResource(static_cast<std::int16_t>(controls.BankPicture), u"GIF", &bank);

    forms::Label &label = form_.messages.LbProp;
    const NoticeLabel &now = controls.LbProp;
    const NoticeLabel &was = before.LbProp;
    if (first || now.left != was.left || now.top != was.top || now.width != was.width
        || now.height != was.height)
        label.Move(now.left, now.top, now.width, now.height);
    if (now.caption != was.caption)
        label.setCaption(now.caption);
    if (now.colour != was.colour)
        label.setForeColor(colourOf(now.colour));
    if (now.alignment != was.alignment)
        label.setAlignment(alignmentOf(now.alignment));
    if (now.fontSize != was.fontSize && now.fontSize > 0) {
        QFont font = label.Font();
        font.setPointSize(now.fontSize);
        label.setFont(font);
    }
    if (first || now.visible != was.visible)
        label.setVisible(now.visible);
    if (now.front != was.front)
        label.ZOrder(0);

    showBoxes(controls, layout);
    shown_ = controls;
}

void TableItemHost::showBoxes(const ItemControls &controls, const BoxLayout &layout)
{
    if (!ImgProp_) {
        ImgProp_ = std::make_unique<forms::ControlArray<forms::Image>>(&form_.area.Pic1.widget());
        ImgProp_->operator()(0).setVisible(false);
        ImgProp_->operator()(0).setStretch(true);
        const auto connectBox = [this](forms::Image &box) {
            const int index = box.Index();
            QObject::connect(&box, &forms::Element::Click, &form_, [this, index] {
                if (bridge_)
                    bridge_->ImgProp_Click(index);
            });
        };
        connectBox(ImgProp_->operator()(0));
        ImgProp_->setOnLoad(connectBox);
    }
    forms::ControlArray<forms::Image> &boxes = *ImgProp_;
    const int count = static_cast<int>(controls.ImgProp.size());
    for (int i = boxes.UBound(); i >= count && i > 0; --i)
        boxes.Unload(i);
    for (int i = 0; i < count; ++i) {
        const BoxControl &box = controls.ImgProp[static_cast<std::size_t>(i)];
        forms::Image &image = boxes.Load(i);
        image.Move(box.left, box.top, box.width, box.height);
        if (box.picture == BoxControl::Picture::Closed)
            image.setPicture(QPixmap::fromImage(layout.ClosedBoxPicture), 0);
        else if (box.picture == BoxControl::Picture::Open)
            image.setPicture(QPixmap::fromImage(layout.OpenBoxPicture), 0);
        image.setEnabled(box.enabled);
        image.setVisible(box.visible);
    }
}

void TableItemHost::ConnectTableEvents(ItemBridge &bridge)
{
    bridge_ = &bridge;
    constexpr double kTwipsPerPixel = 15.0;
    QObject::connect(&form_.toolbar.Bank, &forms::Element::Click, &form_,
                     [&bridge] { bridge.Bank_Click(); });
    QObject::connect(&form_.toolbar.Bank, &forms::Element::MouseMove, &form_,
                     [&bridge](int, int, double, double) { bridge.Bank_MouseMove(); });
    QObject::connect(&form_.messages.Proponeself, &forms::Element::MouseMove, &form_,
                     [&bridge](int button, int shift, double x, double y) {
                         bridge.Proponeself_MouseMove(button, shift, x * kTwipsPerPixel,
                                                      y * kTwipsPerPixel);
                     });
    QObject::connect(&form_.area.Pic1.widget(), &forms::Surface::MouseMove, &form_,
                     [&bridge](int, int, double, double) {
                         bridge.ReleaseAim();
                         bridge.BankHoverOff();
                     });
}

void TableItemHost::AddHistoryLine(const QString &)
{
    // The chat history window is the chat's; until it stands the lines of
    // the library reach the player through the system message lines.
}

void TableItemHost::AddSystemMessage(const QString &text)
{
    form_.AddSystemMessage(text);
}

void TableItemHost::Wait(int milliseconds)
{
    support::Wait(clock_, static_cast<std::int16_t>(milliseconds));
}

double TableItemHost::Random()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

void TableItemHost::SeedRandom()
{
    random_.seed(static_cast<std::uint64_t>(
            std::chrono::steady_clock::now().time_since_epoch().count()));
}

std::uintptr_t TableItemHost::WindowHandle() const
{
    return reinterpret_cast<std::uintptr_t>(&form_);
}

double TableItemHost::ProponeselfWidth() const
{
    return form_.messages.Proponeself.Width();
}

double TableItemHost::ProponeselfHeight() const
{
    return form_.messages.Proponeself.Height();
}

} // namespace tessaroc::items
