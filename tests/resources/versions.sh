#!/usr/bin/env bash
# The version CMake builds in, the newest release of the metainfo, the newest entry of the Debian
# changelog and the Ansible collection's version are one and the same. Usage: versions.sh SOURCE-DIR PROJECT-VERSION
set -euo pipefail
top=$1
version=$2
metainfo=$(grep -o -m1 '<release version="[^"]*"' "$top/resources/desktop/io.github.lm360r.Settings.metainfo.xml" |
  cut -d'"' -f2)
changelog=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
collection=$(sed -n 's/^version: *//p' "$top/ansible_collections/lm360r/printer/galaxy.yml")
status=0
if [ "$metainfo" != "$version" ]; then
  echo "metainfo's newest release is \"$metainfo\", CMake's project version \"$version\"" >&2
  status=1
fi
if [ "${changelog%%-*}" != "$version" ]; then
  echo "debian/changelog's newest version is \"$changelog\", CMake's project version \"$version\"" >&2
  status=1
fi
if [ "$collection" != "$version" ]; then
  echo "the Ansible collection's galaxy.yml says version \"$collection\", CMake's project version \"$version\"" >&2
  status=1
fi
exit "$status"
