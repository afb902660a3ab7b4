#!/bin/sh
# Munki conditions script (in /usr/local/munki/conditions, run as root before each check for
# updates): publishes this Mac's verdict and the identifiers of the checks that failed, leaving
# out the screen check, which cannot pass outside a window session. Munki merges the keys into
# ConditionalItems.plist, where pkginfo's installable_condition can use them:
#   tarq_validation_verdict        "ready", "readyWithWarnings", "notReady", or "error" when
#                                  tarq-validate is missing or gave no verdict
#   tarq_validation_failed_checks  e.g. ("os", "disk"); empty unless the verdict is notReady
tarq_validate="${TARQ_VALIDATE:-/Applications/TarqSysValidation.app/Contents/MacOS/tarq-validate}"
plistbuddy="${PLISTBUDDY:-/usr/libexec/PlistBuddy}"
managedinstalldir="${MANAGED_INSTALLS_DIR:-/Library/Managed Installs}"
conditional_items="$managedinstalldir/ConditionalItems"

report=$(mktemp) || exit 1
trap 'rm -f "$report"' EXIT
status=127
if [ -x "$tarq_validate" ]; then
  "$tarq_validate" --skip screen --plist --output "$report" >/dev/null 2>&1
  status=$?
fi

verdict=error
failed=""
if [ "$status" -le 2 ]; then
  verdict=$("$plistbuddy" -c "Print :verdict" "$report")
  index=0
  while id=$("$plistbuddy" -c "Print :checks:$index:id" "$report" 2>/dev/null); do
    if [ "$("$plistbuddy" -c "Print :checks:$index:result" "$report")" = Fail ]; then
      failed="$failed $id"
    fi
    index=$((index + 1))
  done
else
  echo "tarq-validate gave no verdict (exit status $status)" >&2
fi

defaults write "$conditional_items" tarq_validation_verdict -string "$verdict"
# Unquoted on purpose: one array element per identifier.
# shellcheck disable=SC2086
defaults write "$conditional_items" tarq_validation_failed_checks -array $failed
