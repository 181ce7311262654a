#!/usr/bin/env bash
# Makes the test VM's image, once per machine: a Debian root file system of
# this machine's release (debootstrap from the mirror its apt sources name)
# with the kernel, Wine with its 32- and 64-bit parts, CMake (CTest runs in
# the guest) and the MinGW objdump (for the DLL's header checks), the
# locales the Windows tests switch between, and a ready 32-bit Wine prefix.
# The image lands under /var/cache/tolvaric-vm (TMS_VM_CACHE), keyed by the
# mirror and by these scripts, and is reused from then on. Prints its folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

mirror=$(tms_vm_mirror) || true
if [ -z "$mirror" ]; then
  echo "vm: no Debian mirror for $(tms_vm_release) in this machine's apt sources" >&2
  exit 1
fi
dir=$(tms_vm_image_dir "$mirror")
[ -f "$dir/ready" ] && { echo "$dir"; exit 0; }

mkdir -p "$tms_vm_cache_root"
exec 9>"$tms_vm_cache_root/make.lock"
flock 9
[ -f "$dir/ready" ] && { echo "$dir"; exit 0; }

# The system and the tools CTest calls, then Wine.
system_packages=(linux-image-amd64 kmod locales cmake binutils-mingw-w64-i686)
wine_packages=(wine wine32:i386 wine64)
started=$SECONDS
echo "vm: making the test image in $dir from $mirror (once per machine)" >&2
mkdir -p "$dir"
root=$dir/root
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT

# The root file system, kept (rootfs.made) so that a failed first boot does
# not fetch everything again.
if [ ! -f "$dir/rootfs.made" ]; then
  rm -rf "$root" "$dir/rootfs.img"
  debootstrap --variant=minbase "$(tms_vm_release)" "$root" "$mirror" >"$dir/debootstrap.log" 2>&1 || {
    tail -n 30 "$dir/debootstrap.log" >&2
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
  in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C "$@"; }
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
    exit 1
  }
  umount "$root/proc"
  install -m 755 "$tms_vm_here/guest-init.sh" "$root/usr/local/sbin/tms-guest-init"
  cp -L "$root/vmlinuz" "$dir/vmlinuz"
  cp -L "$root/initrd.img" "$dir/initrd.img"

  # The root file system as an ext4 image, with room for the Wine prefix.
  size_mb=$(( $(du -sm "$root" | cut -f1) + 2048 ))
  mkfs.ext4 -q -F -L tms-vm -d "$root" "$dir/rootfs.img" "${size_mb}M"
  rm -rf "$root"
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
  echo "vm: the first boot failed" >&2
  exit 1
}
echo "$(( SECONDS - started ))" >"$dir/seconds-to-make"
touch "$dir/ready"
# Images made from other scripts are not used again here; each takes a few
# gigabytes. A VM still running from one keeps its open file until it ends.
for other in "$tms_vm_cache_root/$(tms_vm_release)"-*; do
  [ "$other" = "$dir" ] || rm -rf "$other"
done
echo "vm: image made in $(( SECONDS - started )) s ($(du -sh --apparent-size "$dir/rootfs.img" | cut -f1) apparent, $(du -sh "$dir/rootfs.img" | cut -f1) on disk)" >&2
echo "$dir"
