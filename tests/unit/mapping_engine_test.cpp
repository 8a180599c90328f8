#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"

namespace {

uint32_t On(int channel, int note, int velocity) { return (0x90u + (channel - 1)) | note << 8 | velocity << 16; }
uint32_t Off(int channel, int note) { return (0x80u + (channel - 1)) | note << 8; }
uint32_t Cc(int channel, int controller, int value) { return (0xB0u + (channel - 1)) | controller << 8 | value << 16; }
uint32_t Pc(int channel, int program) { return (0xC0u + (channel - 1)) | program << 8; }
// A pitch bend around the centre: 14 bits, low 7 bits first.
uint32_t Bend(int channel, int bend) {
    return (0xE0u + (channel - 1)) | ((bend + 8192) & 127) << 8 | (bend + 8192) >> 7 << 16;
}

// One step of a scenario: a trigger transition, with the modifier keys held
// at that moment, and the exact messages it must send.
struct Step {
    int32_t code;
    bool down;
    std::set<int32_t> held;
    std::vector<uint32_t> sent;
    bool let_go = false;  // a release the program makes because the key is up (LetGo)
};

constexpr bool kLetGo = true;

struct Scenario {
    std::string name;
    Mapping mapping;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

MappingTable TableOf(const std::vector<Mapping>& mappings) {
    MappingTable table;
    for (const Mapping& m : mappings) table[m.key] = m;
    return table;
}

// Puts `mappings` in force in place of what was, as a reload of the same file does.
void Change(Engine& engine, const std::vector<Mapping>& mappings) {
    PutInForce(engine, TableOf(mappings), {}, TableSource::SameFile, [](uint32_t) {});
}

Engine EngineWith(const std::vector<Mapping>& mappings) {
    Engine engine;
    Change(engine, mappings);
    return engine;
}

// Plays `steps` on the engine, checking the messages of each step.
void Play(Engine& engine, const std::vector<Step>& steps, const char* part = "") {
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        std::vector<uint32_t> sent;
        auto record = [&](uint32_t message) { sent.push_back(message); };
        if (step.let_go) {
            LetGo(engine, step.code, record);
        } else {
            HandleTrigger(
                engine, step.code, step.down, [&](int32_t vk) { return step.held.count(vk) > 0; }, record,
                PlaysEverywhere);
        }
        EXPECT_EQ(sent, step.sent) << part << "step " << i;
    }
}

Mapping Make(int32_t key, std::initializer_list<int32_t> notes, int channel = 1, MappingMode mode = MappingMode::Hold) {
    Mapping m;
    m.key = key;
    m.notes = notes;
    m.channel = channel;
    m.mode = mode;
    return m;
}

Mapping Controllers(int32_t key, std::initializer_list<int32_t> controllers, bool enabled) {
    Mapping m = Make(key, {});
    m.cc_numbers = controllers;
    m.cc_enabled = enabled;
    return m;
}

// Only the key, a note and an enabled controller; every other member as a
// mapping file entry that omits it leaves it.
Mapping KeyNoteAndController() {
    Mapping m;
    m.key = 65;
    m.notes = {60};
    m.cc_numbers = {64};
    m.cc_enabled = true;
    return m;
}

Mapping WithModifier(Mapping m, int32_t modifier) {
    m.modifier = modifier;
    return m;
}

Mapping WithVelocity(Mapping m, int32_t velocity) {
    m.velocity = velocity;
    return m;
}

Mapping Both(Mapping m, std::initializer_list<int32_t> controllers, int on, int off) {
    m.cc_numbers = controllers;
    m.cc_enabled = true;
    m.cc_value_on = on;
    m.cc_value_off = off;
    return m;
}

// The optional members, each absent unless named.
struct Extra {
    std::optional<int32_t> program{};
    std::optional<int32_t> bank{};
    std::optional<int32_t> pitch_bend{};
    std::optional<int32_t> transpose{};
};

Mapping With(Mapping m, const Extra& extra) {
    m.program = extra.program;
    m.bank = extra.bank;
    m.pitch_bend = extra.pitch_bend;
    m.transpose = extra.transpose;
    return m;
}

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        // The documented defaults: no modifier, held, channel 1, velocity 100,
        // controllers 127 on and 0 off.
        {"Defaults",
         KeyNoteAndController(),
         {{65, true, {}, {On(1, 60, 100), Cc(1, 64, 127)}}, {65, false, {}, {Off(1, 60), Cc(1, 64, 0)}}}},
        {"HoldChord",
         Make(65, {60, 64}),
         {{65, true, {}, {On(1, 60, 100), On(1, 64, 100)}}, {65, false, {}, {Off(1, 60), Off(1, 64)}}}},
        {"HoldChannel10",
         Make(65, {60}, 10),
         {{65, true, {}, {0x99u | 60 << 8 | 100 << 16}}, {65, false, {}, {0x89u | 60 << 8}}}},
        {"Controllers",
         Controllers(254, {1, 7}, true),
         {{254, true, {}, {Cc(1, 1, 127), Cc(1, 7, 127)}}, {254, false, {}, {Cc(1, 1, 0), Cc(1, 7, 0)}}}},
        {"ControllersDisabled", Controllers(254, {1, 7}, false), {{254, true, {}, {}}, {254, false, {}, {}}}},
        {"NotesBeforeControllers",
         Both(Make(66, {62}, 3), {64}, 90, 10),
         {{66, true, {}, {On(3, 62, 100), Cc(3, 64, 90)}}, {66, false, {}, {Off(3, 62), Cc(3, 64, 10)}}}},
        {"Toggle",
         Make(66, {62}, 10, MappingMode::Toggle),
         {{66, true, {}, {On(10, 62, 100)}},
          {66, false, {}, {}},
          {66, true, {}, {Off(10, 62)}},
          {66, false, {}, {}},
          {66, true, {}, {On(10, 62, 100)}}}},
        {"WheelNotchOnHold", Make(255, {48}), {{255, true, {}, {On(1, 48, 100)}}, {255, false, {}, {Off(1, 48)}}}},
        {"WheelNotchesFlipToggle",
         Make(254, {48}, 1, MappingMode::Toggle),
         {{254, true, {}, {On(1, 48, 100)}},
          {254, false, {}, {}},
          {254, true, {}, {Off(1, 48)}},
          {254, false, {}, {}}}},
        {"ModifierHeldThenReleasedFirst",
         WithModifier(Make(253, {60}), 17),
         {{253, true, {17}, {On(1, 60, 100)}},
          {253, false, {}, {}},
          {253, true, {}, {}},
          {253, false, {17}, {Off(1, 60)}}}},
        {"ToggleWithoutModifierDoesNotFlip",
         WithModifier(Make(66, {62}, 1, MappingMode::Toggle), 16),
         {{66, true, {}, {}}, {66, true, {16}, {On(1, 62, 100)}}, {66, true, {}, {}}, {66, true, {16}, {Off(1, 62)}}}},
        {"DuplicatesSentTwice",
         Make(65, {60, 60}),
         {{65, true, {}, {On(1, 60, 100), On(1, 60, 100)}}, {65, false, {}, {Off(1, 60), Off(1, 60)}}}},
        {"TwoPressesWithoutRelease",
         Make(65, {60}),
         {{65, true, {}, {On(1, 60, 100)}}, {65, true, {}, {On(1, 60, 100)}}, {65, false, {}, {Off(1, 60)}}}},
        {"UnmappedCode", Make(65, {60}), {{66, true, {}, {}}, {66, false, {}, {}}}},
        {"NothingToSend", Make(65, {}), {{65, true, {}, {}}, {65, false, {}, {}}}},
        // Malformed messages are never sent; the rest of the step still is.
        {"ChannelZeroSendsNothing", Make(65, {60}, 0), {{65, true, {}, {}}, {65, false, {}, {}}}},
        {"Channel17SendsNothing", Both(Make(65, {60}, 17), {1}, 127, 0), {{65, true, {}, {}}, {65, false, {}, {}}}},
        {"NoteOutOfRangeSkippedOthersSent",
         Make(65, {200, 60, -1}),
         {{65, true, {}, {On(1, 60, 100)}}, {65, false, {}, {Off(1, 60)}}}},
        {"VelocityOutOfRangeSkipsNoteOnOnly",
         WithVelocity(Make(65, {60}), 128),
         {{65, true, {}, {}}, {65, false, {}, {Off(1, 60)}}}},
        {"ControllerValueOutOfRange",
         Both(Make(65, {}), {1, 300, 7}, 127, -5),
         {{65, true, {}, {Cc(1, 1, 127), Cc(1, 7, 127)}}, {65, false, {}, {}}}},
        {"EdgesOfTheRanges",
         Both(WithVelocity(Make(65, {0, 127}, 16), 127), {0, 127}, 0, 127),
         {{65, true, {}, {On(16, 0, 127), On(16, 127, 127), Cc(16, 0, 0), Cc(16, 127, 0)}},
          {65, false, {}, {Off(16, 0), Off(16, 127), Cc(16, 0, 127), Cc(16, 127, 127)}}}},
        // Program change, bank select and pitch bend.
        {"ProgramChangeAtSwitchOnOnly",
         With(Make(65, {}, 2), {.program = 5}),
         {{65, true, {}, {Pc(2, 5)}}, {65, false, {}, {}}}},
        {"BankSelectBeforeTheProgram",
         With(Make(65, {}), {.program = 127, .bank = 16383}),
         {{65, true, {}, {Cc(1, 0, 127), Cc(1, 32, 127), Pc(1, 127)}}, {65, false, {}, {}}}},
        {"BankAloneSendsNothing", With(Make(65, {}), {.bank = 2}), {{65, true, {}, {}}, {65, false, {}, {}}}},
        // Both controllers come from the one number: a bank out of range
        // sends neither, not a low byte of a number that is no bank.
        {"BankAboveRangeSendsNoBankSelect",
         With(Make(65, {}), {.program = 0, .bank = 16384}),
         {{65, true, {}, {Pc(1, 0)}}}},
        {"NegativeBankSendsNoBankSelect", With(Make(65, {}), {.program = 1, .bank = -1}), {{65, true, {}, {Pc(1, 1)}}}},
        {"ProgramOutOfRangeOnlyItselfNotSent",
         With(Make(65, {}), {.program = 128, .bank = 258}),
         {{65, true, {}, {Cc(1, 0, 2), Cc(1, 32, 2)}}}},
        {"PitchBendThenCentre",
         With(Make(65, {}), {.pitch_bend = 4096}),
         {{65, true, {}, {0x6000E0u}}, {65, false, {}, {0x4000E0u}}}},
        {"PitchBendLowest", With(Make(65, {}), {.pitch_bend = -8192}), {{65, true, {}, {0x0000E0u}}}},
        {"PitchBendHighestOnAToggle",
         With(Make(65, {}, 1, MappingMode::Toggle), {.pitch_bend = 8191}),
         {{65, true, {}, {0x7F7FE0u}}, {65, false, {}, {}}, {65, true, {}, {Bend(1, 0)}}}},
        {"PitchBendOutOfRangeStillCentres",
         With(Make(65, {}, 4), {.pitch_bend = 8192}),
         {{65, true, {}, {}}, {65, false, {}, {Bend(4, 0)}}}},
        {"OrderOfEveryMember",
         With(Both(Make(65, {60, 64}, 3), {1}, 127, 0), {.program = 9, .bank = 130, .pitch_bend = -100}),
         {{65,
           true,
           {},
           {Cc(3, 0, 1), Cc(3, 32, 2), Pc(3, 9), Bend(3, -100), On(3, 60, 100), On(3, 64, 100), Cc(3, 1, 127)}},
          {65, false, {}, {Off(3, 60), Off(3, 64), Cc(3, 1, 0), Bend(3, 0)}}}},
        {"ChannelOutOfRangeSendsNoneOfThem",
         With(Make(65, {}, 0), {.program = 1, .bank = 1, .pitch_bend = 1}),
         {{65, true, {}, {}}, {65, false, {}, {}}}},
    };
    return scenarios;
}

