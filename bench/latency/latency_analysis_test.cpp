#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "latency/latency_log.h"
#include "latency/latency_pairing.h"
#include "latency/latency_statistics.h"
#include "support/test_files.h"

namespace {

using latency::EventKind;
using latency::InjectedEvent;
using latency::InjectLog;
using latency::RecordedMessage;

// Ticks are microseconds here (frequency 1e6), seconds in the record;
// SendInput returns 0.1 ms after it was called.
InjectedEvent Key(bool counted, int64_t scheduled_us, int64_t sent_us, uint32_t message) {
    return {EventKind::Key, counted, scheduled_us, sent_us, {message}, sent_us + 100};
}

RecordedMessage At(double ms, uint32_t message) { return {ms / 1000.0, message}; }

TEST(LatencyStatistics, NearestRankPercentiles) {
    std::vector<double> samples;
    for (int i = 100; i >= 1; --i) samples.push_back(i);
    const auto summary = latency::Summarise(samples);
    EXPECT_EQ(summary.count, 100u);
    EXPECT_EQ(summary.median, 50);
    EXPECT_EQ(summary.p90, 90);
    EXPECT_EQ(summary.p99, 99);
    EXPECT_EQ(summary.max, 100);

    const auto one = latency::Summarise({7.5});
    EXPECT_EQ(one.median, 7.5);
    EXPECT_EQ(one.p99, 7.5);
    EXPECT_EQ(latency::Summarise({}).count, 0u);
    EXPECT_EQ(latency::CountAtLeast({49.9, 50, 51}, 50), 2u);
}

TEST(LatencyPairing, PairsByOrderAndValue) {
    InjectLog log{1'000'000, {}};
    log.events.push_back(Key(false, 0, 0, 0x90));       // probe: paired, not counted
    log.events.push_back(Key(true, 1000, 1500, 0x91));  // arrives at 2 ms
    log.events.push_back(Key(true, 2000, 2000, 0x92));  // lost
    log.events.push_back(Key(true, 3000, 3100, 0x93));  // arrives after a stray message
    const std::vector<RecordedMessage> recorded = {At(0.3, 0x90), At(2, 0x91), At(3.5, 0x77), At(4, 0x93)};

    latency::RoundSamples samples;
    latency::PairRound(log, recorded, samples);
    EXPECT_EQ(samples.counted_events, 3);
    EXPECT_EQ(samples.lost_messages, 1);
    // Samples come last event first.
    ASSERT_EQ(samples.send_to_message_ms.size(), 2u);
    EXPECT_NEAR(samples.send_to_message_ms[1], 0.5, 1e-9);
    EXPECT_NEAR(samples.schedule_to_message_ms[1], 1.0, 1e-9);
    EXPECT_NEAR(samples.send_to_message_ms[0], 0.9, 1e-9);
    EXPECT_NEAR(samples.schedule_to_message_ms[0], 1.0, 1e-9);
    // How long SendInput took counts for every counted key event, lost or not.
    EXPECT_EQ(samples.send_call_ms, (std::vector<double>{0.1, 0.1, 0.1}));
}

TEST(LatencyPairing, EventsLostBeforeASilenceAreNotPairedWithLaterEqualValues) {
    // Two events are lost; the next event with the first one's value arrives
    // 100 ms later. Only that event is paired, with its own message.
    InjectLog log{1'000'000,
                  {Key(true, 1000, 1000, 0x90), Key(true, 2000, 2000, 0x91), Key(true, 100'000, 100'000, 0x90),
                   Key(true, 102'000, 102'000, 0x91)}};
    const std::vector<RecordedMessage> recorded = {At(101, 0x90), At(103, 0x91)};
    latency::RoundSamples samples;
    latency::PairRound(log, recorded, samples);
    EXPECT_EQ(samples.lost_messages, 2);
    ASSERT_EQ(samples.send_to_message_ms.size(), 2u);
    EXPECT_NEAR(samples.send_to_message_ms[0], 1.0, 1e-9);
    EXPECT_NEAR(samples.send_to_message_ms[1], 1.0, 1e-9);
}

TEST(LatencyPairing, MessageBeforeItsEventWasSentIsNotItsOwn) {
    InjectLog log{1'000'000, {Key(true, 5000, 5000, 0x90)}};
    const std::vector<RecordedMessage> recorded = {At(4, 0x90)};
    latency::RoundSamples samples;
    latency::PairRound(log, recorded, samples);
    EXPECT_EQ(samples.lost_messages, 1);
    EXPECT_TRUE(samples.send_to_message_ms.empty());
}

TEST(LatencyPairing, ChordSpreadOnlyWhenComplete) {
    InjectLog log{1'000'000, {}};
    log.events.push_back({EventKind::Chord, true, 0, 0, {0x90, 0x91, 0x92}});
    log.events.push_back({EventKind::Chord, true, 10'000, 10'000, {0x80, 0x81, 0x82}});
    const std::vector<RecordedMessage> recorded = {At(1, 0x90), At(1.25, 0x91), At(1.75, 0x92), At(11, 0x80),
                                                   At(11.5, 0x82)};
    latency::RoundSamples samples;
    latency::PairRound(log, recorded, samples);
    ASSERT_EQ(samples.chord_spread_ms.size(), 1u);
    EXPECT_NEAR(samples.chord_spread_ms[0], 0.75, 1e-9);
    EXPECT_EQ(samples.lost_messages, 1);
    EXPECT_TRUE(samples.send_to_message_ms.empty());
}

TEST(LatencyLog, InjectLogRoundTrip) {
    InjectLog log{10'000'000, {}};
    log.events.push_back({EventKind::Key, false, 5, 6, {0x00643c90}});
    log.events.push_back({EventKind::Chord, true, 123456789012, 123456789099, {0x00003c80, 0x00003d80}, 123456789123});
    std::stringstream text;
    latency::WriteInjectLog(text, log);
    const auto read = latency::ReadInjectLog(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->ticks_per_second, 10'000'000);
    ASSERT_EQ(read->events.size(), 2u);
    EXPECT_EQ(read->events[1].kind, EventKind::Chord);
    EXPECT_TRUE(read->events[1].counted);
    EXPECT_EQ(read->events[1].sent_ticks, 123456789099);
    EXPECT_EQ(read->events[1].returned_ticks, 123456789123);
    EXPECT_EQ(read->events[1].messages, (std::vector<uint32_t>{0x3c80, 0x3d80}));
    EXPECT_FALSE(read->events[0].counted);
}

TEST(LatencyLog, DamagedInjectLogGivesNothing) {
    for (const std::string text : {"", "ticks_per_second 0\n", "ticks_per_second 10\nkey 1 2 3\n",
                                   "ticks_per_second 10\nkey 1 2 3 zz\n", "ticks_per_second 10\nnote 1 2 3 90\n"}) {
        std::istringstream in(text);
        EXPECT_FALSE(latency::ReadInjectLog(in).has_value()) << text;
    }
}

// The record's lines themselves are the fixtures' reader's (its tests are
// in tests/fixtures): here only what the pairing takes from them.
TEST(LatencyLog, RecordGivesAcceptedSendsInSeconds) {
    TempDir dir;
    WriteBytes(dir.path() / "round.record",
               "open 100 1000 32 0 - Fenwickloop Bench\n"
               "send 2500 1000 32 0 00643c90 Fenwickloop Bench\n"
               "reject 2600 1000 32 0 00643d90 Fenwickloop Bench\n"
               "send 3000 1000 32 0 00003c80 Fenwickloop Bench\n");
    const auto sent = latency::ReadSentMessages(dir.path() / "round.record");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_DOUBLE_EQ(sent[0].seconds, 2.5);
    EXPECT_EQ(sent[0].message, 0x00643c90u);
    EXPECT_EQ(sent[1].message, 0x00003c80u);
}

}  // namespace
