#include "latency/latency_pairing.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace latency {

namespace {

// How far the search for a message's match reaches. Small, so that a lost
// message is not paired with the same value of another event.
constexpr size_t kLookahead = 8;

// Walks the record from its end: messages arrive in the order the events
// were sent, so pairing the last event first means that a run of lost
// events can only reach back to messages that arrived before they were
// sent, which the arrival test below refuses. (Pairing from the start, the
// events before a silence would take the equal values after it.)
class RecordCursor {
public:
    explicit RecordCursor(const std::vector<RecordedMessage>& recorded) : recorded_(recorded), end_(recorded.size()) {}

    // Seconds of the latest untaken message of this value that arrived at or
    // after `sent`, among the next few; that message is then taken.
    std::optional<double> Take(uint32_t message, double sent) {
        const size_t stop = end_ > kLookahead ? end_ - kLookahead : 0;
        for (size_t i = end_; i > stop; --i) {
            const RecordedMessage& candidate = recorded_[i - 1];
            if (candidate.message != message || candidate.seconds < sent) continue;
            end_ = i - 1;
            return candidate.seconds;
        }
        return std::nullopt;
    }

private:
    const std::vector<RecordedMessage>& recorded_;
    size_t end_;
};

void AddKeySample(const InjectedEvent& event, double arrived, double ticks_per_second, RoundSamples& samples) {
    const double scheduled = static_cast<double>(event.scheduled_ticks) / ticks_per_second;
    const double sent = static_cast<double>(event.sent_ticks) / ticks_per_second;
    samples.send_to_message_ms.push_back((arrived - sent) * 1000.0);
    samples.schedule_to_message_ms.push_back((arrived - scheduled) * 1000.0);
}

}  // namespace

void PairRound(const InjectLog& log, const std::vector<RecordedMessage>& recorded, RoundSamples& samples) {
    RecordCursor cursor(recorded);
    const auto ticks_per_second = static_cast<double>(log.ticks_per_second);
    for (auto event = log.events.rbegin(); event != log.events.rend(); ++event) {
        const double sent = static_cast<double>(event->sent_ticks) / ticks_per_second;
        std::vector<double> arrivals;
        for (auto message = event->messages.rbegin(); message != event->messages.rend(); ++message) {
            if (auto arrived = cursor.Take(*message, sent)) arrivals.push_back(*arrived);
        }
        if (!event->counted) continue;
        ++samples.counted_events;
        if (event->kind == EventKind::Key) {
            samples.send_call_ms.push_back(static_cast<double>(event->returned_ticks - event->sent_ticks) * 1000.0 /
                                           ticks_per_second);
        }
        samples.lost_messages += static_cast<int>(event->messages.size() - arrivals.size());
        if (arrivals.size() != event->messages.size()) continue;
        if (event->kind == EventKind::Chord) {
            const auto [first, last] = std::minmax_element(arrivals.begin(), arrivals.end());
            samples.chord_spread_ms.push_back((*last - *first) * 1000.0);
        } else {
            AddKeySample(*event, arrivals.front(), ticks_per_second, samples);
        }
    }
}

}  // namespace latency
