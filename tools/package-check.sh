#!/usr/bin/env bash
# Builds the Debian package and checks it: the files it holds, its dependencies, its desktop
# metadata, and the program started from the unpacked package with nothing read from this
# source tree (which holds the build trees too). Needs Xvfb, xdotool, xprop and strace.
# PACKAGE_CHECK_SKIP_BUILD=1 checks the package already built; PACKAGE_CHECK_KEEP=1 keeps the
# unpacked package, the program's output and its file trace (they are kept anyway on failure).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cd "$src"
build=${PACKAGE_BUILD:-build-package}
[ "${PACKAGE_CHECK_SKIP_BUILD:-0}" = 1 ] || bash tools/package.sh

failures=0
fail() {
  echo "package-check: FAIL: $*" >&2
  failures=$((failures + 1))
}
note() { echo "package-check: $*"; }

shopt -s nullglob
debs=("$build"/velmora_*_amd64.deb)
shopt -u nullglob
[ ${#debs[@]} -eq 1 ] || { echo "package-check: expected one package in $build, found ${#debs[@]}" >&2; exit 1; }
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
note "checking $deb"

# The version comes from CMakeLists.txt: the project's number and the letter after it.
number=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
letter=$(sed -n 's/^set(VELMORA_VERSION ${PROJECT_VERSION}\(.*\))$/\1/p' CMakeLists.txt)
[ "$version" = "$number$letter" ] || fail "package version $version, CMakeLists.txt says $number$letter"
[ "$(basename "$deb")" = "velmora_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"
id=$(sed -n 's/^set(VELMORA_APP_ID \(.*\))$/\1/p' CMakeLists.txt)
[ -n "$id" ] || fail "no VELMORA_APP_ID in CMakeLists.txt"

tmp=$(mktemp -d /tmp/velmora-package-check.XXXXXX)
xvfb=""
app=""
cleanup() {
  if [ -n "$app" ]; then
    # strace lets its child run on when it is ended, so the program is ended first.
    traced=$(head -n 1 "$tmp/files.log" 2>/dev/null | cut -d' ' -f1)
    [ -z "$traced" ] || kill "$traced" 2>/dev/null || true
    kill "$app" 2>/dev/null || true
  fi
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  if [ "$failures" -gt 0 ] || [ "${PACKAGE_CHECK_KEEP:-0}" = 1 ]; then
    echo "package-check: the unpacked package, the program's output and its file trace are in $tmp" >&2
  else
    rm -rf "$tmp"
  fi
}
trap cleanup EXIT

root=$tmp/root
dpkg-deb -x "$deb" "$root"
prog=$root/usr/lib/velmora

# --- What the package holds -------------------------------------------------------------------
[ -x "$prog/Velmora" ] && file "$prog/Velmora" | grep -q ELF || fail "no executable usr/lib/velmora/Velmora"
[ -L "$root/usr/bin/velmora" ] && [ "$(readlink -f "$root/usr/bin/velmora")" = "$(readlink -f "$prog/Velmora")" ] \
  || fail "usr/bin/velmora is not a link to the executable"
expect() { [ -f "$1" ] || fail "missing ${1#"$root"/}"; }
expect "$prog/astrol.ttf"
expect "$prog/astrol-licence.txt"
for f in help/*.html help/*.css help/keywords.txt; do expect "$prog/help/$(basename "$f")"; done
for book in books/content/*/; do
  key=$(basename "$book")
  expect "$prog/$key/$key.htm"
  while IFS= read -r -d '' f; do expect "$prog/$key/${f#"$book"}"; done < <(find "$book" -type f -print0)
done
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
icon=$root/usr/share/icons/hicolor/scalable/apps/$id.svg
expect "$desktop"
expect "$metainfo"
expect "$icon"
expect "$root/usr/share/doc/velmora/copyright"
[ ! -f "$icon" ] || cmp -s "$icon" resources/design/velmora.svg || fail "the installed icon is not the window's"
stray=$(cd "$root" && find . -type f ! -path './usr/*')
[ -z "$stray" ] || fail "files outside /usr: $stray"

# --- Dependencies -----------------------------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
note "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/[[:space:]]//g' | sed '/^$/d' | sort -u)
# Named by hand (data, fonts, plugins) and found by dpkg-shlibdeps (the linked libraries).
for p in swe-standard-data swe-extra-data timgm6mb-soundfont fonts-liberation2 fonts-dejavu-core \
         tzdata libgeonames0 libgeonames-common qt6-qpa-plugins libswe2.0 libfluidsynth3 libasound2 libqt6widgets6 libc6; do
  grep -qx "$p" <<<"$names" || fail "Depends lacks $p"
done
build_only=$(grep -E -- '-dev$|-dev-tools$|^(build-essential|cmake|ninja-build|pkg-config|python3.*|clang.*|gcc.*|g\+\+.*|dpkg-dev|file)$' <<<"$names" || true)
[ -z "$build_only" ] || fail "Depends names build-only packages: $build_only"

# --- Desktop metadata -------------------------------------------------------------------------
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
  grep -qx "Exec=velmora" "$desktop" || fail "the desktop entry does not start velmora"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
  grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "metainfo does not launch $id.desktop"
  shots=$(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$metainfo")
  [ -n "$shots" ] || fail "metainfo lists no screenshots"
  for s in $shots; do [ -f "docs/$s" ] || fail "metainfo screenshot $s is not in docs/"; done
fi

# --- The unpacked program ---------------------------------------------------------------------
# Its own home, configuration and working folder, none inside this tree.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
d=90
while [ -e /tmp/.X11-unix/X$d ] || [ -e /tmp/.X$d-lock ]; do d=$((d + 1)); done
Xvfb :$d -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$d ] && break; sleep 0.1; done
export DISPLAY=:$d

cd "$tmp"
strace -f -qq -e trace=%file -o "$tmp/files.log" "$root/usr/bin/velmora" >"$tmp/app.log" 2>&1 &
app=$!
title="Tarvel's Velmora v$version"
wid=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
if [ -z "$wid" ]; then
  fail "no window titled \"$title\""
  cat "$tmp/app.log" >&2
else
  # The desktop matches the window to its entry by WM_CLASS.
  wmclass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
  xprop -id "$wid" WM_CLASS | grep -q "\"$wmclass\"" || fail "WM_CLASS is not $wmclass: $(xprop -id "$wid" WM_CLASS)"
  xdotool windowfocus --sync "$wid" sleep 0.5 key alt+h sleep 0.5 key Return
  timeout 20 xdotool search --sync --onlyvisible --name '^Velmora Help$' >/dev/null 2>&1 \
    || fail "Help > How to use Velmora opened no help window"
  xdotool windowfocus --sync "$wid" sleep 0.5 key alt+f sleep 0.5 key x
fi
ended=0
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || { ended=1; break; }; sleep 0.2; done
if [ $ended = 1 ]; then
  wait "$app" || fail "the program ended with status $?"
  app=""
else
  fail "the program did not end on File > Exit"
fi
cd "$src"

files=$tmp/files.log
from_tree=$(grep -F "\"$src/" "$files" | head -n 20 || true)
[ -z "$from_tree" ] || fail "the program touched this source tree:"$'\n'"$from_tree"
opened() { grep -E "open(at)?\(.*\"$1\"" "$files" | grep -qv ENOENT; }
opened "$prog/astrol.ttf" || fail "the symbol font was not read from the package"
opened "$prog/ars-brevis/ars-brevis.htm" || fail "the first book was not read from the package"
opened "$prog/help/[a-z]+\.html" || fail "no help page was read from the package"
opened "/usr/share/libswe/ephe/[a-z_0-9]+\.se1" || fail "no ephemeris file was read: the chart was not computed"
opened "/usr/share/sounds/sf2/[^\"/]+\.sf[23]" || fail "no SoundFont was read for the synthesiser"
[ -f "$XDG_CONFIG_HOME/Velmora/Settings.txt" ] || fail "the settings were not written to the configuration folder"
[ ! -e "$prog/Settings.txt" ] || fail "the settings were written into the program folder"

if [ $failures -gt 0 ]; then
  echo "package-check: $failures check(s) failed" >&2
  exit 1
fi
note "all checks passed"
