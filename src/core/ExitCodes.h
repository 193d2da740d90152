#pragma once

namespace tessaroc::core {

// How the client ended, as its process exit code. Each ending has its own
// number so that the hall, scripts and tests can tell them apart; the README
// lists them. 1 stays free for failures of the runtime itself, and codes from
// 126 up belong to the shell.
enum class ExitCode : int {
    NormalClose = 0, // the table window was closed
    EmptyCommandLine = 2, // started without a line: not by the hall
    BadCommandLine = 3, // a field of the line is missing or wrong
    SecondInstance = 4, // another table client already runs
    HallMissing = 5, // the hall window the table had to hand back to is gone
    LoginRefused = 6, // the server refused the login or could not start the game
    ReconnectRefused = 7, // the server refused a reconnection
    ReceiveOverflow = 8, // more bytes arrived than the receive ring holds
    OwnAccountLeft = 9, // the server said the own account left the table
    SpectatorEnd = 10, // a spectator's table lost a player
    StartupFault = 11, // the start-up failed; the hall was restored
};

} // namespace tessaroc::core
