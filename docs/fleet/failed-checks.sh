#!/bin/sh
# Prints one line for each check that did not pass, as "<result>: <check>: <detected>", from the
# JSON report; arguments go to tarq-validate (e.g. --skip screen). Needs jq (part of macOS 15
# and later; elsewhere from a package manager). Fails, saying why on standard error, when
# tarq-validate is missing, crashes or cannot write its report.
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"

if [ ! -x "$tarq_validate" ]; then
  echo "failed-checks: $tarq_validate is missing" >&2
  exit 127
fi
report=$("$tarq_validate" --json "$@")
status=$?
if [ "$status" -gt 2 ]; then
  echo "failed-checks: tarq-validate gave no report (exit status $status)" >&2
  exit "$status"
fi
printf '%s\n' "$report" |
  jq -r '.rows[] | select(.result != "Pass") | "\(.result): \(.testName): \(.detected)"'