class HandleTriggerTest : public testing::TestWithParam<Scenario> {};

TEST_P(HandleTriggerTest, SendsExactMessagesInOrder) {
    Engine engine = EngineWith({GetParam().mapping});
    Play(engine, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Engine, HandleTriggerTest, testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return info.param.name; });

// Transpose keys move the notes of the mappings switched on after them; a
// switch-off uses the transpose of the same trigger's switch-on. Codes: 65
// and 66 play notes, 38 is +12 (Up), 40 is -30, 36 sets the transpose back to 0.
struct PlayerScenario {
    std::string name;
    std::vector<Mapping> mappings;
    std::vector<Step> steps;
};

void PrintTo(const PlayerScenario& scenario, std::ostream* out) { *out << scenario.name; }

const Mapping kA = Make(65, {60});
const Mapping kUp = With(Make(38, {}), {.transpose = 12});
const Mapping kDown = With(Make(40, {}), {.transpose = -30});
const Mapping kHome = With(Make(36, {}), {.transpose = 0});

const std::vector<PlayerScenario>& PlayerScenarios() {
    static const std::vector<PlayerScenario> scenarios = {
        {"MovesLaterNotesAndResets",
         {kA, kUp, kHome},
         {{65, true, {}, {On(1, 60, 100)}},
          {65, false, {}, {Off(1, 60)}},
          {38, true, {}, {}},
          {38, false, {}, {}},
          {65, true, {}, {On(1, 72, 100)}},
          {65, false, {}, {Off(1, 72)}},
          {36, true, {}, {}},
          {65, true, {}, {On(1, 60, 100)}}}},
        {"ReleaseUsesTheTransposeOfItsPress",
         {kA, kUp, Make(66, {48}, 1, MappingMode::Toggle)},
         {{65, true, {}, {On(1, 60, 100)}},
          {66, true, {}, {On(1, 48, 100)}},
          {38, true, {}, {}},
          {65, false, {}, {Off(1, 60)}},
          {66, true, {}, {Off(1, 48)}},
          {65, true, {}, {On(1, 72, 100)}}}},
        {"TheKeysOwnNotesUseTheNewTranspose",
         {With(Make(38, {60}), {.transpose = 12})},
         {{38, true, {}, {On(1, 72, 100)}}, {38, false, {}, {Off(1, 72)}}, {38, true, {}, {On(1, 84, 100)}}}},
        {"ClampedWithinFortyEight",
         {kA, kUp, kDown, With(Make(39, {}), {.transpose = 2147483647})},
         {{40, true, {}, {}},
          {40, true, {}, {}},
          {65, true, {}, {On(1, 12, 100)}},
          {38, true, {}, {}},
          {65, true, {}, {On(1, 24, 100)}},
          {39, true, {}, {}},
          {65, true, {}, {On(1, 108, 100)}}}},
        {"ShiftedOutOfRangeNotSentOthersAre",
         {Make(65, {100, 40}), kDown},
         {{65, true, {}, {On(1, 100, 100), On(1, 40, 100)}},
          {40, true, {}, {}},
          {40, true, {}, {}},
          {65, false, {}, {Off(1, 100), Off(1, 40)}},
          {65, true, {}, {On(1, 52, 100)}},
          {65, false, {}, {Off(1, 52)}}}},
        {"WrittenOutOfRangeNeverSent",
         {Make(65, {130, -5, 60}), kDown, kUp},
         {{40, true, {}, {}},
          {65, true, {}, {On(1, 30, 100)}},
          {65, false, {}, {Off(1, 30)}},
          {38, true, {}, {}},
          {38, true, {}, {}},
          {38, true, {}, {}},
          {65, true, {}, {On(1, 66, 100)}}}},
        {"ModifierNotHeldChangesNothing",
         {kA, WithModifier(With(Make(38, {}), {.transpose = 12}), 17)},
         {{38, true, {}, {}},
          {65, true, {}, {On(1, 60, 100)}},
          {38, true, {17}, {}},
          {65, true, {}, {On(1, 72, 100)}}}},
        {"AToggleTransposesAtSwitchOnOnly",
         {kA, With(Make(38, {}, 1, MappingMode::Toggle), {.transpose = 12})},
         {{38, true, {}, {}},
          {38, true, {}, {}},
          {65, true, {}, {On(1, 72, 100)}},
          {38, true, {}, {}},
          {65, true, {}, {On(1, 84, 100)}}}},
        {"SwitchOffOnlyChangesNothing", {kA, kUp}, {{38, false, {}, {}}, {65, true, {}, {On(1, 60, 100)}}}},
        {"ChannelOutOfRangeStillTransposes",
         {kA, With(Make(38, {}, 17), {.transpose = 12})},
         {{38, true, {}, {}}, {65, true, {}, {On(1, 72, 100)}}}},
        // Only a key name for such a number and a message from outside reach
        // the engine with a code above 255; it plays like any other.
        {"CodeAbove255",
         {Make(300, {60}), kUp},
         {{300, true, {}, {On(1, 60, 100)}}, {38, true, {}, {}}, {300, false, {}, {Off(1, 60)}}}},
        // A release whose press was never seen is taken as the table says,
        // with the transpose in force.
        {"ReleaseWithoutItsPress", {kA, kUp}, {{38, true, {}, {}}, {65, false, {}, {Off(1, 72)}}}},
    };
    return scenarios;
}

