#include "ItemFixture.h"

#include "core/Dispatcher.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::test {
namespace {

using Strings = std::vector<std::string>;

struct ItemBridge : ItemFixture
{
};

// Every way the start can end, and the state it leaves.
TEST_F(ItemBridge, StartEndsInTheStateOfItsFirstFailure)
{
    struct Case
    {
        const char *name;
        bool loggedIn;
        bool fileThere;
        bool objectMade;
        bool initdll;
        bool boxes;
        std::int16_t state;
        bool ready;
        bool objectKept;
    };
    const Case cases[] = {
            {"not logged in", false, true, true, true, false, -1, false, false},
            {"no library file", true, false, true, true, false, -1, false, false},
            {"no object", true, true, false, true, false, -1, false, false},
            {"refused", true, true, true, false, false, 0, false, false},
            {"without boxes", true, true, true, true, false, 1, true, true},
            {"with boxes", true, true, true, true, true, 2, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state.gamedllstate = 0;
        state.loop.PropReady = false;
        bridge.PropDll.reset();
        state.loop.LoggedIn = c.loggedIn;
        plugin.fileThere = c.fileThere;
        plugin.object = c.objectMade ? library : nullptr;
        library->initdllAnswer = c.initdll;
        library->baoInfoAnswer = c.boxes;
        library->boxLayout = boxLayout();
        bridge.InitGameDll();
        EXPECT_EQ(state.gamedllstate, c.state);
        EXPECT_EQ(state.loop.PropReady, c.ready);
        EXPECT_EQ(bridge.StartResult(), c.ready);
        EXPECT_EQ(bridge.HasLibrary(), c.objectKept);
        EXPECT_TRUE(bridge.controls().BankVisible);
        EXPECT_EQ(bridge.controls().ImgProp.size(), c.ready ? 15u : 1u);
    }
}

TEST_F(ItemBridge, StartRegistersTheLibraryAndHandsItTheLogin)
{
    state.table.scale = support::LayoutScale::reduced();
    bridge.InitGameDll();
    EXPECT_EQ(plugin.calls,
              (Strings{"FileFound .\\plugin\\tools\\PropDll.dll",
                       "Register .\\plugin\\tools\\PropDll.dll", "CreateObject PropClient.PropDll",
                       "Register .\\plugin\\tools\\ShowTool.dll",
                       "Register .\\plugin\\tools\\updateFun.dll"}));
    EXPECT_EQ(library->calls, (Strings{"Initdll", "GetBaoInfo"}));
    EXPECT_EQ(library->initUser, "alice");
    EXPECT_EQ(library->initPassword, "secret");
    EXPECT_EQ(library->initKind, "DLL");
    EXPECT_EQ(library->initGame, "velmogame");
    EXPECT_EQ(library->initMode, 2) << "the reduced scale";
    EXPECT_EQ(library->initPropParam, 7);
    EXPECT_EQ(host.seeds, 1);
    for (const items::BoxControl &b : bridge.controls().ImgProp)
        EXPECT_FALSE(b.visible || b.enabled);
}

TEST_F(ItemBridge, ARefusedStartIsTriedAgainWithAFreshObject)
{
    library->initdllAnswer = false;
    bridge.InitGameDll();
    ASSERT_EQ(state.gamedllstate, 0);
    library->initdllAnswer = true;
    bridge.InitGameDll();
    EXPECT_EQ(state.gamedllstate, 1);
    EXPECT_EQ(
            std::count(plugin.calls.begin(), plugin.calls.end(), "CreateObject PropClient.PropDll"),
            2);
}

TEST_F(ItemBridge, LaterCallsGoToTheObjectTheStartHandedBack)
{
    auto other = std::make_shared<ScriptedPropLibrary>();
    library->initdllHandsBack = other;
    bridge.InitGameDll();
    bridge.ClearUser(2);
    EXPECT_EQ(other->calls, (Strings{"GetBaoInfo", "ClearUser 2"}));
    EXPECT_FALSE(library->called("ClearUser 2"));

    // One that hands back nothing has refused.
    state.gamedllstate = 0;
    bridge.PropDll = library;
    library->initdllHandsBack.reset();
    library->handBackNothing = true;
    bridge.InitGameDll();
    EXPECT_EQ(state.gamedllstate, 0);
    EXPECT_FALSE(bridge.HasLibrary());
}

TEST_F(ItemBridge, ShutdownReleasesTheControlsAndOnlyExitDropsTheObject)
{
    start(true);
    state.loop.BoxCountdownOn = true;
    bridge.ShowPropText(QStringLiteral("hello"), {80, 20, 10, 10}, {100, 5, 9, 255, 0});
    bridge.ExitGameDll(0);
    EXPECT_EQ(library->calls, Strings{"InitExit 0"});
    EXPECT_EQ(state.gamedllstate, 0);
    EXPECT_FALSE(state.loop.PropReady);
    EXPECT_FALSE(state.loop.BoxCountdownOn);
    EXPECT_FALSE(bridge.timerProp().isActive());
    EXPECT_EQ(bridge.controls().ImgProp.size(), 1u);
    EXPECT_FALSE(bridge.controls().LbProp.visible);
    EXPECT_TRUE(bridge.controls().LbProp.caption.isEmpty());
    EXPECT_TRUE(bridge.HasLibrary());

    bridge.ExitGameDll(1);
    EXPECT_EQ(library->calls, Strings{"InitExit 0"}) << "a stopped library is left alone";

    for (std::int16_t off : {std::int16_t{-1}, std::int16_t{0}}) {
        state.gamedllstate = off;
        bridge.ExitGameDll(0);
        EXPECT_EQ(state.gamedllstate, off);
    }
    state.gamedllstate = 1;
    bridge.ExitGameDll(1);
    EXPECT_FALSE(bridge.HasLibrary());
}

TEST_F(ItemBridge, ClearPropsHidesWhatIsShownAndTellsOnlyARunningLibrary)
{
    start(true);
    state.loop.propScore.PropText[2] = QStringLiteral("old");
    state.loop.propScore.coins = {1, 2, 3, 4};
    state.loop.propScore.seatTexts[0] = QStringLiteral("a");
    state.loop.propScore.seatTexts[1] = QStringLiteral("sword");
    bridge.PlayBaoXiang();
    bridge.ClearProps();
    for (const items::BoxControl &b : bridge.controls().ImgProp)
        EXPECT_FALSE(b.visible || b.enabled);
    EXPECT_FALSE(bridge.controls().LbProp.visible);
    EXPECT_EQ(state.loop.propScore.PropText, (std::array<QString, 4>{}));
    EXPECT_EQ(state.loop.propScore.coins, (std::array<double, 4>{}));
    EXPECT_EQ(library->calls, Strings{"InitShowNext 1"});

    // Switched off, as in every run of the program: nothing to show.
    library->calls.clear();
    state.gamedllstate = -1;
    const auto shownBefore = host.shown.size();
    bridge.ClearProps();
    EXPECT_TRUE(library->calls.empty());
    EXPECT_EQ(host.shown.size(), shownBefore);
}

// The dispatcher relays item messages only to a running library.
TEST_F(ItemBridge, RelayReachesTheLibraryOnlyWhileItRuns)
{
    core::Dispatcher dispatcher{context};
    MessageFrame itemChat = frameOf(wire::CmdChat);
    itemChat.setU32be(236, 272);
    for (std::int16_t off : {std::int16_t{-1}, std::int16_t{0}}) {
        state.gamedllstate = off;
        bridge.PropDll = library;
        dispatcher.ProcessMessage(itemChat);
        dispatcher.ProcessMessage(frameOf(wire::CmdProp46));
        EXPECT_TRUE(library->calls.empty());
        EXPECT_FALSE(state.loop.ScoreInfoAnnounced);
    }
    start(false);
    dispatcher.ProcessMessage(itemChat);
    dispatcher.ProcessMessage(frameOf(wire::CmdProp44));
    dispatcher.ProcessMessage(frameOf(wire::CmdProp46));
    EXPECT_EQ(library->calls, (Strings{"Rec_MSG 19", "Rec_MSG 44", "Rec_MSG 46"}));
    EXPECT_TRUE(state.loop.ScoreInfoAnnounced);
}

wire::MessageFrame userInfo(const std::string &name, std::uint8_t seat, std::uint8_t itemSwitch)
{
    wire::UserInfoFrame info;
    info.recipientSeat = 1;
    info.account = name;
    info.nickname = name + "-nick";
    info.sex = 1;
    info.coins = 30000;
    info.extraNumber5 = seat;
    info.itemSwitch = itemSwitch;
    return info.encode();
}

// The user-information message starts the library only when the hall's
// switch and the server's both allow it, and a refused user stops it for
// the rest of the run.
TEST_F(ItemBridge, UserInformationStartsTheLibraryOnlyWhenBothSwitchesAllowIt)
{
    struct Case
    {
        const char *name;
        std::int16_t hallSwitch;
        std::uint8_t serverSwitch;
        bool refused;
        std::int16_t state;
        Strings calls;
    };
    const Case cases[] = {
            {"allowed", 1, 0, false, 1, {"Initdll", "GetBaoInfo", "SetUserinfo a-nick a 1 0 0 1"}},
            {"refused user",
             1,
             0,
             true,
             -1,
             {"Initdll", "GetBaoInfo", "SetUserinfo a-nick a 1 0 0 1", "InitExit 0"}},
            {"server switch", 1, 1, false, -1, {}},
            {"hall switch off", 0, 0, false, -1, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state.gamedllstate = 0;
        state.loop.PropReady = false;
        state.rules.HandRecords[0].seatBit = 0;
        state.loop.PlayersPresent = 0;
        bridge.PropDll.reset();
        library->calls.clear();
        state.loop.line.prop_swicth = c.hallSwitch;
        library->setUserinfoAnswer = !c.refused;
        core::Dispatcher dispatcher{context};
        dispatcher.ProcessMessage(userInfo("a", 1, c.serverSwitch));
        EXPECT_EQ(state.gamedllstate, c.state);
        EXPECT_EQ(library->calls, c.calls);
        // A state of -1 is final: the next message starts nothing.
        if (c.state == -1) {
            library->calls.clear();
            dispatcher.ProcessMessage(userInfo("b", 2, 0));
            EXPECT_EQ(state.gamedllstate, -1);
            EXPECT_FALSE(library->called("Initdll"));
        }
    }
}

// The main loop's pump carries out each kind of queued item.
TEST_F(ItemBridge, PumpCarriesOutEveryKindOfItem)
{
    start(false);
    state.loop.LoggedIn = true;
    auto item = [](std::int16_t kind, const char *text) {
        items::PropSendItem i;
        i.PropSendKind = kind;
        i.PropSendText = QString::fromUtf8(text);
        return i;
    };
    items::PropSendItem floating = item(1, "float");
    floating.PropSendLayout = {80, 20, 10, 10};
    floating.PropSendStyle = {100, 3, 9, 255, 2};
    items::PropSendItem threeLayout = item(1, "not placed");
    threeLayout.PropSendLayout = {80, 20, 10};
    items::PropSendItem frame = item(2, "");
    frame.PropSendFrame.assign(272, 0);
    frame.PropSendFrame[3] = 44;
    items::PropSendItem shortFrame = item(2, "");
    shortFrame.PropSendFrame.assign(271, 0);
    library->queue = {item(0, "a line"), item(0, ""),  floating,     threeLayout,    frame,
                      shortFrame,        item(3, "2"), item(3, "4"), item(4, "112"), item(5, "0"),
                      item(5, "9")};
    EXPECT_TRUE(steps.Run());
    EXPECT_EQ(host.systemLines, std::vector<QString>{QStringLiteral("a line")});
    EXPECT_EQ(bridge.controls().LbProp.caption, QStringLiteral("float"));
    EXPECT_EQ(play.calls, (Strings{"Tou_Click 2", "Pic1_KeyDown 112 0", "Tou_MouseMove 0"}));
    EXPECT_EQ(rings.SendRing.waiting(), wire::kFrameSize) << "only the whole frame is queued";
}

TEST_F(ItemBridge, HeldSettlementWaitsForTheScoreInformation)
{
    struct Case
    {
        const char *name;
        std::int16_t state;
        bool announced;
        std::int16_t scoreAnswer;
        Strings calls;
        std::size_t shown;
        bool held;
    };
    const Case cases[] = {
            {"not announced", 1, false, 0, {"CheckSendBuff", "InitShowNext 0"}, 1, false},
            {"announced, not ready", 1, true, 0, {"CheckSendBuff", "GetScoreInfo"}, 0, true},
            {"ready, no boxes",
             1,
             true,
             1,
             {"CheckSendBuff", "GetScoreInfo", "InitShowNext 0"},
             1,
             false},
            {"ready, boxes of nobody",
             2,
             true,
             1,
             {"CheckSendBuff", "GetScoreInfo", "InitShowNext 0"},
             1,
             false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start(c.state == 2);
        settlement.shown.clear();
        state.loop.SettlementDeferred = true;
        state.loop.ScoreInfoAnnounced = c.announced;
        library->scoreAnswer = c.scoreAnswer;
        steps.Run();
        EXPECT_EQ(library->calls, c.calls);
        EXPECT_EQ(settlement.shown.size(), c.shown);
        EXPECT_EQ(state.loop.SettlementDeferred, c.held);
        bridge.ExitGameDll(0);
    }
}

TEST_F(ItemBridge, AHeldSettlementIsShownWhenTheLibraryStopsMeanwhile)
{
    start(false);
    state.loop.SettlementDeferred = true;
    state.loop.ScoreInfoAnnounced = true;
    state.loop.HeldResultFrame = frameOf(wire::CmdHandResult, 7);
    steps.Run();
    ASSERT_TRUE(settlement.shown.empty());
    // A refused user: the library is shut down while the hand waits for it.
    bridge.ExitGameDll(0);
    state.gamedllstate = -1;
    library->calls.clear();
    steps.Run();
    ASSERT_EQ(settlement.shown.size(), 1u);
    EXPECT_EQ(settlement.shown[0], state.loop.HeldResultFrame);
    EXPECT_FALSE(state.loop.SettlementDeferred);
    EXPECT_TRUE(library->calls.empty());
}

TEST_F(ItemBridge, ScoreInformationLeavesWhatTheLibraryOmitsEmpty)
{
    start(false);
    library->scoreAnswer = 1;
    library->scoreLines = {QStringLiteral("a|b"), QString(), QStringLiteral("c00000255")};
    library->scoreCoins = {5.0, std::nan("")};
    library->scoreSeatTexts = {QStringLiteral("me"), QStringLiteral("x|y"), QStringLiteral("b")};
    core::services::PropScoreInfo info;
    info.PropText[3] = QStringLiteral("stale");
    info.seatTexts[7] = QStringLiteral("stale");
    info.coins[3] = 9;
    EXPECT_EQ(bridge.GetScoreInfo(info), 1);
    EXPECT_EQ(info.PropText,
              (std::array<QString, 4>{QStringLiteral("a|b"), QString(), QStringLiteral("c00000255"),
                                      QString()}));
    EXPECT_EQ(info.coins, (std::array<double, 4>{5.0, 0, 0, 0}));
    EXPECT_EQ(info.seatTexts[2], QStringLiteral("b"));
    for (std::size_t i = 3; i < 8; ++i)
        EXPECT_TRUE(info.seatTexts[i].isEmpty()) << i;
}

TEST_F(ItemBridge, TableSideCallsReachOnlyARunningLibrary)
{
    state.gamedllstate = -1;
    bridge.PropDll = library;
    bridge.Bank_Click();
    bridge.SetKeyDown(112);
    bridge.setbankstate(2);
    bridge.UpdataMyProp();
    bridge.RecStateVideo(true, 2);
    EXPECT_TRUE(library->calls.empty());
    start(false);
    bridge.Bank_Click();
    bridge.SetKeyDown(112);
    bridge.setbankstate(2);
    bridge.UpdataMyProp();
    bridge.RecStateVideo(true, 2);
    std::int16_t effects = -1;
    bridge.rec_state(std::int16_t{1}, effects);
    bridge.rec_state(3, false);
    EXPECT_EQ(library->calls,
              (Strings{"setbankstate 0", "SetKeyDown 112", "setbankstate 2", "UpdataMyProp 0",
                       "rec_state 2 -1 2", "rec_state 1 -1", "rec_state 3 0"}));

    bridge.Bank_MouseMove();
    bridge.Bank_MouseMove();
    EXPECT_EQ(bridge.controls().BankPicture, 601);
    bridge.BankHoverOff();
    EXPECT_EQ(bridge.controls().BankPicture, 600);
    EXPECT_FALSE(bridge.controls().BankHover);
}

} // namespace
} // namespace tessaroc::test
