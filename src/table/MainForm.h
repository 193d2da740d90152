#pragma once

#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Surface.h"
#include "forms/ucAniGIF.h"
#include "platform/VideoControls.h"
#include "platform/WebPanel.h"
#include "table/ExitDialog.h"
#include "table/MingXiWindow.h"
#include "table/WindowSizing.h"
#include "table/WindowedControl.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <cstdint>
#include <memory>

namespace tessaroc::core {
struct TableState;
class HallService;
} // namespace tessaroc::core
namespace tessaroc::platform {
class Clock;
}

namespace tessaroc::table {

class HoverPictures;
class WebPanels;

// The table area Pic1 and the hidden holders of its pictures, with what is
// fixed on it: the two bars, the room strip with its text and its two tabs,
// the task icon, and the ad frame with the two web panels.
struct TableArea
{
    explicit TableArea(QWidget *window);

    Windowed<forms::Surface> Pic1;
    Windowed<forms::Surface> Pic2; // the small-screen table picture
    Windowed<forms::Surface> pic3; // the table pictures of the sound settings
    Windowed<forms::Surface> pic4;
    forms::Image imgDinglan; // top bar
    forms::Image imgDilan; // bottom bar
    forms::Image imgLocation; // room strip
    forms::Label Location; // room text
    forms::Image imgword1; // quick-phrase button
    forms::Image imgword2; // chat-window button
    forms::Image imgRenWu; // task icon
    forms::Image Bird; // frame of the first web panel
    Windowed<platform::WebPanel> WebBrowser1; // web panel in Bird
    Windowed<platform::WebPanel> WebBrowser2; // web panel of the seat shuffle
};

// The four seat panels, indexed by display position: avatar, name, coins,
// level, the ready and first-player marks, and the video of each seat (frames,
// buttons, name strips with their panel buttons, views, the own camera).
struct SeatPanels
{
    SeatPanels();

    forms::ControlArray<forms::Image> Tou; // avatars
    forms::ControlArray<forms::Label> Nid; // names
    forms::ControlArray<forms::Label> Cash; // coins
    forms::ControlArray<forms::Label> Level; // levels
    forms::ControlArray<forms::Image> OK; // ready marks
    forms::ControlArray<forms::Image> first; // first-player marks
    forms::ControlArray<forms::Image> ImgKuang; // video frames 1..3
    forms::ControlArray<forms::Image> ImgShow; // video buttons 1..3
    WindowedArray<forms::Surface> PicLocal; // name strips 0..3
    forms::ControlArray<forms::Image> ImCmd; // video panel buttons, four per strip
    WindowedArray<platform::VideoView> vshow; // video views 1..3
    Windowed<platform::VideoCapture> vcap1; // own camera
    Windowed<QLineEdit> Tiplbl; // tooltip box of the video panels
};

// The cards on the table: the own hand and every seat's play row, the
// card-back fans with their counts, the bottom cards, the deal piles, the
// flying cards of the deal and the card turned up at the deal.
struct HandRows
{
    HandRows();

    forms::ControlArray<forms::Image> cardImage0; // own hand and own plays
    forms::ControlArray<forms::Image> cardImage1;
    forms::ControlArray<forms::Image> cardImage2;
    forms::ControlArray<forms::Image> cardImage3;
    forms::ControlArray<forms::Image> shanImage; // card-back fans of positions 1..3
    forms::ControlArray<forms::Label> Labrest; // remaining cards of positions 1..3
    forms::ControlArray<forms::Image> imgDiPai; // bottom cards
    forms::Image imgFaPai; // deal pile
    forms::Image imgFaPai8; // second deal pile
    forms::ControlArray<forms::Image> imgCardMove; // flying cards of the deal
    forms::ControlArray<forms::Image> ImgLPai; // the card turned up at the deal

    // The card pictures of a display position: cardImage1..3 for positions
    // 1..3, the own row cardImage0 for position 0 and any other value.
    forms::ControlArray<forms::Image> &cardRow(int pos);
};

// The action buttons of the own turn and the two-way choice.
struct ActionButtons
{
    ActionButtons();

    forms::ControlArray<forms::Image>
            Operation; // play, hint, pass, sort, previous trick, lower all
    forms::ControlArray<forms::Image> tanOperation; // two-way choice
};

// The bid buttons and the stakes of the hand: the two multipliers with their
// values, the room rule notes and the settlement's multiplier text.
struct BidControls
{
    BidControls();

