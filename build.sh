#!/usr/bin/env bash
# vornik build driver.
#   ./build.sh test   install what is missing, configure, build, run the whole test suite
#   ./build.sh build  install what is missing, configure and build
#   ./build.sh run    build optimised, start vornik-devsim on a private socket, open the panel
# BUILD_DIR chooses the test build's folder (default: build); the optimised build without
# sanitizers that `run` uses lives in build-release.
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)
build_dir=${BUILD_DIR:-build}
release_dir=build-release

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-qpa-plugins
  libgl-dev libgtest-dev libgmock-dev googletest libbenchmark-dev xvfb xauth xdotool
  imagemagick fonts-dejavu-core)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build [folder build-type sanitize]: the Debug build with the sanitizers into
# the test build folder unless told otherwise.
configure_and_build() {
  local dir=${1:-$build_dir} type=${2:-Debug} sanitize=${3:-${VORNIK_SANITIZE:-ON}}
  # ccache, where the machine has it, lets several checkouts share their compiles.
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DVORNIK_SANITIZE="$sanitize" \
    "${launcher[@]}"
  cmake --build "$dir"
}

run_tests() {
  # Qt and fontconfig keep a few process-lifetime allocations; the suppressions name them.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/lsan.supp:print_suppressions=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 300
}

run_panel() {
  local sock
  sock=$(mktemp -u "${TMPDIR:-/tmp}/vornik-devsim.XXXXXX")
  "$release_dir/bin/vornik-devsim" --socket "$sock" --state "$here/$release_dir/devsim-state" &
  simulator=$!
  trap 'kill "$simulator" 2>/dev/null || true; wait "$simulator" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -S "$sock" ] && break; sleep 0.1; done
  VORNIK_USB_PORT="$sock" "$release_dir/bin/vornik"
}

case "${1:-}" in
  test) install_missing; configure_and_build; run_tests ;;
  build) install_missing; configure_and_build ;;
  run) install_missing; configure_and_build "$release_dir" Release OFF; run_panel ;;
  *) echo "usage: $0 test|build|run" >&2; exit 2 ;;
esac
