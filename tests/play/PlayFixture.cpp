#include "PlayFixture.h"

#include "SendRingFrames.h"
#include "TableLayout.h"

#include "app/TableWindowWiring.h"
#include "forms/Fonts.h"
#include "play/CardPictures.h"
#include "rules/CardCode.h"

namespace tessaroc::play::test {

PlayTable::PlayTable(bool reduced)
    : services(std::make_unique<CoreServices>())
{
    forms::installFontSubstitutions();
    form = std::make_unique<table::MainForm>(state, clock, tableHall_);
    app::ConnectTableWindow(*form, tableSound_, tableItems, tableChat_, tableSettlement_);
    window = std::make_unique<table::TableWindowService>(*form, state);
    tessaroc::test::layOutTable(*window, state, reduced);
    CoreServices &s = *services;
    context = std::make_unique<core::CoreContext>(
            s.makeContext(state, rings, clock, *window, &s.forward));
    play = std::make_unique<PlayFlowService>(
            *form, *context, PlaySubsystems{tableSound_, tableItems, tableChat_, tableSettlement_});
    s.forward.to = play.get();
    play->setWindows(windows);
    play->setRandom([] { return 0.25; });
    state.rules.HandRecords[0].seatBit = 2;
    state.loop.LoggedIn = true;
}

PlayTable::~PlayTable() = default;

void PlayTable::deal(const std::vector<rules::CardCode> &cards)
{
    rules::HandRecord &own = state.rules.ownHand();
    state.commands.SortMode = -1; // a dealt hand stands in face order
    own.setCardCount(static_cast<int>(cards.size()));
    for (std::size_t i = 0; i < cards.size(); ++i)
        own.slots[i] = {cards[i], static_cast<std::int16_t>(i)};
    const forms::LayoutScale s = state.table.scale;
    for (int i = 0; i < static_cast<int>(cards.size()); ++i) {
        forms::Image &card = form->hands.cardImage0(i);
        play->ShowCardPicture(0, i, play::CardPictureNo(cards[static_cast<std::size_t>(i)]));
        card.setStretch(true);
        card.Move(s.x(150) + i * s.x(20), state.table.HandLine, s.x(80), s.y(120));
        card.setVisible(true);
        card.ZOrder(0);
    }
}

void PlayTable::openTurn(bool lead)
{
    core::ClockState &clocks = state.loop.clocks;
    clocks.MyTurn = true;
    clocks.HandActive = true;
    clocks.MaySendPlay = true;
    clocks.MustLead = lead;
    state.loop.slots.arm(core::LoopSlot::PlayClock);
    form->turn.Number.setVisible(true);
    form->turn.Time_Img.setVisible(true);
    window->ShowOwnTurnButtons(lead);
    state.rules.HintCount = 0;
    state.commands.HintIndex = 0;
    state.commands.HintReady = false;
    if (lead)
        state.rules.prevPlay = {};
}

forms::Image &PlayTable::cardOfSlot(int slot)
{
    return form->hands.cardImage0(
            state.rules.ownHand().slots[static_cast<std::size_t>(slot)].picIndex);
}

bool PlayTable::raised(int slot)
{
    return cardOfSlot(slot).Top() < state.table.HandLine;
}

void PlayTable::raise(int slot)
{
    play->RaiseOwnCard(state.rules.ownHand().slots[static_cast<std::size_t>(slot)].picIndex);
}

chat::ChatService &PlayTable::useTableWindows()
{
    play->setWindows(play->tableWindows());
    tableChat_.attach(*form, *context, tableSound_);
    return tableChat_;
}

std::vector<wire::MessageFrame> PlayTable::sent()
{
    return ::tessaroc::test::takeQueuedFrames(rings);
}

std::vector<std::string> PlayTable::sounds()
{
    std::vector<std::string> played = services->sound.playedNames();
    services->sound.played.clear();
    return played;
}

void pressAt(QWidget &widget, QPointF pos, Qt::MouseButton button)
{
    QMouseEvent down(QEvent::MouseButtonPress, pos, widget.mapToGlobal(pos), button, button,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, pos, widget.mapToGlobal(pos), button, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(&widget, &up);
}

void clickAt(QWidget &widget, QPointF pos)
{
    pressAt(widget, pos, Qt::LeftButton);
}

void press(table::MainForm &form, const forms::Element &element, Qt::MouseButton button)
{
    pressAt(form.area.Pic1.widget(), element.rect().center(), button);
}

void click(table::MainForm &form, const forms::Element &element)
{
    press(form, element, Qt::LeftButton);
}

} // namespace tessaroc::play::test
