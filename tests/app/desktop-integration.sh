#!/usr/bin/env bash
# Installs the build into a temporary root and checks what makes the viewer
# a program of the desktop: the desktop entry and the software centre's
# description validate, a catalog (by its name or by its first bytes) is
# of the viewer's file type and opens in the viewer, the manual pages are
# there, and bash completes elkcat's subcommands and options.
#   desktop-integration.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "desktop-integration: $*" >&2; exit 1; }

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"

desktop-file-validate "$share/applications/elk-viewer.desktop" || fail "the desktop entry does not validate"
grep -q "^Exec=/usr/lib/elk-viewer/elk-viewer %f$" "$share/applications/elk-viewer.desktop" || fail "Exec takes no file"
appstreamcli validate --no-net "$share/metainfo/org.example.ElkViewer.metainfo.xml" >/dev/null ||
  fail "the AppStream description does not validate"

# The file type, as a file manager asks for it, with only this install's
# definitions besides the system's.
export XDG_DATA_HOME="$share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" XDG_CURRENT_DESKTOP=
update-mime-database "$share/mime"
update-desktop-database "$share/applications" 2>/dev/null
catalog="$root/usr/lib/elk-viewer/Sample.qzt"
cp "$catalog" "$work/a catalog without its extension"
for file in "$catalog" "$work/a catalog without its extension"; do
  type=$(xdg-mime query filetype "$file")
  [ "$type" = application/x-elk-movie-catalog ] || fail "$file is $type"
done
program=$(xdg-mime query default application/x-elk-movie-catalog)
[ "$program" = elk-viewer.desktop ] || fail "catalogs open in '$program'"

for page in elk-viewer elkcat; do
  zcat "$share/man/man1/$page.1.gz" | grep -q "^\.TH" || fail "no manual page for $page"
  for section in OPTIONS FILES ENVIRONMENT EXAMPLES; do
    zcat "$share/man/man1/$page.1.gz" | grep -q "^\.SH $section" || fail "$page's manual page has no $section"
  done
  # man itself finds nothing wrong in it, where man is installed.
  if command -v man >/dev/null; then
    man -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null | grep -q . && fail "$page's manual page has errors"
  fi
done
zcat "$share/man/man1/elkcat.1.gz" | grep -q "sidebar" || fail "elkcat's manual page lacks its subcommands"

# shellcheck disable=SC1091
source "$share/bash-completion/completions/elkcat"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _elkcat
  echo "${COMPREPLY[*]}"
}
[ "$(complete_words elkcat si)" = "sidebar site" ] || fail "subcommands: $(complete_words elkcat si)"
[ "$(complete_words elkcat sample --p)" = "--pictures" ] || fail "options: $(complete_words elkcat sample --p)"
[ "$(complete_words elkcat sample x --pictures m)" = "mixed" ] || fail "values: $(complete_words elkcat sample x --pictures m)"
[ "$(complete_words elkcat ex)" = "export" ] || fail "export: $(complete_words elkcat ex)"
[ "$(complete_words elkcat export x --format c)" = "csv" ] || fail "formats: $(complete_words elkcat export x --format c)"
[ "$(complete_words elkcat export x --fields Year,Or)" = "Year,OriginalTitle" ] ||
  fail "fields: $(complete_words elkcat export x --fields Year,Or)"
[ "$(complete_words elkcat site x y --c)" = "--covers" ] || fail "covers: $(complete_words elkcat site x y --c)"
echo "desktop integration: ok"
