#include "mapping_layout.h"

#include <nlohmann/json.hpp>

namespace {

using ordered = nlohmann::ordered_json;

std::string Dumped(const ordered& value) { return value.dump(-1, ' ', false, ordered::error_handler_t::strict); }

// A value on one line, with a space after each comma and colon and inside
// the braces of an object: { "key": "A", "notes": [60, 64] }.
std::string OneLine(const ordered& value) {
    if (value.is_array()) {
        std::string text = "[";
        for (const ordered& item : value) text += (text.size() == 1 ? "" : ", ") + OneLine(item);
        return text + "]";
    }
    if (value.is_object()) {
        if (value.empty()) return "{}";
        std::string text = "{";
        for (const auto& [name, item] : value.items()) {
            text += (text.size() == 1 ? " " : ", ") + Dumped(name) + ": " + OneLine(item);
        }
        return text + " }";
    }
    return Dumped(value);
}

// "mappings" with one entry per line; any other member on one line.
std::string MemberValue(const std::string& name, const ordered& value) {
    if (name != "mappings" || !value.is_array() || value.empty()) return OneLine(value);
    std::string text = "[\n";
    for (std::size_t i = 0; i < value.size(); ++i) {
        text += "    " + OneLine(value[i]) + (i + 1 < value.size() ? ",\n" : "\n");
    }
    return text + "  ]";
}

}  // namespace

std::optional<std::string> LayOutMappingText(std::string_view text) {
    const ordered document = ordered::parse(text, nullptr, false);
    if (!document.is_object()) return std::nullopt;
    if (document.empty()) return "{}\n";
    std::string laid_out = "{\n";
    std::size_t left = document.size();
    for (const auto& [name, value] : document.items()) {
        laid_out += "  " + Dumped(name) + ": " + MemberValue(name, value) + (--left != 0 ? ",\n" : "\n");
    }
    return laid_out + "}\n";
}
