#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder
# and checks it without touching the system: its control fields and declared
# dependencies, its file list under /usr, and the program extracted from it
# (dpkg-deb -x) starting through its launcher.
#   check-package.sh BUILD_DIR VERSION
# Exit status 77 (skipped) when the packaging tools are not installed.
set -uo pipefail

build=$1
version=$2
here=$(dirname "$(readlink -f "$0")")

for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
[ -f "$build/CPackConfig.cmake" ] || { echo "FAIL: $build has no CPackConfig.cmake" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

if ! (cd "$work" && timeout 240 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") \
    >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack did not make the package" >&2
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/out/tintwell_${version}_${arch}.deb"
[ -f "$deb" ] || { ls -l "$work/out" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tintwell ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
field Maintainer | grep -Eq '^[^<>]+ <[^<>@ ]+@[^<> ]+>$' || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[ -n "$(field Description)" ] || fail "no Description"

# The libraries the program and its tools link, as the packages that hold
# them, each with the version it was built against.
depends=$(field Depends)
depend_names=$(echo "$depends" | sed 's/([^)]*)//g; s/|/,/g' | tr ',' '\n' | tr -d ' ' | grep .)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    libasound2 libmpg123-0 libsqlite3-0 libsodium23 libpng16-16 libjpeg62-turbo libgif7 \
    libopencv-core406 libopencv-imgproc406; do
  echo "$depend_names" | grep -qxF "$package" || fail "Depends does not name $package: $depends"
done
# The Wayland platform plugin is loaded at run time; the package asks for it.
field Recommends | tr ',' '\n' | tr -d ' ' | grep -qxF qt6-wayland ||
  fail "Recommends does not name qt6-wayland: $(field Recommends)"
# Every dependency is a package this machine has, so apt can satisfy it here.
for package in $depend_names; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    fail "the declared dependency $package is not a Debian package installed here"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for file in ./usr/bin/tintwell ./usr/bin/tintwell-config ./usr/bin/tintwell-picture \
    ./usr/lib/tintwell/tintwell ./usr/lib/tintwell/default/default.ini \
    ./usr/lib/tintwell/lang/tintwell_en_us.ini ./usr/lib/tintwell/sounds/music.mp3 \
    ./usr/lib/tintwell/catalog/teddy.twf ./usr/lib/tintwell/help/index.html \
    ./usr/share/applications/tintwell.desktop \
    ./usr/share/icons/hicolor/48x48/apps/tintwell.png \
    ./usr/share/icons/hicolor/256x256/apps/tintwell.png \
    ./usr/share/icons/hicolor/scalable/apps/tintwell.svg; do
  echo "$contents" | grep -qxF "$file" || fail "the package does not hold $file"
done
echo "$contents" | grep -q '^\./usr/share/metainfo/.*\.metainfo\.xml$' || fail "the package has no metainfo file"
if echo "$contents" | grep -v '^\./usr/' | grep -v '^\./$' | grep -q .; then
  fail "the package installs outside /usr: $(echo "$contents" | grep -v '^\./usr/' | grep -v '^\./$' | head -3)"
fi

# The extracted program, with its launcher, starts on its own.
dpkg-deb -x "$deb" "$work/root" || { echo "FAIL: dpkg-deb -x failed" >&2; exit 1; }
file "$work/root/usr/lib/tintwell/tintwell" | grep -q ', stripped' || fail "the program is not stripped"
"$here/run-installed.sh" "$work/root/usr/bin/tintwell" "$work/run" || status=1

[ "$status" -eq 0 ] && echo "ok: $(basename "$deb") is complete and its program starts"
exit "$status"
