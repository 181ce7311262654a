#!/usr/bin/env bash
# Checks how cmake/wine-run.sh makes its Wine prefix, with a stand-in for wine
# and wineserver earlier in PATH: a step that fails or hangs is named, ends
# the run non-zero and leaves no ready mark; a set-up cut short is made
# afresh; a ready prefix is reused; a folder made elsewhere is left alone.
# Usage: prefix_test.sh path/to/wine-run.sh
set -uo pipefail
runner=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/tms-prefix-test.XXXXXX")
trap 'rm -rf --one-file-system "$work"' EXIT

# Each step does what STUB_<STEP> says: ok, fail or hang; wineboot "partial"
# writes no user.reg. Any other program "runs" by printing its command line.
mkdir "$work/bin"
cat >"$work/bin/wine" <<'EOF'
#!/usr/bin/env bash
step=${1#-}
[ "$(basename "$0")" = wineserver ] && step=server$step
case $step in wineboot) act=$STUB_BOOT ;; reg) act=$STUB_REG ;; serverw) act=$STUB_SERVER ;;
  serverk) exit 0 ;; *) echo "ran: $*"; exit 0 ;; esac
case $act in fail) echo "stand-in: $step failed" >&2; exit 3 ;; hang) exec sleep 30 ;; esac
if [ "$step" = wineboot ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/system32"
  touch "$WINEPREFIX/system.reg" "$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
  [ "$act" = partial ] || touch "$WINEPREFIX/user.reg"
fi
EOF
chmod +x "$work/bin/wine"
ln -s wine "$work/bin/wineserver"

# Columns: case | the folder beforehand (none; ours: a set-up cut short;
# ready; foreign: made elsewhere) | wineboot | reg add | wineserver -w |
# exit status | text the output must hold | ready mark afterwards
cases=(
  "all steps succeed|none|ok|ok|ok|0|ran: probe.exe|yes"
  "wineboot fails|none|fail|ok|ok|1|wineboot -i failed|no"
  "wineboot hangs|none|hang|ok|ok|1|wineboot -i timed out|no"
  "reg add fails|none|ok|fail|ok|1|(reg add) failed|no"
  "wineserver -w hangs|none|ok|ok|hang|1|(wineserver -w) timed out|no"
  "prefix without user.reg|none|partial|ok|ok|1|has no user.reg|no"
  "cut-short set-up is redone|ours|ok|ok|ok|0|ran: probe.exe|yes"
  "ready prefix is reused|ready|fail|fail|fail|0|ran: probe.exe|yes"
  "foreign folder is kept|foreign|ok|ok|ok|1|was not made here|no"
)
failures=0
index=0
for row in "${cases[@]}"; do
  IFS='|' read -r name before boot reg server want_status want_text want_ready <<<"$row"
  index=$((index + 1))
  prefix=$work/prefix-$index
  case $before in
    ours) mkdir "$prefix" && touch "$prefix/.tms-prefix" "$prefix/left-over" ;;
    ready) mkdir "$prefix" && touch "$prefix/.tms-ready" "$prefix/left-over" ;;
    foreign) mkdir "$prefix" && touch "$prefix/left-over" ;;
  esac
  output=$(PATH="$work/bin:$PATH" TMS_WINE_ARCH=win32 TMS_WINEPREFIX="$prefix" TMS_WINE_SETUP_TIMEOUT=2 \
    STUB_BOOT=$boot STUB_REG=$reg STUB_SERVER=$server "$runner" probe.exe 2>&1)
  status=$?
  ready=no
  [ -f "$prefix/.tms-ready" ] && ready=yes
  left_over=gone
  [ -e "$prefix/left-over" ] && left_over=kept
  want_left_over=$([ "$before" = ready ] || [ "$before" = foreign ] && echo kept || echo gone)
  if [ "$status" != "$want_status" ] || [[ $output != *"$want_text"* ]] ||
     [ "$ready" != "$want_ready" ] || [ "$left_over" != "$want_left_over" ]; then
    echo "FAIL [$name]: status $status (want $want_status), ready $ready (want $want_ready)," \
         "old files $left_over (want $want_left_over), output (want \"$want_text\"):"
    echo "$output"
    failures=$((failures + 1))
  fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases passed"
[ "$failures" -eq 0 ]
