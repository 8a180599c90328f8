#pragma once

#include <vector>

#include "latency/latency_log.h"

// Pairs the injector's events with the messages the MIDI port recorded, by
// order and value, and collects the latencies of the counted events.

namespace latency {

struct RoundSamples {
    std::vector<double> send_to_message_ms;      // key events: SendInput to message
    std::vector<double> schedule_to_message_ms;  // key events: scheduled time to message
    std::vector<double> chord_spread_ms;         // chords: first to last message
    std::vector<double> send_call_ms;            // key events: SendInput's own time, message or not
    int counted_events = 0;
    int lost_messages = 0;  // expected by a counted event and never recorded
};

// Each expected message is paired with a recorded message of the same value
// among the next few not yet taken, walking both from their ends, and only
// with one that arrived after its event was sent: a lost message then costs
// its own event only, and a stray one is stepped over. A chord gives a spread
// only when all its messages arrived. Samples come in reverse event order.
void PairRound(const InjectLog& log, const std::vector<RecordedMessage>& recorded, RoundSamples& samples);

}  // namespace latency
