#!/usr/bin/env bash
# The static checks: every tracked .cpp and .h is formatted as .clang-format
# says, no include climbs a layer, and clang-tidy (with .clang-tidy) finds
# nothing in src/. Prints one line per check and exits with the number of
# checks that failed.
#
# clang-tidy reads the compile commands of two configured presets: the
# native one for every file it builds (the portable core and its native
# platform files), the windows one for the rest (the Win32 edge and the
# Windows platform files). The MinGW files are analysed for the MinGW target
# with the cross compiler's own C++ headers, which clang does not find by
# itself. A file of src/ that neither preset builds fails the check.
set -uo pipefail
cd "$(dirname "$0")/../.."
log_dir=build/logs
mkdir -p "$log_dir"
failed=0

check_format() {
    local log=$log_dir/clang-format.log
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror >"$log" 2>&1
    local files
    files=$(grep -oE '^[^:]+\.(cpp|h):[0-9]+' "$log" | cut -d: -f1 | sort -u)
    if [ -z "$files" ] && ! grep -q . "$log"; then
        echo "clang-format: ok"
        return 0
    fi
    echo "clang-format: FAILED, not formatted (clang-format -i FILE):"
    if [ -n "$files" ]; then sed 's/^/  /' <<<"$files"; else head -n 20 "$log"; fi
    return 1
}

# The cross compiler's C++ include folders, as it lists them.
mingw_cxx_includes() {
    x86_64-w64-mingw32-g++-posix -xc++ -E -v - </dev/null 2>&1 |
        sed -n '/#include <...> search starts here:/,/End of search list./p' | grep -E '^ .*/c\+\+' | sed 's/^ //'
}

# The files a configured preset compiles, relative to the repository.
compiled_files() {
    grep -oE '"file": *"[^"]*"' "build/$1/compile_commands.json" | sed -E 's/"file": *"(.*)"/\1/' |
        sed "s|^$PWD/||" | sort -u
}

check_tidy() {
    local log_files=$log_dir/clang-tidy
    if ! command -v clang-tidy >/dev/null; then
        echo "clang-tidy: FAILED, clang-tidy is not installed"
        return 1
    fi
    local preset
    for preset in native windows; do
        if ! cmake --preset "$preset" >"$log_dir/$preset-tidy-configure.log" 2>&1; then
            echo "clang-tidy: FAILED, the $preset preset does not configure (see $log_dir/$preset-tidy-configure.log)"
            return 1
        fi
    done
    local sources native windows unbuilt
    sources=$(git ls-files 'src/*.cpp' | sort)
    native=$(comm -12 <(echo "$sources") <(compiled_files native))
    windows=$(comm -23 <(comm -12 <(echo "$sources") <(compiled_files windows)) <(echo "$native"))
    unbuilt=$(comm -23 <(echo "$sources") <(sort <<<"$native"$'\n'"$windows"))
    if [ -n "$unbuilt" ]; then
        echo "clang-tidy: FAILED, built by no preset, so not analysed:"
        sed 's/^/  /' <<<"$unbuilt"
        return 1
    fi
    local mingw_args=(--extra-arg-before=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
    local dir
    for dir in $(mingw_cxx_includes); do mingw_args+=("--extra-arg=-isystem$dir"); done
    rm -rf "$log_files"
    mkdir -p "$log_files"
    # One output file per source, so that parallel runs never mix their lines.
    # A run that fails (a file that does not compile) is a finding of its own.
    local run='file=${*: -1}; out=$0/${file//\//_}; clang-tidy --quiet "$@" >"$out.log" 2>"$out.err" ||
        echo "$file:1:1: error: clang-tidy ended with status $? (see $out.err)" >>"$out.log"'
    xargs -r -P "$(nproc)" -n 1 bash -c "$run" "$log_files" -p build/native <<<"$native"
    xargs -r -P "$(nproc)" -n 1 bash -c "$run" "$log_files" -p build/windows "${mingw_args[@]}" <<<"$windows"
    # A header's finding is reported by every file that includes it: each counts once.
    local findings count
    findings=$(cat "$log_files"/*.log | grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): ' | sort -u)
    count=$(grep -c . <<<"$findings")
    if [ "$count" -eq 0 ]; then
        echo "clang-tidy: ok ($(grep -c . <<<"$sources") files of src/)"
        return 0
    fi
    echo "clang-tidy: FAILED, $count findings (see $log_files/):"
    sed "s|^$PWD/||; s/^/  /" <<<"$findings"
    return 1
}

# The layers, lowest first: the engine includes only itself; the
# configuration and the input hooks build on the engine alone; the
# application shell on all of them; the tools on all but the shell. (The
# build enforces the same through each library's exported headers; this
# check says which include is wrong.)
check_layers() {
    local rules=(
        "src/engine:config|input|app"
        "src/config:input|app"
        "src/input:config|app"
        "tools:app"
    )
    local rule folder forbidden lines found=""
    for rule in "${rules[@]}"; do
        folder=${rule%%:*}
        forbidden=${rule#*:}
        lines=$(git grep -nE "#include \"($forbidden)/" -- "$folder" 2>/dev/null)
        [ -z "$lines" ] || found+="$lines"$'\n'
    done
    if [ -z "$found" ]; then
        echo "layers: ok"
        return 0
    fi
    echo "layers: FAILED, an include climbs a layer:"
    sed '/^$/d; s/^/  /' <<<"$found"
    return 1
}

echo "== static checks"
check_format || failed=$((failed + 1))
check_layers || failed=$((failed + 1))
check_tidy || failed=$((failed + 1))
exit "$failed"
