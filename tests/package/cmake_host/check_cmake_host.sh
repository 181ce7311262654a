# shellcheck shell=bash disable=SC2154 # root, work, here, wine32, wine64: check_package.sh
# CMake hosts of the unpacked release, sourced by check_package.sh, which
# calls check_cmake_hosts (it uses that script's root, work, here, wine32,
# wine64, run_program and failures). The package configuration is asked once
# per row of a table, with the variables a tool chain would set but no
# compiler, for the choice of DLL, import library and version; then the host
# in this folder is configured from the release alone with each MinGW-w64
# compiler, built and run.

cmake_probe() {  # NAME RELEASE VERSION PATTERN CMAKE_ARGUMENTS...
  local name=$1 release=$2 version=$3 pattern=$4
  shift 4
  local build=$cmake_dir/probe-$name line
  if ! timeout 60 cmake -S "$here/cmake_host/probe" -B "$build" -DCMAKE_PREFIX_PATH="$release" \
       -DTMS_PROBE_VERSION="$version" "$@" >"$build.log" 2>&1; then
    cat "$build.log"
    echo "cmake probe $name: configure failed"
    failures=$((failures + 1))
    return
  fi
  line=$(sed -n 's/^-- tms-probe: //p' "$build.log")
  # shellcheck disable=SC2053 # the pattern is a glob on purpose
  if [[ $line == $pattern ]]; then
    echo "cmake probe $name: ok"
  else
    printf 'cmake probe %s: got\n  %s\nexpected\n  %s\n' "$name" "$line" "$pattern"
    failures=$((failures + 1))
  fi
}
cmake_host() {  # NAME COMPILER BINDIR LIBDIR RUNNER
  local name=$1 compiler=$2 bindir=$3 libdir=$4 runner=$5
  local build=$cmake_dir/$name want
  # Only the target system, the compiler and the release's place: nothing
  # of this checkout's own build settings.
  if ! timeout 120 cmake -S "$here/cmake_host" -B "$build" -DCMAKE_SYSTEM_NAME=Windows \
         -DCMAKE_C_COMPILER="$compiler" -DCMAKE_PREFIX_PATH="$root" \
         -DTMS_HOST_SOURCE="$root/examples/host.c" >"$build.log" 2>&1 ||
     ! timeout 120 cmake --build "$build" >>"$build.log" 2>&1; then
    cat "$build.log"
    echo "$name: build failed"
    failures=$((failures + 1))
    return
  fi
  for want in "TolvaricModeSupport_DIR=$root/lib/cmake/TolvaricModeSupport" \
              "IMPORTED_LOCATION=$root/$bindir/TolvaricModeSupport.DLL" \
              "IMPORTED_IMPLIB=$root/$libdir/libTolvaricModeSupport.dll.a" \
              "INTERFACE_INCLUDE_DIRECTORIES=$root/include"; do
    if ! grep -qxF -- "-- tms-host: $want" "$build.log"; then
      echo "$name: the configure step did not report $want"
      failures=$((failures + 1))
      return
    fi
  done
  # The DLL beside host.exe came from the target's IMPORTED_LOCATION.
  cmp -s "$build/TolvaricModeSupport.DLL" "$root/$bindir/TolvaricModeSupport.DLL" || {
    echo "$name: the DLL beside the host is not the release's $bindir one"
    failures=$((failures + 1))
    return
  }
  run_program "$name" "$build" "$runner" host.exe
}
check_cmake_hosts() {
  local cmake_dir=$work/cmake
  mkdir -p "$cmake_dir/x86-only"
  # A release that holds the 32-bit build only.
  cp -r "$root/include" "$root/bin" "$root/lib" "$cmake_dir/x86-only/"
  local x86=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SIZEOF_VOID_P=4)
  local x64=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SIZEOF_VOID_P=8)
  local gnu_x86="found bin/TolvaricModeSupport.DLL lib/libTolvaricModeSupport.dll.a include"
  local gnu_x64="found bin64/TolvaricModeSupport.DLL lib64/libTolvaricModeSupport.dll.a include"
  local vc_x86="found bin/TolvaricModeSupport.DLL lib/TolvaricModeSupport.lib include"
  local vc_x64="found bin64/TolvaricModeSupport.DLL lib64/TolvaricModeSupport.lib include"
  # Tool chains: GCC; Clang's GNU driver for MinGW; cl; clang-cl; Clang's GNU
  # driver aimed at the Visual C++ ABI; a host that enables C++ only.
  cmake_probe x86-gcc "$root" "" "$gnu_x86" "${x86[@]}"
  cmake_probe x64-gcc "$root" "" "$gnu_x64" "${x64[@]}"
  cmake_probe x64-clang-mingw "$root" "" "$gnu_x64" "${x64[@]}" \
    -DCMAKE_C_COMPILER_FRONTEND_VARIANT=GNU -DCMAKE_C_SIMULATE_ID=GNU
  cmake_probe x86-cl "$root" "" "$vc_x86" "${x86[@]}" -DMSVC=1
  cmake_probe x64-cl "$root" "" "$vc_x64" "${x64[@]}" -DMSVC=1
  cmake_probe x64-clang-cl "$root" "" "$vc_x64" "${x64[@]}" -DMSVC=1 \
    -DCMAKE_C_COMPILER_FRONTEND_VARIANT=MSVC -DCMAKE_C_SIMULATE_ID=MSVC
  cmake_probe x86-clang-msvc-abi "$root" "" "$vc_x86" "${x86[@]}" \
    -DCMAKE_C_COMPILER_FRONTEND_VARIANT=GNU -DCMAKE_C_SIMULATE_ID=MSVC
  cmake_probe x64-clang-cl-cxx "$root" "" "$vc_x64" "${x64[@]}" \
    -DCMAKE_CXX_COMPILER_FRONTEND_VARIANT=MSVC
  # Versions: any 1.x up to this release's, nothing else.
  cmake_probe version-1.0 "$root" 1.0 "$gnu_x64" "${x64[@]}"
  cmake_probe version-1 "$root" 1 "$gnu_x64" "${x64[@]}"
  cmake_probe version-1.1 "$root" 1.1 "not found (versions seen: *1.0.10*)*" "${x64[@]}"
  cmake_probe version-2.0 "$root" 2.0 "not found (versions seen: *1.0.10*)*" "${x64[@]}"
  cmake_probe version-0.9 "$root" 0.9 "not found (versions seen: *1.0.10*)*" "${x64[@]}"
  # Hosts the release cannot serve fail at configure time, saying why.
  cmake_probe linux "$root" "" "not found*targets 'Linux'" -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SIZEOF_VOID_P=8
  cmake_probe no-language "$root" "" "not found*pointer size is unknown*" -DCMAKE_SYSTEM_NAME=Windows
  cmake_probe x86-only-x86 "$cmake_dir/x86-only" "" "$gnu_x86" "${x86[@]}"
  cmake_probe x86-only-x64 "$cmake_dir/x86-only" "" \
    "not found*bin64/TolvaricModeSupport.DLL is missing*64-bit build" "${x64[@]}"

  cmake_host x86-cmake i686-w64-mingw32-gcc-posix bin lib "$wine32"
  cmake_host x64-cmake x86_64-w64-mingw32-gcc-posix bin64 lib64 "$wine64"
}
