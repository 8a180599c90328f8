#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "latency/latency_log.h"
#include "latency/latency_table.h"

// The blind time after a removal of the hooks: keys are pressed at a steady
// pace right through each removal, and the program's record says which
// presses sounded. Times are seconds of the counter the injector's log and
// the record share.

namespace latency {

// From this long after a removal on, every press must sound.
inline constexpr double kRecoverySeconds = 1.5;

// One press and the note-on it must produce.
struct Press {
    double seconds = 0;
    uint32_t note_on = 0;
};

// The presses of the log: its counted events that must produce a note-on.
std::vector<Press> PressesOf(const InjectLog& log);

// The presses from one removal to the next (or to the end).
struct BlindSpell {
    // From the first press that did not sound to the first after it that
    // did; 0 when none was lost; when none sounded again, to the last press.
    double blind_ms = 0;
    double first_lost_ms = 0;  // from the removal; 0 when none was lost
    size_t lost = 0;           // presses that did not sound
    size_t lost_late = 0;      // of them, those pressed kRecoverySeconds or more after the removal
    size_t doubled = 0;        // presses that sounded more than once
};

// A press sounded when its note-on was recorded between it and the next
// press. Removals and presses in order; presses before the first removal
// count in no spell.
std::vector<BlindSpell> BlindSpells(const std::vector<double>& removals, const std::vector<Press>& presses,
                                    const std::vector<RecordedMessage>& sent);

// The rows of the table: median and maximum of the blind times, presses lost
// late, presses doubled; each prefixed with `label`.
std::vector<TableRow> BlindRows(const std::vector<BlindSpell>& spells, const std::string& label);

}  // namespace latency