class PlayerTest : public testing::TestWithParam<PlayerScenario> {};

TEST_P(PlayerTest, SendsExactMessagesInOrder) {
    Engine engine = EngineWith(GetParam().mappings);
    Play(engine, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Transpose, PlayerTest, testing::ValuesIn(PlayerScenarios()),
                         [](const auto& info) { return info.param.name; });

// What a trigger owes: a trigger pressed again before its release (its
// release found the modifier up, or was lost) keeps what the first press
// started, and its release ends both; a release the program makes for a key
// that is up ends what the press started, whatever the modifier.
const std::vector<PlayerScenario>& OwedScenarios() {
    const Mapping ctrl_k = WithModifier(Make(75, {60}), 17);
    static const std::vector<PlayerScenario> scenarios = {
        {"PressedAgainAfterItsModifierWasLetGo",
         {ctrl_k, kUp},
         {{75, true, {17}, {On(1, 60, 100)}},
          {75, false, {}, {}},
          {38, true, {}, {}},
          {75, true, {17}, {On(1, 72, 100)}},
          {75, false, {17}, {Off(1, 60), Off(1, 72)}}}},
        {"PressedAgainOwesEachMessageOnce",
         {With(Both(Make(65, {60, 64}), {64}, 127, 0), {.pitch_bend = 100}), kUp},
         {{65, true, {}, {Bend(1, 100), On(1, 60, 100), On(1, 64, 100), Cc(1, 64, 127)}},
          {38, true, {}, {}},
          {65, true, {}, {Bend(1, 100), On(1, 72, 100), On(1, 76, 100), Cc(1, 64, 127)}},
          {65, false, {}, {Off(1, 60), Off(1, 64), Cc(1, 64, 0), Bend(1, 0), Off(1, 72), Off(1, 76)}}}},
        {"LetGoWithoutTheModifier",
         {ctrl_k, kUp},
         {{75, true, {17}, {On(1, 60, 100)}},
          {38, true, {}, {}},
          {75, true, {17}, {On(1, 72, 100)}},
          {75, false, {}, {Off(1, 60), Off(1, 72)}, kLetGo},
          {75, false, {}, {}, kLetGo}}},
        {"LetGoOfWhatStartedNothingEndsNothing",
         {ctrl_k, Make(66, {62}, 1, MappingMode::Toggle)},
         {{75, true, {}, {}},
          {75, false, {}, {}, kLetGo},
          {66, true, {}, {On(1, 62, 100)}},
          {66, false, {}, {}, kLetGo},
          {66, true, {}, {Off(1, 62)}},
          {67, false, {}, {}, kLetGo}}},
    };
    return scenarios;
}

INSTANTIATE_TEST_SUITE_P(Owed, PlayerTest, testing::ValuesIn(OwedScenarios()),
                         [](const auto& info) { return info.param.name; });

// Another table comes into force (a reload, or another file) between a
// press and its release: the release ends what the press started.
struct ChangeScenario {
    std::string name;
    std::vector<Mapping> before;  // in force at the press
    std::vector<Mapping> after;   // in force from the change on
    std::vector<Step> played_before;
    std::vector<Step> played_after;
};

void PrintTo(const ChangeScenario& scenario, std::ostream* out) { *out << scenario.name; }

const std::vector<ChangeScenario>& ChangeScenarios() {
    static const std::vector<ChangeScenario> scenarios = {
        // The key now a toggle with another note; the end-to-end tests add
        // a key now unmapped and a pedal and bend the new record lacks.
        {"NowAToggleWithOtherNotes",
         {Make(65, {60, 64})},
         {Make(65, {62}, 1, MappingMode::Toggle)},
         {{65, true, {}, {On(1, 60, 100), On(1, 64, 100)}}},
         {{65, false, {}, {Off(1, 60), Off(1, 64)}}, {65, true, {}, {On(1, 62, 100)}}}},
        {"TheModifierOfThePressesRecord",
         {WithModifier(Make(65, {60}), 17)},
         {WithModifier(Make(65, {62}), 16)},
         {{65, true, {17}, {On(1, 60, 100)}}},
         {{65, false, {16}, {}}, {65, false, {17}, {Off(1, 60)}}}},
        {"TheTransposeOfThePress",
         {Make(65, {60}), kUp},
         {Make(65, {60}), kDown},
         {{38, true, {}, {}}, {65, true, {}, {On(1, 72, 100)}}},
         {{40, true, {}, {}}, {65, false, {}, {Off(1, 72)}}, {65, true, {}, {On(1, 42, 100)}}}},
        // A press that started nothing, released after the change: nothing
        // of the new table is switched off.
        {"APressThatStartedNothing",
         {WithModifier(Make(65, {60}), 17), Make(66, {}, 1, MappingMode::Toggle)},
         {Make(65, {62}), Make(66, {63})},
         {{65, true, {}, {}}, {66, true, {}, {}}},
         {{65, false, {}, {}}, {66, false, {}, {}}, {65, false, {}, {Off(1, 62)}}}},
        // A change forgets which toggles are on, sending nothing.
        {"AToggleOnIsForgotten",
         {Make(66, {62}, 1, MappingMode::Toggle)},
         {Make(66, {62}, 1, MappingMode::Toggle)},
         {{66, true, {}, {On(1, 62, 100)}}, {66, false, {}, {}}},
         {{66, true, {}, {On(1, 62, 100)}}, {66, true, {}, {Off(1, 62)}}}},
        {"ACodeAbove255",
         {Make(300, {60})},
         {Make(300, {61})},
         {{300, true, {}, {On(1, 60, 100)}}},
         {{300, false, {}, {Off(1, 60)}}}},
        // Pressed again under the new table: the release ends both presses.
        {"PressedAgainWithOtherNotes",
         {Make(65, {60})},
         {Make(65, {62})},
         {{65, true, {}, {On(1, 60, 100)}}},
         {{65, true, {}, {On(1, 62, 100)}}, {65, false, {}, {Off(1, 60), Off(1, 62)}}}},
        {"PressedAgainAsAToggle",
         {Make(65, {60})},
         {Make(65, {62}, 1, MappingMode::Toggle)},
         {{65, true, {}, {On(1, 60, 100)}}},
         {{65, true, {}, {On(1, 62, 100)}},
          {65, false, {}, {Off(1, 60)}},
          {65, true, {}, {Off(1, 62)}},
          {65, false, {}, {}}}},
        {"TheModifierOfTheLatestPress",
         {WithModifier(Make(65, {60}), 17)},
         {WithModifier(Make(65, {62}), 16)},
         {{65, true, {17}, {On(1, 60, 100)}}},
         {{65, true, {16}, {On(1, 62, 100)}}, {65, false, {17}, {}}, {65, false, {16}, {Off(1, 60), Off(1, 62)}}}},
    };
    return scenarios;
}

class TableChangeTest : public testing::TestWithParam<ChangeScenario> {};

TEST_P(TableChangeTest, TheReleaseEndsWhatItsPressStarted) {
    Engine engine = EngineWith(GetParam().before);
    Play(engine, GetParam().played_before, "before: ");
    Change(engine, GetParam().after);
    Play(engine, GetParam().played_after, "after: ");
}

INSTANTIATE_TEST_SUITE_P(Player, TableChangeTest, testing::ValuesIn(ChangeScenarios()),
                         [](const auto& info) { return info.param.name; });

// Another table in force: a file with "release_on_change" going out of
// force first switches off everything on, each once: held triggers (whose
// release then sends nothing more) and toggles. Without it nothing is sent.
TEST(PutInForce, SwitchesOffWhatIsOnWhenTheFileGoingOutAsksForIt) {
    for (const bool release_on_change : {false, true}) {
        Engine engine;
        FileSettings settings;
        settings.release_on_change = release_on_change;
        auto ignore = [](uint32_t) {};
        PutInForce(engine, TableOf({Make(65, {60}), Make(66, {62}, 2, MappingMode::Toggle), Make(67, {64}), kUp}),
                   settings, TableSource::AnotherFile, ignore);
        Play(engine, {{65, true, {}, {On(1, 60, 100)}},
                      {66, true, {}, {On(2, 62, 100)}},
                      {67, true, {}, {On(1, 64, 100)}},
                      {67, false, {}, {Off(1, 64)}},
                      {38, true, {}, {}},
                      {65, true, {}, {On(1, 72, 100)}}});  // pressed again: it owes both
        std::vector<uint32_t> sent;
        auto record = [&](uint32_t message) { sent.push_back(message); };
        PutInForce(engine, TableOf({Make(65, {61}), Make(66, {63})}), {}, TableSource::AnotherFile, record);
        SwitchOffOnChange(engine, record);  // the new file does not ask for it
        const std::vector<uint32_t> held = {Off(1, 60), Off(1, 72)};
        EXPECT_EQ(sent, release_on_change ? (std::vector<uint32_t>{Off(1, 60), Off(1, 72), Off(2, 62)})
                                          : std::vector<uint32_t>{});
        Play(engine,
             {{65, false, {}, release_on_change ? std::vector<uint32_t>{} : held}, {66, true, {}, {On(1, 63, 100)}}});
    }
}

// The transpose belongs to the file: it starts at 0 when another file comes
// into force, and stays when the same file is read again.
TEST(PutInForce, TheTransposeStartsAtZeroInAnotherFile) {
    const std::vector<Mapping> up_and_a = {kUp, Make(65, {60})};
    Engine engine = EngineWith(up_and_a);
    Play(engine, {{38, true, {}, {}}});
    Change(engine, up_and_a);
    EXPECT_EQ(engine.player.transpose, 12) << "the same file keeps it";
    PutInForce(engine, TableOf(up_and_a), {}, TableSource::AnotherFile, [](uint32_t) {});
    EXPECT_EQ(engine.player.transpose, 0);
}

// A file with the pause key 80 that plays only in some programs. Each step:
// a trigger transition, whether the program in front is one of them, what
// it sends and what it does to the pause.
struct FrontStep {
    int32_t code;
    bool down;
    bool in_front;
    std::vector<uint32_t> sent;
    PauseChange pause = PauseChange::None;
};

void PlayInFront(Engine& engine, const std::vector<FrontStep>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const FrontStep& step = steps[i];
        std::vector<uint32_t> sent;
        const PauseChange pause = HandleTrigger(
            engine, step.code, step.down, [](int32_t) { return false; },
            [&](uint32_t message) { sent.push_back(message); }, [&] { return step.in_front; });
        EXPECT_EQ(sent, step.sent) << "step " << i;
        EXPECT_EQ(pause, step.pause) << "step " << i;
    }
}

