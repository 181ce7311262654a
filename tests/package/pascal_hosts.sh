# Sourced by check_package.sh: builds the Pascal test program as a Windows
# host, for i386-win32 and x86_64-win64, from the unit in the unpacked ZIP
# with the tool chain of scripts/fpc-windows.sh, and runs each beside the DLL
# of its bitness and the stand-in player of the build of that bitness.
# TMS_PASCAL_HOSTS=1 asks for it (the test sets it when CMake found what the
# tool chain is made from); TMS_FAKE_PLAYER_X86 and TMS_FAKE_PLAYER_X64 name
# the stand-in players.
pascal_host() {  # NAME COMPILER BINDIR PLAYER RUNNER
  local name=$1 compiler=$2 bindir=$3 player=$4 runner=$5
  local dir=$work/run/$name
  mkdir -p "$dir"
  cp "$root/$bindir/TolvaricModeSupport.DLL" "$player" "$dir/"
  # -Fu names only the ZIP's folder, and the compiler reads no fpc.cfg, so
  # no other copy of the unit can be taken.
  if ! timeout 300 "$compiler" -Sew -vw -FU"$dir" -FE"$dir" -Fu"$root/include" \
       -Fi"$here/../pascal" -ohost.exe "$here/../pascal/tms_pascal_test.pas" >"$dir/build.log" 2>&1; then
    cat "$dir/build.log"
    echo "$name: build failed"
    failures=$((failures + 1))
    return
  fi
  run_program "$name" "$dir" "$runner" host.exe
}

if [ "${TMS_PASCAL_HOSTS:-0}" = 1 ]; then
  if fpc_windows=$(bash "$here/../../scripts/fpc-windows.sh"); then
    pascal_host pascal-x86 "$fpc_windows/bin/fpc-i386-win32" bin "$TMS_FAKE_PLAYER_X86" "$wine32"
    pascal_host pascal-x64 "$fpc_windows/bin/fpc-x86_64-win64" bin64 "$TMS_FAKE_PLAYER_X64" "$wine64"
  else
    echo "Pascal hosts: the Free Pascal tool chain for Windows could not be made"
    failures=$((failures + 1))
  fi
else
  echo "Pascal hosts: skipped (no Free Pascal tool chain for Windows was configured)"
fi
