#pragma once

#include "platform/VideoDevices.h"
#include "video/VideoHost.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include "CallRecord.h"

#include <map>
#include <string>
#include <vector>

// Scripted video controls: a peer-to-peer link and a camera that record every
// call in order and answer as the test sets them, a synthetic camera whose
// frames are complete BMP images, and a table that records what the link
// shows.
namespace tessaroc::test {

struct ScriptedP2PSocket final : CallRecord, platform::P2PSocket
{
    std::array<std::int16_t, 4> states{}; // by slot 1..3
    std::array<QString, 4> names{};
    std::int16_t count = 3;
    // A request takes its slot at once, as the link relies on.
    bool requestTakesSlot = true;

    std::int16_t PeerState(std::int16_t slot) override
    {
        record("PeerState " + std::to_string(slot));
        return slot >= 1 && slot <= 3 ? states[static_cast<std::size_t>(slot)] : std::int16_t{0};
    }
    QString PeerName(std::int16_t slot) override
    {
        record("PeerName " + std::to_string(slot));
        return slot >= 1 && slot <= 3 ? names[static_cast<std::size_t>(slot)] : QString();
    }
    std::int16_t PeerCount() override
    {
        record("PeerCount");
        return count;
    }
    void setPeerCount(std::int16_t n) override
    {
        record("setPeerCount " + std::to_string(n));
        count = n;
    }
    void setServerAddress(const QString &host) override
    {
        record("setServerAddress " + host.toStdString());
    }
    void setServerPort(std::int32_t port) override
    {
        record("setServerPort " + std::to_string(port));
    }
    void Login(const QString &account) override { record("Login " + account.toStdString()); }
    void Logout() override { record("Logout"); }
    void RequestPeer(std::int16_t slot, const QString &account) override
    {
        record("RequestPeer " + std::to_string(slot) + " " + account.toStdString());
        if (requestTakesSlot && slot >= 1 && slot <= 3) {
            states[static_cast<std::size_t>(slot)] = 1;
            names[static_cast<std::size_t>(slot)] = account;
        }
    }
    void DropPeer(std::int16_t slot) override { record("DropPeer " + std::to_string(slot)); }
    void SendFormat(std::int16_t slot, const platform::CaptureFormat &) override
    {
        record("SendFormat " + std::to_string(slot));
    }
    void SendRate(std::int16_t slot, std::int16_t rate) override
    {
        record("SendRate " + std::to_string(slot) + " " + std::to_string(rate));
    }
    void SendFrame(std::int16_t slot, const platform::VideoFrame &frame) override
    {
        record("SendFrame " + std::to_string(slot));
        sentFrames.emplace_back(slot, frame);
    }
    std::vector<std::pair<int, platform::VideoFrame>> sentFrames;

    // Calls that change something, without the reads.
    std::vector<std::string> actions() const
    {
        std::vector<std::string> out;
        for (const std::string &c : calls) {
            if (c.rfind("PeerState", 0) != 0 && c.rfind("PeerName", 0) != 0 && c != "PeerCount")
                out.push_back(c);
        }
        return out;
    }
};

// A synthetic camera: every captured frame is a complete BMP picture of its
// own colour, so a view or a photo can be read back as an image.
struct SyntheticCamera final : CallRecord, platform::CameraDevice
{
    std::int16_t startAnswer = Capturing;
    std::int16_t rate = 0;
    int captured = 0;

    static platform::VideoFrame bmpFrame(int n)
    {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((n * 37) % 360, 200, 200));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }
    // Captures one frame and raises the event.
    platform::VideoFrame capture()
    {
        const platform::VideoFrame frame = bmpFrame(++captured);
        if (onFrameCaptured)
            onFrameCaptured(frame);
        return frame;
    }