Engine PausableEngine(std::vector<std::wstring> only_in) {
    FileSettings settings;
    settings.only_in = std::move(only_in);
    settings.pause_key = NamedKey{"Pause", 80};
    Engine engine;
    PutInForce(engine, TableOf({kA, kUp, Make(66, {62}, 2, MappingMode::Toggle)}), settings, TableSource::AnotherFile,
               [](uint32_t) {});
    return engine;
}

constexpr int32_t kPause = 80;

// Pausing switches off what is on, once; while paused nothing plays, not
// even a transpose key, and a release sends nothing; playing again starts
// from what the file says.
TEST(Pause, SwitchesOffWhatIsOnAndPlaysNothingUntilPlayingAgain) {
    Engine engine = PausableEngine({});
    PlayInFront(engine, {{65, true, true, {On(1, 60, 100)}},
                         {66, true, true, {On(2, 62, 100)}},
                         {kPause, true, false, {Off(1, 60), Off(2, 62)}, PauseChange::Paused},
                         {kPause, false, false, {}},
                         {65, false, true, {}},
                         {65, true, true, {}},
                         {38, true, true, {}},
                         {66, true, true, {}},
                         {65, false, true, {}},
                         {kPause, true, true, {}, PauseChange::Playing},
                         {65, true, true, {On(1, 60, 100)}},
                         {65, false, true, {Off(1, 60)}}});
    EXPECT_EQ(engine.player.transpose, 0);
}

