#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/key_names.h"
#include "fuzz_file.h"

// One key-name file per input; then every line of the input is resolved
// against the table it produced, as mapping texts are.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("KeyMapping.cfg");
    KeyNameTable key_names;
    LoadKeyNames(key_names, file.Write(data, size));
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const size_t end = text.find('\n');
        ResolveKeyName(key_names, text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return 0;
}
