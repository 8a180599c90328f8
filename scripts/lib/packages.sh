# Debian packages the build, the tests and the scripts need; sourced by
# scripts/test, scripts/run, scripts/bench, scripts/fuzz and scripts/package.
# clang's runtime (the sanitizers and libFuzzer of scripts/fuzz) through the
# metapackage that follows the release's default clang; column (scripts/bench)
# is in bsdextrautils; librsvg2-bin and icoutils make the program's icon;
# libboost-dev gives Boost.Beast to the editor's server (quillfret-check
# --edit); chromium and nodejs run the editor page's tests (playwright-core
# comes from npm: tests/browser).
QUILLFRET_PACKAGES=(
    cmake make g++ git
    nlohmann-json3-dev googletest libgtest-dev libbenchmark-dev libboost-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine64 xvfb
    clang libclang-rt-dev clang-format clang-tidy
    bsdextrautils
    librsvg2-bin icoutils zip unzip jq
    chromium nodejs
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

# npm: Debian ships it apart from nodejs, other builds of Node.js bring it
# along (and conflict with Debian's npm), so it is installed only when the
# command is missing.
ensure_npm() {
    command -v npm >/dev/null && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "npm is missing. Run as root:" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends npm" >&2
        return 1
    fi
    apt-get update -q >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends npm >/dev/null
}

# The browser tests' npm packages (tests/browser/node_modules), exactly as
# the committed package-lock.json pins them (npm ci); installed again when
# the lock file changes.
ensure_browser_modules() {
    ensure_npm || return 1
    local dir=tests/browser
    cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json" && return 0
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error >/dev/null &&
        cp package-lock.json node_modules/.installed-lock.json)
}
