# Shared by the scripts that make and boot the test VM (sourced, not run).
# The VM runs the 32-bit Windows tests on machines whose kernel runs no 32-bit
# programs: a Debian root file system of the machine's own release, with Wine
# and its 32-bit part, booted under QEMU.

tms_vm_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tms_checkout=$(cd "$tms_vm_here/../.." && pwd)
tms_vm_cache_root=${TMS_VM_CACHE:-/var/cache/tolvaric-vm}

tms_vm_release() {
  . /etc/os-release
  echo "$VERSION_CODENAME"
}

# The Debian mirror that this machine's apt sources name for its release (the
# main archive, not the security one). Both source formats are read: one-line
# entries ("deb URI SUITE COMPONENTS") and deb822 stanzas (URIs:/Suites:).
tms_vm_mirror() {
  local release
  release=$(tms_vm_release)
  local files=()
  [ -f /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 1
  awk -v release="$release" '
    function found(uri) { sub(/\/+$/, "", uri); print uri; done = 1; exit }
    /^[[:space:]]*deb[[:space:]]/ {
      i = 2
      if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
      if ($(i + 1) == release) found($i)
      next
    }
    /^[[:space:]]*$/ {
      if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " release " ")) found(uris)
      types = ""; uris = ""; suites = ""; next
    }
    /^Types:/  { $1 = ""; types = $0 }
    /^URIs:/   { uris = $2 }
    /^Suites:/ { $1 = ""; suites = $0 }
    END {
      if (!done && types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " release " ")) found(uris)
    }' "${files[@]}"
}

# True when this kernel runs 32-bit x86 programs: the 32-bit Wine loader is
# tried, not guessed at from files or kernel settings.
tms_runs_32bit_programs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# True when 32-bit Windows programs must run in the VM: the kernel runs no
# 32-bit programs, or TMS_FORCE_VM asks for the VM anyway. Prints why.
tms_win32_needs_vm() {
  if [ -n "${TMS_FORCE_VM:-}" ]; then
    echo "TMS_FORCE_VM is set"
  elif ! tms_runs_32bit_programs; then
    echo "this kernel runs no 32-bit programs"
  else
    return 1
  fi
}

# The folder of the image made from the current scripts and mirror. Changing
# what goes into the image (package list, guest init, Wine prefix set-up)
# gives a new folder, so a stale image is never reused.
tms_vm_image_dir() {
  local mirror=$1 key
  key=$( { echo "$mirror $(tms_vm_release)"
           cat "$tms_vm_here/make-image.sh" "$tms_vm_here/guest-init.sh" \
               "$tms_checkout/cmake/wine-run.sh"; } | sha256sum | cut -c1-16)
  echo "$tms_vm_cache_root/$(tms_vm_release)-$key"
}

# Software emulation (TCG), which every machine has. QEMU 7.2's emulated CPU
# with SMAP on crashes the guest kernel when Wine returns to user mode, hence
# smap=off.
tms_vm_accel_args() {
  echo "-accel tcg -cpu max,smap=off,la57=off"
}

# Boots the image in IMAGE_DIR and runs COMMAND in folder CWD inside it, with
# the checkout shared in at its own path (so that CTest's absolute paths hold)
# and the TMS_* and CTEST_* variables of this environment. The console is
# streamed to standard output; the result is the command's exit status, or 125
# when the VM ended without one. With PERSIST=persist the image keeps what
# the command changed (only while the image is made); otherwise every run
# starts from the image as it was made.
# Usage: tms_vm_boot IMAGE_DIR PERSIST|discard CWD COMMAND...
tms_vm_boot() {
  local dir=$1 persist=$2 cwd=$3
  shift 3
  local ctl status snapshot=on
  [ "$persist" = persist ] && snapshot=off
  ctl=$(mktemp -d "${TMPDIR:-/tmp}/tms-vm.XXXXXX")
  printf 'checkout %s\n' "$tms_checkout" >"$ctl/mounts"
  {
    echo "cd $(printf %q "$cwd") || exit 125"
    local name
    for name in $(compgen -e); do
      case $name in TMS_*|CTEST_*) printf 'export %s=%q\n' "$name" "${!name}" ;; esac
    done
    # The 32-bit Wine prefix made with the image; the guest runs as root.
    echo "export TMS_WINEPREFIX=/var/lib/tms-wine/prefix HOME=/root LANG=C.UTF-8 TMS_IN_VM=1"
    printf '%q ' "$@"
    echo
  } >"$ctl/command.sh"

  mkdir -p "$tms_vm_cache_root"
  # One VM at a time: two software-emulated guests on one machine slowed
  # Wine's start-up past its own time limits.
  (
    flock 8
    # shellcheck disable=SC2046
    qemu-system-x86_64 $(tms_vm_accel_args) -smp "${TMS_VM_CPUS:-2}" -m "${TMS_VM_MEMORY:-8G}" \
      -nodefaults -no-reboot -display none -serial stdio -nic none \
      -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
      -append "root=/dev/vda rw console=ttyS0 quiet loglevel=1 panic=1 mitigations=off tsc=reliable init=/usr/local/sbin/tms-guest-init" \
      -drive "file=$dir/rootfs.img,format=raw,if=virtio,discard=unmap,snapshot=$snapshot" \
      -virtfs "local,path=$ctl,mount_tag=tmsctl,security_model=none" \
      -virtfs "local,path=$tms_checkout,mount_tag=checkout,security_model=none" \
      </dev/null |
      # The kernel's own lines (power-off and the like) are not the command's.
      LC_ALL=C grep -a --line-buffered -v '^\[ *[0-9]*\.[0-9]*\] ' || true
  ) 8>"$tms_vm_cache_root/run.lock"
  if [ -s "$ctl/status" ]; then
    status=$(cat "$ctl/status")
  else
    echo "vm: the VM ended without the command's exit status" >&2
    status=125
  fi
  rm -rf "$ctl"
  return "$status"
}
