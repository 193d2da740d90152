#pragma once

#include "Referee.h"
#include "Seats.h"

#include "wire/MessageFrame.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A table client reduced to what a script needs: it follows the frames a
// server sends (own seat, own hand, turns, the play to beat, the echo bytes)
// and answers its turns the way a patient player pressing the hint button
// would. Frames are built with the wire's builders, not by the client program.
namespace tessaroc::tableserver::testing {

wire::MessageFrame loginFrame(const std::string &account, const std::string &password);
wire::MessageFrame reconnectFrame(const std::string &account, const std::string &password,
                                  std::uint16_t echo, std::int32_t resumeValue);
wire::MessageFrame bidFrame(std::uint8_t seat, bool call);
wire::MessageFrame passFrame(std::uint8_t seat);
wire::MessageFrame playFrame(std::uint8_t seat, std::span<const std::uint8_t> ids,
                             std::uint8_t kind);
wire::MessageFrame playFrame(std::uint8_t seat, const Play &play);
wire::MessageFrame readyFrame(std::uint8_t seat);
wire::MessageFrame leaveFrame(std::uint8_t seat);
wire::MessageFrame keepAliveFrame(std::uint8_t seat);
wire::MessageFrame chatFrame(std::uint8_t seat, const std::string &utf8Text,
                             std::uint8_t whisperTo = 0);

class ClientModel
{
public:
    explicit ClientModel(std::string account, std::string password = "secret")
        : account_(std::move(account))
        , password_(std::move(password))
    { }

    const std::string &account() const { return account_; }
    wire::MessageFrame login() const { return loginFrame(account_, password_); }
    wire::MessageFrame reconnect() const
    {
        return reconnectFrame(account_, password_, echo_, resumeValue_);
    }

    // Takes a received frame as the client's dispatcher would.
    void receive(const wire::MessageFrame &frame);

    // The answer to an open bid or play turn (stamped with the echo bytes,
    // as the client's send path does), or nothing when no turn is open. A
    // call is made when wantsToCall says so.
    std::optional<wire::MessageFrame> answerTurn(bool call = false);
    // A frame with the echo bytes of the last frame taken.
    wire::MessageFrame stamped(wire::MessageFrame frame) const;

    std::uint8_t seat() const { return seat_; }
    const std::vector<CardCode> &hand() const { return hand_; }
    std::int32_t resumeValue() const { return resumeValue_; }
    std::uint16_t echo() const { return echo_; }
    bool bidTurn() const { return bidTurn_; }
    bool playTurn() const { return playTurn_; }
    bool mustLead() const { return mustLead_; }
    const Play &toBeat() const { return toBeat_; }
    int landlord() const { return landlord_; }
    int resultFrames() const { return resultFrames_; }
    bool loggedIn() const { return loggedIn_; }
    bool told(std::uint8_t cmd) const;

private:
    std::string account_;
    std::string password_;
    std::uint8_t seat_ = 0;
    bool loggedIn_ = false;
    std::vector<CardCode> hand_;
    std::int32_t resumeValue_ = 0;
    std::uint16_t echo_ = 0;
    bool bidTurn_ = false;
    bool playTurn_ = false;
    bool mustLead_ = false;
    Play toBeat_;
    int landlord_ = -1;
    int resultFrames_ = 0;
    std::array<bool, 256> seen_{};
};

} // namespace tessaroc::tableserver::testing
