#!/usr/bin/env bash
# Builds the Debian package in a build folder (cpack -G DEB) and checks it without installing
# it: its name and control fields, every file it must hold, the desktop entry and the AppStream
# metainfo through their validators, the MIME type through the MIME database, and that the
# programs unpacked from it answer --version with no display.
# Usage: scripts/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
app_id=org.trellisor.Trellisor
mime_type=application/x-trellisor-path-object
fail() { echo "check-package: $*" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
arch=$(dpkg --print-architecture)
deb="$build/trellisor_${version}_${arch}.deb"
rm -f "$build"/trellisor_*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack -G DEB failed"; }
[ -f "$deb" ] || fail "cpack did not write $(basename "$deb")"
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = trellisor ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Description | wc -l)" -ge 2 ] || fail "Description has no long description"
depends=$(field Depends)
# Found by dpkg-shlibdeps from the programs' libraries, plus the declared Qt plugins.
depends_names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  grep -qxF "$dep" <<<"$depends_names" || fail "Depends lacks $dep: $depends"
done
echo "Depends: $depends"

expected=(
  usr/bin/trellisor
  usr/bin/trellisor-cli
  usr/bin/trellisor-workspace
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/mime/packages/$app_id.xml"
  "usr/share/icons/hicolor/48x48/apps/$app_id.png"
  "usr/share/icons/hicolor/128x128/apps/$app_id.png"
  "usr/share/icons/hicolor/256x256/apps/$app_id.png"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  usr/share/man/man1/trellisor.1.gz
  usr/share/man/man1/trellisor-cli.1.gz
  usr/share/man/man1/trellisor-workspace.1.gz
)
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./||')
for f in "${expected[@]}"; do
  grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done
echo "contents: all ${#expected[@]} expected files"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
dpkg-deb -x "$deb" "$root"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate failed"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$tmp/appstream.log" 2>&1 ||
  { cat "$tmp/appstream.log" >&2; fail "appstreamcli validate failed"; }
for size in 48 128 256; do
  file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}x${size} icon is not a $size-pixel PNG"
done
grep -q "<svg " "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is no SVG"
zcat "$root/usr/share/man/man1/trellisor.1.gz" | grep -qE 'trellisor\\?-workspace' ||
  fail "trellisor(1) does not mention trellisor-workspace"
echo "validators: desktop entry, metainfo, icons and man pages pass"

# The programs, run from the unpacked tree with no display: --version is "NAME VERSION".
for program in trellisor trellisor-cli trellisor-workspace; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version) ||
    fail "$program --version failed"
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done
echo "--version: all three programs print $version"

# The MIME type, in a private MIME database beside the system's: a path object written by the
# unpacked trellisor-workspace is recognised whatever its file name; other .dat files are not.
mkdir -p "$tmp/share/mime/packages" "$tmp/home"
cp "$root/usr/share/mime/packages/$app_id.xml" "$tmp/share/mime/packages/"
XDG_DATA_DIRS="$tmp/share:/usr/share" update-mime-database "$tmp/share/mime" 2>"$tmp/mime.log" || { cat "$tmp/mime.log" >&2; fail "update-mime-database failed"; }
[ ! -s "$tmp/mime.log" ] || { cat "$tmp/mime.log" >&2; fail "update-mime-database warned"; }
"$root/usr/bin/trellisor-workspace" "$tmp/ws" >/dev/null
cp "$tmp/ws/SAMPLE.DAT" "$tmp/ws/lower.dat"
printf '\006\000\000\000OTHEROBJ\001\002\003\004\001\100\000\000\000chunk' >"$tmp/ws/OTHER.DAT"
printf 'Each line of this file is plain text.\n' >"$tmp/ws/NOTES.DAT"
type_of() {
  XDG_DATA_HOME="$tmp/home" XDG_DATA_DIRS="$tmp/share:/usr/share" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
for f in SAMPLE.DAT SAMPLE2.DAT lower.dat; do
  [ "$(type_of "$tmp/ws/$f")" = "$mime_type" ] || fail "$f is '$(type_of "$tmp/ws/$f")', not $mime_type"
done
for f in OTHER.DAT NOTES.DAT; do
  [ "$(type_of "$tmp/ws/$f")" != "$mime_type" ] || fail "$f, no path object, is taken for one"
done
echo "MIME type: path objects recognised, other .DAT files not"
echo "Package checks passed."
