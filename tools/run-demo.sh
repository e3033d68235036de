#!/usr/bin/env bash
# Runs the program against the virtual sensor on COM1. Builds nothing.
#   run-demo.sh [BIN_DIR]   folder with corvel-scope and corvel-virtual-sensor
#                           (default: build/bin)
#   VSENSOR_ARGS            extra options for the sensor, e.g. "--gloss 100 --trace"
#                           (without --gloss it cycles matt, satin, glossy and the
#                           reference every 4 s, and holds the reference while
#                           the program calibrates)
# The sensor keeps its EEPROM and calibration in
# <config>/corvel-scope/virtual-sensor.eeprom between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN_DIR=${1:-build/bin}
SENSOR="$BIN_DIR/corvel-virtual-sensor"
PROGRAM="$BIN_DIR/corvel-scope"
for f in "$SENSOR" "$PROGRAM"; do
  if [ ! -x "$f" ]; then
    echo "run-demo.sh: $f not found; build it first" >&2
    exit 1
  fi
done

CONFIG="${XDG_CONFIG_HOME:-$HOME/.config}/corvel-scope"
LINK="$CONFIG/dosdevices/com1"
mkdir -p "$CONFIG"

# shellcheck disable=SC2086
"$SENSOR" --com 1 --eeprom "$CONFIG/virtual-sensor.eeprom" ${VSENSOR_ARGS:-} &
SENSOR_PID=$!
stop_sensor() {
  if kill -0 "$SENSOR_PID" 2>/dev/null; then
    kill -TERM "$SENSOR_PID" 2>/dev/null || true
    wait "$SENSOR_PID" 2>/dev/null || true
  fi
}
trap stop_sensor EXIT
trap 'exit 130' INT TERM

# The program opens COM1 at start: wait until the sensor has published it.
for _ in $(seq 100); do
  [ -e "$LINK" ] && break
  if ! kill -0 "$SENSOR_PID" 2>/dev/null; then
    echo "run-demo.sh: the virtual sensor did not start" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -e "$LINK" ]; then
  echo "run-demo.sh: $LINK did not appear" >&2
  exit 1
fi

status=0
"$PROGRAM" || status=$?
exit "$status"
