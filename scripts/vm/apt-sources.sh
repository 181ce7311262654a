# What the test VM's image takes from this machine's apt (sourced, not run):
# the Debian mirror its sources name for its release, and its proxy. Every
# answer comes from apt itself, so both source formats, "Enabled: no", the
# order of the source files and APT_CONFIG count as they do for apt.

# The Debian release the image is made of: TMS_VM_RELEASE, or this machine's.
tms_vm_release() {
  if [ -n "${TMS_VM_RELEASE:-}" ]; then
    echo "$TMS_VM_RELEASE"
  else
    (. /etc/os-release && echo "$VERSION_CODENAME")
  fi
}

# The files apt reads its sources from, one a line: the main list, if there
# is one, and the *.list and *.sources files of its folder (sources.list.d).
tms_vm_apt_source_files() {
  local list='' folder='' f
  eval "$(apt-config shell list Dir::Etc::sourcelist/f folder Dir::Etc::sourceparts/d 2>/dev/null)"
  [ -n "$list" ] && [ -f "$list" ] && echo "$list"
  [ -n "$folder" ] || return 0
  for f in "$folder"*.list "$folder"*.sources; do
    [ -f "$f" ] && echo "$f"
  done
  return 0
}

# The Packages indexes that apt holds a Release file for, in the order apt
# reads its sources, one a line, tab-separated:
#   SITE SUITE COMPONENT ORIGIN LABEL CODENAME SOURCES_ENTRY(file:line)
# Nothing when apt has fetched no lists. When apt cannot read its sources,
# its first error goes to standard error and the result is 1.
tms_vm_apt_indexes() {
  local tab=$'\t'
  apt-get indextargets --format \
    "\$(SITE)$tab\$(RELEASE)$tab\$(COMPONENT)$tab\$(ORIGIN)$tab\$(LABEL)$tab\$(CODENAME)$tab\$(SOURCESENTRY)" \
    'Created-By: Packages' 2>/dev/null && return 0
  local error
  error=$(apt-get indextargets 2>&1 >/dev/null | grep -m1 '^E: ')
  echo "vm: apt cannot read its sources: ${error:-apt-get indextargets failed}" >&2
  return 1
}

# The mirror of the mirror list FILE (apt's mirror+file: lists) that
# debootstrap can fetch the whole RELEASE from. A line is a URI, then
# optionally a tab and metadata; comments and blank lines are skipped. A
# mirror limited to some architectures, to other releases, to components
# without main, or to index files or packages alone is partial and passed
# over. Lower "priority:" numbers come first, as for apt, lines without one
# last; otherwise the first line wins.
# Usage: tms_vm_mirror_from_list FILE RELEASE
tms_vm_mirror_from_list() {
  awk -v release="$2" '
    /^[[:space:]]*(#|$)/ { next }
    {
      uri = $1
      if (uri !~ /^(https?|ftp|file):/) next
      rank = 1e9; usable = 1; releases = ""; components = ""; types = ""
      for (i = 2; i <= NF; i++) {
        key = $i; value = $i; sub(/:.*/, "", key); sub(/^[^:]*:/, "", value)
        if (key == "priority") rank = value + 0
        else if (key == "arch") usable = 0
        else if (key == "codename" || key == "suite") releases = releases " " value
        else if (key == "component") components = components " " value
        else if (key == "type") types = types " " value
      }
      if (releases != "" && index(releases " ", " " release " ") == 0) usable = 0
      if (components != "" && index(components " ", " main ") == 0) usable = 0
      if (types != "" && (index(types " ", " index ") == 0 || index(types " ", " deb ") == 0)) usable = 0
      if (usable && (best == "" || rank < best_rank)) { best = uri; best_rank = rank }
    }
    END { if (best == "") exit 1; sub(/\/+$/, "", best); print best }' "$1"
}

# Prints the mirror this machine's apt uses for the Debian archive's release
# suite (not -updates, not -security) with its main component, without a
# trailing slash: the first enabled entry, in apt's order, whose Release file
# is Debian's (Origin and Label "Debian") for the release's codename. A
# third-party repository for the same codename has another Origin and is
# passed over. For a mirror+file: entry it is the mirror its list names (see
# tms_vm_mirror_from_list). When apt holds no lists yet, "apt-get update"
# runs once first. Returns 1 with one line on standard error when there is
# no such mirror.
tms_vm_mirror() {
  local release indexes found site entry files list
  release=$(tms_vm_release)
  indexes=$(tms_vm_apt_indexes) || return 1
  if [ -z "$indexes" ]; then
    # Lists cleaned away (as in container images): apt knows no source's
    # Release file until it fetches them.
    timeout 600 apt-get update -q >/dev/null 2>&1 || true
    indexes=$(tms_vm_apt_indexes) || return 1
  fi
  found=$(awk -F '\t' -v release="$release" '
    $3 == "main" && $4 == "Debian" && $5 == "Debian" && $6 == release { print $1 "\t" $7; exit }' \
    <<<"$indexes")
  if [ -z "$found" ]; then
    files=$(tms_vm_apt_source_files | paste -sd ' ')
    if [ -z "$indexes" ]; then
      echo "vm: apt holds no package lists (apt-get update failed); sources read: ${files:-none}" >&2
    else
      echo "vm: no enabled Debian entry for $release with component main in ${files:-no apt sources}" >&2
    fi
    return 1
  fi
  site=${found%%$'\t'*}
  entry=${found#*$'\t'}
  case $site in
    mirror+file:*)
      list=${site#mirror+file:}
      case $list in //*) list=${list#//} ;; esac
      if [ ! -r "$list" ]; then
        echo "vm: cannot read the mirror list $list of the Debian entry at $entry" >&2
        return 1
      fi
      if ! tms_vm_mirror_from_list "$list" "$release"; then
        echo "vm: the mirror list $list (entry at $entry) names no full mirror of $release" >&2
        return 1
      fi
      ;;
    mirror:* | mirror+*)
      echo "vm: the Debian entry at $entry is a mirror list fetched over the network ($site); only mirror+file: lists are read" >&2
      return 1
      ;;
    *) echo "$site" ;;
  esac
}

# Prints the proxies to fetch from the mirror with, one NAME=VALUE a line
# (http_proxy, https_proxy), to hand to env as they are: no line is ever
# evaluated by a shell, so a proxy password may hold any character but a
# newline. The variables already set in the environment win; otherwise apt's
# Acquire::http::Proxy and Acquire::https::Proxy, which like apt falls back
# to the http one. "DIRECT" and "false" mean no proxy. Prints nothing when
# there is none.
# Usage: mapfile -t proxy_env < <(tms_vm_apt_proxy_env)
#        env "${proxy_env[@]}" debootstrap ...
tms_vm_apt_proxy_env() {
  local http='' https=''
  eval "$(apt-config shell http Acquire::http::Proxy https Acquire::https::Proxy 2>/dev/null)"
  [ -n "$https" ] || https=$http
  case $http in DIRECT | false) http= ;; esac
  case $https in DIRECT | false) https= ;; esac
  http=${http_proxy:-$http}
  https=${https_proxy:-$https}
  [ -z "$http" ] || printf 'http_proxy=%s\n' "$http"
  [ -z "$https" ] || printf 'https_proxy=%s\n' "$https"
  return 0
}
