#include "page_report.h"

#include "config/load_words.h"
#include "engine/mapping_engine.h"
#include "render.h"

namespace {

using json = nlohmann::json;

// About what one entry takes in the answer.
constexpr std::size_t kBytesPerEntry = 160;

// A JSON string of text the program read as valid UTF-8: key texts and the
// loader's words (a file whose strings are not UTF-8 fails whole, and has
// no entries).
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

// The label under a key's name: its notes by name, else what it does first.
std::string DetailOf(const Mapping& m) {
    std::string detail;
    for (const int32_t note : m.notes) {
        if (!detail.empty()) detail += ' ';
        detail += note >= 0 && note <= kLastMidiDataByte ? NoteName(note) : std::to_string(note);
    }
    if (!detail.empty()) return detail;
    if (m.transpose) return "transpose " + Signed(*m.transpose);
    std::optional<uint32_t> first;
    auto keep_first = [&first](uint32_t message) {
        if (!first) first = message;
    };
    SwitchMapping(m, true, 0, keep_first);
    return first ? MessageText(*first) : "";
}

void AppendEntry(std::string& out, const EntryRead& entry, const KeyNameTable& names) {
    const Mapping& m = entry.mapping;
    out += "{\"stored\":";
    out += entry.outcome == EntryOutcome::Stored ? "true" : "false";
    AppendMember(out, "path", entry.label);
    if (entry.outcome != EntryOutcome::Stored) {
        AppendMember(out, "reason", IdleWords(entry, names));
        out += '}';
        return;
    }
    out += ",\"code\":" + std::to_string(m.key);
    if (const MemberWritten* modifier = FindWritten(entry, "modifier")) {
        out += ",\"modifier_code\":" + std::to_string(m.modifier);
        AppendMember(out, "modifier", modifier->text);
    }
    AppendMember(out, "mode", m.mode == MappingMode::Toggle ? "toggle" : "hold");
    AppendMember(out, "kind", KindOf(m));
    AppendMember(out, "detail", DetailOf(m));
    out += '}';
}

}  // namespace

std::string PageCheckJson(const MappingFileRead& read, const KeyNamesRead& key_names,
                          const std::optional<std::string>& news, uint64_t check_id) {
    json file_level = FileReadJson(read, key_names.by_code);
    file_level["news"] = news ? json(*news) : json(nullptr);
    file_level["check_id"] = check_id;
    std::string out = file_level.dump(-1, ' ', false, json::error_handler_t::replace);
    out.pop_back();  // the closing brace: the entries follow
    out.reserve(out.size() + read.entries.size() * kBytesPerEntry);
    out += ",\"entries\":[";
    // A file that fails as a whole stores no entry: none is shown.
    if (read.failure.kind == FileFailure::None) {
        for (const EntryRead& entry : read.entries) {
            if (&entry != &read.entries.front()) out += ',';
            AppendEntry(out, entry, key_names.names);
        }
    }
    out += "]}";
    return out;
}

json EntryDetailsJson(const EntryCheck& check) {
    const Mapping& m = check.entry.mapping;
    json details = {{"path", check.entry.label}, {"warnings", check.warnings}};
    if (!check.skip_reason.empty()) {
        details["reason"] = check.skip_reason;
        return details;
    }
    const bool toggle = m.mode == MappingMode::Toggle;
    details["press"] = MessagesText(check.switch_on, m.transpose);
    details[toggle ? "second_press" : "release"] = MessagesText(check.switch_off);
    return details;
}
