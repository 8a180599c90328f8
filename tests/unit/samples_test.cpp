// The sample CFG folder shipped for a first start.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "config/mapping_file.h"
#include "mapping_text.h"

namespace {

const std::filesystem::path kSamples = QUILLFRET_SAMPLES_DIR;

KeyNameTable SampleKeyNames() {
    KeyNameTable names;
    LoadKeyNames(names, (kSamples / "KeyMapping.cfg").wstring());
    return names;
}

TEST(Samples, KeyNamesCoverTheCommonKeysAndMouseTriggers) {
    const KeyNameTable names = SampleKeyNames();
    const std::pair<const char*, int32_t> expected[] = {{"A", 65},
                                                        {"Z", 90},
                                                        {"Digit0", 48},
                                                        {"Digit9", 57},
                                                        {"F1", 112},
                                                        {"F24", 135},
                                                        {"Left", 37},
                                                        {"Down", 40},
                                                        {"Space", 32},
                                                        {"Enter", 13},
                                                        {"PageUp", 33},
                                                        {"Delete", 46},
                                                        {"Numpad0", 96},
                                                        {"NumpadAdd", 107},
                                                        {"NumLock", 144},
                                                        {"LShift", 160},
                                                        {"RCtrl", 163},
                                                        {"RAlt", 165},
                                                        {"Semicolon", 186},
                                                        {"VolumeUp", 175},
                                                        {"MediaPlayPause", 179},
                                                        {"MouseLeft", 253},
                                                        {"MouseRight", 252},
                                                        {"MouseMiddle", 4},
                                                        {"MouseX1", 5},
                                                        {"MouseX2", 6},
                                                        {"WheelAway", 254},
                                                        {"WheelTowards", 255}};
    for (const auto& [name, code] : expected) EXPECT_EQ(ResolveKeyName(names, name), code) << name;
}

TEST(Samples, EveryKeyNameResolvesToItsOwnCode) {
    // A name that begins like a decimal code would be read as that code.
    const KeyNameTable names = SampleKeyNames();
    ASSERT_GT(names.size(), 130u);
    for (const auto& [name, code] : names) {
        EXPECT_EQ(ResolveKeyName(names, name), code) << name;
        EXPECT_TRUE(code > 0 && code < 256) << name;
    }
}

TEST(Samples, HomeRowScaleLoads) {
    const MappingFileRead state = ReadMappingFile(kSamples / "HomeRowScale.json", SampleKeyNames());
    EXPECT_EQ(TableText(state.mappings),
              "key=32 cc_enabled cc_numbers=[64] | key=65 notes=[60] | key=68 notes=[64] | key=70 notes=[65] | "
              "key=71 notes=[67] | key=72 notes=[69] | key=74 notes=[71] | key=75 notes=[72] | key=76 notes=[74] | "
              "key=83 notes=[62] | key=90 velocity=80 notes=[48,55] mode=toggle | key=186 notes=[76]");
    EXPECT_EQ(state.settings.midi_device, "Fenwickloop");
}

// Two octaves, chromatic, each note on one key; transpose keys on the
// arrows and Home, program changes on F1 to F8, a pitch bend on Tab; what
// is on is switched off when the file goes out of force.
TEST(Samples, PerformanceLoads) {
    MappingFileRead state = ReadMappingFile(kSamples / "Performance.json", SampleKeyNames());
    ASSERT_EQ(state.mappings.size(), 40u);
    std::vector<int32_t> notes;
    for (const auto& [key, mapping] : state.mappings)
        notes.insert(notes.end(), mapping.notes.begin(), mapping.notes.end());
    std::sort(notes.begin(), notes.end());
    std::vector<int32_t> two_octaves(25);
    std::iota(two_octaves.begin(), two_octaves.end(), 48);
    EXPECT_EQ(notes, two_octaves);
    const std::pair<int32_t, const char*> expected[] = {
        {40, "key=40 transpose=-12"}, {38, "key=38 transpose=12"},
        {36, "key=36 transpose=0"},   {112, "key=112 program=0"},
        {119, "key=119 program=73"},  {9, "key=9 pitch_bend=4096"},
        {81, "key=81 notes=[60]"},    {32, "key=32 cc_enabled cc_numbers=[64]"}};
    for (const auto& [code, text] : expected) EXPECT_EQ(MappingText(state.mappings[code]), text);
    EXPECT_TRUE(state.settings.release_on_change);
}

}  // namespace
