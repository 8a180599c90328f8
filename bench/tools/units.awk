# Shared by bench_rows.awk and goals.awk (awk -f units.awk -f ...): a time
# of the table in nanoseconds, from its text: "5.985 ns", "31978.300 us",
# "76.354 ms", "1 s".
function ns(text,    part) {
    split(text, part, " ")
    if (part[2] == "us") return part[1] * 1000
    if (part[2] == "ms") return part[1] * 1000000
    if (part[2] == "s") return part[1] * 1000000000
    return part[1] + 0
}
