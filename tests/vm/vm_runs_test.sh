#!/usr/bin/env bash
# The VM scripts' behaviour when things go wrong, without booting a VM: a
# stand-in QEMU earlier in PATH runs the guest's command on this machine or
# hangs, and stand-in image folders live in a scratch TMS_VM_CACHE.
# - time limits: a command or a QEMU that hangs ends with a message naming
#   the step; a lock held by another run is waited for only so long;
# - concurrent runs: an image in use or used lately is not removed;
# - recovery (as root): mounts left by a killed image build are undone, and a
#   removal never crosses into a mount it could not undo.
# Exits non-zero when a row fails; each failing row prints what differed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tms-vm-test.XXXXXX")
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null
  grep -o " $scratch[^ ]*" /proc/self/mounts | sort -r | xargs -r umount -l 2>/dev/null
  rm -rf --one-file-system "$scratch"
}
trap cleanup EXIT
export TMS_VM_CACHE=$scratch/cache TMPDIR=$scratch
mkdir -p "$TMS_VM_CACHE" "$scratch/bin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The stand-in QEMU: runs the control folder's command.sh as the guest's init
# would, or hangs (TMS_FAKE_QEMU=hang).
cat >"$scratch/bin/qemu-system-x86_64" <<'QEMU'
#!/usr/bin/env bash
for arg in "$@"; do
  case $arg in *mount_tag=tmsctl*) ctl=${arg#local,path=}; ctl=${ctl%%,*} ;; esac
done
[ "${TMS_FAKE_QEMU:-run}" = hang ] && exec sleep 1000
bash "$ctl/command.sh" </dev/null
echo $? >"$ctl/status"
QEMU
chmod +x "$scratch/bin/qemu-system-x86_64"
export PATH=$scratch/bin:$PATH

# Time limits and exit statuses: COMMAND_TIMEOUT BOOT_TIMEOUT QEMU_MODE
# COMMAND -> status, a line the output must hold, most seconds it may take.
while IFS='|' read -r name command_limit boot_limit mode command want_status want_line most_seconds; do
  started=$SECONDS
  output=$(cd "$here" && TMS_VM_COMMAND_TIMEOUT=$command_limit TMS_VM_BOOT_TIMEOUT=$boot_limit \
    TMS_FAKE_QEMU=$mode bash -c 'source ../../scripts/vm/common.sh; tms_vm_boot "$1" discard "$PWD" bash -c "$2"' \
    boot "$scratch/no-image" "$command" 2>&1)
  status=$?
  took=$((SECONDS - started))
  [ "$status" = "$want_status" ] || fail "$name: exit status $status, expected $want_status; output: $output"
  [ -z "$want_line" ] || grep -qF -- "$want_line" <<<"$output" || fail "$name: no line '$want_line' in: $output"
  [ "$took" -le "$most_seconds" ] || fail "$name: took $took s, at most $most_seconds expected"
done <<'ROWS'
a failing command's status comes back|60|60|run|exit 7|7||10
a passing command gives 0|60|60|run|true|0||10
a command that hangs is stopped|2|60|run|sleep 100|124|the command in the VM was stopped after 2 s|15
a VM that hangs is stopped|1|2|hang|true|125|QEMU was stopped after 3 s|15
ROWS

# Another run's VM holds the run lock: this run gives up, naming the lock.
# (One process, apart from this test's output, so that killing it ends it.)
(exec 8>>"$TMS_VM_CACHE/run.lock"; flock 8; exec sleep 30) >/dev/null 2>&1 &
holder=$!
sleep 0.5
output=$(cd "$here" && TMS_VM_COMMAND_TIMEOUT=1 TMS_VM_BOOT_TIMEOUT=1 \
  bash -c 'source ../../scripts/vm/common.sh; tms_vm_boot "$1" discard "$PWD" true' boot "$scratch/no-image" 2>&1)
status=$?
[ "$status" = 125 ] && grep -q "gave up after 2 s waiting for another run's VM to end" <<<"$output" ||
  fail "a held run lock: status $status, output: $output"
kill "$holder" 2>/dev/null; wait 2>/dev/null

# Concurrent runs: which old images a run that made a new one removes.
# shellcheck source=../../scripts/vm/common.sh
source "$here/../../scripts/vm/common.sh"
release=$(tms_vm_release)
make_image() {  # NAME ready|unfinished MINUTES-SINCE-USE
  mkdir -p "$TMS_VM_CACHE/$release-$1"
  if [ "$2" = ready ]; then
    touch -d "$3 minutes ago" "$TMS_VM_CACHE/$release-$1/ready"
  fi
}
while IFS='|' read -r name state minutes held want; do
  make_image "$name" "$state" "$minutes"
  if [ "$held" = held ]; then
    # Another run, using the image until killed.
    (tms_vm_hold_image "$TMS_VM_CACHE/$release-$name" && exec sleep 60) >/dev/null 2>&1 &
  fi
done <<'ROWS'
new|ready|0|free|kept
in-use|ready|90|held|kept
used-lately|ready|10|free|kept
unused|ready|90|free|removed
unfinished|unfinished|0|free|removed
ROWS
sleep 0.5
# Holding touched it; its last use is long ago all the same.
touch -d "90 minutes ago" "$TMS_VM_CACHE/$release-in-use/ready"
tms_vm_remove_unused_images "$TMS_VM_CACHE/$release-new" 2>/dev/null
while IFS='|' read -r name want; do
  if [ -d "$TMS_VM_CACHE/$release-$name" ]; then got=kept; else got=removed; fi
  [ "$got" = "$want" ] || fail "image '$name': $got, expected $want"
done <<'ROWS'
new|kept
in-use|kept
used-lately|kept
unused|removed
unfinished|removed
ROWS
# A run that found the image but lost it to a removal does not use it.
(tms_vm_hold_image "$TMS_VM_CACHE/$release-unused") 2>/dev/null &&
  fail "a removed image could still be held"
jobs -p | xargs -r kill 2>/dev/null; wait 2>/dev/null

# Recovery from a killed image build (mounts need root).
if [ "$(id -u)" = 0 ]; then
  for row in "umount works|removed" "umount fails|kept"; do
    IFS='|' read -r name want <<<"$row"
    root=$scratch/image/root
    mkdir -p "$root/proc" "$root/host" "$scratch/host"
    echo keep >"$scratch/host/canary"
    mount -t tmpfs tmpfs "$root/proc"
    mount --bind "$scratch/host" "$root/host"
    (
      [ "$name" = "umount fails" ] && umount() { return 1; }
      tms_vm_remove_tree "$scratch/image"
    ) 2>/dev/null
    if [ -d "$scratch/image" ]; then got=kept; else got=removed; fi
    [ "$got" = "$want" ] || fail "chroot tree, $name: $got, expected $want"
    [ -f "$scratch/host/canary" ] || fail "chroot tree, $name: a bind-mounted folder's file was removed"
    grep -q " $scratch/image" /proc/self/mounts && [ "$want" = removed ] &&
      fail "chroot tree, $name: something is still mounted in it"
    grep -o " $scratch/image[^ ]*" /proc/self/mounts | sort -r | xargs -r umount -l
    rm -rf --one-file-system "$scratch/image"
  done

  # A build killed half-way leaves no mount behind; the next run starts clean.
  cat >"$scratch/bin/debootstrap" <<'DEBOOTSTRAP'
#!/usr/bin/env bash
root=${@: -2:1}
mkdir -p "$root/proc" "$root/sys"
mount -t tmpfs tmpfs "$root/proc"
mount -t tmpfs tmpfs "$root/sys"
[ -n "${TMS_FAKE_DEBOOTSTRAP_FAILS:-}" ] && exit 1
exec sleep 100
DEBOOTSTRAP
  chmod +x "$scratch/bin/debootstrap"
  export TMS_VM_MIRROR=http://debian.example/debian
  timeout 5 bash "$here/../../scripts/vm/make-image.sh" >/dev/null 2>&1
  grep -q " $TMS_VM_CACHE/" /proc/self/mounts && fail "a killed image build left mounts behind"
  # Killed so that nothing could clean up (as by the kernel's OOM killer).
  image=$(tms_vm_image_dir "$TMS_VM_MIRROR")
  mkdir -p "$image/root/proc"
  mount -t tmpfs tmpfs "$image/root/proc"
  TMS_FAKE_DEBOOTSTRAP_FAILS=1 bash "$here/../../scripts/vm/make-image.sh" >/dev/null 2>&1 &&
    fail "make-image passed with a failing debootstrap"
  grep -q " $TMS_VM_CACHE/" /proc/self/mounts && fail "a build after a killed one left mounts behind"
  [ -e "$image/root" ] && fail "a build after a killed one left its chroot tree"
else
  echo "(not root: the recovery rows, which mount file systems, are skipped)"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "vm scripts: every row passed"
