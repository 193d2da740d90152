#pragma once

#include "wire/MessageFrame.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaroc::items {

// The treasure-box geometry and timing the item library hands over after it
// started. Positions are table pixels, used as they are (no layout scale).
struct BoxLayout
{
    std::vector<std::array<std::int32_t, 2>> BoxPos; // Left, Top of box m (15 boxes)
    std::array<std::int32_t, 2> BoxCentre{}; // where an opened box is centred
    std::array<std::int32_t, 8> SeatTargets{}; // seat p flies to (p, p + 4)
    std::array<std::int32_t, 2> LabelAnchor{}; // horizontal centre and top of the notice
    std::array<std::int16_t, 2> BoxTimings{}; // count-up tick in ms, count-up steps
    QImage ClosedBoxPicture;
    std::array<std::int32_t, 2> ClosedBoxSize{};
    QImage OpenBoxPicture;
    std::array<std::int32_t, 2> OpenBoxSize{};
};

// What GetSendBuff hands out for one queued item.
struct PropSendItem
{
    QImage PropSendPicture;
    QString PropSendText;
    std::vector<std::uint8_t> PropSendFrame;
    std::int16_t PropSendKind = -1;
    std::vector<std::int32_t> PropSendLayout;
    std::vector<std::int32_t> PropSendStyle;
};

// The item library, an outside component the client only hosts. The members
// and their arguments are the library's; arguments it takes by reference are
// references here. Calls are made only while the library runs (gamedllstate
// above 0), except Initdll and GetBaoInfo at its start and SetUserinfo
// whenever the object exists.
class PropLibrary
{
public:
    virtual ~PropLibrary() = default;

    // kind is "DLL", game "velmogame"; mode 1 at full scale, else 2. The
    // library may hand back another object in self; later calls go to it.
    virtual bool Initdll(std::string &userName, std::string &password, const QString &kind,
                         std::uintptr_t window, const QString &game,
                         std::shared_ptr<PropLibrary> &self, std::int16_t &mode,
                         std::int16_t &propParam)
            = 0;
    // True: the library runs with treasure boxes.
    virtual bool GetBaoInfo(BoxLayout &layout) = 0;
    // False: the library refuses the user and is shut down.
    virtual bool SetUserinfo(std::string &nickname, std::string &account, std::uint8_t &seatBit,
                             std::int16_t &pos, bool hasCredit, std::uint8_t &sex,
                             std::string &nameTag, std::string &faceCode)
            = 0;
    virtual void ClearUser(std::int16_t pos) = 0;
    virtual void Rec_MSG(wire::MessageFrame &frame) = 0;
    // Items queued for the client.
    virtual std::int16_t CheckSendBuff() = 0;
    virtual void GetSendBuff(PropSendItem &item) = 0;
    virtual void InitShowEnd() = 0;
    // 1 when the score information of the hand is filled. Per display
    // position: the lines the rule variant's board shows for the seat
    // ("|"-separated, each may end in eight digits, the list's colour) and
    // the coins its items won, which the board adds to the seat's final
    // amount; for display position i, its name (2i) and its won items,
    // "|"-separated (2i + 1), which the treasure boxes count up.
    virtual std::int16_t GetScoreInfo(std::vector<QString> &propText, std::vector<double> &coins,
                                      std::vector<QString> &seatTexts)
            = 0;
    virtual void InitShowNext(bool flag) = 0;
    virtual void ShowGif(std::int16_t kind, bool on) = 0;
    // 1 at program exit, else 0.
    virtual void InitExit(std::int16_t &mode) = 0;
    // Kind 1: the game sounds' switch (flag -1 on, 0 off); kind 2: a seat's
    // video hidden (-1) or shown (0), with its display position; kind 3: the
    // server connection up (-1) or down (0).
    virtual void rec_state(std::int16_t kind, std::int16_t &flag, std::optional<std::int16_t> pos)
            = 0;
    virtual void SetKeyDown(std::int16_t key) = 0;
    // 0: the bank icon was clicked; 2: a toolbar button or Esc.
    virtual void setbankstate(std::int16_t state) = 0;
    // True: the seat became the item target.
    virtual bool ShowQnVideo(std::int16_t pos, bool over, std::int16_t zero) = 0;
    virtual void UpdataMyProp(bool flag) = 0;
    virtual void FixBuffPos() = 0;
};

// The plug-in folder that holds the item library: its files, the
// registration tool and the creation of the library object.
class PropPlugin
{
public:
    virtual ~PropPlugin() = default;

    // A directory search that also matches folders.
    virtual bool FileFound(const QString &path) = 0;
    // Starts the registration of a library file; nobody waits for it.
    virtual void Register(const QString &path) = 0;
    // The object of that name, or nothing.
    virtual std::shared_ptr<PropLibrary> CreateObject(const QString &progId) = 0;
};

} // namespace tessaroc::items
