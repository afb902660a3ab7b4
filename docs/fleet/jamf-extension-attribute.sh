#!/bin/sh
# Jamf Pro extension attribute: reports Pass, Warn or Fail for this Mac.
# Data type: String. Input type: Script.
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"

if [ ! -x "$tarq_validate" ]; then
  echo "<result>Not installed</result>"
  exit 0
fi

"$tarq_validate" >/dev/null 2>&1
status=$?
case "$status" in
  0) verdict=Pass ;;
  1) verdict=Warn ;;
  2) verdict=Fail ;;
  *) verdict="Error $status" ;;
esac
echo "<result>$verdict</result>"
