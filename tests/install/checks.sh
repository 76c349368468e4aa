# Shared by the install checks: a scratch folder that goes when the check
# ends, and a count of what failed, every failure said as it is found.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Ends the check: status 1 when anything failed.
report() {
  if [ $failures -gt 0 ]; then
    echo "$failures problems in $1"
    exit 1
  fi
  echo "$2"
}
