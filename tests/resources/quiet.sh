#!/usr/bin/env bash
# Runs a checker and fails when it fails or says anything at all: for tools that report warnings
# and style problems but still exit 0.
set -euo pipefail
if ! command -v "$1" >/dev/null; then
  echo "$1 is missing (scripts/deps installs it)" >&2
  exit 1
fi
set +e
said=$("$@" 2>&1)
status=$?
set -e
if [ "$status" -ne 0 ] || [ -n "$said" ]; then
  printf '%s\n' "$said" >&2
  echo "FAILED (exit $status): $*" >&2
  exit 1
fi
