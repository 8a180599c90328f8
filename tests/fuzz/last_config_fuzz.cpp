#include <cstddef>
#include <cstdint>

#include "config/catalogue.h"
#include "fuzz_file.h"

// One remembered-selection file per input, read as at start-up.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("last_config.txt");
    static_cast<void>(LoadLastConfig(file.Write(data, size)));
    return 0;
}
