#!/usr/bin/env bash
# A developer's check, not part of CI: plants small faults one at a time in
# the C++ files of one folder of src/ (a comparison turned, && and || swapped,
# a negation dropped, a returned 0/1 or true/false flipped, a number off by
# one), rebuilds, runs the tests that can see that folder and lists the
# faults no test noticed (the survivors).
#
# Usage: scripts/dev/plant-faults.sh FOLDER [--preset P] [--tests REGEX] [--list] [--only N,M...]
#   FOLDER   e.g. src/daynum or src/platform/win32
#   --preset native (default) or win32 (default for src/platform/win32),
#            whose tests run under Wine, in the test VM where the kernel
#            runs no 32-bit programs (a boot per fault: minutes each)
#   --tests  a CTest -R pattern, to run only the tests that can see FOLDER
#   --list   only lists the faults it would plant, numbered
#   --only   plants only the faults with these numbers
# The work happens in a copy of the checkout's tracked files under
# build/faults/, never in the checkout itself; its report is
# build/faults/report.txt (one line per fault: number, outcome, place,
# change). Outcomes: caught (a test failed), survived, no-build (the fault
# did not compile: not a fault a test could see).
set -euo pipefail
checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

folder=${1:-}
[ -n "$folder" ] && [ -d "$checkout/$folder" ] || { sed -n '2,20p' "$0"; exit 2; }
shift
preset=native
case $folder in src/platform/win32*) preset=win32 ;; esac
tests='' list=0 only=''
while [ $# -gt 0 ]; do
  case $1 in
    --preset) preset=$2; shift 2 ;;
    --tests) tests=$2; shift 2 ;;
    --list) list=1; shift ;;
    --only) only=,$2,; shift 2 ;;
    *) echo "plant-faults: unknown option $1" >&2; exit 2 ;;
  esac
done

