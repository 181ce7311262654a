#!/usr/bin/env bash
# Makes, or finds already made, a Free Pascal tool chain for 32- and 64-bit
# Windows hosts, from Debian's own packages only: the installed ppcx64
# (fp-compiler) builds an i386 compiler from the sources of its own version
# (fpc-source-VERSION, which the version-free package fpc-source brings), and
# the two compilers build the win32 and win64 run-time units from the same
# sources. FPC's internal assembler and linker make the programs, so no
# binutils are needed. Prints the tool chain's folder, whose
# bin/fpc-i386-win32 and bin/fpc-x86_64-win64 compile a program for each
# target (arguments as for ppcx64).
#
# The result is kept in /var/cache/tolvaric-fpc/KEY (or $TMS_FPC_CACHE/KEY;
# $XDG_CACHE_HOME/tolvaric-fpc where /var/cache cannot be written), KEY being
# a hash of the package versions and of this script, so that a change to
# either builds afresh. It is marked ready only when complete; a run that
# finds a half-made folder removes it. One build at a time per cache, under a
# lock with a time limit; every step has a time limit too.
set -euo pipefail

step_limit=${TMS_FPC_STEP_TIMEOUT:-600}
lock_limit=${TMS_FPC_LOCK_TIMEOUT:-1200}

fail() { echo "fpc-windows: $*" >&2; exit 1; }

command -v ppcx64 >/dev/null || fail "ppcx64 is missing (package fp-compiler; scripts/setup.sh installs it)"
source_version=$(ppcx64 -iV)
source_package=fpc-source-$source_version
sources=/usr/share/fpcsrc/$source_version
messages=/usr/lib/x86_64-linux-gnu/fpc/$source_version/msg/errore.msg
[ -f "$sources/compiler/pp.pas" ] || fail "$sources is missing (package $source_package; scripts/setup.sh installs it)"
[ -f "$messages" ] || fail "$messages is missing (package fp-compiler)"

if [ -n "${TMS_FPC_CACHE:-}" ]; then
  cache=$TMS_FPC_CACHE
elif mkdir -p /var/cache/tolvaric-fpc 2>/dev/null && [ -w /var/cache/tolvaric-fpc ]; then
  cache=/var/cache/tolvaric-fpc
else
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/tolvaric-fpc
fi
mkdir -p "$cache"

key=$( { dpkg-query -W -f='${Package} ${Version}\n' fp-compiler "$source_package"
         cat "${BASH_SOURCE[0]}"; } | sha256sum | cut -c1-16)
dir=$cache/$key

if [ -f "$dir/ready" ]; then
  touch "$dir/ready"
  echo "$dir"
  exit 0
fi

exec 9>>"$cache/build.lock"
flock -w "$lock_limit" 9 || fail "gave up after $lock_limit s waiting for another build ($cache/build.lock)"
if [ -f "$dir/ready" ]; then  # another run made it while this one waited
  touch "$dir/ready"
  echo "$dir"
  exit 0
fi

