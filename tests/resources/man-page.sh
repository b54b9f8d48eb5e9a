#!/usr/bin/env bash
# A man page must read cleanly in both formatters Debian uses and say where its files are and what
# else to read. Usage: man-page.sh PAGE
set -euo pipefail
page=$1
here=$(dirname "$0")
"$here/quiet.sh" mandoc -Tlint "$page"
"$here/quiet.sh" groff -ww -man -Tutf8 -z "$page"
for section in FILES "SEE ALSO"; do
  if ! grep -qE "^\.SH \"?$section\"?$" "$page"; then
    echo "$page: no $section section" >&2
    exit 1
  fi
done
