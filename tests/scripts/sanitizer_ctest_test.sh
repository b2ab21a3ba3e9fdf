#!/usr/bin/env bash
# Runs scripts/sanitizer-ctest on test lists written here, whose tests pass, fail once, fail
# with LeakSanitizer's tracer crash once or every time, or report a leak once, inside Qt alone
# or with a frame of the project's code, and checks that only the tracer's crash and the leak
# inside Qt are run again, by name, and that every other failure fails the run.
set -euo pipefail

runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# One made-up test: passes; fails its first run only (flaky); fails its first run with the
# tracer's crash (crash-once); fails every run with it (crash-always); or fails its first run
# with a leak allocated inside Qt (qt-leak-once) or in the project's code (our-leak-once).
cat >"$work/behave.sh" <<'BEHAVE'
first=1
[ -e "$2" ] && first=0
touch "$2"
case $1 in
  pass) exit 0 ;;
  flaky) exit "$first" ;;
  crash-once) [ "$first" = 0 ] && exit 0 ;;
  *-leak-once)
    [ "$first" = 0 ] && exit 0
    echo "==1==ERROR: LeakSanitizer: detected memory leaks"
    echo "    #0 0x7f2c38cb94c8 in operator new(unsigned long) ../../../../src/libsanitizer/asan/asan_new_delete.cpp:95"
    echo "    #1 0x7f2c375f3481  (/lib/x86_64-linux-gnu/libQt6Core.so.6+0x1f3481)"
    [ "$1" = our-leak-once ] && echo "    #2 0x55e4d128e78f in zel::DdeModel::load() ../../dde/dde_model.cpp:40"
    exit 1 ;;
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
  retried=$(sed -n "s/^Retrying after LeakSanitizer's tracer crash or a leak in Qt: //p" \
    "$work/$case.out" | sort | paste -sd' ')
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
check leak_in_qt        0 'Suite.leak'             Suite.leak=qt-leak-once a.pass=pass
check leak_in_ours      1 ''                       Suite.leak=our-leak-once a.pass=pass

[ "$failures" -eq 0 ] || exit 1
echo "The sanitizer stage retries only LeakSanitizer's tracer crash and a leak inside Qt"
