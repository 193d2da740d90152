#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tessaroc::items {

// The item controls of the table window as the bridge keeps them: the bank
// icon, the treasure boxes ImgProp and the notice label LbProp. The bridge
// changes these values; the table shows them (ItemHost::ControlsChanged),
// and the tests read them.
struct BoxControl
{
    enum class Picture { None, Closed, Open };
    bool visible = false;
    bool enabled = false;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    Picture picture = Picture::None;
    int front = 0; // the order in which controls were brought to the front
};

struct NoticeLabel
{
    enum Alignment : std::int16_t { Left = 0, Right = 1, Centre = 2 };
    bool visible = false;
    QString caption;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::int32_t fontSize = 0; // points; 0 keeps the table's design font
    std::uint32_t colour = 0; // 0x00BBGGRR
    std::int16_t alignment = Left;
    int front = 0;
};

struct ItemControls
{
    static constexpr int kBankPicture = 600;
    static constexpr int kBankHoverPicture = 601;
    static constexpr std::uint32_t kRed = 0xFF;

    bool BankVisible = false;
    int BankFront = 0;
    int BankPicture = kBankPicture;
    bool BankHover = false;
    bool KeyPreview = false;
    // Element 0 exists from the start; the library's start loads the rest.
    std::vector<BoxControl> ImgProp = std::vector<BoxControl>(1);
    NoticeLabel LbProp;
    int frontCount = 0;
};

} // namespace tessaroc::items
