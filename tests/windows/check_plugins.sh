#!/usr/bin/env bash
# check_plugins.sh FILE...: checks that each file is a plug-in Layout can load
# on 32-bit Windows and that needs nothing beside it:
#   - a PE32 image for i386, flagged as a DLL;
#   - exactly one export, by name, `_mod_descrip`;
#   - imports from system DLLs only: KERNEL32.dll and the C runtime
#     (msvcrt.dll, or the universal one: ucrtbase.dll, api-ms-win-crt-*.dll).
#     A MinGW runtime DLL (libgcc_s_*, libstdc++-6, libwinpthread-1) here
#     means the static runtime link was lost.
# Reads the files with objdump -p (OBJDUMP overrides which one).
# Prints one line per file and exits non-zero if any file fails.
set -uo pipefail

objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
if ! command -v "$objdump" >/dev/null; then
  echo "check_plugins: $objdump not found" >&2
  exit 2
fi
[ $# -gt 0 ] || { echo "usage: check_plugins.sh FILE..." >&2; exit 2; }

# problems FILE: prints what is wrong with FILE, one line each; nothing if fine.
problems() {
  local dump
  if ! dump=$("$objdump" -p "$1" 2>&1); then
    echo "objdump cannot read it: $(head -n1 <<<"$dump")"
    return
  fi
  grep -q 'file format pei-i386$' <<<"$dump" || echo "not an i386 PE image ($(grep -o 'file format .*' <<<"$dump"))"
  grep -qE '^Magic[[:space:]]+010b' <<<"$dump" || echo "not PE32 (optional header magic is not 010b)"
  # The characteristics flags are listed one per line under the header.
  sed -n '/^Characteristics/,/^$/p' <<<"$dump" | grep -qE '^[[:space:]]+DLL$' || echo "not flagged as a DLL"

  # Named exports: the "[Ordinal/Name Pointer] Table" entries, "[   0] name".
  local exports count
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
            sed -nE 's/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+(\+base\[[[:space:]]*[0-9]+\][[:space:]]+[0-9a-f]+[[:space:]]+)?//p')
  # Every entry of the address table, named or not (an ordinal-only export
  # has no name to list).
  count=$(sed -nE 's/^[[:space:]]*Export Address Table[[:space:]]+([0-9a-f]+)$/\1/p' <<<"$dump" | head -n1)
  if [ "$exports" != "_mod_descrip" ]; then
    echo "exports [$(tr '\n' ' ' <<<"$exports" | sed 's/ $//')], not just _mod_descrip"
  elif [ "$((16#${count:-0}))" -ne 1 ]; then
    echo "exports $((16#${count:-0})) entries, not just _mod_descrip"
  fi

  local dll found_kernel=0
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll) found_kernel=1 ;;
      msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll) ;;
      *) echo "imports $dll, not a system DLL" ;;
    esac
  done < <(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$dump")
  # Every MinGW image imports from KERNEL32.dll: none found means the import
  # table was not read.
  [ $found_kernel -eq 1 ] || echo "no import from KERNEL32.dll found"
}

failed=0
for file in "$@"; do
  if [ ! -f "$file" ]; then
    echo "FAIL $file: no such file"
    failed=$((failed + 1))
    continue
  fi
  found=$(problems "$file")
  if [ -z "$found" ]; then
    echo "ok   $file"
  else
    failed=$((failed + 1))
    while read -r line; do echo "FAIL $file: $line"; done <<<"$found"
  fi
done
echo "plug-ins: $(( $# - failed )) passed, $failed failed"
[ $failed -eq 0 ]
