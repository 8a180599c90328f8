# Turns Google Benchmark CSV (--benchmark_format=csv) into rows of the
# benchmark table: figure, value, baseline, ratio, tab-separated (goals.awk
# adds the goals). One row per benchmark for its CPU time per iteration, one
# per counter.
#   awk -F, -f units.awk -f bench_rows.awk

function unquote(text) {
    gsub(/"/, "", text)
    return text
}

function row(figure, value, baseline, ratio) {
    printf "%s\t%s\t%s\t%s\n", figure, value, baseline, ratio
}

function counter_row(name, counter, value) {
    if (counter == "per_entry") {
        # An inverted rate: seconds per entry.
        row(name " time per entry", sprintf("%.3f us", value * 1000000), "", "")
    } else {
        row(name " " counter, value, "", "")
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
        row(name, "error: " unquote($column["error_message"]), "", "")
        next
    }
    unit = $column["time_unit"]
    row(name " CPU time per iteration", sprintf("%.3f %s", $column["cpu_time"], unit), "", "")
    cpu_ns[name] = ns($column["cpu_time"] " " unit)
    for (i = first_counter; i <= last_column; ++i) {
        if ($i != "") counter_row(name, counter_name[i], $i + 0)
    }
}

# An unchanged-file load against the two file-system queries it must make;
# the editor's check of a draft against the loader's read of the same text.
END {
    for (name in cpu_ns) {
        if (name !~ /^BM_EditorCheck\//) continue
        read = name
        sub(/^BM_EditorCheck/, "BM_LoaderRead", read)
        if (!(read in cpu_ns) || cpu_ns[read] <= 0) continue
        row(name " CPU time / the loader's read", sprintf("%.3f us", cpu_ns[name] / 1000),
            sprintf("%.3f us", cpu_ns[read] / 1000), sprintf("%.2f", cpu_ns[name] / cpu_ns[read]))
    }
    unchanged = "BM_LoadConfig_Unchanged"
    queries = "BM_TwoFileSystemQueries"
    if ((unchanged in cpu_ns) && (queries in cpu_ns) && cpu_ns[queries] > 0) {
        row(unchanged " CPU time / two file-system queries", sprintf("%.3f us", cpu_ns[unchanged] / 1000),
            sprintf("%.3f us", cpu_ns[queries] / 1000), sprintf("%.2f", cpu_ns[unchanged] / cpu_ns[queries]))
    }
}