# Under the lock no build is under way: folders without the mark are the
# remains of builds that were stopped, and a tool chain of other packages or
# another script that nobody used for a day is out of date.
for other in "$cache"/*/; do
  other=${other%/}
  [ "$other" = "$dir" ] && continue
  if [ ! -f "$other/ready" ] || [ -n "$(find "$other/ready" -mmin +1440)" ]; then
    rm -rf --one-file-system "$other"
  fi
done
rm -rf --one-file-system "$dir"
mkdir -p "$dir"

# One line per step on standard error, each step's output in the log, whose
# last lines are shown when a step fails (scripts/steps.sh).
export TMS_LOG=$dir/build.log
: >"$TMS_LOG"
source "$(dirname "${BASH_SOURCE[0]}")/steps.sh"
step() {  # WHAT COMMAND...
  local what=$1 status=0
  shift
  tms_step "fpc-windows: $what" timeout -k 10 "$step_limit" "$@" >&2 || status=$?
  [ "$status" -ne 124 ] || echo "fpc-windows: '$what' was stopped after $step_limit s (TMS_FPC_STEP_TIMEOUT)" >&2
  [ "$status" -eq 0 ] || exit "$status"
}
started=$SECONDS

# The packaged sources are read-only, and the compiler is built with a
# generated include file beside its sources: work in a copy.
work=$dir/src
mkdir -p "$work" "$dir/bin" "$dir/obj/msg2inc" "$dir/obj/ppc386"
step "copying the compiler and run-time sources" cp -r "$sources/compiler" "$sources/rtl" "$work/"
chmod -R u+w "$work"

# The compiler's message texts are not shipped, only their source.
step "building msg2inc" ppcx64 -FE"$dir/obj/msg2inc" -FU"$dir/obj/msg2inc" "$work/compiler/utils/msg2inc.pp"
step "generating the compiler's message texts" \
  bash -c 'cd "$1/compiler" && "$2" "$3" msg msg' _ "$work" "$dir/obj/msg2inc/msg2inc" "$messages"

step "building the i386 compiler (ppc386)" bash -c 'cd "$1/compiler" &&
  ppcx64 -dI386 -Fui386 -Fux86 -Fusystems -Fii386 -Fix86 -FU"$2/obj/ppc386" -o"$2/bin/ppc386" pp.pas' \
  _ "$work" "$dir"

# The run-time units of one target: the system unit, the Object Pascal
# extensions, start-up code and everything buildrtl names (SysUtils,
# Windows, Classes...). -n keeps the Linux fpc.cfg out.
build_rtl() {  # COMPILER TARGET CPU-FOLDER START-UP-UNIT
  local compiler=$1 target=$2 cpu=$3 startup=$4 units
  units=$dir/units/$cpu-$target
  mkdir -p "$units"
  local options=(-n -T"$target" -O2 -Ur -Xs -FU"$units" -Fu"$units"
    -Fi../inc -Fi../"$cpu" -Fi../win -Fi../win/wininc -Fi../objpas
    -Fi../objpas/sysutils -Fi../objpas/classes
    -Fu../inc -Fu../"$cpu" -Fu../common -Fu../win -Fu../win/wininc -Fu../objpas)
  local folder=$work/rtl/$target unit
  step "$cpu-$target: system unit" bash -c 'cd "$1" && shift && "$@"' _ "$folder" \
    "$compiler" "${options[@]}" -Us -Sg system.pp
  for unit in ../objpas/objpas.pp "$startup" buildrtl.pp; do
    step "$cpu-$target: ${unit##*/}" bash -c 'cd "$1" && shift && "$@"' _ "$folder" \
      "$compiler" "${options[@]}" "$unit"
  done
}
build_rtl "$dir/bin/ppc386" win32 i386 sysinitpas.pp
build_rtl "$(command -v ppcx64)" win64 x86_64 sysinit.pp

# One command per target, so that callers need not know the options.
write_driver() {  # NAME COMPILER TARGET UNITS
  {
    echo '#!/bin/sh'
    echo "# Compiles a Free Pascal program for $3 (made by scripts/fpc-windows.sh)."
    printf 'exec %q -n -T%s -Fu%q "$@"\n' "$2" "$3" "$4"
  } >"$dir/bin/$1"
  chmod +x "$dir/bin/$1"
}
write_driver fpc-i386-win32 "$dir/bin/ppc386" win32 "$dir/units/i386-win32"
write_driver fpc-x86_64-win64 "$(command -v ppcx64)" win64 "$dir/units/x86_64-win64"

rm -rf --one-file-system "$work" "$dir/obj"
echo "fpc-windows: made in $((SECONDS - started)) s, $(du -sm "$dir" | cut -f1) MB, in $dir" >&2
touch "$dir/ready"
echo "$dir"
