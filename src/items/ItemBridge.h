#pragma once

#include "core/services/ItemLibrary.h"
#include "items/ItemControls.h"
#include "items/ItemHost.h"
#include "items/ItemService.h"
#include "items/PropLibrary.h"

#include <QTimer>

#include <array>
#include <memory>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::items {

// Display width of a text: 2 for a double-byte character, 1 for any other.
std::int16_t GetTextWidth(const QString &text);

// The bridge to the item library: it starts and stops the library, keeps its
// state in gamedllstate, owns the item controls, shows the library's texts,
// and runs the treasure-box game that comes before a held settlement. The
// dispatcher and the main loop reach it through the core's item service, the
// table window through ItemService.
class ItemBridge final : public core::services::ItemLibrary, public ItemService
{
public:
    // Plug-in folder of the library, relative to the current directory.
    static inline const QString kPluginFolder = QStringLiteral(".\\plugin\\tools\\");
    static inline const QString kProgId = QStringLiteral("PropClient.PropDll");

    ItemBridge(core::CoreContext &context, PropPlugin &plugin, ItemHost &host);
    ~ItemBridge() override;

    // The core's item service.
    int CheckSendBuff() override;
    core::services::PropItem GetSendBuff() override;
    int GetScoreInfo(core::services::PropScoreInfo &info) override;
    void InitShowNext(bool flag) override;
    void rec_state(int kind, bool flag) override;
    void ExitGameDll(int mode) override;
    void ShowPropMsg(const QString &text) override;
    void ShowPropText(const QString &text, const std::vector<int> &layout,
                      const std::vector<int> &style) override;
    void PlayBaoXiang() override;
    void OpenBao(int box) override;
    void InitGameDll() override;
    void ClearProps() override;
    void Rec_MSG(const wire::MessageFrame &frame) override;
    void ClearUser(int pos) override;
    void InitShowEnd() override;
    bool SetUserinfo(const std::string &nickname, const std::string &account, int seatBit, int pos,
                     bool hasCredit, int sex, const std::string &nameTag,
                     const std::string &faceCode) override;
    bool HasLibrary() const override { return PropDll != nullptr; }

    // The table window's side (ItemService).
    void FixBuffPos() override;
    void rec_state(std::int16_t kind, std::int16_t &value) override;

    // The result of the last start.
    bool StartResult() const { return startResult_; }

    // The table window's item controls and key handlers.
    void Bank_Click();
    void Bank_MouseMove();
    // The table's hover-off handlers put the bank's normal picture back.
    void BankHoverOff();
    void ImgProp_Click(int index);
    void TimerProp_Timer();
    void SetKeyDown(int key) override;
    void setbankstate(int state) override;
    void UpdataMyProp();
    // A seat's video hidden or shown, told to the running library.
    void RecStateVideo(bool hidden, int pos);

    // Aiming an item: the pointer over the own-seat label (x, y in twips),
    // over a table mate's video view (view size in table pixels), and back
    // on the table area.
    void Proponeself_MouseMove(int button, int shift, double x, double y);
    void AimAtView(int pos, double x, double y, double viewWidth, double viewHeight);
    void ReleaseAim();

    const ItemControls &controls() const { return controls_; }
    const BoxLayout &boxLayout() const { return layout_; }
    const QTimer &timerProp() const { return TimerProp; }

    // The library object, or nothing.
    std::shared_ptr<PropLibrary> PropDll;

    // Floating text.
    bool FloatTextOn = false;
    int FloatTextTick = 0;
    int FloatTextTicks = 0;
    // Aim.
    bool PropTargetBusy = false;
    std::int16_t PropTargetSeat = 0;
    // Treasure boxes.
    std::array<int, 4> BaoChs{-1, -1, -1, -1};
    bool ResultAnimOn = false;
    int ResultAnimStep = 0;
    int ResultAnimSteps = 0;
    std::array<QString, 4> SeatNames{};
    std::array<double, 4> ShownAmount{};
    std::array<double, 4> AmountStep{};
    int MaxNameWidth = 0;
    int AmountDigits = 0;

private:
    bool StartLibrary();
    void ShowBaoResult(int step);
    void FinishCountUp();
    void MoveBao(int box, bool open, int seat);
    bool MoveStep(double x0, double y0, double x1, double y1, BoxControl &control);
    void PlaceClosedBoxes(int group, bool enabled);
    void ShowHeldSettlement();
    void changed();
    int bringToFront() { return ++controls_.frontCount; }
    int boxCount() const { return static_cast<int>(controls_.ImgProp.size()); }

    core::CoreContext &c_;
    PropPlugin &plugin_;
    ItemHost &host_;
    ItemControls controls_;
    BoxLayout layout_;
    QTimer TimerProp;
    bool startResult_ = false;
};

} // namespace tessaroc::items