    forms::ControlArray<forms::Image> btnJiaofen; // call, no call
    forms::ControlArray<forms::Label> lbfont; // room rule notes
    forms::Image imgBeishu1; // shown-cards multiplier icon
    forms::Label lblDifen; // its value
    forms::Image Imgwealth; // wealth multiplier icon
    forms::Label lbwealth; // its value
    forms::Label lblBeishu; // multiplier text of the settlement
};

// The toolbar at the bottom right and the bank icon on the room strip.
struct Toolbar
{
    Toolbar();

    forms::ControlArray<forms::Image> AnNiu; // toolbar buttons 0..8
    forms::Image Bank; // bank icon
};

// What speaks to the player: the play bubbles and the speech text, the two
// system message lines, the chat box and its history label, the item notices.
struct MessageControls
{
    MessageControls();

    forms::ControlArray<forms::Image> Speak; // play bubbles
    forms::Image words; // speech text picture
    WindowedArray<QListWidget> Sysmsg; // the two system message lines
    Windowed<QLineEdit> Chat; // chat box
    forms::Label Lbchat; // opens the chat history
    forms::Label LbProp; // item notices
    forms::Label Proponeself; // own-seat item notice
};

// The turn clock, which the play flow moves to the seat to act.
struct TurnClock
{
    explicit TurnClock(const platform::Clock &clock);

    forms::ucAniGIF Time_Img; // turn clock
    forms::Label Number; // its seconds
};

// The animations over the table and the seat-shuffle picture.
struct TableEffects
{
    explicit TableEffects(const platform::Clock &clock);

    forms::ucAniGIF bombPlayer; // bomb animation
    forms::ucAniGIF UcDiZhu; // landlord badge
    forms::Image ImgShuffle; // seat-shuffle picture
    forms::Label LblShuffle; // its caption
};

// The painted frame's parts, directly on the window and placed in twips: the
// template, the icon, the caption buttons, the drag strip and the caption.
struct FrameControls
{
    explicit FrameControls(forms::Surface *window);

    forms::Image Skin; // frame template, never shown
    forms::Image ImgIcon;
    forms::ControlArray<forms::Image> ImgClose; // 0 shown; 1 normal, 2 hover, 3 pressed
    forms::ControlArray<forms::Image> ImgMin;
    forms::Label LbMove; // drag strip
    forms::Label lcaption;
};

// The window's timers with their intervals; whoever runs a timer connects
// its handler.
struct TableTimers
{
    TableTimers();

    QTimer TimerBong; // main loop, 50 ms
    QTimer TimerKeepAlive; // 5000 ms
    QTimer TimerShuffle; // seat-shuffle caption, 300 ms
    QTimer Timerformer; // end of the previous-trick view, 3000 ms
};

// The table window. It is borderless; on a screen larger than the table it
// paints a frame of its own with caption buttons (DrawSkinFrame). Everything
// of the game lies in the table area Pic1, in pixels of the 1024 x 768 design
// times the layout scale. Windowless controls (pictures and labels) are
// elements of their surface; list boxes, the chat box, the name strips, the
// video views and the web panels are widgets and always lie above them.
//
// The controls carry the game's names and are reached directly through the
// group of their area: form.hands.cardImage0, form.bid.btnJiaofen,
// form.timers.TimerBong. The play flow draws on them; the other subsystems
// change them only in their own view of the table (the chat its chat box,
// the hosts of the sound settings, the item library and the video link, the
// settlement's view). The
// window's design gives each control its picture, font and rough place;
// InitSeatLayout and InitPlayLayout create the further elements of the groups
// and place everything for the layout scale, and ClearTable puts the table
// back before every hand.
class MainForm : public forms::Surface
{
    Q_OBJECT

public:
    MainForm(core::TableState &state, const platform::Clock &clock, core::HallService &hall,
             QWidget *parent = nullptr);
    ~MainForm() override;

    // The window's place and size in twips; the widget gets them in whole
    // pixels.
    double Left() const { return geometry_.Left; }
    double Top() const { return geometry_.Top; }
    double Width() const { return geometry_.Width; }
    double Height() const { return geometry_.Height; }
    void setLeft(double left);
    void setTop(double top);
    void setWidth(double width);
    void setHeight(double height);
    // 0 normal, 1 minimised, 2 maximised.
    enum WindowStateCode : int { Normal = 0, Minimized = 1, Maximized = 2 };
    int WindowState() const;
    void setWindowStateCode(int state);

    // The start-up's window steps: the window and the table area sized to the
    // screen with the skin frame painted as the sizing says, the layout scale
    // set, the small-screen table surface and the two bars placed.
    void FitToScreen(const WindowSizing &sizing);

    // The two start-up layouts, each run once; then the clearing before every
    // hand.
    void InitSeatLayout();
    void InitPlayLayout();
    void ClearTable();

