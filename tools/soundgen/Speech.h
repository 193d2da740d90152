#pragma once

#include "Signal.h"

#include <QString>

#include <vector>

namespace soundgen {

// One line for the Mandarin speech synthesiser (espeak-ng) to say.
struct Utterance
{
    QString text;
    QString voice; // "cmn" with a variant, e.g. "cmn+f2"
    int pitch = 50; // 0 .. 100
    int speed = 180; // words a minute
};

// Speaks every utterance and returns the signals in the same order, trimmed
// of their silent ends. An empty result and a message in error when the
// synthesiser cannot start, lacks a voice or says nothing for a line.
std::vector<Signal> speak(const std::vector<Utterance> &lines, QString &error);

} // namespace soundgen
