#include "latency/latency_pairing.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace latency {

namespace {

// How far past the next unpaired message a match is looked for. Small, so that
// a lost message is never paired with the same value one key cycle later.
constexpr size_t kLookahead = 8;

class RecordCursor {
public:
    explicit RecordCursor(const std::vector<RecordedMessage>& recorded) : recorded_(recorded) {}

    // Seconds of the matching message, which is then taken.
    std::optional<double> Take(uint32_t message) {
        const size_t end = std::min(recorded_.size(), next_ + kLookahead);
        for (size_t i = next_; i < end; ++i) {
            if (recorded_[i].message != message) continue;
            next_ = i + 1;
            return recorded_[i].seconds;
        }
        return std::nullopt;
    }

private:
    const std::vector<RecordedMessage>& recorded_;
    size_t next_ = 0;
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
    for (const InjectedEvent& event : log.events) {
        std::vector<double> arrivals;
        for (uint32_t message : event.messages) {
            if (auto arrived = cursor.Take(message)) arrivals.push_back(*arrived);
        }
        if (!event.counted) continue;
        ++samples.counted_events;
        samples.lost_messages += static_cast<int>(event.messages.size() - arrivals.size());
        if (arrivals.size() != event.messages.size()) continue;
        if (event.kind == EventKind::Chord) {
            const auto [first, last] = std::minmax_element(arrivals.begin(), arrivals.end());
            samples.chord_spread_ms.push_back((*last - *first) * 1000.0);
        } else {
            AddKeySample(event, arrivals.back(), ticks_per_second, samples);
        }
    }
}

}  // namespace latency
