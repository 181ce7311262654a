# Sourced by the set-up and demo scripts. A step prints one line on screen,
# what it does and how long it took; its tools' full output goes to one log
# file, whose last lines and path are printed when the step fails.
# TMS_LOG names the log file; build/logs/NAME.log by default, with NAME the
# script that sources this one.

tms_checkout_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${TMS_LOG:-}" ]; then
  TMS_LOG=$tms_checkout_dir/build/logs/$(basename "$0" .sh).log
  mkdir -p "$(dirname "$TMS_LOG")"
  : >"$TMS_LOG"
fi
export TMS_LOG

tms_elapsed() {
  local seconds=$((SECONDS - $1))
  if [ "$seconds" -ge 60 ]; then
    printf '%dm%02ds' $((seconds / 60)) $((seconds % 60))
  else
    printf '%ds' "$seconds"
  fi
}

# Usage: tms_step "what the step does" COMMAND [ARGUMENTS...]
tms_step() {
  local what=$1 started=$SECONDS status=0
  shift
  printf '%s ... ' "$what"
  printf '\n==== %s\n$ %s\n' "$what" "$*" >>"$TMS_LOG"
  "$@" >>"$TMS_LOG" 2>&1 </dev/null || status=$?
  if [ "$status" -eq 0 ]; then
    printf 'done (%s)\n' "$(tms_elapsed "$started")"
    return 0
  fi
  printf 'FAILED (exit %d after %s); its last lines:\n' "$status" "$(tms_elapsed "$started")"
  tail -n 25 "$TMS_LOG" | sed 's/^/    /'
  printf 'The whole output is in %s\n' "$TMS_LOG"
  return "$status"
}