// "only_in": a press acts only in a program the file plays in; a release
// ends what its press started wherever it is made; switching programs sends
// nothing; the pause key works everywhere.
TEST(OnlyIn, APressActsOnlyWhereTheFilePlaysAndItsReleaseEndsItAnywhere) {
    Engine engine = PausableEngine({L"reaper64.exe"});
    PlayInFront(engine, {{65, true, false, {}},
                         {65, false, true, {}},
                         {65, true, true, {On(1, 60, 100)}},
                         {65, true, false, {}},
                         {65, false, false, {Off(1, 60)}},
                         {66, true, true, {On(2, 62, 100)}},
                         {66, true, false, {}},
                         {kPause, true, false, {Off(2, 62)}, PauseChange::Paused}});
}

// The pause belongs to the file: a reload of the same file keeps it while
// the file keeps the same pause key; anything else ends it.
TEST(Pause, EndsWithTheFileOrItsPauseKey) {
    struct Change {
        const char* name;
        TableSource source;
        std::optional<NamedKey> pause_key;
        bool stays_paused;
    };
    const Change changes[] = {{"same file, same key", TableSource::SameFile, NamedKey{"P", kPause}, true},
                              {"same file, another key", TableSource::SameFile, NamedKey{"Q", 81}, false},
                              {"same file, no key", TableSource::SameFile, std::nullopt, false},
                              {"same file, a key that names none", TableSource::SameFile, NamedKey{"Pasue", 0}, false},
                              {"another file, same key", TableSource::AnotherFile, NamedKey{"P", kPause}, false}};
    for (const Change& change : changes) {
        Engine engine = PausableEngine({});
        PlayInFront(engine, {{kPause, true, true, {}, PauseChange::Paused}});
        FileSettings settings;
        settings.pause_key = change.pause_key;
        const PauseChange ended = PutInForce(engine, TableOf({kA}), settings, change.source, [](uint32_t) {});
        EXPECT_EQ(engine.paused, change.stays_paused) << change.name;
        EXPECT_EQ(ended, change.stays_paused ? PauseChange::None : PauseChange::Playing) << change.name;
    }
}

