#!/usr/bin/env bash
# ansible-test sanity on the collection, as far as it runs offline with Debian's packages.
# Usage: sanity.sh SOURCE-DIR
#
# Left out, because each needs a virtual environment that ansible-test fills with pip (which it
# downloads) and packages pinned to versions from PyPI, which Debian's do not match:
#   ansible-doc (doc.sh runs ansible-doc itself), import, pep8, pylint, runtime-metadata,
#   validate-modules, yamllint.
set -euo pipefail
top=$1
python=/usr/bin/python3 # Debian's, whatever else is on PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# ansible-test wants the collection at .../ansible_collections/NAMESPACE/NAME and writes beside it.
mkdir -p "$work/ansible_collections/lm360r"
cp -r "$top/ansible_collections/lm360r/printer" "$work/ansible_collections/lm360r/"
cd "$work/ansible_collections/lm360r/printer"
export HOME="$work/home"
version=$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')
skipped=(ansible-doc import pep8 pylint runtime-metadata validate-modules yamllint)
if ! ansible-test sanity --color no --python "$version" --python-interpreter "$python" \
  "${skipped[@]/#/--skip-test=}" >"$work/out" 2>&1; then
  cat "$work/out" >&2
  exit 1
fi
