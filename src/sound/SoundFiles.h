#pragma once

#include <array>
#include <string>
#include <string_view>

// The names of the sound folders and files the client plays. The folders lie
// next to the program's folder ("<program folder>/../common/..."); the build
// makes every file listed here (tools/soundgen). No Qt, so that the generator
// can share the list.
namespace tessaroc::sound::files {

// The folders below the program's folder.
inline constexpr std::string_view kMusicFolder = "/../common/music/";
inline constexpr std::string_view kPkFolder = "/../common/pk/";
inline constexpr std::string_view kGameFolder = "/../common/tsroc/";
inline constexpr std::string_view kOtherGameFolder = "/../common/morlisk/";

// The sound table, entries 1 to 6 (entry 0 is not used): the background loop
// first, the turn clocks' warning tick last.
inline constexpr std::array<std::string_view, 7> kSoundTable
        = {"", "majiang.wav", "dapai.wav", "qupai.wav", "xipai.wav", "zhise.wav", "tishi.wav"};

// Effects in the shared folder "pk".
inline constexpr std::string_view kDeal = "sys010.wav";
inline constexpr std::string_view kCardUp = "sys020.wav";
inline constexpr std::string_view kCardDown = "sys030.wav";
inline constexpr std::string_view kBomb = "sys040.wav";
inline constexpr std::string_view kFourJokers = "sys060.wav";
inline constexpr std::string_view kPlainPlay = "sys070.wav";
inline constexpr std::string_view kPass = "sys080.wav";
inline constexpr std::string_view kHint = "sys110.wav";
inline constexpr std::string_view kSettlementWin = "sys121.wav";
inline constexpr std::string_view kSettlementLoss = "sys150.wav";
inline constexpr std::array<std::string_view, 10> kPkEffects
        = {kDeal,      kCardUp, kCardDown, kBomb,          kFourJokers,
           kPlainPlay, kPass,   kHint,     kSettlementWin, kSettlementLoss};

// The game's own sounds in "tsroc".
inline constexpr std::string_view kPlane = "feiji.wav";
inline constexpr std::string_view kPairChain = "liandui.wav";
inline constexpr std::string_view kWin = "win.wav";
inline constexpr std::string_view kLose = "lose.wav";
inline constexpr std::array<std::string_view, 4> kGameSounds = {kPlane, kPairChain, kWin, kLose};

// The voice of a quick phrase, in "pk": "v", the seat's voice set, "0", the
// speaker's sex byte, "0", the list digit (1 for the first page, 2 for the
// second), then the phrase number: "10" for 10, otherwise "0" followed by the
// number, all in decimal without leading zeros. Voice set 1, sex 1, list 1,
// phrase 3 give "v1010103.wav"; phrase 12 of that list "v10101012.wav".
inline std::string PhraseVoiceFileName(int voiceSet, int sex, int list, int number)
{
    const std::string numberText = number == 10 ? std::string("10") : "0" + std::to_string(number);
    return "v" + std::to_string(voiceSet) + "0" + std::to_string(sex) + "0"
            + (list == 1 ? "1" : "2") + numberText + ".wav";
}

// The voice sets are the display positions plus 1; a sex byte of 0 is a
// woman, 1 the usual byte for a man.
inline constexpr int kVoiceSets = 4;
inline constexpr std::array<int, 2> kVoiceSexes = {0, 1};

} // namespace tessaroc::sound::files
