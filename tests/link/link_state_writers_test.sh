#!/usr/bin/env bash
# The link's state has one owner: outside the tests, only link/link_session.cpp writes
# NoCommunication and CommHandle. Every other write found in the sources is named with its file
# and line, and fails the check. Writes are assignments, increments, and non-const references or
# pointers to either field (through which a write would hide from the first two patterns), and
# whole-record assignments.
set -euo pipefail

root=$1
cd "$root"
fields='(NoCommunication|CommHandle)'
patterns=(
  "\\b${fields}\\s*([-+*/%|&^]?=[^=]|\\+\\+|--)"
  "(\\+\\+|--)\\s*[A-Za-z_][A-Za-z0-9_.>-]*\\b${fields}\\b"
  "(^|[^&])&\\s*[A-Za-z_][A-Za-z0-9_.>-]*\\.${fields}\\b"
  "(?<![A-Za-z_])(?<!const )(int32_t|bool|auto)\\s*[&*]\\s*[A-Za-z_]\\w*\\s*=\\s*[^;]*\\b${fields}\\s*;"
  "(exchange|swap)\\s*\\([^)]*\\b${fields}\\b"
  "\\.(connection|flags)\\s*=\\s*(\\{|(ConnectionState|MonitoringFlags)\\b)"
)

folders=()
for dir in */; do
  case $dir in tests/ | build*/) ;; *) folders+=("${dir%/}") ;; esac
done

# The session's own writes, comments, and the fields' declarations are left out.
found=$(for p in "${patterns[@]}"; do
  grep -rnP --include='*.cpp' --include='*.h' "$p" "${folders[@]}" || true
done | grep -vP '^link/link_session\.cpp:|^[^:]+:\d+:\s*//|(bool|int32_t)\s+(NoCommunication|CommHandle)\s*=' |
  sort -u -t: -k1,1 -k2,2n || true)

if [ -n "$found" ]; then
  echo "NoCommunication and CommHandle are written only by link/link_session.cpp; found:"
  echo "$found"
  exit 1
fi
