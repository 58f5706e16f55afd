#!/usr/bin/env bash
# Installs the build into a temporary staging root (DESTDIR) under /usr/local
# and checks the installation: the program folder with its data, the
# launcher and the tools on the PATH, the desktop entry, the icons and the
# software-centre metadata (each validated by its Debian checker), and the
# installed program starting from there.
#   check-install.sh BUILD_DIR VERSION
# Exit status 77 (skipped) when a checker is not installed.
set -uo pipefail

build=$1
version=$2
here=$(dirname "$(readlink -f "$0")")

for tool in desktop-file-validate appstreamcli identify; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tintwell-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

if ! DESTDIR="$work/stage" timeout 60 cmake --install "$build" --prefix /usr/local >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install did not finish" >&2
  exit 1
fi
root="$work/stage/usr/local"
[ -d "$root" ] || { echo "FAIL: nothing was installed under DESTDIR/usr/local" >&2; exit 1; }

for program in bin/tintwell bin/tintwell-config bin/tintwell-picture lib/tintwell/tintwell; do
  [ -x "$root/$program" ] || fail "$program is missing or not executable"
done
for file in lib/tintwell/default/default.ini lib/tintwell/lang/tintwell_en_us.ini \
    lib/tintwell/help/index.html \
    share/applications/tintwell.desktop share/icons/hicolor/scalable/apps/tintwell.svg; do
  [ -s "$root/$file" ] || fail "$file is missing"
done
for dir in sounds catalog lang; do
  count=$(find "$root/lib/tintwell/$dir" -type f 2>/dev/null | wc -l)
  [ "$count" -eq "$(find "$(readlink -f "$build/$dir")" -type f | wc -l)" ] ||
    fail "lib/tintwell/$dir does not hold every shipped file ($count installed)"
done
[ -n "$(find "$root/lib/tintwell/sounds" -name '*.mp3')" ] || fail "no sounds installed"
[ -n "$(find "$root/lib/tintwell/catalog" -name '*.twf')" ] || fail "no pictures installed"

for size in 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/tintwell.png"
  if [ -f "$icon" ]; then
    actual=$(identify -format '%wx%h' "$icon" 2>/dev/null)
    [ "$actual" = "${size}x${size}" ] || fail "$icon is $actual, not ${size}x${size}"
  else
    fail "no ${size}x${size} icon"
  fi
done

desktop="$root/share/applications/tintwell.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects tintwell.desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$exec_name" ] || fail "the desktop entry starts '$exec_name', which is not in bin/"
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/share/icons/hicolor/scalable/apps/$icon_name.svg" ] ||
  fail "the desktop entry's icon '$icon_name' is not in the hicolor theme"

metainfo=$(find "$root/share/metainfo" -name '*.metainfo.xml' 2>/dev/null)
if [ "$(echo "$metainfo" | grep -c .)" -ne 1 ]; then
  fail "expected one metainfo file, found: $metainfo"
else
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $(basename "$metainfo")"
  id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
  [ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "the metainfo file is not named after its id '$id'"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not describe release $version"
  grep -q '<launchable type="desktop-id">tintwell.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not point at tintwell.desktop"
fi

# The parent's tool finds the installed program's defaults and catalog
# through the launcher's folder.
mkdir -p "$work/tool-home/.config"
listed=$(env -i PATH=/usr/bin:/bin HOME="$work/tool-home" XDG_CONFIG_HOME="$work/tool-home/.config" \
  timeout 20 "$root/bin/tintwell-config" catalog list 2>&1)
shipped=$(find "$root/lib/tintwell/catalog" -name '*.twf' | wc -l)
[ "$(echo "$listed" | grep -c '\.twf')" -eq "$shipped" ] ||
  fail "tintwell-config catalog list does not show the $shipped installed pictures: $listed"
if echo "$listed" | grep -q '^Note:'; then
  fail "tintwell-config does not find the installed catalog folder: $listed"
fi

"$here/run-installed.sh" "$root/bin/tintwell" "$work/run" || status=1

[ "$status" -eq 0 ] && echo "ok: the staged installation is complete and starts"
exit "$status"
