#include <cstddef>
#include <cstdint>

#include "config/catalogue.h"
#include "fuzz_file.h"

// One remembered-selection file per input, read as at start-up.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("last_config.txt");
    CoreState state;
    state.cfg_dir = file.folder();
    state.last_config_path = file.Write(data, size);
    LoadLastConfig(state);
    return 0;
}
