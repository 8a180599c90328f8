#include "latency/blind_time.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "latency/latency_statistics.h"

namespace latency {

namespace {

constexpr uint32_t kStatusKind = 0xF0;
constexpr uint32_t kNoteOnKind = 0x90;
constexpr double kMsPerSecond = 1000.0;
constexpr double kNoEnd = std::numeric_limits<double>::infinity();

size_t TimesSounded(const Press& press, double until, const std::vector<RecordedMessage>& sent) {
    return static_cast<size_t>(std::count_if(sent.begin(), sent.end(), [&](const RecordedMessage& message) {
        return message.message == press.note_on && message.seconds >= press.seconds && message.seconds < until;
    }));
}

// A spell while its presses are taken in turn.
struct Tally {
    double removal = 0;
    BlindSpell spell;
    const Press* first_lost = nullptr;
    const Press* sounded_again = nullptr;
    const Press* last = nullptr;

    void Add(const Press& press, size_t sounded) {
        last = &press;
        if (sounded > 1) ++spell.doubled;
        if (sounded == 0) {
            ++spell.lost;
            if (press.seconds - removal >= kRecoverySeconds) ++spell.lost_late;
            if (first_lost == nullptr) first_lost = &press;
        } else if (first_lost != nullptr && sounded_again == nullptr) {
            sounded_again = &press;
        }
    }

    BlindSpell Result() const {
        BlindSpell result = spell;
        if (first_lost != nullptr) {
            result.first_lost_ms = (first_lost->seconds - removal) * kMsPerSecond;
            const Press* end = sounded_again != nullptr ? sounded_again : last;
            result.blind_ms = (end->seconds - first_lost->seconds) * kMsPerSecond;
        }
        return result;
    }
};

}  // namespace

std::vector<Press> PressesOf(const InjectLog& log) {
    std::vector<Press> presses;
    for (const InjectedEvent& event : log.events) {
        if (!event.counted || event.messages.empty() || (event.messages[0] & kStatusKind) != kNoteOnKind) continue;
        presses.push_back(
            {static_cast<double>(event.sent_ticks) / static_cast<double>(log.ticks_per_second), event.messages[0]});
    }
    return presses;
}

std::vector<BlindSpell> BlindSpells(const std::vector<double>& removals, const std::vector<Press>& presses,
                                    const std::vector<RecordedMessage>& sent) {
    std::vector<Tally> tallies(removals.size());
    for (size_t r = 0; r < removals.size(); ++r) tallies[r].removal = removals[r];
    for (size_t i = 0; i < presses.size(); ++i) {
        const Press& press = presses[i];
        const auto after = std::upper_bound(removals.begin(), removals.end(), press.seconds);
        if (after == removals.begin()) continue;
        const double until = i + 1 < presses.size() ? presses[i + 1].seconds : kNoEnd;
        tallies[static_cast<size_t>(std::distance(removals.begin(), after)) - 1].Add(press,
                                                                                     TimesSounded(press, until, sent));
    }
    std::vector<BlindSpell> spells;
    for (const Tally& tally : tallies) {
        if (tally.last != nullptr) spells.push_back(tally.Result());
    }
    return spells;
}

std::vector<TableRow> BlindRows(const std::vector<BlindSpell>& spells, const std::string& label) {
    std::vector<double> blind_ms;
    size_t lost_late = 0;
    size_t doubled = 0;
    for (const BlindSpell& spell : spells) {
        blind_ms.push_back(spell.blind_ms);
        lost_late += spell.lost_late;
        doubled += spell.doubled;
    }
    const Summary summary = Summarise(blind_ms);
    const std::string of = ", of " + std::to_string(spells.size()) + " hook removals";
    return {{label + " blind time after a hook removal, median" + of, Format("%.1f ms", summary.median), "", ""},
            {label + " blind time after a hook removal, max" + of, Format("%.1f ms", summary.max), "", ""},
            {label + " presses lost from 1.5 s after a hook removal", std::to_string(lost_late), "", ""},
            {label + " presses that sounded twice after a hook removal", std::to_string(doubled), "", ""}};
}

}  // namespace latency
