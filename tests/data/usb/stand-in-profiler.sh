# A stand-in system profiler: it answers "-xml SPUSBDataType" with usb.xml and the exit status in
# usb.status beside it, "-xml SPUSBHostDataType" likewise from host.xml and host.status, and
# refuses every other question. Where the status is "waits" it notes <type>.started and waits.
cd "$(dirname "$0")" || exit 70
case "$*" in
  "-xml SPUSBDataType") type=usb ;;
  "-xml SPUSBHostDataType") type=host ;;
  *) exit 64 ;;
esac
[ "$(cat "$type.status")" = waits ] && touch "$type.started" && exec sleep 120
cat "$type.xml"
exit "$(cat "$type.status")"
