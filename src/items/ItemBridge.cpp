#include "items/ItemBridge.h"

#include "core/CoreContext.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace tessaroc::items {

namespace {

constexpr int kBoxes = 15;
constexpr double kTwipsPerPixel = 15.0;
constexpr qsizetype kSystemLineChars = 45;
constexpr std::int16_t kRecStateVideo = 2;

std::int16_t flagOf(bool on)
{
    return on ? std::int16_t{-1} : std::int16_t{0};
}

int valueAt(const std::vector<int> &values, std::size_t i)
{
    return i < values.size() ? values[i] : 0;
}

} // namespace

std::int16_t GetTextWidth(const QString &text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character of the code page's double-byte
        // range or none at all; either way it counts as two columns once.
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            width += 2;
            ++i;
            continue;
        }
        width += support::IsSingleByteChar(QString(text[i])) ? 1 : 2;
    }
    return static_cast<std::int16_t>(std::min(width, 32767));
}

ItemBridge::ItemBridge(core::CoreContext &context, PropPlugin &plugin, ItemHost &host)
    : c_(context)
    , plugin_(plugin)
    , host_(host)
{
    TimerProp.setSingleShot(false);
    QObject::connect(&TimerProp, &QTimer::timeout, &TimerProp, [this] { TimerProp_Timer(); });
}

ItemBridge::~ItemBridge() = default;

void ItemBridge::changed()
{
    host_.ControlsChanged(controls_, layout_);
}

// ---- Start and shutdown ----

void ItemBridge::InitGameDll()
{
    try {
        startResult_ = StartLibrary();
    } catch (...) {
        // Any failure of the library leaves the client without items; the
        // game goes on.
        startResult_ = false;
    }
    changed();
}

bool ItemBridge::StartLibrary()
{
    std::int16_t &gamedllstate = c_.state.gamedllstate;
    core::MainLoopState &loop = c_.loop();

    controls_.BankVisible = true;
    controls_.BankFront = bringToFront();
    controls_.KeyPreview = true;
    host_.SeedRandom();

    if (!PropDll && gamedllstate == 0) {
        if (!loop.LoggedIn) {
            gamedllstate = -1;
            return false;
        }
        const QString library = kPluginFolder + QStringLiteral("PropDll.dll");
        if (!plugin_.FileFound(library)) {
            gamedllstate = -1;
            return false;
        }
        plugin_.Register(library);
        PropDll = plugin_.CreateObject(kProgId);
        plugin_.Register(kPluginFolder + QStringLiteral("ShowTool.dll"));
        plugin_.Register(kPluginFolder + QStringLiteral("updateFun.dll"));
    }
    c_.state.commands.PropResultCount = 0;
    if (!PropDll || !loop.LoggedIn) {
        gamedllstate = -1;
        return false;
    }
    gamedllstate = -1;
    std::int16_t mode = c_.state.table.scale.ScaleY == 1.0f ? 1 : 2;
    std::string user = loop.line.ArgUser;
    std::string password = loop.line.ArgPassword;
    std::int16_t propParam = loop.line.ArgPropParam;
    const std::shared_ptr<PropLibrary> library = PropDll;
    const bool accepted
            = library->Initdll(user, password, QStringLiteral("DLL"), host_.WindowHandle(),
                               QStringLiteral("velmogame"), PropDll, mode, propParam);
    // A library that hands back no object has refused as well.
    if (!accepted || !PropDll) {
        loop.PropReady = false;
        gamedllstate = 0;
        PropDll.reset();
        return false;
    }
    layout_ = BoxLayout{};
    gamedllstate = PropDll->GetBaoInfo(layout_) ? 2 : 1;

    controls_.ImgProp.resize(1);
    controls_.ImgProp[0].visible = false;
    controls_.ImgProp[0].enabled = false;
    const int last = std::min(static_cast<int>(layout_.BoxPos.size()), kBoxes) - 1;
    for (int i = 1; i <= last; ++i)
        controls_.ImgProp.emplace_back();
    loop.PropReady = true;
    return true;
}

void ItemBridge::ExitGameDll(int mode)
{
    std::int16_t &gamedllstate = c_.state.gamedllstate;
    if (gamedllstate <= 0)
        return;
    std::int16_t exitMode = static_cast<std::int16_t>(mode);
    if (PropDll)
        PropDll->InitExit(exitMode);
    gamedllstate = 0;
    c_.loop().PropReady = false;
    TimerProp.stop();
    c_.loop().BoxCountdownOn = false;
    ResultAnimOn = false;
    controls_.ImgProp.resize(1);
    controls_.ImgProp[0].visible = false;
    controls_.ImgProp[0].enabled = false;
    controls_.LbProp.caption.clear();
    controls_.LbProp.visible = false;
    // At program exit the object goes with the table window.
    if (mode == 1)
        PropDll.reset();
    changed();
}

