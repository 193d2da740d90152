// Where the table's mouse and key input meets the play flow's handlers.
#include "play/PlayFlowService.h"

#include "table/MainForm.h"

#include <QKeyEvent>

namespace tessaroc::play {

namespace {

// The key codes the handlers know, as the window reports them; every other
// key reads as 0, which only disarms the chat chord.
int keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Escape:
        return PlayFlowService::kEsc;
    case Qt::Key_Alt:
        return PlayFlowService::kAlt;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return PlayFlowService::kF1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // the letters' codes are their capitals'
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;
    return 0;
}

} // namespace

void PlayFlowService::connectInput()
{
    using Image = forms::Image;
    form_.hands.cardImage0.addOnLoad([this](Image &card) {
        const int index = card.Index();
        QObject::connect(&card, &forms::Element::MouseDown, this,
                         [this, index](int b, int s, double x, double y) {
                             cardImage0_MouseDown(index, b, s, x, y);
                         });
    });
    const auto clicks = [this](forms::ControlArray<Image> &group, auto handler) {
        group.addOnLoad([this, handler](Image &button) {
            const int index = button.Index();
            QObject::connect(&button, &forms::Element::Click, this,
                             [this, handler, index] { (this->*handler)(index); });
        });
    };
    clicks(form_.actions.Operation, &PlayFlowService::Operation_Click);
    clicks(form_.actions.tanOperation, &PlayFlowService::tanOperation_Click);
    clicks(form_.bid.btnJiaofen, &PlayFlowService::btnJiaofen_Click);
    clicks(form_.toolbar.AnNiu, &PlayFlowService::AnNiu_Click);

    QObject::connect(&form_.area.Pic1.widget(), &forms::Surface::MouseDown, this,
                     &PlayFlowService::Pic1_MouseDown);
    QObject::connect(&form_.area.Pic2.widget(), &forms::Surface::MouseDown, this,
                     &PlayFlowService::Pic2_MouseDown);
    QObject::connect(&form_.effects.bombPlayer, &forms::Element::MouseDown, this,
                     &PlayFlowService::bombPlayer_MouseDown);
    QObject::connect(&form_.timers.Timerformer, &QTimer::timeout, this,
                     &PlayFlowService::Timerformer_Timer);
    // The frame's close button asks to leave as the leave button does.
    QObject::connect(&form_, &table::MainForm::leaveRequested, this,
                     [this] { AnNiu_Click(BtnExit); });

    // The table area takes the keyboard focus when it is pressed.
    form_.area.Pic1->setFocusPolicy(Qt::ClickFocus);
    form_.area.Pic1->installEventFilter(this);
    form_.area.Pic2->installEventFilter(this);
    form_.area.pic3->installEventFilter(this);
    form_.area.pic4->installEventFilter(this);
    form_.installEventFilter(this);
}

bool PlayFlowService::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int code = keyCodeOf(*static_cast<QKeyEvent *>(event));
    const int shift = 0;
    if (watched == &form_.area.Pic1.widget()) {
        Pic1_KeyDown(code, shift);
        return true;
    }
    if (watched == &form_.area.Pic2.widget()) {
        Pic2_KeyDown(code, shift);
        return true;
    }
    if (watched == &form_.area.pic3.widget()) {
        pic3_KeyDown(code, shift);
        return true;
    }
    if (watched == &form_.area.pic4.widget()) {
        pic4_KeyDown(code, shift);
        return true;
    }
    if (watched == &form_) {
        Form_KeyDown(code, shift);
        return false;
    }
    return false;
}

} // namespace tessaroc::play
