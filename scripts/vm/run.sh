#!/usr/bin/env bash
# Runs one command inside the test VM, in the current folder, and returns its
# exit status; its output is streamed as it comes. The checkout is shared into
# the VM at the same path, so commands and CTest run on the host's build as
# they would on the host. The image is made on first use (make-image.sh).
# Usage: scripts/vm/run.sh COMMAND [ARGUMENTS...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENTS...]" >&2; exit 2; }
case $PWD/ in
  "$tms_checkout"/*) ;;
  *) echo "vm: run from inside the checkout ($tms_checkout): only it is shared" >&2; exit 2 ;;
esac
# The image is held (a shared lock) from before its check until the VM ends,
# so that a run making a newer image cannot remove it meanwhile.
for attempt in 1 2 3; do
  dir=$(tms_vm_make_image)
  tms_vm_hold_image "$dir" && break
  [ "$attempt" -lt 3 ] || { echo "vm: the image $dir was removed three times before this run could use it" >&2; exit 1; }
done
status=0
tms_vm_boot "$dir" discard "$PWD" "$@" || status=$?
exit "$status"
