#!/usr/bin/env bash
# Proves check_plugins.sh on small images built here with the MinGW-w64 i686
# compiler: it must accept a minimal well-formed plug-in and name the fault
# in each broken one.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cc=${MINGW_CC:-i686-w64-mingw32-gcc}
cxx=${MINGW_CXX:-i686-w64-mingw32-g++}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/descriptor.c" <<'C'
__declspec(dllexport) int _mod_descrip[6] = {0x04121994, 3, 0x300, 0, 0, 0};
C
cat >"$work/extra.c" <<'C'
__declspec(dllexport) int _mod_descrip[6] = {0x04121994, 3, 0x300, 0, 0, 0};
__declspec(dllexport) int helper(void) { return 1; }
C
cat >"$work/cxx.cpp" <<'C'
#include <string>
extern "C" __declspec(dllexport) int _mod_descrip[6] = {0x04121994, 3, 0x300, 0, 0, 0};
std::string name(const char *s) { return std::string(s) + "!"; }
C
cat >"$work/user32.c" <<'C'
#include <windows.h>
__declspec(dllexport) int _mod_descrip[6] = {0x04121994, 3, 0x300, 0, 0, 0};
void tell(void) { MessageBoxA(0, "x", "y", 0); }
C

build() { "$@" 2>"$work/build.log" || { cat "$work/build.log"; echo "fixture did not build: $*"; exit 2; }; }
build "$cc" -shared -static-libgcc -o "$work/good.p" "$work/descriptor.c"
build "$cc" -shared -static-libgcc -o "$work/extra.p" "$work/extra.c"
build "$cxx" -shared -o "$work/dynamic-runtime.p" "$work/cxx.cpp"
build "$cc" -shared -static-libgcc -o "$work/user32.p" "$work/user32.c"
build "$cc" -static-libgcc -Wl,-e,0 -nostartfiles -o "$work/program.p" "$work/descriptor.c"

# file | expected: "ok" or a piece of the failure message
cases=(
  "good.p|ok"
  "extra.p|exports [_mod_descrip helper], not just _mod_descrip"
  "dynamic-runtime.p|imports libstdc++-6.dll, not a system DLL"
  "user32.p|imports USER32.dll, not a system DLL"
  "program.p|not flagged as a DLL"
  "descriptor.c|objdump cannot read it"
)

passed=0 failed=0
for c in "${cases[@]}"; do
  file=${c%%|*} want=${c#*|}
  out=$(bash "$here/check_plugins.sh" "$work/$file")
  status=$?
  if [ "$want" = ok ]; then
    [ $status -eq 0 ] && ok=1 || ok=0
  else
    [ $status -ne 0 ] && grep -qF -- "$want" <<<"$out" && ok=1 || ok=0
  fi
  if [ $ok -eq 1 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $file: wanted '$want', got (status $status):"
    sed 's/^/    /' <<<"$out"
  fi
done
echo "check_plugins: $passed passed, $failed failed"
[ $failed -eq 0 ]
