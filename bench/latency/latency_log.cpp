#include "latency/latency_log.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "support/virtual_midi.h"

namespace latency {

namespace {

const char* KindWord(EventKind kind) { return kind == EventKind::Chord ? "chord" : "key"; }

std::optional<EventKind> ParseKind(const std::string& word) {
    if (word == "key") return EventKind::Key;
    if (word == "chord") return EventKind::Chord;
    return std::nullopt;
}

std::optional<uint32_t> ParseHex(const std::string& word) {
    if (word.empty() || word.size() > 8) return std::nullopt;
    size_t used = 0;
    const unsigned long value = std::stoul(word, &used, 16);
    if (used != word.size()) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<InjectedEvent> ParseEvent(const std::string& line) {
    std::istringstream words(line);
    std::string kind_word;
    int counted = 0;
    InjectedEvent event;
    if (!(words >> kind_word >> counted >> event.scheduled_ticks >> event.sent_ticks >> event.returned_ticks)) {
        return std::nullopt;
    }
    const auto kind = ParseKind(kind_word);
    if (!kind) return std::nullopt;
    event.kind = *kind;
    event.counted = counted != 0;
    for (std::string word; words >> word;) {
        const auto message = ParseHex(word);
        if (!message) return std::nullopt;
        event.messages.push_back(*message);
    }
    if (event.messages.empty()) return std::nullopt;
    return event;
}

}  // namespace

void WriteInjectLog(std::ostream& out, const InjectLog& log) {
    out << "ticks_per_second " << log.ticks_per_second << '\n';
    char hex[9];
    for (const InjectedEvent& event : log.events) {
        out << KindWord(event.kind) << ' ' << (event.counted ? 1 : 0) << ' ' << event.scheduled_ticks << ' '
            << event.sent_ticks << ' ' << event.returned_ticks;
        for (uint32_t message : event.messages) {
            std::snprintf(hex, sizeof hex, "%08x", message);
            out << ' ' << hex;
        }
        out << '\n';
    }
}

std::optional<InjectLog> ReadInjectLog(std::istream& in) {
    InjectLog log;
    std::string word;
    if (!(in >> word >> log.ticks_per_second) || word != "ticks_per_second" || log.ticks_per_second <= 0) {
        return std::nullopt;
    }
    std::string line;
    std::getline(in, line);
    // stoul throws only for text that is not a number at all: a malformed log.
    try {
        while (std::getline(in, line)) {
            if (line.empty()) continue;
            auto event = ParseEvent(line);
            if (!event) return std::nullopt;
            log.events.push_back(std::move(*event));
        }
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
    return log;
}

std::vector<RecordedMessage> ReadSentMessages(const std::filesystem::path& record) {
    std::vector<RecordedMessage> sent;
    for (const vmidi::MidiEvent& event : vmidi::EventsOfKind(vmidi::ReadMidiRecord(record), vmidi::EventKind::Send)) {
        sent.push_back({static_cast<double>(event.ticks) / static_cast<double>(event.ticks_per_second), event.message});
    }
    return sent;
}

}  // namespace latency