    platform::CaptureFormat captureFormat() override
    {
        record("CaptureFormat");
        return {{320, 240, 24, 2}};
    }
    std::int16_t CaptureRate() override
    {
        record("CaptureRate");
        return rate;
    }
    void setCaptureRate(std::int16_t r) override
    {
        record("setCaptureRate " + std::to_string(r));
        rate = r;
    }
    void setOption1(bool on) override { record(std::string("Option1 ") + (on ? "1" : "0")); }
    void setOption2(bool on) override { record(std::string("Option2 ") + (on ? "1" : "0")); }
    void setOption4(bool on) override { record(std::string("Option4 ") + (on ? "1" : "0")); }
    void ResetDevice() override { record("ResetDevice"); }
    std::int16_t StartCapture() override
    {
        record("StartCapture");
        return startAnswer;
    }
    void StopCapture() override { record("StopCapture"); }
    void ReleaseDevice() override { record("ReleaseDevice"); }
};

struct RecordingFrameView final : platform::FrameView
{
    std::vector<platform::VideoFrame> drawn;
    void DrawFrame(const platform::VideoFrame &frame) override { drawn.push_back(frame); }
};

// The table and the system around the link, recorded.
struct RecordingVideoHost final : CallRecord, video::VideoHost
{
    struct Control
    {
        bool visible = false;
        bool enabled = true;
        QRectF rect;
        int front = 0;
    };
    std::map<std::pair<video::VideoControl, int>, Control> controls;
    std::array<RecordingFrameView, 4> views;
    std::map<int, int> buttonPictures;
    std::vector<std::pair<int, int>> pictureLoads;
    QString tipText;
    std::vector<QString> systemLines;
    std::vector<std::pair<int, double>> playerCards;
    QRectF tableWindow{0, 0, 15360, 11520};
    QString programFolder;
    QDateTime now{QDate(2010, 3, 17), QTime(9, 5, 7)};
    bool musicBoxRunning = false;
    bool musicBoxInstalled = false;
    bool answerOk = false;
    int fronts = 0;

    Control &at(video::VideoControl c, int i) { return controls[{c, i}]; }
    bool shown(video::VideoControl c, int i) const
    {
        auto it = controls.find({c, i});
        return it != controls.end() && it->second.visible;
    }

    bool Visible(video::VideoControl c, int i) const override { return shown(c, i); }
    void SetVisible(video::VideoControl c, int i, bool v) override { at(c, i).visible = v; }
    void SetEnabled(video::VideoControl c, int i, bool e) override { at(c, i).enabled = e; }
    void ZOrder(video::VideoControl c, int i) override { at(c, i).front = ++fronts; }
    QRectF Rect(video::VideoControl c, int i) const override
    {
        auto it = controls.find({c, i});
        return it == controls.end() ? QRectF() : it->second.rect;
    }
    void Move(video::VideoControl c, int i, const QRectF &r) override { at(c, i).rect = r; }
    void SetTipText(const QString &text) override { tipText = text; }
    void LoadButtonPicture(int index, int id) override
    {
        buttonPictures[index] = id;
        pictureLoads.emplace_back(index, id);
    }
    QRectF ButtonRect(int index) const override { return QRectF(2 + 20 * (index % 4), 2, 17, 16); }
    platform::FrameView &View(int pos) override { return views[static_cast<std::size_t>(pos)]; }
    void AddSystemMessage(const QString &text) override { systemLines.push_back(text); }
    void ShowPlayerCard(int pos, double top) override { playerCards.emplace_back(pos, top); }
    QRectF TableWindow() const override { return tableWindow; }
    QString ProgramFolder() const override { return programFolder; }
    QDateTime Now() const override { return now; }
    void OpenFolder(const QString &path) override { record("OpenFolder " + path.toStdString()); }
    void OpenPage(const QString &url) override { record("OpenPage " + url.toStdString()); }
    bool PostToWindow(const QString &caption, std::uint32_t message) override
    {
        record("PostToWindow " + caption.toStdString() + " " + std::to_string(message));
        return musicBoxRunning;
    }
    void StartProgram(const QString &line) override
    {
        record("StartProgram " + line.toStdString());
    }
    bool FileExists(const QString &path, const QString &name) override
    {
        record("FileExists " + path.toStdString() + " " + name.toStdString());
        return musicBoxInstalled;
    }
    bool AskOkCancel(const QString &, const QString &title) override
    {
        record("AskOkCancel " + title.toStdString());
        return answerOk;
    }
    void StopSound() override { record("StopSound"); }
};

} // namespace tessaroc::test
