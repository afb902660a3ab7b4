#!/bin/sh
# A summary of many JSON reports (one file each, e.g. collected by a management tool) with jq:
# how many Macs failed each check, most first, then the host names of the Macs not ready.
reports=${1:?usage: summary-jq.sh FOLDER-OF-REPORTS}

echo "Failing checks:"
find "$reports" -name '*.json' -exec cat {} + |
  jq -rs '[.[].checks[] | select(.result == "Fail") | .id]
          | group_by(.) | map([length, .[0]]) | sort_by(-.[0], .[1]) | .[] | @tsv'
echo "Not ready:"
find "$reports" -name '*.json' -exec cat {} + |
  jq -r 'select(.verdict == "notReady") | .machine.hostName' | sort
