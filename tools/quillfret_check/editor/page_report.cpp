#include "page_report.h"

#include <nlohmann/json.hpp>

#include "render.h"

namespace {

using json = nlohmann::json;

// About what one entry of a chord and two controllers takes in the answer.
constexpr std::size_t kBytesPerEntry = 400;

// A JSON string of text the program made or read as valid UTF-8: the
// entries' names, words and warnings (a file whose strings are not UTF-8
// fails whole, and has no entries).
void AppendString(std::string& out, std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += '"';
    std::size_t plain = 0;  // the start of the characters not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        if (byte >= 0x20) {
            out += '\\';
            out += text[i];
        } else {
            out += "\\u00";
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        }
    }
    out.append(text, plain);
    out += '"';
}

void AppendMember(std::string& out, std::string_view name, std::string_view text) {
    out += ",\"";
    out += name;
    out += "\":";
    AppendString(out, text);
}

const char* KindOf(const Mapping& m) {
    if (!m.notes.empty()) return "notes";
    if (m.cc_enabled && !m.cc_numbers.empty()) return "controllers";
    if (m.program) return "program";
    if (m.pitch_bend) return "bend";
    if (m.transpose) return "transpose";
    return "nothing";
}

// The label under a key's name: its notes by name, else what it sends first.
std::string DetailOf(const EntryCheck& check) {
    const Mapping& m = check.entry.mapping;
    std::string detail;
    for (const int32_t note : m.notes) {
        detail += (detail.empty() ? "" : " ") + (note >= 0 && note <= kLastMidiDataByte ? NoteName(note) : "?");
    }
    if (!detail.empty()) return detail;
    if (m.transpose) return "transpose " + Signed(*m.transpose);
    return check.switch_on.empty() ? "" : MessageText(check.switch_on.front());
}

void AppendEntry(std::string& out, const EntryCheck& check) {
    const EntryRead& entry = check.entry;
    const Mapping& m = entry.mapping;
    out += "{\"stored\":";
    out += entry.outcome == EntryOutcome::Stored ? "true" : "false";
    AppendMember(out, "path", entry.label);
    if (entry.outcome != EntryOutcome::Stored) {
        AppendMember(out, "reason", check.skip_reason);
        out += '}';
        return;
    }
    const bool toggle = m.mode == MappingMode::Toggle;
    out += ",\"code\":" + std::to_string(m.key);
    AppendMember(out, "name", check.key_name.empty() ? entry.key_text : check.key_name);
    if (const MemberWritten* modifier = FindWritten(entry, "modifier")) {
        AppendMember(out, "modifier", check.modifier_name.empty() ? modifier->text : check.modifier_name);
    }
    AppendMember(out, "mode", toggle ? "toggle" : "hold");
    AppendMember(out, "kind", KindOf(m));
    AppendMember(out, "detail", DetailOf(check));
    AppendMember(out, "press", MessagesText(check.switch_on, m.transpose));
    AppendMember(out, toggle ? "second_press" : "release", MessagesText(check.switch_off));
    out += ",\"warnings\":[";
    for (const std::string& warning : check.warnings) {
        if (&warning != &check.warnings.front()) out += ',';
        AppendString(out, warning);
    }
    out += "]}";
}

}  // namespace

std::string PageReportJson(CheckResult& result, const std::optional<std::string>& news) {
    // The file-level members come from the checker's own report, made
    // without the entries (which it would give in full, at several times
    // the cost of the read).
    std::vector<EntryCheck> entries = std::move(result.entries);
    json file_level = ReportJson(result);
    result.entries = std::move(entries);
    file_level.erase("entries");
    file_level["news"] = news ? json(*news) : json(nullptr);
    std::string out = file_level.dump(-1, ' ', false, json::error_handler_t::replace);
    out.pop_back();  // the closing brace: the entries follow
    out.reserve(out.size() + result.entries.size() * kBytesPerEntry);
    out += ",\"entries\":[";
    for (const EntryCheck& check : result.entries) {
        if (&check != &result.entries.front()) out += ',';
        AppendEntry(out, check);
    }
    out += "]}";
    return out;
}
