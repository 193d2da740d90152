# What every case of a script's test starts with, sourced with the test's
# own arguments (SCRIPT CASE): the script under test, the case's name, a
# folder of its own removed when the case ends, and fail, which says what
# went wrong beside what the script printed ($tmp/out).
script=$1
case_name=$2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tessaroc-script-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  echo "--- output:" >&2
  cat "$tmp/out" >&2 2>/dev/null || true
  exit 1
}
