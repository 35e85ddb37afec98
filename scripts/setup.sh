# Shared by scripts/run and scripts/test: installs missing Debian packages (as root) and
# builds the program in build/.

tavlin_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

tavlin_install() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tavlin_build_packages=(cmake g++ make qt6-base-dev libqt6sql6-sqlite qt6-svg-dev
                       libbenchmark-dev libsqlite3-dev libsodium-dev)

tavlin_build() {
    local tests="$1"
    local jobs
    jobs="$(nproc 2>/dev/null || echo 2)"
    cmake -S "$tavlin_root" -B "$tavlin_root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTAVLIN_BUILD_TESTS="$tests" >/dev/null
    cmake --build "$tavlin_root/build" -j"$jobs"
}