TEST(HandleTrigger, AsksForTheModifierOnlyWhenThereIsOne) {
    Engine engine = EngineWith({Make(65, {60}), WithModifier(Make(66, {61}), 17)});
    std::vector<int32_t> asked;
    auto key_is_down = [&](int32_t vk) {
        asked.push_back(vk);
        return true;
    };
    auto ignore = [](uint32_t) {};
    HandleTrigger(engine, 65, true, key_is_down, ignore, PlaysEverywhere);
    HandleTrigger(engine, 67, true, key_is_down, ignore, PlaysEverywhere);
    HandleTrigger(engine, 66, false, key_is_down, ignore, PlaysEverywhere);
    EXPECT_EQ(asked, std::vector<int32_t>{17});
}

// Codes outside 0..255 have a state only when a table names them: an
// unmapped one, posted from outside, makes none.
TEST(HandleTrigger, AnUnmappedCodeMakesNoState) {
    Engine engine = EngineWith({Make(300, {60})});
    HandleTrigger(
        engine, 99'999, true, [](int32_t) { return false; }, [](uint32_t) {}, PlaysEverywhere);
    HandleTrigger(
        engine, 99'999, false, [](int32_t) { return false; }, [](uint32_t) {}, PlaysEverywhere);
    EXPECT_EQ(engine.player.other_triggers.size(), 1u);
    EXPECT_EQ(FindTriggerState(engine.player, 99'999), nullptr);
}

}  // namespace
