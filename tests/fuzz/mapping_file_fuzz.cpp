#include <cstddef>
#include <cstdint>

#include "config/config_loader.h"
#include "fuzz_file.h"

// One mapping file per input, loaded as the program loads the current file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("current.json");
    static CoreState state = [] {
        CoreState s;
        s.key_names = {{"A", 65}, {"Space", 32}, {"Ctrl", 17}, {"", 7}, {"Big", 100000}, {"Neg", -5}};
        return s;
    }();
    state.current_config = file.Write(data, size);
    state.read_again = true;  // always a fresh read
    LoadConfig(state);
    return 0;
}
