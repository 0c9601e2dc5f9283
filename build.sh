#!/usr/bin/env bash
# vornik build driver.
#   ./build.sh test   install what is missing, configure, build, run the whole test suite
#   ./build.sh build  install what is missing, configure and build
#   ./build.sh run    build optimised, start vornik-devsim on a private socket, open the panel
#   ./build.sh package  optimised build without sanitizers in build-package, made into a .deb
#   ./build.sh fuzz [seconds]
#                     build the fuzz targets with clang, libFuzzer, ASan and UBSan into
#                     build-fuzz, then fuzz each for the seconds given (60 by default),
#                     one target per core at a time (FUZZ_JOBS sets another count)
#   ./build.sh bench  optimised build, then every device operation against the waits its protocol
#                     prescribes, start-up and memory: one table, the same as JSON in build/bench.json
# BUILD_DIR chooses the test build's folder (default: build); the optimised build without
# sanitizers that `run` and `bench` use lives in build-release.
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)
build_dir=${BUILD_DIR:-build}
release_dir=build-release

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-qpa-plugins
  libgl-dev libgtest-dev libgmock-dev googletest libbenchmark-dev xvfb xauth xdotool
  imagemagick fonts-dejavu-core libcli11-dev nlohmann-json3-dev python3-jsonschema libx11-dev
  ansible-core weston qt6-wayland qt6-translations-l10n at-spi2-core python3-pyatspi dbus
  dbus-x11)

install_missing() {
  local missing=()
  for p in "${packages[@]}" "$@"; do
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

# The Debian package: an optimised build with Debian's hardening flags and no sanitizers, in
# a folder of its own (PACKAGE_DIR, default build-package), installed under /usr by CPack.
# Its desktop entry and metainfo are validated, its contents listed and checked, and
# lintian must find nothing.
package_deb() {
  packages+=(dpkg-dev lintian appstream desktop-file-utils)
  install_missing
  local dir=${PACKAGE_DIR:-build-package} launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNIK_SANITIZE=OFF -DVORNIK_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
  cmake --build "$dir"
  local id
  id=$(sed -n 's/^set(VORNIK_APP_ID \(.*\))$/\1/p' CMakeLists.txt)
  desktop-file-validate "$dir/packaging/$id.desktop"
  appstreamcli validate --no-net "$dir/packaging/$id.metainfo.xml"
  rm -f "$dir"/vornik_*.deb
  (cd "$dir" && cpack -G DEB)
  local deb
  deb=$(ls "$dir"/vornik_*.deb)
  local listing
  listing=$(dpkg-deb -c "$deb")
  echo "$listing"
  local wanted=(usr/bin/vornik usr/bin/vornikctl usr/bin/vornik-devsim
    usr/lib/vornik/libgrenlo.so usr/lib/vornik/libtarquil.so usr/lib/vornik/libfendrel.so
    usr/lib/vornik/libcorvane.so usr/lib/vornik/vornik-uninstall
    usr/share/vornik/vornik.ini usr/share/vornik/english.lng usr/share/vornik/german.lng
    usr/share/vornik/french.lng usr/share/vornik/spanish.lng usr/share/vornik/vornik.html
    usr/share/vornik/vornik.de.html usr/share/vornik/vornik.fr.html usr/share/vornik/vornik.es.html
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
    usr/lib/udev/rules.d/60-vornik.rules usr/lib/tmpfiles.d/vornik.conf
    usr/share/man/man1/vornik.1.gz usr/share/man/man1/vornik-devsim.1.gz
    usr/share/man/man1/vornikctl.1.gz usr/share/vornik/schema/settings.schema.json
    usr/share/doc/vornik/copyright usr/share/doc/vornik/changelog.gz
    usr/share/ansible/collections/ansible_collections/vornik/device/MANIFEST.json
    usr/share/ansible/collections/ansible_collections/vornik/device/plugins/modules/settings.py)
  for size in 16 22 24 32 48 64 128 256; do
    wanted+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
  done
  local missing=0
  for file in "${wanted[@]}"; do
    grep -q " \./$file\$" <<<"$listing" || { echo "the package lacks /$file" >&2; missing=1; }
  done
  [ $missing -eq 0 ]
  lintian --fail-on error,warning "$deb"
  echo "Package: $deb"
}

# Builds every fuzz target with the whole program instrumented for coverage, then fuzzes
# them on their seed corpora, as many at once as the machine has cores (FUZZ_JOBS to
# change); new inputs go to build-fuzz/corpus, findings to build-fuzz/findings. Prints
# the runs each target made; fails when any found something.
run_fuzzers() {
  local seconds=${1:-60}
  local dir=build-fuzz
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNIK_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=fuzzer-no-link" "${launcher[@]}"
  cmake --build "$dir" --target vornik_fuzz_targets
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
  # The file readers are fuzzed through files: in memory where the machine allows.
  if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
  local jobs=${FUZZ_JOBS:-$(nproc)} running=0 names=()
  while read -r program seeds; do
    [ -n "$program" ] || continue
    local name
    name=$(basename "$program")
    names+=("$name")
    mkdir -p "$dir/corpus/$name" "$dir/findings/$name"
    rm -f "$dir/$name.rc"
    if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
    echo "== $name: $seconds s"
    (
      rc=0
      "$program" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$name/" "$dir/corpus/$name" "$seeds" >"$dir/$name.log" 2>&1 || rc=$?
      echo "$rc" >"$dir/$name.rc"
    ) &
    running=$((running + 1))
  done <"$dir/fuzz_targets.txt"
  wait
  local failed=0
  for name in "${names[@]}"; do
    if [ "$(cat "$dir/$name.rc" 2>/dev/null)" = 0 ]; then
      printf '%-26s %12s runs\n' "$name" "$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$dir/$name.log")"
    else
      failed=1
      printf '%-26s FINDING, see %s\n' "$name" "$dir/$name.log"
    fi
  done
  [ $failed -eq 0 ]
}

case "${1:-}" in
  test) install_missing; configure_and_build; run_tests ;;
  build) install_missing; configure_and_build ;;
  run) install_missing; configure_and_build "$release_dir" Release OFF; run_panel ;;
  package) package_deb ;;
  fuzz) install_missing clang; run_fuzzers "${2:-60}" ;;
  bench) install_missing; configure_and_build "$release_dir" Release OFF; bench/run_bench.sh "$release_dir/bin" build/bench.json ;;
  *) echo "usage: $0 test|build|run|package|fuzz [seconds]|bench" >&2; exit 2 ;;
esac
