#pragma once

#include "items/ItemHost.h"
#include "items/PropLibrary.h"

#include "CallRecord.h"

#include <deque>
#include <string>
#include <vector>

// A scripted item library and plug-in folder: every call is recorded as a
// short line, in order, and every answer can be set by the test.
namespace tessaroc::test {

struct ScriptedPropLibrary final : CallRecord, items::PropLibrary
{
    // Answers.
    bool initdllAnswer = true;
    std::shared_ptr<items::PropLibrary> initdllHandsBack; // replaces the object when set
    bool handBackNothing = false;
    bool baoInfoAnswer = false;
    items::BoxLayout boxLayout;
    bool setUserinfoAnswer = true;
    std::deque<items::PropSendItem> queue;
    std::int16_t scoreAnswer = 0;
    std::vector<QString> scoreLines; // per display position, for the board
    std::vector<double> scoreCoins;
    std::vector<QString> scoreSeatTexts;
    bool showQnVideoAnswer = true;
    // What Initdll was given.
    std::string initUser, initPassword, initKind, initGame;
    std::int16_t initMode = 0, initPropParam = 0;

    bool Initdll(std::string &userName, std::string &password, const QString &kind, std::uintptr_t,
                 const QString &game, std::shared_ptr<items::PropLibrary> &self, std::int16_t &mode,
                 std::int16_t &propParam) override
    {
        record("Initdll");
        initUser = userName;
        initPassword = password;
        initKind = kind.toStdString();
        initGame = game.toStdString();
        initMode = mode;
        initPropParam = propParam;
        if (initdllHandsBack)
            self = initdllHandsBack;
        if (handBackNothing)
            self.reset();
        return initdllAnswer;
    }
    bool GetBaoInfo(items::BoxLayout &layout) override
    {
        record("GetBaoInfo");
        layout = boxLayout;
        return baoInfoAnswer;
    }
    bool SetUserinfo(std::string &nickname, std::string &account, std::uint8_t &seatBit,
                     std::int16_t &pos, bool hasCredit, std::uint8_t &sex, std::string &,
                     std::string &) override
    {
        record("SetUserinfo " + nickname + " " + account + " " + std::to_string(seatBit) + " "
               + std::to_string(pos) + (hasCredit ? " 1 " : " 0 ") + std::to_string(sex));
        return setUserinfoAnswer;
    }
    void ClearUser(std::int16_t pos) override { record("ClearUser " + std::to_string(pos)); }
    void Rec_MSG(wire::MessageFrame &frame) override
    {
        record("Rec_MSG " + std::to_string(frame.cmd()));
    }
    std::int16_t CheckSendBuff() override
    {
        record("CheckSendBuff");
        return static_cast<std::int16_t>(queue.size());
    }
    void GetSendBuff(items::PropSendItem &item) override
    {
        record("GetSendBuff");
        if (queue.empty())
            return;
        item = queue.front();
        queue.pop_front();
    }
    void InitShowEnd() override { record("InitShowEnd"); }
    std::int16_t GetScoreInfo(std::vector<QString> &propText, std::vector<double> &coins,
                              std::vector<QString> &seatTexts) override
    {
        record("GetScoreInfo");
        propText = scoreLines;
        coins = scoreCoins;
        seatTexts = scoreSeatTexts;
        return scoreAnswer;
    }
    void InitShowNext(bool flag) override
    {
        record(std::string("InitShowNext ") + (flag ? "1" : "0"));
    }
    void ShowGif(std::int16_t kind, bool on) override
    {
        record("ShowGif " + std::to_string(kind) + (on ? " 1" : " 0"));
    }
    void InitExit(std::int16_t &mode) override { record("InitExit " + std::to_string(mode)); }
    void rec_state(std::int16_t kind, std::int16_t &flag, std::optional<std::int16_t> pos) override
    {
        record("rec_state " + std::to_string(kind) + " " + std::to_string(flag)
               + (pos ? " " + std::to_string(*pos) : std::string()));
    }
    void SetKeyDown(std::int16_t key) override { record("SetKeyDown " + std::to_string(key)); }
    void setbankstate(std::int16_t state) override
    {
        record("setbankstate " + std::to_string(state));
    }
    bool ShowQnVideo(std::int16_t pos, bool over, std::int16_t) override
    {
        record("ShowQnVideo " + std::to_string(pos) + (over ? " 1" : " 0"));
        return showQnVideoAnswer;
    }
    void UpdataMyProp(bool flag) override
    {
        record(std::string("UpdataMyProp ") + (flag ? "1" : "0"));
    }
    void FixBuffPos() override { record("FixBuffPos"); }
};

// A plug-in folder that holds the scripted library, or nothing at all.
struct ScriptedPropPlugin final : CallRecord, items::PropPlugin
{
    bool fileThere = true;
    std::shared_ptr<items::PropLibrary> object;

    bool FileFound(const QString &path) override
    {
        record("FileFound " + path.toStdString());
        return fileThere;
    }
    void Register(const QString &path) override { record("Register " + path.toStdString()); }
    std::shared_ptr<items::PropLibrary> CreateObject(const QString &progId) override
    {
        record("CreateObject " + progId.toStdString());
        return object;
    }
};

// The table around the bridge, recorded: every state of the controls it was
// shown, the lines for the history and the system lines, the waits.
struct RecordingItemHost final : items::ItemHost
{
    std::vector<items::ItemControls> shown;
    std::vector<QString> history;
    std::vector<QString> systemLines;
    int waits = 0;
    int waitedMs = 0;
    std::deque<double> randoms; // then 0.0
    int seeds = 0;
    double proponeselfWidth = 100;
    double proponeselfHeight = 115;
    std::function<void()> onWait;

    void ControlsChanged(const items::ItemControls &controls, const items::BoxLayout &) override
    {
        shown.push_back(controls);
    }
    void AddHistoryLine(const QString &text) override { history.push_back(text); }
    void AddSystemMessage(const QString &text) override { systemLines.push_back(text); }
    void Wait(int ms) override
    {
        ++waits;
        waitedMs += ms;
        if (onWait)
            onWait();
    }
    double Random() override
    {
        if (randoms.empty())
            return 0.0;
        const double r = randoms.front();
        randoms.pop_front();
        return r;
    }
    void SeedRandom() override { ++seeds; }
    std::uintptr_t WindowHandle() const override { return 0x1234; }
    double ProponeselfWidth() const override { return proponeselfWidth; }
    double ProponeselfHeight() const override { return proponeselfHeight; }
};

} // namespace tessaroc::test
