#!/usr/bin/env bash
# A command file is what a file manager says it is: installed (staged) with its type, a file saved by
# lm360rctl is "LM-360R command file" whatever its name, and other files are not; the desktop entry
# that opens them validates. Usage: mime-type.sh BUILD-DIR
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
share=$stage/usr/share
update-mime-database "$share/mime"
files=$stage/files
mkdir -p "$files" "$stage/home"
LM360R_USB=simulated LM360R_SIM_STATE=$stage/printer.state "$stage/usr/bin/lm360rctl" save-commands power \
  -o "$files/office" >/dev/null
cp "$files/office.bin" "$files/renamed-without-extension"
echo "not a command file" >"$files/notes.bin"
head -c 64 /dev/zero >"$files/firmware.bin"
failed=0
while read -r file expected; do
  got=$(env HOME="$stage/home" XDG_DATA_HOME="$stage/home/.local/share" XDG_DATA_DIRS="$share:/usr/share" \
    xdg-mime query filetype "$files/$file" 2>/dev/null)
  echo "$file: $got"
  [ "$got" = "$expected" ] || { echo "  expected $expected" >&2; failed=1; }
done <<'ROWS'
office.bin application/x-lm360r-command-file
renamed-without-extension application/x-lm360r-command-file
notes.bin text/plain
firmware.bin application/octet-stream
ROWS
grep -q '^MimeType=application/x-lm360r-command-file;$' "$share/applications/io.github.lm360r.Settings.desktop" ||
  { echo "the desktop entry does not open command files" >&2; failed=1; }
"$(dirname "$0")/quiet.sh" desktop-file-validate "$share/applications/io.github.lm360r.Settings.desktop"
[ -f "$share/icons/hicolor/scalable/mimetypes/application-x-lm360r-command-file.svg" ] ||
  { echo "no icon for command files" >&2; failed=1; }
exit "$failed"
