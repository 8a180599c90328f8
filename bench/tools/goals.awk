# Attaches the goals of goals.tsv (the first file) to the rows of the table
# (figure, value, baseline, ratio, tab-separated; the other files) and says
# for each whether this run met it. Rows without a goal pass unchanged.
#   awk -F'\t' -f units.awk -f goals.awk goals.tsv rows.tsv

function met(goal, value, ratio,    part) {
    split(goal, part, " ")
    if (part[1] == "=") return value + 0 == part[2] + 0
    if (part[1] == "ratio") return ratio != "" && ratio != "n/a" && ratio + 0 <= part[3] + 0
    if (part[1] == "<") return ns(value) < ns(part[2] " " part[3])
    return ns(value) <= ns(part[2] " " part[3])
}

FNR == NR {
    if ($0 !~ /^#/ && NF == 2) {
        pattern[++goals] = $1
        goal[goals] = $2
    }
    next
}

# The rows that Windows programs printed under Wine end in CR LF: without the
# CR, the goal appended after the ratio stays on the row's line.
{
    sub(/\r$/, "")
    verdict = ""
    for (i = 1; i <= goals; ++i) {
        if ($1 ~ pattern[i]) {
            verdict = goal[i] (met(goal[i], $2, $4) ? " ok" : " MISSED")
            break
        }
    }
    printf "%s\t%s\t%s\t%s\t%s\n", $1, $2, $3, $4, verdict
}
