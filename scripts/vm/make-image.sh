#!/usr/bin/env bash
# Makes the test VM's image, once per machine: a Debian root file system of
# this machine's release (debootstrap from the mirror its apt sources name)
# with the kernel, Wine with its 32- and 64-bit parts, CMake (CTest runs in
# the guest) and the MinGW objdump (for the DLL's header checks), the
# locales the Windows tests switch between, and a ready 32-bit Wine prefix.
# The image lands under /var/cache/tolvaric-vm (TMS_VM_CACHE), keyed by the
# mirror and by these scripts, and is reused from then on. Prints its folder.
# Called through tms_vm_make_image (common.sh), whose time limit covers every
# step here: its timeout stops this script's whole process group (QEMU's
# timeout stays in that group for this reason).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# TMS_VM_MIRROR names the mirror where the apt sources do not.
mirror=${TMS_VM_MIRROR:-$(tms_vm_mirror)}
dir=$(tms_vm_image_dir "$mirror")
mkdir -p "$tms_vm_cache_root"
exec 9>>"$tms_vm_cache_root/make.lock"
if [ -f "$dir/ready" ]; then
  # Images this one replaced and that were in use when it was made go now,
  # unless a build is under way or they are still in use.
  flock -n 9 && tms_vm_remove_unused_images "$dir"
  echo "$dir"
  exit 0
fi

tms_vm_lock 9 "$tms_vm_image_limit" "another run to make the image ($tms_vm_cache_root/make.lock)"
[ -f "$dir/ready" ] && { echo "$dir"; exit 0; }

# The system and the tools CTest calls, then Wine.
system_packages=(linux-image-amd64 kmod locales cmake binutils-mingw-w64-i686)
wine_packages=(wine wine32:i386 wine64)
started=$SECONDS
mkdir -p "$dir"
root=$dir/root
# A build that was killed may have left its chroot with proc and sys mounted.
tms_vm_remove_tree "$root"
# Killed or failed, this build leaves nothing mounted and no tree behind.
trap 'tms_vm_remove_tree "$root"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The chroot tree and the image made from it are each about as large as the
# finished image (about 3 GB on disk); an older image stays until this one is
# ready.
tms_need_free_space 6500 "$tms_vm_cache_root" "vm: making the image (TMS_VM_CACHE)"
echo "vm: making the test image in $dir from $mirror (once per machine)" >&2

# apt's proxy, if it has one, for debootstrap's downloads and the chroot's apt.
mapfile -t proxy_env < <(tms_vm_apt_proxy_env)

# The root file system, kept (rootfs.made) so that a failed first boot does
# not fetch everything again.
if [ ! -f "$dir/rootfs.made" ]; then
  rm -f "$dir/rootfs.img"
  env "${proxy_env[@]}" \
    debootstrap --variant=minbase "$(tms_vm_release)" "$root" "$mirror" >"$dir/debootstrap.log" 2>&1 || {
    tail -n 30 "$dir/debootstrap.log" >&2
    echo "vm: debootstrap failed; its log: $dir/debootstrap.log" >&2
    exit 1
  }
  mount -t proc proc "$root/proc"
  cat >"$root/etc/locale.gen" <<'LOCALES'
en_US.UTF-8 UTF-8
ru_RU.UTF-8 UTF-8
ja_JP.UTF-8 UTF-8
LOCALES
  echo tms-vm >"$root/etc/hostname"
  chroot "$root" dpkg --add-architecture i386
  in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "${proxy_env[@]}" "$@"; }
  {
    in_root apt-get update -q
    in_root apt-get install -y -q --no-install-recommends "${system_packages[@]}"
    # Wine is fetched first, then unpacked and set up here as far as this
    # kernel allows: a 32-bit package whose set-up runs a 32-bit program
    # cannot finish where the kernel runs none, and the first boot finishes
    # it from the fetched packages.
    in_root apt-get install -y -q --no-install-recommends --download-only "${wine_packages[@]}"
    in_root apt-get install -y -q --no-install-recommends "${wine_packages[@]}" ||
      echo "vm: some packages are left for the first boot"
  } >"$dir/apt.log" 2>&1 || {
    tail -n 30 "$dir/apt.log" >&2
    echo "vm: installing the packages in the image failed; apt's log: $dir/apt.log" >&2
    exit 1
  }
  umount "$root/proc"
  install -m 755 "$tms_vm_here/guest-init.sh" "$root/usr/local/sbin/tms-guest-init"
  cp -L "$root/vmlinuz" "$dir/vmlinuz"
  cp -L "$root/initrd.img" "$dir/initrd.img"

  # The root file system as an ext4 image, with room for the Wine prefix.
  size_mb=$(( $(du -sm "$root" | cut -f1) + 2048 ))
  mkfs.ext4 -q -F -L tms-vm -d "$root" "$dir/rootfs.img" "${size_mb}M"
  tms_vm_remove_tree "$root"
  touch "$dir/rootfs.made"
fi

# First boot: finish any package set-up, then make the 32-bit Wine prefix
# the tests use (a minute under software emulation, so it is made once).
first_boot='set -e
dpkg --configure -a
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends --no-download '"${wine_packages[*]}"'
apt-get clean
fstrim / || true
mkdir -p "$(dirname "$TMS_WINEPREFIX")"
cmake/wine-run.sh --init
wine --version'
tms_vm_boot "$dir" persist "$tms_checkout" bash -c "$first_boot" >"$dir/first-boot.log" 2>&1 || {
  tail -n 30 "$dir/first-boot.log" >&2
  echo "vm: the first boot failed; its log: $dir/first-boot.log" >&2
  exit 1
}

# Check boot, from the image as the tests will see it: the prefix is whole
# and a 32-bit Windows program runs in it. Only then is the image ready.
check_boot='set -e
test -f "$TMS_WINEPREFIX/.tms-ready" -a -f "$TMS_WINEPREFIX/system.reg"
cmake/wine-run.sh cmd /c echo tms-image-check-passed'
tms_vm_boot "$dir" discard "$tms_checkout" bash -c "$check_boot" >"$dir/check-boot.log" 2>&1 &&
  grep -q tms-image-check-passed "$dir/check-boot.log" || {
  tail -n 30 "$dir/check-boot.log" >&2
  echo "vm: the check boot failed: the image is not used; its log: $dir/check-boot.log" >&2
  rm -f "$dir/rootfs.made"
  exit 1
}
echo "$(( SECONDS - started ))" >"$dir/seconds-to-make"
touch "$dir/ready"
tms_vm_remove_unused_images "$dir"
echo "vm: image made in $(( SECONDS - started )) s ($(du -sh --apparent-size "$dir/rootfs.img" | cut -f1) apparent, $(du -sh "$dir/rootfs.img" | cut -f1) on disk)" >&2
echo "$dir"