# Every fault as "FILE<TAB>LINE<TAB>PATTERN<TAB>REPLACEMENT<TAB>OCCURRENCE<TAB>CHANGE":
# the OCCURRENCE-th match of PATTERN (a Perl regular expression) on LINE,
# and what it becomes ("==-> != ", "60->61").
# Comment lines, preprocessor lines and the text inside string literals are
# left alone.
list_faults() {
  local file
  for file in $(cd "$checkout" && git ls-files "$folder" | grep -E '\.(cpp|h)$'); do
    perl -ne '
      BEGIN {
        @rules = (
          # An operator at the end of a line (the operand on the next) counts too.
          [q{ ==(?=\s)}, q{ !=}], [q{ !=(?=\s)}, q{ ==}],
          [q{ <(?=\s)}, q{ <=}], [q{ <=(?=\s)}, q{ <}], [q{ >(?=\s)}, q{ >=}], [q{ >=(?=\s)}, q{ >}],
          [q{ &&(?=\s)}, q{ ||}], [q{ \|\|(?=\s)}, q{ &&}],
          [q{\(!(?=[A-Za-z_(])}, q{(}],
          [q{return 0;}, q{return 1;}], [q{return 1;}, q{return 0;}],
          [q{return true;}, q{return false;}], [q{return false;}, q{return true;}],
          [q{(?<![\w.])(\d+)(?![\w.])}, q{NUMBER+1}],
        );
      }
      next if m{^\s*(//|/?\*|#)};
      (my $code = $_) =~ s{"(?:[^"\\]|\\.)*"}{" " x length($&)}ge;   # blank out strings
      $code =~ s{//.*}{};
      for my $rule (@rules) {
        my ($pattern, $replacement) = @$rule;
        my $n = 0;
        while ($code =~ m{$pattern}g) {
          $n++;
          my $after = $replacement eq "NUMBER+1" ? $1 + 1 : $replacement;
          my $start = $-[0];
          my $planted = substr($_, 0, $start) . $after . substr($_, $+[0]);
          # Two rules that make the same line (return 0 and the number 0)
          # are one fault.
          next if $seen{"$ARGV:$.:$planted"}++;
          print join("\t", $ARGV, $., $pattern, $replacement, $n, "$&->$after"), "\n";
        }
      }
      close ARGV if eof;' "$checkout/$file"
  done
}

# Plants fault FAULT (one line of list_faults) in the copy; prints what
# changed ("line: before -> after").
plant() {
  local file line pattern replacement occurrence
  IFS=$'\t' read -r file line pattern replacement occurrence _ <<<"$1"
  file=$work/src-copy/${file#"$checkout"/}
  PATTERN=$pattern REPLACEMENT=$replacement OCCURRENCE=$occurrence LINE=$line perl -i -pe '
    if ($. == $ENV{LINE}) {
      my $n = 0; my $before = $_;
      s{$ENV{PATTERN}}{
        ++$n == $ENV{OCCURRENCE}
          ? ($ENV{REPLACEMENT} eq "NUMBER+1" ? $1 + 1 : $ENV{REPLACEMENT})
          : $&
      }ge;
      chomp(my $b = $before); chomp(my $a = $_);
      $b =~ s/^\s+//; $a =~ s/^\s+//;
      print STDERR "$ENV{LINE}: $b -> $a\n";
    }' "$file"
}

mapfile -t faults < <(list_faults)
if [ "$list" = 1 ]; then
  for i in "${!faults[@]}"; do
    IFS=$'\t' read -r file line _ _ occurrence change <<<"${faults[$i]}"
    printf '%3d %s:%s %s (match %s on the line)\n' $((i + 1)) "${file#"$checkout"/}" "$line" "$change" "$occurrence"
  done
  exit 0
fi

work=$checkout/build/faults
mkdir -p "$work"
rm -rf "$work/src-copy"
mkdir "$work/src-copy"
(cd "$checkout" && git ls-files -z | xargs -0 cp --parents -t "$work/src-copy")
copy=$work/src-copy
build() { cmake --build --preset "$preset" -j"$(nproc)" >"$work/build.log" 2>&1; }
run_tests() {
  local ctest=(ctest --preset "$preset" -j2 --no-tests=error --stop-on-failure)
  [ -n "$tests" ] && ctest+=(-R "$tests")
  # Tests that only read the built files run on the machine itself.
  if [ "$preset" = win32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    bash scripts/vm/run.sh "${ctest[@]}" -LE build
  else
    "${ctest[@]}"
  fi
}
cd "$copy"
echo "plant-faults: ${#faults[@]} faults in $folder; building the copy in $copy ($preset)"
cmake --preset "$preset" >"$work/configure.log" 2>&1
build || { echo "plant-faults: the copy does not build unchanged; see $work/build.log"; exit 1; }
run_tests >"$work/baseline.log" 2>&1 || { echo "plant-faults: the tests fail without a fault; see $work/baseline.log"; exit 1; }

: >"$work/report.txt"
survivors=0
for i in "${!faults[@]}"; do
  number=$((i + 1))
  [ -z "$only" ] || [[ $only == *",$number,"* ]] || continue
  IFS=$'\t' read -r file _ <<<"${faults[$i]}"
  relative=${file#"$checkout"/}
  # The copy's own file is kept and put back, never the checkout's: edits
  # made in the checkout during a sweep must not reach the later faults.
  cp "$copy/$relative" "$copy/$relative.orig"
  change=$(plant "${faults[$i]}" 2>&1)
  if ! build; then
    outcome=no-build
  elif run_tests >"$work/fault-$number.log" 2>&1; then
    outcome=survived
    survivors=$((survivors + 1))
  else
    outcome=caught
  fi
  mv "$copy/$relative.orig" "$copy/$relative"
  touch "$copy/$relative"
  printf '%3d %-8s %s:%s\n' "$number" "$outcome" "$relative" "$change" | tee -a "$work/report.txt"
done
build || true
echo "plant-faults: $survivors survived; report in $work/report.txt"
