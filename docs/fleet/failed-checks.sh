#!/bin/sh
# Prints one line for each check that did not pass, as "<result>: <check>: <detected>", from the
# JSON report. Needs jq (part of macOS 15 and later; elsewhere from a package manager).
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"

"$tarq_validate" --json |
  jq -r '.rows[] | select(.result != "Pass") | "\(.result): \(.testName): \(.detected)"'
