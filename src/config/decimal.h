#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads a decimal integer from the start of `text`: an optional sign, then one
// or more digits; reading stops at the first byte that is not a digit. Nothing
// when there is no digit or the number does not fit in 32 bits.
std::optional<int32_t> ParseLeadingDecimal(std::string_view text);
