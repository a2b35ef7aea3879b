# Sourced by the scripts that print: a CUPS scheduler with the PDF queue
# "PDF" (cups-pdf writes each job to ${HOME}/PDF of its owner, /root/PDF for
# root). Wine reads the queues when its spooler loads, so the scheduler must
# run before the first Wine process of a run starts.
#   kv_cups_setup   once, as root (tools/setup.sh): creates the queue
#   kv_cups_start   per run: starts cupsd as our child unless one runs
#   kv_cups_stop    per run: stops it only when kv_cups_start started it
kv_cups_pid=""

kv_cups_running() {
  lpstat -r 2>/dev/null | grep -q "is running" && ! lpstat -r 2>/dev/null | grep -q "not running"
}

# Starts cupsd in the foreground as a child (a daemonised one is left a
# zombie in a container whose first process reaps nothing) and waits for it.
kv_cups_start() {
  command -v cupsd >/dev/null || { echo "cups: cupsd is not installed (run tools/setup.sh)" >&2; return 1; }
  if kv_cups_running; then return 0; fi
  /usr/sbin/cupsd -f </dev/null >/dev/null 2>&1 &
  kv_cups_pid=$!
  local i
  for i in $(seq 1 50); do
    kv_cups_running && return 0
    sleep 0.1
  done
  echo "cups: the scheduler did not start" >&2
  return 1
}

kv_cups_stop() {
  if [ -n "$kv_cups_pid" ]; then
    kill -TERM "$kv_cups_pid" 2>/dev/null || true
    wait "$kv_cups_pid" 2>/dev/null || true
    kv_cups_pid=""
  fi
}

kv_cups_setup() {
  # lpstat needs a running scheduler; the queue's definition does not.
  grep -qs "^<\(Default\)\?Printer PDF>" /etc/cups/printers.conf && return 0
  kv_cups_start || return 1
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  [ -f "$ppd" ] || ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
  lpadmin -p PDF -v cups-pdf:/ -E -m "$ppd" 2>/dev/null || lpadmin -p PDF -v cups-pdf:/ -E -P "$ppd"
  lpadmin -d PDF
  kv_cups_stop   # SIGTERM makes cupsd write printers.conf
  echo "cups: PDF queue created"
}
