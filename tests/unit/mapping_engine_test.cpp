#include "engine/mapping_engine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace {

uint32_t On(int channel, int note, int velocity) { return (0x90u + (channel - 1)) | note << 8 | velocity << 16; }
uint32_t Off(int channel, int note) { return (0x80u + (channel - 1)) | note << 8; }
uint32_t Cc(int channel, int controller, int value) { return (0xB0u + (channel - 1)) | controller << 8 | value << 16; }

// One step of a scenario: a trigger transition, with the modifier keys held
// at that moment, and the exact messages it must send.
struct Step {
    int32_t code;
    bool down;
    std::set<int32_t> held;
    std::vector<uint32_t> sent;
};

struct Scenario {
    std::string name;
    Mapping mapping;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

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
    };
    return scenarios;
}

class HandleTriggerTest : public testing::TestWithParam<Scenario> {};

TEST_P(HandleTriggerTest, SendsExactMessagesInOrder) {
    const Scenario& scenario = GetParam();
    MappingTable mappings;
    mappings[scenario.mapping.key] = scenario.mapping;
    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        std::vector<uint32_t> sent;
        HandleTrigger(
            mappings, step.code, step.down, [&](int32_t vk) { return step.held.count(vk) > 0; },
            [&](uint32_t message) { sent.push_back(message); });
        EXPECT_EQ(sent, step.sent) << "step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Engine, HandleTriggerTest, testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return info.param.name; });

TEST(HandleTrigger, AsksForTheModifierOnlyWhenThereIsOne) {
    MappingTable mappings;
    mappings[65] = Make(65, {60});
    mappings[66] = WithModifier(Make(66, {61}), 17);
    std::vector<int32_t> asked;
    auto key_is_down = [&](int32_t vk) {
        asked.push_back(vk);
        return true;
    };
    auto ignore = [](uint32_t) {};
    HandleTrigger(mappings, 65, true, key_is_down, ignore);
    HandleTrigger(mappings, 67, true, key_is_down, ignore);
    HandleTrigger(mappings, 66, false, key_is_down, ignore);
    EXPECT_EQ(asked, std::vector<int32_t>{17});
}

TEST(HandleTrigger, UnmappedCodeLeavesTheTableAlone) {
    MappingTable mappings;
    mappings[65] = Make(65, {60});
    HandleTrigger(
        mappings, 99, true, [](int32_t) { return false; }, [](uint32_t) {});
    EXPECT_EQ(mappings.size(), 1u);
    EXPECT_EQ(mappings.count(99), 0u);
}

}  // namespace
