// OpenMidiOut, SendShortMessage and CloseMidiOut against the virtual MIDI
// port (winevmidi.drv). The driver reads its ports from the environment once
// per process, so every case runs this exe again as a probe with its own
// port configuration, and checks what the port recorded.
#include "engine/midi_out.h"

#include <windows.h>
#include <gtest/gtest.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cwchar>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/virtual_midi.h"
#include "support/wine_path.h"

namespace {

using vmidi::EventKind;
using vmidi::MidiEvent;

constexpr DWORD kOpened = 0;
constexpr DWORD kNotOpened = 1;
constexpr DWORD kBadProbeStep = 3;
constexpr DWORD kHandleLeftAfterClose = 4;

// The probe: `--probe FRAGMENT STEP...` opens the port with FRAGMENT as
// midi_device, then runs the steps: `send HEX`, `close`, `fail-on` and
// `fail-off` (create and delete the file that makes sends fail).
DWORD RunProbeSteps(const std::vector<std::wstring>& args) {
    MidiOut out;
    const bool opened = OpenMidiOut(out, args.at(0));
    const std::wstring fail_flag = EnvironmentValue(vmidi::kFailWhileVariable);
    for (size_t index = 1; index < args.size(); ++index) {
        const std::wstring& step = args[index];
        if (step == L"send" && index + 1 < args.size()) {
            SendShortMessage(out, static_cast<uint32_t>(std::wcstoul(args[++index].c_str(), nullptr, 16)));
        } else if (step == L"close") {
            CloseMidiOut(out);
            if (out.handle != nullptr) return kHandleLeftAfterClose;
        } else if (step == L"fail-on") {
            CloseHandle(CreateFileW(fail_flag.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        } else if (step == L"fail-off") {
            DeleteFileW(fail_flag.c_str());
        } else {
            return kBadProbeStep;
        }
    }
    return opened ? kOpened : kNotOpened;
}

struct PortSetup {
    std::wstring ports;         // QF_VMIDI_PORTS
    std::wstring refuse_open;   // QF_VMIDI_REFUSE_OPEN
    std::wstring reject_sends;  // QF_VMIDI_REJECT_SENDS
};

struct ProbeResult {
    std::optional<DWORD> exit_code;
    std::vector<MidiEvent> events;
};

std::vector<int> PortsOf(const std::vector<MidiEvent>& events, EventKind kind) {
    std::vector<int> ports;
    for (const MidiEvent& event : vmidi::EventsOfKind(events, kind)) ports.push_back(event.port);
    return ports;
}

class MidiOutTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t system_folder[MAX_PATH] = {};
        GetSystemDirectoryW(system_folder, MAX_PATH);
        if (!std::filesystem::exists(std::filesystem::path(system_folder) / L"winevmidi.drv")) {
            GTEST_SKIP() << "the virtual MIDI driver winevmidi.drv is not installed in this Wine prefix";
        }
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::filesystem::path(temp) / (L"quillfret-midi-out-" + std::to_wstring(GetCurrentProcessId()) +
                                                 L"-" + std::to_wstring(GetTickCount64()));
        std::filesystem::create_directories(folder_);
    }

    void TearDown() override {
        std::error_code ignored;  // a leftover temporary folder harms no later test
        std::filesystem::remove_all(folder_, ignored);
    }

    ProbeResult RunProbe(const PortSetup& setup, std::vector<std::wstring> probe_args) {
        const std::filesystem::path record = folder_ / L"record.txt";
        std::filesystem::remove(record);
        LaunchOptions options;
        options.program = OwnExePath();
        options.arguments = {L"--probe"};
        options.arguments.insert(options.arguments.end(), probe_args.begin(), probe_args.end());
        options.environment = {{vmidi::kPortsVariable, setup.ports},
                               {vmidi::kRefuseOpenVariable, setup.refuse_open},
                               {vmidi::kRejectSendsVariable, setup.reject_sends},
                               {vmidi::kFailWhileVariable, (folder_ / L"fail").wstring()},
                               {vmidi::kRecordVariable, record.wstring()}};
        ProbeResult result;
        result.exit_code = RunProcess(options, std::chrono::seconds(60));
        result.events = vmidi::ReadMidiRecord(record);
        return result;
    }

    std::filesystem::path folder_;
};

const PortSetup kLoopAndFenwick{L"Loop A|Fenwickloop Port 1", L"", L""};

struct OpenCase {
    const char* name;
    PortSetup setup;
    std::wstring fragment;
    std::vector<int> opened;   // the port opened, or none
    std::vector<int> refused;  // the matching ports that would not open, in the order tried
};

const OpenCase kOpenCases[] = {
    {"default fragment opens the second of Loop A and Fenwickloop Port 1", kLoopAndFenwick, L"Fenwickloop", {1}, {}},
    {"letter case matters", kLoopAndFenwick, L"fenwickloop", {}, {}},
    {"fragment equal to a whole name", {L"Loop A|Fenwickloop", L"", L""}, L"Fenwickloop", {1}, {}},
    {"fragment longer than every name", kLoopAndFenwick, L"Fenwickloop Port 1 ", {}, {}},
    {"no ports at all", {L"", L"", L""}, L"Fenwickloop", {}, {}},
    {"first of two matches wins, the second is never tried",
     {L"Fenwickloop A|Fenwickloop B", L"", L""},
     L"Fenwickloop",
     {0},
     {}},
    {"a matching port that refuses is passed over",
     {L"Fenwickloop A|Loop B|Fenwickloop C", L"0", L""},
     L"Fenwickloop",
     {2},
     {0}},
    {"every matching port refuses", {L"Fenwickloop A|Fenwickloop B", L"0,1", L""}, L"Fenwickloop", {}, {0, 1}},
    {"empty fragment takes the first port", kLoopAndFenwick, L"", {0}, {}},
    {"empty fragment takes the first port that opens", {L"Loop A|Fenwickloop Port 1", L"0", L""}, L"", {1}, {0}},
    {"non-ASCII names compare exactly", {L"Caf\u00e9 Loop|Cafe Loop", L"", L""}, L"Cafe", {1}, {}},
};

TEST_F(MidiOutTest, OpensTheFirstMatchingPortThatOpens) {
    for (const OpenCase& test : kOpenCases) {
        SCOPED_TRACE(test.name);
        const ProbeResult result = RunProbe(test.setup, {test.fragment});
        ASSERT_TRUE(result.exit_code.has_value()) << "the probe did not end";
        EXPECT_EQ(*result.exit_code, test.opened.empty() ? kNotOpened : kOpened);
        EXPECT_EQ(PortsOf(result.events, EventKind::Open), test.opened);
        EXPECT_EQ(PortsOf(result.events, EventKind::Refuse), test.refused);
    }
}

TEST_F(MidiOutTest, RecordNamesTheOpenedPort) {
    const ProbeResult result = RunProbe(kLoopAndFenwick, {L"Fenwickloop"});
    ASSERT_EQ(result.events.size(), 1u);
    EXPECT_EQ(result.events[0].port_name, "Fenwickloop Port 1");
}

TEST_F(MidiOutTest, SendsReachThePortWithTheExactPackedValuesInOrder) {
    const ProbeResult result = RunProbe(
        kLoopAndFenwick, {L"Fenwickloop", L"send", L"00403C90", L"send", L"00003C80", L"send", L"007F07B9", L"close"});
    EXPECT_EQ(result.exit_code, kOpened);
    EXPECT_EQ(vmidi::SentMessages(result.events), (std::vector<uint32_t>{0x00403C90, 0x00003C80, 0x007F07B9}));
    EXPECT_EQ(PortsOf(result.events, EventKind::Send), (std::vector<int>{1, 1, 1}));
    ASSERT_EQ(result.events.size(), 5u);
    EXPECT_EQ(result.events.front().kind, EventKind::Open);
    EXPECT_EQ(result.events.back().kind, EventKind::Close);
}

TEST_F(MidiOutTest, RejectedSendDoesNotStopTheNextOne) {
    const ProbeResult result = RunProbe(kLoopAndFenwick, {L"Fenwickloop", L"send", L"00403C90", L"fail-on", L"send",
                                                          L"00403D90", L"fail-off", L"send", L"00403E90"});
    EXPECT_EQ(result.exit_code, kOpened);
    EXPECT_EQ(vmidi::SentMessages(result.events), (std::vector<uint32_t>{0x00403C90, 0x00403E90}));
    const std::vector<MidiEvent> rejected = vmidi::EventsOfKind(result.events, EventKind::Reject);
    ASSERT_EQ(rejected.size(), 1u);
    EXPECT_EQ(rejected[0].message, 0x00403D90u);
}

TEST_F(MidiOutTest, PortThatRejectsEverySendIsStillSentEveryMessage) {
    const ProbeResult result =
        RunProbe({L"Fenwickloop Port 1", L"", L"0"}, {L"Fenwickloop", L"send", L"00403C90", L"send", L"00003C80"});
    EXPECT_EQ(result.exit_code, kOpened);
    EXPECT_EQ(vmidi::EventsOfKind(result.events, EventKind::Reject).size(), 2u);
}

TEST_F(MidiOutTest, CloseTwiceClosesOnceAndLaterSendsGoNowhere) {
    const ProbeResult result = RunProbe(kLoopAndFenwick, {L"Fenwickloop", L"close", L"close", L"send", L"00403C90"});
    EXPECT_EQ(result.exit_code, kOpened);
    EXPECT_EQ(PortsOf(result.events, EventKind::Close), std::vector<int>{1});
    EXPECT_TRUE(vmidi::EventsOfKind(result.events, EventKind::Send).empty());
}

TEST_F(MidiOutTest, WithNoPortOpenSendAndCloseDoNothing) {
    const ProbeResult result = RunProbe(kLoopAndFenwick, {L"Quillfret", L"send", L"00403C90", L"close", L"close"});
    EXPECT_EQ(result.exit_code, kNotOpened);
    EXPECT_TRUE(result.events.empty());
}

// This exe's own wide arguments after `--probe`, or nothing when it runs as the test.
std::optional<std::vector<std::wstring>> ProbeArguments() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::vector<std::wstring>> probe;
    if (args != nullptr && count >= 3 && std::wstring(args[1]) == L"--probe") {
        probe.emplace(args + 2, args + count);
    }
    LocalFree(args);
    return probe;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto probe_args = ProbeArguments()) return static_cast<int>(RunProbeSteps(*probe_args));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