void ItemBridge::ClearProps()
{
    bool shown = false;
    for (BoxControl &box : controls_.ImgProp) {
        if (box.visible || box.enabled) {
            box.visible = false;
            box.enabled = false;
            shown = true;
        }
    }
    if (controls_.LbProp.visible) {
        controls_.LbProp.caption.clear();
        controls_.LbProp.visible = false;
        shown = true;
    }
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->InitShowNext(true);
    core::services::PropScoreInfo &score = c_.loop().propScore;
    score.PropText = {};
    score.coins = {};
    if (shown)
        changed();
}

// ---- Calls handed to the running library ----

int ItemBridge::CheckSendBuff()
{
    return PropDll ? PropDll->CheckSendBuff() : 0;
}

core::services::PropItem ItemBridge::GetSendBuff()
{
    PropSendItem out;
    out.PropSendKind = -1;
    if (PropDll)
        PropDll->GetSendBuff(out);
    core::services::PropItem item;
    item.kind = out.PropSendKind;
    item.text = out.PropSendText;
    item.frame = out.PropSendFrame;
    item.layout.assign(out.PropSendLayout.begin(), out.PropSendLayout.end());
    item.style.assign(out.PropSendStyle.begin(), out.PropSendStyle.end());
    return item;
}

int ItemBridge::GetScoreInfo(core::services::PropScoreInfo &info)
{
    if (!PropDll)
        return 0;
    std::vector<QString> propText;
    std::vector<double> coins;
    std::vector<QString> seatTexts;
    const int result = PropDll->GetScoreInfo(propText, coins, seatTexts);
    // What the library leaves out is an empty text and no coins, never a
    // value of another seat or of a past hand.
    info = core::services::PropScoreInfo{};
    for (std::size_t i = 0; i < info.PropText.size() && i < propText.size(); ++i)
        info.PropText[i] = propText[i];
    for (std::size_t i = 0; i < info.coins.size() && i < coins.size(); ++i)
        info.coins[i] = std::isfinite(coins[i]) ? coins[i] : 0.0;
    for (std::size_t i = 0; i < info.seatTexts.size() && i < seatTexts.size(); ++i)
        info.seatTexts[i] = seatTexts[i];
    return result;
}

void ItemBridge::InitShowNext(bool flag)
{
    if (PropDll)
        PropDll->InitShowNext(flag);
}

void ItemBridge::rec_state(int kind, bool flag)
{
    std::int16_t value = flagOf(flag);
    if (PropDll)
        PropDll->rec_state(static_cast<std::int16_t>(kind), value, std::nullopt);
}

void ItemBridge::rec_state(std::int16_t kind, std::int16_t &value)
{
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->rec_state(kind, value, std::nullopt);
}

void ItemBridge::RecStateVideo(bool hidden, int pos)
{
    if (c_.state.gamedllstate <= 0 || !PropDll)
        return;
    std::int16_t value = flagOf(hidden);
    PropDll->rec_state(kRecStateVideo, value, static_cast<std::int16_t>(pos));
}

void ItemBridge::FixBuffPos()
{
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->FixBuffPos();
}

void ItemBridge::Rec_MSG(const wire::MessageFrame &frame)
{
    if (!PropDll)
        return;
    wire::MessageFrame copy = frame;
    PropDll->Rec_MSG(copy);
}

void ItemBridge::ClearUser(int pos)
{
    if (PropDll)
        PropDll->ClearUser(static_cast<std::int16_t>(pos));
}

void ItemBridge::InitShowEnd()
{
    if (PropDll)
        PropDll->InitShowEnd();
}

bool ItemBridge::SetUserinfo(const std::string &nickname, const std::string &account, int seatBit,
                             int pos, bool hasCredit, int sex, const std::string &nameTag,
                             const std::string &faceCode)
{
    if (!PropDll)
        return true;
    std::string n = nickname, a = account, t = nameTag, f = faceCode;
    auto bit = static_cast<std::uint8_t>(seatBit);
    auto p = static_cast<std::int16_t>(pos);
    auto s = static_cast<std::uint8_t>(sex);
    return PropDll->SetUserinfo(n, a, bit, p, hasCredit, s, t, f);
}

