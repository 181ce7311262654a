#!/bin/bash
# The test VM's init (process 1): mounts what programs need, mounts the host
# folders that the host named in its control folder at the same paths as on
# the host, runs the host's command with its output on the console, leaves the
# exit status in the control folder and powers the VM off.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# The initramfs has mounted some of these already.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sysfs /sys
mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
# Wine keeps its server socket under /tmp; a tmpfs is much faster than 9p.
mount -t tmpfs tmpfs /tmp
# The host sees plain lines, not the terminal's carriage returns.
stty -F /dev/console -onlcr 2>/dev/null

modprobe 9pnet_virtio 2>/dev/null
mkdir -p /tmsctl
mount -t 9p -o trans=virtio,version=9p2000.L tmsctl /tmsctl
status=125
if [ -f /tmsctl/mounts ]; then
  while read -r tag path; do
    mkdir -p "$path"
    # Through the page cache (cache=loose): without it a large read comes
    # back short, and Wine, which loads a program's sections with one read
    # each, ran programs of a few megabytes with pages of zeros.
    mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose "$tag" "$path"
  done </tmsctl/mounts
  # Through a pipe, so that programs (Wine's console among them) write plain
  # output rather than drive a terminal.
  bash /tmsctl/command.sh </dev/null 2>&1 | cat >/dev/console
  status=${PIPESTATUS[0]}
fi
echo "$status" >/tmsctl/status
sync
umount -a -t 9p 2>/dev/null
# A clean root file system for the image's next boot (while it is made).
mount -o remount,ro / 2>/dev/null
echo o >/proc/sysrq-trigger
sleep 60
