#include <cstdint>

#include "render.h"

std::string TransposeText(int32_t change) {
    if (change == 0) return "transpose 0 sets it back to 0";
    const int64_t size = change < 0 ? -int64_t{change} : int64_t{change};
    const MemberRange range = *FindMember(MemberPlace::Entry, "transpose")->range;
    return "transpose " + Signed(change) + ": the notes of every mapping switched on afterwards move " +
           (change > 0 ? "up " : "down ") + std::to_string(size) + (size == 1 ? " semitone" : " semitones") +
           "; the transpose stays within " + std::to_string(range.low) + ".." + std::to_string(range.high);
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}
