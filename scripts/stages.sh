# Sourced by the scripts that run in stages: each stage reports its time when
# the next one begins, and `stage ""` ends the last one.
# Usage: stage "what comes next"; ...; stage ""
current_stage=""
stage_start=$SECONDS
stage() {
  [ -z "$current_stage" ] || echo "== $current_stage: $((SECONDS - stage_start)) s"
  current_stage=$1
  stage_start=$SECONDS
  [ -z "$1" ] || echo "== $1"
}

# Runs a GoogleTest program (under Wine, say) into a log and decides by what
# it printed, not by its exit status alone: Wine can end with 0 although the
# program never ran, or crashed before its last test.
# Usage: run_gtest_logged <log> <command>...
run_gtest_logged() {
  local log=$1 status=0
  shift
  "$@" </dev/null >"$log" 2>&1 || status=$?
  cat "$log"
  if [ $status -ne 0 ] || ! grep -qE '^\[  PASSED  \] [0-9]+ tests?\.' "$log" || grep -qE '^\[  FAILED  \]' "$log"; then
    echo "$(basename "$log" .log): failed (exit status $status; a passing run ends with '[  PASSED  ] N tests.')" >&2
    return 1
  fi
}
