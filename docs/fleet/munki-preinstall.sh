#!/bin/sh
# Munki preinstall_script, for sites without conditions scripts: stops the client
# application's install when a requirement fails. Munki runs it as root, outside any window
# session, so the screen check is left out. A check that only warns lets the install go on.
# Munki logs what this prints.
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"

if [ ! -x "$tarq_validate" ]; then
  echo "TarqSysValidation is not installed; cannot check the requirements." >&2
  exit 1
fi

"$tarq_validate" --skip screen
status=$?
case "$status" in
  0 | 1) exit 0 ;;
  2) echo "This Mac does not meet the client application's requirements." >&2 ;;
  *) echo "tarq-validate could not run (exit status $status)." >&2 ;;
esac
exit 1
