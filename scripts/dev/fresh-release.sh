#!/usr/bin/env bash
# A developer's check, not part of CI: runs both README commands, as a new
# user would, in a fresh chroot of another Debian release made by debootstrap
# from the mirror this machine's apt sources name, and reports each
# command's exit status and wall time.
#
# Usage (as root): scripts/dev/fresh-release.sh RELEASE [COMMIT] [-- COMMAND...]
#   RELEASE  a Debian codename (bookworm, trixie)
#   COMMIT   what to clone from this checkout (default HEAD)
#   COMMAND  instead of the README commands, run this in the clone
# The chroot lives in $TMS_RELEASE_ROOT/RELEASE (default /var/tmp/tms-release)
# and is made anew on every run; the logs stay beside it:
#   RELEASE-debootstrap.log, RELEASE-demo.log, RELEASE-test.log.
# Everything inside runs in its own PID and mount namespaces, so that no
# process or mount of the chroot outlives the run.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../vm/common.sh"

[ $# -ge 1 ] || { sed -n '2,15p' "$0"; exit 2; }
release=$1
shift
commit=HEAD
if [ $# -gt 0 ] && [ "$1" != -- ]; then
  commit=$1
  shift
fi
[ "${1:-}" = -- ] && shift
custom=("$@")

[ "$(id -u)" = 0 ] || { echo "fresh-release: run as root" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh-release: apt-get install debootstrap" >&2; exit 2; }
mirror=$(tms_vm_mirror) || true
[ -n "$mirror" ] || { echo "fresh-release: no Debian mirror in this machine's apt sources" >&2; exit 1; }

top=${TMS_RELEASE_ROOT:-/var/tmp/tms-release}
root=$top/$release
mkdir -p "$top"
# A run killed half-way leaves nothing mounted (the namespaces went with it),
# so the old tree can simply be removed, without crossing file systems.
rm -rf --one-file-system "$root"

started=$SECONDS
echo "fresh-release: debootstrap $release from $mirror"
debootstrap --variant=minbase --include=git,ca-certificates "$release" "$root" "$mirror" \
  >"$top/$release-debootstrap.log" 2>&1 || {
  tail -n 20 "$top/$release-debootstrap.log"
  exit 1
}
# The sources a fresh installation writes: the release and its updates.
rm -f "$root/etc/apt/sources.list"
cat >"$root/etc/apt/sources.list.d/debian.sources" <<SOURCES
Types: deb
URIs: $mirror
Suites: $release $release-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
commit=$(git -C "$here/../.." rev-parse --verify "$commit^{commit}")
git clone -q --no-local "$here/../.." "$root/root/tms"
git -C "$root/root/tms" checkout -q --detach "$commit"
echo "fresh-release: chroot ready in $((SECONDS - started)) s: $root (commit $(git -C "$root/root/tms" rev-parse --short HEAD))"

# Runs one command line in the clone inside the chroot; its output goes to LOG.
in_chroot() {
  local log=$1 command=$2
  unshare --pid --fork --mount --propagation private bash -c '
    root=$1 command=$2
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t tmpfs tmpfs "$root/tmp"
    exec chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      TERM=dumb ${TMS_FORCE_VM:+TMS_FORCE_VM=$TMS_FORCE_VM} bash -c "cd /root/tms && $command"
  ' in-chroot "$root" "$command" </dev/null >"$log" 2>&1
}

report() {
  local name=$1 command=$2 log=$top/$release-$1.log status=0
  local began=$SECONDS
  in_chroot "$log" "$command" || status=$?
  local seconds=$((SECONDS - began))
  printf 'fresh-release: %-5s %-28s exit %d in %dm%02ds (log: %s)\n' \
    "$name" "$command" "$status" $((seconds / 60)) $((seconds % 60)) "$log"
  # CTest's summaries, where the command ran any.
  grep -E 'tests passed|tests failed|^== ' "$log" | sed 's/^/    /' || true
  return "$status"
}

overall=0
if [ ${#custom[@]} -gt 0 ]; then
  report custom "$(printf '%q ' "${custom[@]}")" || overall=1
else
  report demo "bash scripts/demo.sh" || overall=1
  report test "bash scripts/test.sh" || overall=1
fi
echo "fresh-release: $release done in $((SECONDS - started)) s, overall exit $overall"
exit "$overall"
