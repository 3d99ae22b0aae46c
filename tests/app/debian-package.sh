#!/usr/bin/env bash
# Makes the Debian package from the build, unpacks it into a temporary root
# with dpkg -x, and checks what it holds and that the viewer in it starts
# and, run by a user who cannot write its folder, keeps its settings under
# $XDG_CONFIG_HOME.
#   debian-package.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'kill $viewer 2>/dev/null || true; rm -rf "$work"' EXIT
viewer=""
fail() { echo "debian-package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work"/package/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6webenginewidgets6 libqt6widgets6 libjpeg62-turbo libpng16-16 libgif7 libc6; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
folder="$root/usr/lib/elk-viewer"
for file in elk-viewer elkcat Sample.qzt Schemes.ini Deutsch.lng Config.ini; do
  [ -e "$folder/$file" ] || fail "missing /usr/lib/elk-viewer/$file"
done
[ -L "$root/usr/bin/elk-viewer" ] || fail "missing /usr/bin/elk-viewer"
[ "$(readlink "$root/usr/bin/elk-viewer")" = "../lib/elk-viewer/elk-viewer" ] || fail "/usr/bin/elk-viewer leads elsewhere"
grep -q "^Exec=/usr/lib/elk-viewer/elk-viewer %f$" "$root/usr/share/applications/elk-viewer.desktop" || fail "desktop entry"
for file in usr/share/mime/packages/elk-viewer.xml usr/share/metainfo/org.example.ElkViewer.metainfo.xml \
  usr/share/man/man1/elk-viewer.1.gz usr/share/man/man1/elkcat.1.gz usr/share/bash-completion/completions/elkcat \
  usr/share/doc/elk-viewer/copyright usr/share/doc/elk-viewer/changelog.gz; do
  [ -f "$root/$file" ] || fail "missing /$file"
done
# Debian's own checks: no errors (the German captions are Windows-1252 by
# design, which lintian warns about).
lintian --fail-on error --suppress-tags national-encoding "$deb" >"$work/lintian.txt" 2>&1 || {
  cat "$work/lintian.txt" >&2
  fail "lintian found errors"
}
grep -q "^Icon=elk-viewer$" "$root/usr/share/applications/elk-viewer.desktop" || fail "desktop entry icon"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/elk-viewer.svg" ] || fail "icon"
grep -q "CatalogFile=/usr/lib/elk-viewer/Sample.qzt" "$folder/Config.ini" || fail "Config.ini does not open the sample"
grep -q "AutoOpen=1" "$folder/Config.ini" || fail "Config.ini does not open at start"
"$folder/elkcat" --version >/dev/null || fail "elkcat does not run"

# The viewer, run by a user who cannot write the program folder.
config="$work/config"
mkdir -p "$config"
chmod 755 "$work" "$root" "$root/usr" "$root/usr/lib" "$folder"
chmod 777 "$config"
user=""
[ "$(id -u)" -eq 0 ] && user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
timing="$config/timing.log"
env -i PATH=/usr/bin:/bin HOME="$config" XDG_CONFIG_HOME="$config" ELK_TIMING="$timing" \
  QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
  $user "$folder/elk-viewer" >/dev/null 2>&1 &
viewer=$!
for _ in $(seq 1 1500); do grep -q window-shown "$timing" 2>/dev/null && break; sleep 0.02; done
grep -q window-shown "$timing" || fail "the viewer did not start"
kill -TERM $viewer
wait $viewer || fail "the viewer did not end cleanly"
viewer=""
[ -f "$config/elk-viewer/Config.ini" ] || fail "no settings under XDG_CONFIG_HOME"
grep -q "CatalogFile=/usr/lib/elk-viewer/Sample.qzt" "$config/elk-viewer/Config.ini" || fail "the settings lost the catalog"
[ "$(cat "$folder/Config.ini")" = "$(printf '[Config]\r\nCatalogFile=/usr/lib/elk-viewer/Sample.qzt\r\nAutoOpen=1\r')" ] || fail "the program folder's Config.ini changed"
echo "debian package: ok"
