#include "Speech.h"

#include <espeak-ng/speak_lib.h>

namespace soundgen {

namespace {

int collect(short *wave, int count, espeak_EVENT *events)
{
    auto *out = static_cast<std::vector<short> *>(events->user_data);
    if (wave && count > 0)
        out->insert(out->end(), wave, wave + count);
    return 0;
}

} // namespace

// The synthesiser runs in this process: it loads its Mandarin dictionary
// once, where a program per line would load it for every line.
std::vector<Signal> speak(const std::vector<Utterance> &lines, QString &error)
{
    const int rate
            = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        error = QStringLiteral("espeak-ng cannot start");
        return {};
    }
    espeak_SetSynthCallback(collect);
    std::vector<Signal> out;
    for (const Utterance &u : lines) {
        const QByteArray voice = u.voice.toUtf8();
        const QByteArray text = u.text.toUtf8();
        if (espeak_SetVoiceByName(voice.constData()) != EE_OK) {
            error = QStringLiteral("espeak-ng has no voice %1").arg(u.voice);
            return {};
        }
        espeak_SetParameter(espeakRATE, u.speed, 0);
        espeak_SetParameter(espeakPITCH, u.pitch, 0);
        std::vector<short> pcm;
        espeak_Synth(text.constData(), static_cast<std::size_t>(text.size()) + 1, 0, POS_CHARACTER,
                     0, espeakCHARS_UTF8, nullptr, &pcm);
        espeak_Synchronize();
        Signal said;
        said.rate = rate;
        said.samples.reserve(pcm.size());
        for (short s : pcm)
            said.samples.push_back(static_cast<float>(s) / 32768.0f);
        said.trimSilence(0.01f, 0.04);
        if (said.samples.empty()) {
            error = QStringLiteral("espeak-ng said nothing for \"%1\"").arg(u.text);
            return {};
        }
        out.push_back(std::move(said));
    }
    espeak_Terminate();
    return out;
}

} // namespace soundgen
