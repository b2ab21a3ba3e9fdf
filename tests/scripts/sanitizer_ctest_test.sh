#!/usr/bin/env bash
# Runs scripts/sanitizer-ctest on test lists written here, whose tests pass, fail once, or
# fail with LeakSanitizer's tracer crash once or every time, and checks that only the tracer's
# crash is run again, by name, and that every other failure fails the run.
set -euo pipefail

runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# One made-up test: passes; fails its first run only (flaky); fails its first run with the
# tracer's crash (crash-once); or fails every run with it (crash-always).
cat >"$work/behave.sh" <<'BEHAVE'
first=1
[ -e "$2" ] && first=0
touch "$2"
case $1 in
  pass) exit 0 ;;
  flaky) exit "$first" ;;
  crash-once) [ "$first" = 0 ] && exit 0 ;;
esac
echo "Tracer caught signal 11"
exit 1
BEHAVE

# A test list in its own folder: each argument is NAME=BEHAVIOUR.
test_list() {
  local dir=$work/$1 entry name
  shift
  mkdir -p "$dir"
  for entry in "$@"; do
    name=${entry%%=*}
    echo "add_test($name bash $work/behave.sh ${entry#*=} $dir/$name.ran)" >>"$dir/CTestTestfile.cmake"
  done
  echo "$dir"
}

# Runs the runner on a list and checks its exit status and the tests it said it retried.
check() {
  local case=$1 want_status=$2 want_retried=$3 dir status=0 retried
  shift 3
  dir=$(test_list "$case" "$@")
  "$runner" "$dir" >"$work/$case.out" 2>&1 || status=$?
  retried=$(sed -n "s/^Retrying after LeakSanitizer's tracer crash: //p" "$work/$case.out" | sort | paste -sd' ')
  if [ "$status" -ne 0 ]; then status=1; fi
  if [ "$status" != "$want_status" ] || [ "$retried" != "$want_retried" ]; then
    echo "FAIL: $case: exit status $status, retried '$retried';" \
         "expected exit status $want_status, retried '$want_retried'" >&2
    cat "$work/$case.out" >&2
    failures=$((failures + 1))
  fi
}

check all_pass          0 ''                       a.pass=pass b.pass=pass
check tracer_crash_once 0 'Suite.crash Suite.crash2' Suite.crash=crash-once a.pass=pass Suite.crash2=crash-once
check flaky_test        1 ''                       a.pass=pass a.flaky=flaky
check flaky_and_tracer  1 ''                       a.flaky=flaky Suite.crash=crash-once
check tracer_twice      1 'Suite.crash'            Suite.crash=crash-always a.pass=pass

[ "$failures" -eq 0 ] || exit 1
echo "The sanitizer stage retries only LeakSanitizer's tracer crash"
