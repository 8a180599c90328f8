#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "config/member_table.h"
#include "engine/mapping.h"

// A mapping as compact text for table-driven tests: every member of the
// member table whose value differs from a default Mapping's, in the table's
// order, as "key=65 velocity=90 notes=[60,64] mode=toggle" (a boolean that
// is set stands alone: "cc_enabled"). Taken from the table, so that a new
// member shows without a change here.
inline std::string MappingText(const Mapping& m) {
    const Mapping d;
    auto list = [](const std::vector<int32_t>& values) {
        std::string text(1, '[');
        for (int32_t v : values) text += (text.size() > 1 ? "," : "") + std::to_string(v);
        return text + ']';
    };
    std::string text;
    for (const MemberRow& row : MembersOf(MemberPlace::Entry)) {
        if (!row.alternative_to.empty()) continue;  // shown through the member it is an alternative to
        const std::string name(row.name);
        std::optional<std::string> shown;
        if (const auto* f = std::get_if<int32_t Mapping::*>(&row.field); f && (m.*(*f) != d.*(*f) || name == "key")) {
            shown = name + "=" + std::to_string(m.*(*f));
        } else if (const auto* o = std::get_if<std::optional<int32_t> Mapping::*>(&row.field); o && m.*(*o)) {
            shown = name + "=" + std::to_string(*(m.*(*o)));
        } else if (const auto* v = std::get_if<std::vector<int32_t> Mapping::*>(&row.field); v && !(m.*(*v)).empty()) {
            shown = name + "=" + list(m.*(*v));
        } else if (const auto* b = std::get_if<bool Mapping::*>(&row.field); b && m.*(*b) != d.*(*b)) {
            shown = name;
        } else if (const auto* c = std::get_if<MappingMode Mapping::*>(&row.field); c && m.*(*c) != d.*(*c)) {
            shown = name + "=" + std::string(row.choices[static_cast<size_t>(m.*(*c))]);
        }
        if (shown) text += (text.empty() ? "" : " ") + *shown;
    }
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
