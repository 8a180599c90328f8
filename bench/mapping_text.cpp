#include "mapping_text.h"

#include <sstream>

std::string MappingFileText(int entries, KeyNameTable& names) {
    std::ostringstream out;
    out << "{\n  \"midi_device\": \"Fenwickloop\",\n  \"mappings\": [\n";
    for (int i = 0; i < entries; ++i) {
        const std::string name = "Key" + std::to_string(i);
        names[name] = 256 + i;
        out << "    { \"key\": \"" << name << "\", \"modifier\": \"17\", \"notes\": [" << i % 128 << ", 64, 67], "
            << "\"velocity\": 90, \"channel\": " << 1 + i % 16 << ", \"cc_enabled\": true, \"cc_numbers\": [1, 11], "
            << "\"cc_value_on\": 100, \"cc_value_off\": 20, \"mode\": \"" << (i % 2 ? "toggle" : "hold") << "\" }"
            << (i + 1 < entries ? ",\n" : "\n");
    }
    out << "  ]\n}\n";
    return out.str();
}