void ItemBridge::SetKeyDown(int key)
{
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->SetKeyDown(static_cast<std::int16_t>(key));
}

void ItemBridge::setbankstate(int state)
{
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->setbankstate(static_cast<std::int16_t>(state));
}

void ItemBridge::UpdataMyProp()
{
    if (c_.state.gamedllstate > 0 && PropDll)
        PropDll->UpdataMyProp(false);
}

// ---- Bank icon ----

void ItemBridge::Bank_Click()
{
    if (c_.state.gamedllstate >= 1 && PropDll)
        PropDll->setbankstate(0);
}

void ItemBridge::Bank_MouseMove()
{
    if (controls_.BankHover)
        return;
    controls_.BankPicture = ItemControls::kBankHoverPicture;
    controls_.BankHover = true;
    changed();
}

void ItemBridge::BankHoverOff()
{
    if (!controls_.BankHover)
        return;
    controls_.BankPicture = ItemControls::kBankPicture;
    controls_.BankHover = false;
    changed();
}

// ---- Item texts ----

void ItemBridge::ShowPropMsg(const QString &text)
{
    host_.AddHistoryLine(text);
    host_.AddSystemMessage(text.left(kSystemLineChars));
}

void ItemBridge::ShowPropText(const QString &text, const std::vector<int> &layout,
                              const std::vector<int> &style)
{
    NoticeLabel &label = controls_.LbProp;
    label.visible = false;
    label.width = valueAt(layout, 0);
    label.height = valueAt(layout, 1);
    label.left = valueAt(layout, 2);
    label.top = valueAt(layout, 3);
    label.fontSize = valueAt(style, 2);
    label.colour = static_cast<std::uint32_t>(valueAt(style, 3));
    label.alignment = static_cast<std::int16_t>(valueAt(style, 4));
    label.caption = text;
    label.visible = true;
    label.front = bringToFront();
    changed();
    const int interval = valueAt(style, 0);
    const int ticks = valueAt(style, 1);
    if (ticks < 1 || interval < 1)
        return;
    TimerProp.setInterval(interval);
    FloatTextTicks = ticks;
    FloatTextTick = 0;
    FloatTextOn = true;
    TimerProp.start();
}

void ItemBridge::TimerProp_Timer()
{
    TimerProp.stop();
    if (ResultAnimOn) {
        ++ResultAnimStep;
        if (ResultAnimStep < ResultAnimSteps) {
            ShowBaoResult(ResultAnimStep);
            TimerProp.start();
        } else {
            FinishCountUp();
        }
        return;
    }
    if (FloatTextOn) {
        ++FloatTextTick;
        if (FloatTextTick == FloatTextTicks) {
            controls_.LbProp.caption.clear();
            controls_.LbProp.visible = false;
            FloatTextTick = 0;
            FloatTextOn = false;
            changed();
            return;
        }
    }
    TimerProp.start();
}

void ItemBridge::Proponeself_MouseMove(int, int, double x, double y)
{
    if (!(x > 0 && y > 0))
        return;
    const double column = std::floor(std::nearbyint(x) / kTwipsPerPixel);
    const double row = std::floor(std::nearbyint(y) / kTwipsPerPixel);
    if (column >= host_.ProponeselfWidth() || row >= host_.ProponeselfHeight())
        return;
    if (c_.state.gamedllstate <= 0 || PropTargetBusy || !PropDll)
        return;
    PropTargetBusy = true;
    if (PropDll->ShowQnVideo(0, true, 0))
        PropTargetSeat = 1;
}

void ItemBridge::AimAtView(int pos, double x, double y, double viewWidth, double viewHeight)
{
    if (!(x > 0 && x / kTwipsPerPixel < viewWidth && y > 0 && y / kTwipsPerPixel < viewHeight))
        return;
    if (c_.state.gamedllstate <= 0 || PropTargetBusy || !PropDll)
        return;
    PropTargetBusy = true;
    if (PropDll->ShowQnVideo(static_cast<std::int16_t>(pos), true, 0))
        PropTargetSeat = static_cast<std::int16_t>(pos + 1);
}

void ItemBridge::ReleaseAim()
{
    PropTargetBusy = false;
    // Every seat that can be aimed at is released, the own one and the
    // three table mates'.
    if (PropTargetSeat >= 1 && PropTargetSeat <= 4) {
        const auto pos = static_cast<std::int16_t>(PropTargetSeat - 1);
        PropTargetSeat = 0;
        if (c_.state.gamedllstate > 0 && PropDll)
            PropDll->ShowQnVideo(pos, false, 0);
    }
}

} // namespace tessaroc::items
