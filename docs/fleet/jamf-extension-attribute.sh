#!/bin/sh
# Jamf Pro extension attribute: Pass, Warn or Fail for the checks that mean something when Jamf
# runs it (as root, outside any window session, so the screen check is left out). Data type:
# String. Input type: Script. A missing program says "Not installed", one that could not give a
# verdict "Error <status>": neither is Pass, Warn or Fail.
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"

if [ ! -x "$tarq_validate" ]; then
  echo "<result>Not installed</result>"
  exit 0
fi

"$tarq_validate" --skip screen >/dev/null 2>&1
status=$?
case "$status" in
  0) verdict=Pass ;;
  1) verdict=Warn ;;
  2) verdict=Fail ;;
  *) verdict="Error $status" ;;
esac
echo "<result>$verdict</result>"
