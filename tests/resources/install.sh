#!/usr/bin/env bash
# `cmake --install` puts everything under the prefix, nothing beside it, and what it installs is
# whole: both programs run from there, the desktop entry and metainfo pass their validators
# together. A staged install (DESTDIR) keeps a faulty absolute destination off this machine.
# Usage: install.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=/opt/lm360r-install-test
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null

outside=$(find "$stage" ! -type d ! -path "$stage$prefix/*")
if [ -n "$outside" ]; then
  echo "installed outside the prefix $prefix:" >&2
  echo "${outside//$stage/}" >&2
  exit 1
fi

root=$stage$prefix
expected=(
  bin/lm360r-settings
  bin/lm360rctl
  share/man/man1/lm360r-settings.1
  share/man/man1/lm360rctl.1
  share/applications/io.github.lm360r.Settings.desktop
  share/metainfo/io.github.lm360r.Settings.metainfo.xml
  share/icons/hicolor/scalable/apps/io.github.lm360r.Settings.svg
  share/icons/hicolor/scalable/mimetypes/application-x-lm360r-command-file.svg
  share/mime/packages/io.github.lm360r.Settings.xml
  lib/udev/rules.d/70-lm360r-printer.rules
  share/bash-completion/completions/lm360rctl
  share/zsh/vendor-completions/_lm360rctl
  share/fish/vendor_completions.d/lm360rctl.fish
  share/ansible/collections/ansible_collections/lm360r/printer/galaxy.yml
  share/ansible/collections/ansible_collections/lm360r/printer/plugins/modules/lm360r_settings.py
)
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || { echo "not installed: $prefix/$file" >&2; exit 1; }
done

"$root/bin/lm360rctl" --version >/dev/null
env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/lm360r-settings" --version >/dev/null
here=$(dirname "$0")
"$here/quiet.sh" desktop-file-validate "$root/share/applications/io.github.lm360r.Settings.desktop"
appstreamcli validate-tree --no-net --strict "$root" >/dev/null ||
  { appstreamcli validate-tree --no-net --strict "$root" >&2; exit 1; }
