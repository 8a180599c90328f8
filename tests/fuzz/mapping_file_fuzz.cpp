#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/mapping_file.h"
#include "config/wide_path.h"
#include "fuzz_file.h"

// One mapping file per input, read as the program reads the current file,
// and its text as the tools read a draft, with every entry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("current.json");
    static const KeyNameTable key_names = {{"A", 65}, {"Space", 32},   {"Ctrl", 17},
                                           {"", 7},   {"Big", 100000}, {"Neg", -5}};
    static_cast<void>(ReadMappingFile(*PathFromWide(file.Write(data, size)), key_names));
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static_cast<void>(ReadMappingText(text, key_names, ReadDetail::EveryEntry));
    return 0;
}
