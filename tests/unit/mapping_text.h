#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/mapping.h"

// A mapping as compact text for table-driven tests: the key, then only the
// fields that differ from a default Mapping, as "key=65 notes=[60,64] mode=toggle".
inline std::string MappingText(const Mapping& m) {
    const Mapping d;
    auto list = [](const std::vector<int32_t>& values) {
        std::string text(1, '[');
        for (int32_t v : values) {
            if (text.size() > 1) text += ',';
            text += std::to_string(v);
        }
        return text + ']';
    };
    std::string text = "key=" + std::to_string(m.key);
    if (m.modifier != d.modifier) text += " modifier=" + std::to_string(m.modifier);
    if (!m.notes.empty()) text += " notes=" + list(m.notes);
    if (!m.cc_numbers.empty()) text += " cc_numbers=" + list(m.cc_numbers);
    if (m.velocity != d.velocity) text += " velocity=" + std::to_string(m.velocity);
    if (m.channel != d.channel) text += " channel=" + std::to_string(m.channel);
    if (m.cc_enabled != d.cc_enabled) text += " cc_enabled";
    if (m.cc_value_on != d.cc_value_on) text += " cc_value_on=" + std::to_string(m.cc_value_on);
    if (m.cc_value_off != d.cc_value_off) text += " cc_value_off=" + std::to_string(m.cc_value_off);
    if (m.mode != d.mode) text += " mode=toggle";
    auto optional = [&text](const char* name, const std::optional<int32_t>& value) {
        if (value) text += std::string(" ") + name + "=" + std::to_string(*value);
    };
    optional("program", m.program);
    optional("bank", m.bank);
    optional("pitch_bend", m.pitch_bend);
    optional("transpose", m.transpose);
    return text;
}

// Every mapping of a table in key order, separated by " | ". Also checks
// that each record sits under its own key.
inline std::string TableText(const MappingTable& table) {
    std::vector<int32_t> keys;
    for (const auto& [key, mapping] : table) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    std::string text;
    for (int32_t key : keys) {
        const Mapping& m = table.at(key);
        text +=
            (text.empty() ? "" : " | ") + (m.key == key ? "" : "under " + std::to_string(key) + ": ") + MappingText(m);
    }
    return text;
}
