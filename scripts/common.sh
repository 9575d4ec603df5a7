# Shared by scripts/run and scripts/test: installs what the build needs and builds.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian 12 packages the build, the tests, the tools and the package build need (the
# validators check the installed desktop entry and metainfo, zsh and fish parse the completion
# scripts; dpkg-dev finds the package's dependencies).
PACKAGES=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-translations-l10n libsimpleini-dev
          libftdi1-dev libusb-1.0-0-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-dejavu-core libqt6sql6-sqlite libqt6sql6-psql libpq-dev
          libsqlite3-dev sqlite3
          postgresql postgresql-common libudev-dev umockdev libumockdev-dev dbus-daemon
          desktop-file-utils appstream shared-mime-info dpkg-dev file zsh fish librsvg2-bin
          poppler-utils)

# ensure_packages [extra packages...]: installs the missing ones as root; as a normal user names
# the sudo line that is needed and stops.
ensure_packages() {
    local wanted=("${PACKAGES[@]}" "$@") missing=() p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing. Install them, then run this command again:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# configure DIR [cmake options...]
configure() {
    local dir="$1"; shift
    # A compiler cache, when installed, makes rebuilds of other checkouts cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" "${launcher[@]}" >/dev/null
}

# build DIR [cmake options...]: configures DIR and builds everything in it.
build() {
    configure "$@"
    cmake --build "$ROOT/$1" -j "$(nproc)"
}
