# Turns Google Benchmark CSV (--benchmark_format=csv) into the rows of the
# benchmark table: figure, value, baseline, ratio, goal, tab-separated.
# One row per benchmark for its CPU time per iteration, one per counter.
# Goals are attached here by benchmark name.

function unquote(text) {
    gsub(/"/, "", text)
    return text
}

function row(figure, value, baseline, ratio, goal) {
    printf "%s\t%s\t%s\t%s\t%s\n", figure, value, baseline, ratio, goal
}

# Nanoseconds of a time in the benchmark's unit.
function to_ns(value, unit) {
    if (unit == "us") return value * 1000
    if (unit == "ms") return value * 1000000
    if (unit == "s") return value * 1000000000
    return value
}

# A row against an upper limit in nanoseconds.
function limited(figure, ns, limit_ns, shown_limit, shown_value) {
    row(figure, shown_value, shown_limit, sprintf("%.3f", ns / limit_ns),
        "< " shown_limit (ns < limit_ns ? " ok" : " MISSED"))
}

function time_row(name, value, unit,    ns, shown) {
    ns = to_ns(value, unit)
    shown = sprintf("%.3f %s", value, unit)
    if (name == "BM_HandleTrigger_Hit" || name == "BM_HandleTrigger_TransposeKey" ||
        name == "BM_HandleTrigger_SoundChange") {
        limited(name " CPU time per event", ns, 100, "100 ns", shown)
    } else if (name ~ /LoadConfig/ && name ~ /10000$/) {
        limited(name " CPU time per call", ns, 50000000, "50 ms", shown)
    } else {
        row(name " CPU time per iteration", shown, "", "", "")
    }
}

function counter_row(name, counter, value) {
    if (counter == "per_entry") {
        # An inverted rate: seconds per entry.
        row(name " time per entry", sprintf("%.3f us", value * 1000000), "", "", "")
    } else if (counter ~ /^allocs/) {
        row(name " " counter, value, "0", "", value == 0 ? "= 0 ok" : "= 0 MISSED")
    } else {
        row(name " " counter, value, "", "", "")
    }
}

/^name,/ {
    split("", counter_name)
    for (i = 1; i <= NF; ++i) column[unquote($i)] = i
    first_counter = column["error_message"] + 1
    for (i = first_counter; i <= NF; ++i) counter_name[i] = unquote($i)
    last_column = NF
    next
}

first_counter > 0 {
    name = unquote($column["name"])
    if ($column["error_occurred"] != "") {
        row(name, "error: " unquote($column["error_message"]), "", "", "")
        next
    }
    time_row(name, $column["cpu_time"] + 0, $column["time_unit"])
    cpu_ns[name] = to_ns($column["cpu_time"] + 0, $column["time_unit"])
    for (i = first_counter; i <= last_column; ++i) {
        if ($i != "") counter_row(name, counter_name[i], $i + 0)
    }
}

# An unchanged-file load against the two file-system queries it must make.
END {
    unchanged = "BM_LoadConfig_Unchanged"
    queries = "BM_TwoFileSystemQueries"
    if ((unchanged in cpu_ns) && (queries in cpu_ns) && cpu_ns[queries] > 0) {
        ratio = cpu_ns[unchanged] / cpu_ns[queries]
        row(unchanged " CPU time / two file-system queries", sprintf("%.3f us", cpu_ns[unchanged] / 1000),
            sprintf("%.3f us", cpu_ns[queries] / 1000), sprintf("%.2f", ratio),
            "<= 1.50" (ratio <= 1.5 ? " ok" : " MISSED"))
    }
}
