#!/usr/bin/env bash
# Installs the Debian packages Tintwell needs, in sets, so that a parent who
# only runs the program gets no test or benchmark tools. Idempotent:
# apt-get runs only when a package is missing.
#   scripts/install-deps.sh            build and run the program (make run)
#   scripts/install-deps.sh --test     also the tests: GoogleTest, Xvfb and
#                                      xdotool, the private print server,
#                                      clang for the fuzzers (make test)
#   scripts/install-deps.sh --bench    also the benchmarks (make bench)
#   scripts/install-deps.sh --catalog  also what scripts/make-catalog.sh needs
#   scripts/install-deps.sh --sounds   also what scripts/make-sounds.sh (ffmpeg
#                                      for its loudness measure) and
#                                      scripts/make-test-sounds.sh need
#   scripts/install-deps.sh --artwork  also what scripts/make-artwork.sh needs
#   scripts/install-deps.sh --print [SET]
#                                      prints the packages of a set (test,
#                                      bench, catalog, sounds, artwork; with
#                                      no SET the one make run installs), one
#                                      a line, and installs nothing
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config make
  # libraries
  qt6-base-dev qt6-base-dev-tools libgif-dev libjpeg-dev libpng-dev zlib1g-dev
  libmpg123-dev libasound2-dev libsqlite3-dev libsodium-dev
  # turning dropped images into colouring pages (brings libopencv-core-dev)
  libopencv-imgproc-dev
  # the interface font embedded in the program
  fonts-sil-andika
  # runs natively on a Wayland desktop
  qt6-wayland
)

test_packages=(
  # unit, widget and sanitizer tests; clang builds the fuzzers
  libgtest-dev libgmock-dev clang libclang-rt-14-dev
  # reading printed PDFs and a fixed font for rendered texts
  poppler-utils fonts-dejavu-core
  # the end-to-end tests drive the real program on a private display
  xvfb xauth xdotool imagemagick
  # the keyboard journey on Wayland runs under a headless compositor
  weston
  # running as another user and in private mounts
  util-linux
  # the Debian package and the installed desktop files
  dpkg-dev file desktop-file-utils appstream
  # printing through a private print server in the end-to-end test
  cups printer-driver-cups-pdf
)

# The packages a set adds to the base set.
set_packages() {
  case "$1" in
    test) printf '%s\n' "${test_packages[@]}" ;;
    bench) printf '%s\n' libbenchmark-dev valgrind tuxpaint openclipart-png ;;
    catalog) printf '%s\n' openclipart-svg librsvg2-bin python3 ;;
    sounds) printf '%s\n' lame sox fluidsynth fluid-soundfont-gm ffmpeg python3 ;;
    artwork) printf '%s\n' librsvg2-bin imagemagick python3 tango-icon-theme ;;
    *) echo "install-deps.sh: unknown set $1" >&2; return 2 ;;
  esac
}

if [ "${1:-}" = "--print" ]; then
  [ $# -le 2 ] || { echo "install-deps.sh: --print takes at most one set" >&2; exit 2; }
  if [ $# -eq 1 ]; then
    printf '%s\n' "${packages[@]}"
  else
    set_packages "${2#--}"
  fi
  exit 0
fi

for arg in "$@"; do
  case "$arg" in
    --test | --bench | --catalog | --sounds | --artwork)
      mapfile -t extra < <(set_packages "${arg#--}")
      packages+=("${extra[@]}")
      ;;
    *) echo "install-deps.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
