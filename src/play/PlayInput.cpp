// Where the table's mouse and key input meets the play flow's handlers.
#include "play/PlayFlowService.h"

#include "table/MainForm.h"

#include <QKeyEvent>

#include <utility>

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

// Whether a key that reached `widget` was typed there: keys a control inside
// it leaves unused (the chat box's Esc and F1, say) travel up to it, but the
// table's handlers take only the keys typed while the widget itself holds the
// window's focus. A key sent to it while nothing of the window holds the
// focus can only have been meant for it.
bool typedOn(const QWidget &widget)
{
    const QWidget *focus = widget.window()->focusWidget();
    return focus == nullptr || focus == &widget || !widget.isAncestorOf(focus);
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
    // Esc opens the leave dialog and Esc closes it, wherever the focus went
    // when the dialog was shown.
    QObject::connect(&form_, &table::MainForm::leaveDialogEscape, this,
                     [this] { Pic1_KeyDown(kEsc, 0); });

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
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto &widget = static_cast<const QWidget &>(*watched);
    const int code = keyCodeOf(*static_cast<QKeyEvent *>(event));
    const int shift = 0;
    // The table area's keys end there, whether its handler takes them or a
    // control inside it left them: none of them goes on to the window.
    using Handler = void (PlayFlowService::*)(int, int);
    const std::pair<const QWidget *, Handler> areaHandlers[] = {
            {&form_.area.Pic1.widget(), &PlayFlowService::Pic1_KeyDown},
            {&form_.area.Pic2.widget(), &PlayFlowService::Pic2_KeyDown},
            {&form_.area.pic3.widget(), &PlayFlowService::pic3_KeyDown},
            {&form_.area.pic4.widget(), &PlayFlowService::pic4_KeyDown},
    };
    for (const auto &[area, handler] : areaHandlers) {
        if (&widget != area)
            continue;
        if (typedOn(widget))
            (this->*handler)(code, shift);
        return true;
    }
    if (&widget == &form_ && typedOn(widget))
        Form_KeyDown(code, shift);
    return false;
}

} // namespace tessaroc::play
