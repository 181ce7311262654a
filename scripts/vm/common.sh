# Shared by the scripts that make and boot the test VM (sourced, not run).
# The VM runs the 32-bit Windows tests on machines whose kernel runs no 32-bit
# programs: a Debian root file system of the machine's own release, with Wine
# and its 32-bit part, booted under QEMU.

tms_vm_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tms_checkout=$(cd "$tms_vm_here/../.." && pwd)
tms_vm_cache_root=${TMS_VM_CACHE:-/var/cache/tolvaric-vm}

# The Debian release (tms_vm_release), the mirror and apt's proxy settings
# (tms_vm_mirror, tms_vm_apt_proxy_env).
source "$tms_vm_here/apt-sources.sh"

# Time limits, in seconds, so that no step of a run waits for ever. Each may
# be raised through the environment on a slow machine.
# - the command run in the VM (the 32-bit tests take 4 to 6 minutes there);
tms_vm_command_limit=${TMS_VM_COMMAND_TIMEOUT:-1800}
# - QEMU as a whole: the command plus booting and powering off;
tms_vm_qemu_limit=$((tms_vm_command_limit + ${TMS_VM_BOOT_TIMEOUT:-300}))
# - making the image (fetching, unpacking, the first and the check boot; about
#   6 minutes here), and so also waiting for another run that makes one.
tms_vm_image_limit=${TMS_VM_IMAGE_TIMEOUT:-2400}

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
# what goes into the image (package list, guest init, Wine prefix set-up, the
# prefix path and mount tags set here) gives a new folder, so a stale image
# is never reused.
tms_vm_image_dir() {
  local mirror=$1 key
  key=$( { echo "$mirror $(tms_vm_release)"
           cat "$tms_vm_here"/*.sh "$tms_checkout/cmake/wine-run.sh"; } | sha256sum | cut -c1-16)
  echo "$tms_vm_cache_root/$(tms_vm_release)-$key"
}

# Software emulation (TCG), which every machine has. QEMU 7.2's emulated CPU
# with SMAP on crashes the guest kernel when Wine returns to user mode, hence
# smap=off.
tms_vm_accel_args() {
  echo "-accel tcg -cpu max,smap=off,la57=off"
}

# Fails with a message when the file system of DIR has less than MB
# megabytes free; WHAT says what needs them.
# Usage: tms_need_free_space MB DIR WHAT
tms_need_free_space() {
  local free_mb
  free_mb=$(df -Pm "$2" | awk 'NR == 2 { print $4 }')
  [ "$free_mb" -ge "$1" ] && return 0
  echo "$3 needs about $1 MB free in $2; $free_mb MB are free" >&2
  return 1
}

# Waits for a lock on the open descriptor FD for at most LIMIT seconds; when
# it cannot have it, says what it waited for. Extra arguments go to flock
# (-s for a shared lock).
# Usage: tms_vm_lock FD LIMIT WHAT [FLOCK-OPTIONS...]
tms_vm_lock() {
  local fd=$1 limit=$2 what=$3
  shift 3
  flock "$@" -w "$limit" "$fd" && return 0
  echo "vm: gave up after $limit s waiting for $what" >&2
  return 1
}

# Unmounts whatever is mounted at or below DIR (deepest first), as an image
# build killed half-way leaves proc, sys and the like mounted in its chroot.
# With --list, only prints those mount points.
# Usage: tms_vm_unmount_below DIR [--list]
tms_vm_unmount_below() {
  local dir mount
  dir=$(realpath -m "$1")
  awk -v dir="$dir" '$2 == dir || index($2, dir "/") == 1 { print $2 }' /proc/self/mounts |
    LC_ALL=C sort -r | while read -r mount; do
      if [ "${2:-}" = --list ]; then
        echo "$mount"
      else
        umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
      fi
    done
}

# Removes DIR after unmounting what is mounted in it; the removal never
# crosses into another file system, so a mount that could not be undone
# fails the removal instead of losing that file system's files.
tms_vm_remove_tree() {
  [ -e "$1" ] || return 0
  tms_vm_unmount_below "$1"
  # A bind mount of a folder from the same file system would not stop rm.
  if [ -n "$(tms_vm_unmount_below "$1" --list)" ]; then
    echo "vm: $1 is not removed: something is still mounted in it" >&2
    return 1
  fi
  rm -rf --one-file-system "$1" || {
    echo "vm: could not remove $1 (is something still mounted in it?)" >&2
    return 1
  }
}

# Every run that uses an image holds a shared lock on its "ready" mark for as
# long as it uses it, and touches the mark. An old image is removed only
# under the exclusive lock taken at once, so an image in use is never taken
# away; and only when unused for 30 minutes, so that two clones on one
# machine with different scripts (and so images) do not remove each other's
# image between their runs. What cannot be removed now, a later run removes.
# Opens DIR/ready on descriptor 7 and takes the shared lock; fails when the
# image went away meanwhile. The lock lasts while descriptor 7 stays open,
# QEMU's included.
# Usage: tms_vm_hold_image DIR
tms_vm_hold_image() {
  local dir=$1
  { exec 7<"$dir/ready"; } 2>/dev/null || return 1
  tms_vm_lock 7 60 "the removal of $dir" -s || return 1
  # Removed while this run waited: the lock is on a file that is gone.
  [ -f "$dir/ready" ] || { exec 7<&-; return 1; }
  touch "$dir/ready"
}

# Makes the image or finds it made (make-image.sh) and prints its folder.
# Waiting for another run's build and the build itself take at most
# tms_vm_image_limit each.
tms_vm_make_image() {
  local status=0 limit=$((2 * tms_vm_image_limit + 60))
  timeout --kill-after=30 "$limit" bash "$tms_vm_here/make-image.sh" || status=$?
  [ "$status" -ne 124 ] || echo "vm: making the image was stopped after $limit s (TMS_VM_IMAGE_TIMEOUT=$tms_vm_image_limit)" >&2
  return "$status"
}

# Removes the images of this release other than KEEP that no run is using,
# and the leftovers of image builds that never finished. Runs only under the
# image-making lock, so that no build is under way.
# Usage: tms_vm_remove_unused_images KEEP
tms_vm_remove_unused_images() {
  local keep=$1 other fd
  for other in "$tms_vm_cache_root/$(tms_vm_release)"-*; do
    [ -d "$other" ] && [ "$other" != "$keep" ] || continue
    if [ -f "$other/ready" ]; then
      [ -z "$(find "$other/ready" -mmin -30)" ] || continue
      exec {fd}<"$other/ready" || continue
      if flock -n -x "$fd"; then
        tms_vm_remove_tree "$other" || true
      else
        echo "vm: $other is in use by another run; it is left for a later run to remove" >&2
      fi
      exec {fd}<&-
    else
      tms_vm_remove_tree "$other" || true
    fi
  done
}

# Boots the image in IMAGE_DIR and runs COMMAND in folder CWD inside it, with
# the checkout shared in at its own path (so that CTest's absolute paths hold)
# and the TMS_* and CTEST_* variables of this environment. The console is
# streamed to standard output; the result is the command's exit status, or 125
# when the VM ended without one. The command may take tms_vm_command_limit
# seconds, QEMU tms_vm_qemu_limit; past them they are stopped and the message
# says so. With PERSIST=persist the image keeps what the command changed (only
# while the image is made); otherwise every run starts from the image as it
# was made.
# Usage: tms_vm_boot IMAGE_DIR PERSIST|discard CWD COMMAND...
tms_vm_boot() {
  local dir=$1 persist=$2 cwd=$3
  shift 3
  local ctl status snapshot=on qemu_status
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
    printf 'timeout --kill-after=20 %d ' "$tms_vm_command_limit"
    printf '%q ' "$@"
    echo
    echo 'status=$?'
    echo "[ \$status != 124 ] || echo 'vm: the command in the VM was stopped after $tms_vm_command_limit s (TMS_VM_COMMAND_TIMEOUT)'"
    echo 'exit $status'
  } >"$ctl/command.sh"

  mkdir -p "$tms_vm_cache_root"
  # One VM at a time: two software-emulated guests on one machine slowed
  # Wine's start-up past its own time limits. A full disk makes the guest see
  # write errors (werror=report) instead of QEMU pausing it for ever.
  (
    tms_vm_lock 8 "$tms_vm_qemu_limit" "another run's VM to end ($tms_vm_cache_root/run.lock)" || exit 1
    # shellcheck disable=SC2046
    # In the foreground: QEMU stays in this process group, so that a time
    # limit around the caller (tms_vm_make_image's) stops it too.
    timeout --foreground --kill-after=30 "$tms_vm_qemu_limit" \
      qemu-system-x86_64 $(tms_vm_accel_args) -smp "${TMS_VM_CPUS:-2}" -m "${TMS_VM_MEMORY:-8G}" \
      -nodefaults -no-reboot -display none -serial stdio -nic none \
      -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
      -append "root=/dev/vda rw console=ttyS0 quiet loglevel=1 panic=1 mitigations=off tsc=reliable init=/usr/local/sbin/tms-guest-init" \
      -drive "file=$dir/rootfs.img,format=raw,if=virtio,discard=unmap,snapshot=$snapshot,werror=report,rerror=report" \
      -virtfs "local,path=$ctl,mount_tag=tmsctl,security_model=none" \
      -virtfs "local,path=$tms_checkout,mount_tag=checkout,security_model=none" \
      </dev/null |
      # The kernel's own lines (power-off and the like) are not the command's.
      { LC_ALL=C grep -a --line-buffered -v '^\[ *[0-9]*\.[0-9]*\] ' || true; }
    echo "${PIPESTATUS[0]}" >"$ctl/qemu-status"
  ) 8>>"$tms_vm_cache_root/run.lock" || true
  qemu_status=$(cat "$ctl/qemu-status" 2>/dev/null || echo none)
  if [ -s "$ctl/status" ]; then
    status=$(cat "$ctl/status")
  else
    case $qemu_status in
      none) ;;
      124|137) echo "vm: QEMU was stopped after $tms_vm_qemu_limit s: the VM did not end in time" >&2 ;;
      *) echo "vm: the VM ended without the command's exit status (QEMU's exit status $qemu_status)" >&2 ;;
    esac
    status=125
  fi
  rm -rf "$ctl"
  return "$status"
}