    // Paints the frame for the window's current size and places the caption
    // buttons, the drag strip and the caption.
    void DrawSkinFrame();
    // What is painted on the window itself (the frame), kept as the window
    // keeps it.
    const QPixmap &frameCanvas() const { return frameCanvas_; }

    // The window's events.
    void Form_Activate();
    void Form_Resize();
    void Form_MouseMove(int button, int shift, double x, double y);
    void ImgClose_MouseDown(int index, int button, int shift, double x, double y);
    void ImgClose_MouseUp(int index, int button, int shift, double x, double y);
    void ImgClose_MouseMove(int index, int button, int shift, double x, double y);
    void ImgClose_Click(int index);
    void ImgMin_MouseDown(int index, int button, int shift, double x, double y);
    void ImgMin_MouseUp(int index, int button, int shift, double x, double y);
    void ImgMin_MouseMove(int index, int button, int shift, double x, double y);
    void ImgMin_Click(int index);
    void LbMove_MouseDown(int button, int shift, double x, double y);
    void LbMove_MouseMove(int button, int shift, double x, double y);

    // The task window, created on first reference.
    MingXiWindow &frmMingXi();
    bool frmMingXiLoaded() const { return frmMingXi_ != nullptr; }

    // The leave dialog, created on first reference (its load handler runs
    // then); unloading discards it, also from inside one of its own buttons.
    // Its buttons' clicks come out as leaveDialogLeave and leaveDialogStay,
    // Esc typed on it as leaveDialogEscape.
    ExitDialog &frmExit();
    bool frmExitLoaded() const { return frmExit_ != nullptr; }
    void UnloadFrmExit();
    // Esc, the toolbar's leave button and the frame's close button open the
    // leave dialog this way: centred on the table, the warning line as the
    // hand stands, shown.
    void ShowLeaveDialog();

    // The table's state and clock the window was built over, for the pieces
    // built beside the window before the core's context exists.
    core::TableState &tableState() const { return state_; }
    const platform::Clock &clock() const { return clock_; }

    // The hover pictures, tooltips and player card; the web panels' and the
    // seat-shuffle caption's events.
    HoverPictures &hover() { return *hover_; }
    WebPanels &webPanels() { return *webPanels_; }

    // Adds a line to the two system message lines: a free line takes it, or
    // the older line gives way.
    void AddSystemMessage(const QString &text);

Q_SIGNALS:
    // The close button asks to leave the table, as the toolbar's leave button
    // does; the play flow opens the leave dialog.
    void leaveRequested();
    // The leave dialog's leave and stay buttons.
    void leaveDialogLeave();
    void leaveDialogStay();
    // Esc typed on the leave dialog: the table's Esc, which closes it.
    void leaveDialogEscape();

    // What the window's events ask of the subsystems on top of it, which the
    // program connects. The window went to the taskbar: the chat's bubbles
    // go and the sound stops. It came back with the hall minimised: the item
    // views go back in place and the bubbles stay hidden until the chat
    // shows them again. The caption strip was grabbed to move the window:
    // the chat's history and phrase windows close.
    void minimised();
    void restored();
    void moveStarted();
    // ClearTable begins: the chat closes the bubbles and its history. The
    // hand's state is cleared: the settlement's boards are put back, and
    // before the first hand at this table the hall of fame's running totals
    // go too.
    void clearingTable();
    void handCleared(bool beforeFirstHand);
    // Leaving the table empties the view: the settlement's records and the
    // chat's history go with it.
    void viewReset();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    core::TableState &state_;
    const platform::Clock &clock_;
    core::HallService &hall_;
    TwipsRect geometry_;
    QPixmap frameCanvas_;
    std::unique_ptr<MingXiWindow> frmMingXi_;
    std::unique_ptr<ExitDialog> frmExit_;
    std::unique_ptr<HoverPictures> hover_;
    std::unique_ptr<WebPanels> webPanels_;
    bool fitting_ = false;

    void stackTableElements();
    void buildDesign();
    void createWidgets();
    void designTableArea();
    void designSeatPanels();
    void designHandRows();
    void designButtons();
    void designMessages();
    void designStakes();
    void designTurnAndEffects();
    void designFrame();
    void connectHandlers();
    void applyGeometry();
    void paintSkinPieces();
    void startOwnCamera(forms::LayoutScale s);
    forms::LayoutScale scale() const;

public:
    // The controls by area of the window. All windowless ones of the table
    // area are elements of Pic1, stacked as the design stacks them.
    TableArea area;
    SeatPanels seats;
    HandRows hands;
    ActionButtons actions;
    BidControls bid;
    Toolbar toolbar;
    MessageControls messages;
    TurnClock turn;
    TableEffects effects;
    FrameControls frame;
    TableTimers timers;
};

} // namespace tessaroc::table
