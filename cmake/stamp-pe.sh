#!/bin/sh
# Writes a PE image's link time stamp (the file header's TimeDateStamp) as a
# value derived from the image's own bytes: the first 31 bits of the SHA-256
# of the file with the stamp and checksum fields zeroed. The checksum that
# the linker wrote no longer matches then, so it is computed afresh, as the
# linker and Windows' image tools do. Debuggers, crash reports and
# symbol stores tell builds apart by this stamp and the image size, so it
# must not be 0 for every build; taking it from the contents instead of the
# clock keeps the same sources giving the same bytes. The top bit stays
# clear so that tools reading the stamp as a signed time get a date between
# 1970 and 2038. Running it again on a stamped file changes nothing.
# Usage: stamp-pe.sh IMAGE
set -eu
image=$1

# Reads COUNT bytes at OFFSET as an unsigned little-endian number.
read_le() {
  od -An -t u"$2" -j "$1" -N "$2" "$image" | tr -d ' \n'
}
# Writes the 32-bit VALUE little-endian at OFFSET, in place.
write_le32() {
  printf "$(printf '\\%03o\\%03o\\%03o\\%03o' \
    $(($2 & 255)) $((($2 >> 8) & 255)) $((($2 >> 16) & 255)) $((($2 >> 24) & 255)))" |
    dd of="$image" bs=1 seek="$1" count=4 conv=notrunc 2>/dev/null
}

pe_header=$(read_le 60 4)
if [ "$(od -An -c -j "$pe_header" -N 4 "$image" | tr -d ' \n')" != 'PE\0\0' ]; then
  echo "stamp-pe: $image is not a PE image" >&2
  exit 1
fi
stamp_offset=$((pe_header + 8))
# The optional header's CheckSum, at the same place in PE32 and PE32+.
checksum_offset=$((pe_header + 88))
write_le32 "$stamp_offset" 0
write_le32 "$checksum_offset" 0
hash=$(sha256sum "$image" | cut -c1-8)
stamp=$((0x$hash & 0x7fffffff))
[ "$stamp" -ne 0 ] || stamp=1
write_le32 "$stamp_offset" "$stamp"

# The PE checksum: the file's 16-bit words summed with the carry folded back
# in (the checksum field counting as 0), plus the file's length.
size=$(wc -c <"$image")
checksum=$(od -An -v -t u2 "$image" | awk -v size="$size" '
  { for (i = 1; i <= NF; i++) { sum += $i; sum = sum % 65536 + int(sum / 65536) } }
  END { sum = sum % 65536 + int(sum / 65536); printf "%d", sum + size }')
write_le32 "$checksum_offset" "$checksum"
