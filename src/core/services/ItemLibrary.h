#pragma once

#include "wire/MessageFrame.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

namespace tessaroc::core::services {

// One queued item of the item library's send buffer.
struct PropItem
{
    enum Kind : int {
        Message = 0, // a line for the chat list and the system lines
        FloatText = 1, // a floating text with a four-entry layout
        Frame = 2, // a frame to send
        ClickSeat = 3, // the portrait click of seat 1..3
        Key = 4, // the table's key handler
        HoverSeat = 5, // the portrait hover of seat 0..3
    };
    int kind = -1;
    QString text;
    std::vector<unsigned char> frame;
    std::vector<int> layout;
    std::vector<int> style;
};

// The library's score information after a hand, by display position.
struct PropScoreInfo
{
    // The lines the rule variant's board shows for the seat, "|"-separated,
    // each may end in eight digits giving the list's colour.
    std::array<QString, 4> PropText{};
    // The coins the seat's items won, added to its final amount on the board.
    std::array<double, 4> coins{};
    std::array<QString, 8> seatTexts{}; // 2i name, 2i + 1 won items ("|"-separated)
};

// The item library and the item displays, reached only while the library
// runs. The start-up keeps the library switched off, so in this configuration
// none of these members is ever called.
class ItemLibrary
{
public:
    virtual ~ItemLibrary() = default;

    virtual int CheckSendBuff() = 0;
    virtual PropItem GetSendBuff() = 0;
    // 1 when the score information is ready.
    virtual int GetScoreInfo(PropScoreInfo &info) = 0;
    virtual void InitShowNext(bool flag) = 0;
    // Kind 3 reports the server connection going up or down.
    virtual void rec_state(int kind, bool flag) = 0;
    // 1 at program exit, 0 otherwise.
    virtual void ExitGameDll(int mode) = 0;

    virtual void ShowPropMsg(const QString &text) = 0;
    virtual void ShowPropText(const QString &text, const std::vector<int> &layout,
                              const std::vector<int> &style)
            = 0;
    virtual void PlayBaoXiang() = 0;
    virtual void OpenBao(int box) = 0;

    // Starting the library (the outcome is left in gamedllstate) and what the
    // commands hand it. ClearProps is called whenever gamedllstate is not 0;
    // the others only while the library runs.
    virtual void InitGameDll() = 0;
    virtual void ClearProps() = 0;
    virtual void Rec_MSG(const wire::MessageFrame &frame) = 0;
    virtual void ClearUser(int pos) = 0;
    virtual void InitShowEnd() = 0;
    // False: the library refused the user; the caller shuts it down.
    virtual bool SetUserinfo(const std::string &nickname, const std::string &account, int seatBit,
                             int pos, bool hasCredit, int sex, const std::string &nameTag,
                             const std::string &faceCode)
            = 0;
    // The library's object exists (PropDll is set).
    virtual bool HasLibrary() const = 0;
};

} // namespace tessaroc::core::services
