#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <vector>

// The two records of one latency round, as text files:
//
// The injector's log, one line per SendInput call after a header line:
//   ticks_per_second <F>
//   <kind> <counted> <scheduled_ticks> <sent_ticks> <returned_ticks> <message>...
// kind is "key" (one key press or release) or "chord" (ten keys in one
// call); counted is 0 for the probe and the warm-up; the ticks are
// QueryPerformanceCounter values: the time the event was scheduled for, the
// time just before SendInput and the time it returned (it returns only after
// the program's hook has run); the messages (8 hex digits each) are the
// ones the event must produce, in order.
//
// The virtual MIDI port's record is read through the fixtures' reader
// (support/virtual_midi.h); only its accepted sends matter here.

namespace latency {

enum class EventKind { Key, Chord };

struct InjectedEvent {
    EventKind kind = EventKind::Key;
    bool counted = false;
    int64_t scheduled_ticks = 0;
    int64_t sent_ticks = 0;
    std::vector<uint32_t> messages;
    int64_t returned_ticks = 0;
};

struct InjectLog {
    int64_t ticks_per_second = 0;
    std::vector<InjectedEvent> events;
};

struct RecordedMessage {
    double seconds = 0;  // counter ticks divided by the counter's frequency
    uint32_t message = 0;
};

void WriteInjectLog(std::ostream& out, const InjectLog& log);

// Nothing when the header is missing or a line is malformed: a damaged log
// must not yield figures.
std::optional<InjectLog> ReadInjectLog(std::istream& in);

// The accepted sends of the record in order; a missing record has none.
std::vector<RecordedMessage> ReadSentMessages(const std::filesystem::path& record);

}  // namespace latency
