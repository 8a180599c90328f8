# Debian packages the build, the tests and the scripts need; sourced by
# scripts/test, scripts/run, scripts/bench, scripts/fuzz and scripts/package.
# clang's runtime (the sanitizers and libFuzzer of scripts/fuzz) through the
# metapackage that follows the release's default clang; column (scripts/bench)
# is in bsdextrautils; librsvg2-bin and icoutils make the program's icon.
QUILLFRET_PACKAGES=(
    cmake make g++ git
    nlohmann-json3-dev googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine64 xvfb
    clang libclang-rt-dev clang-format clang-tidy
    bsdextrautils
    librsvg2-bin icoutils zip unzip jq
)

# Installs what is missing when run as root; otherwise prints the exact
# command to run and fails.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "${QUILLFRET_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local command="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run as root:" >&2
        echo "  $command" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -q >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}
