#!/usr/bin/env bash
# Runs the GNOME 45+ build of the HUD's Shell extension on a real GNOME Shell 48 (Debian 13's),
# headless, in a Debian 13 root made with debootstrap: Debian 12 has only GNOME 43, which the
# test suite covers. Not part of the suite (it downloads a system); run it by hand as root when
# the extension changes. It lets gdbus call the extension in place of the HUD, and checks that
# the Shell loads the 45 build, and that a native GTK 4 window is listed,
# moved, maximised and restored, clicked twice and closed, and that another caller is refused
# (the argument checks are the same code the suite runs on GNOME 43).
#   usage: scripts/try-gnome-shell-48.sh [ROOT]   (default /var/tmp/halvic-trixie)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-/var/tmp/halvic-trixie}")

if [ ! -x "$root/usr/bin/gnome-shell" ]; then
  debootstrap --variant=minbase trixie "$root" http://deb.debian.org/debian
  cp /etc/resolv.conf "$root/etc/"
  chroot "$root" apt-get update -q
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    gnome-shell dbus libglib2.0-bin python3 python3-gi gir1.2-gtk-4.0
fi
for fs in proc sys dev; do mountpoint -q "$root/$fs" || mount --bind "/$fs" "$root/$fs"; done
# Whatever the session left running in the root goes before its mounts do.
cleanup() {
  local status=$? process
  for process in /proc/[0-9]*; do
    [ "$(readlink "$process/root" 2>/dev/null)" = "$root" ] && kill -KILL "${process#/proc/}" 2>/dev/null
  done
  sleep 1
  for fs in dev sys proc; do umount "$root/$fs" || umount -l "$root/$fs"; done
  exit $status
}
trap cleanup EXIT

rm -rf "$root/ext"
for build in 43 45; do
  if [ $build = 43 ]; then uuid=halvic-hud-43@halvic.org versions="43 44"; else uuid=halvic-hud@halvic.org versions="45 46 47 48"; fi
  cmake -DSOURCE_DIR="$source_dir/src/desktop/gnome/shell-extension" -DBUILD=$build -DOUT_DIR="$root/ext/$uuid" \
    -DUUID=$uuid -DVERSIONS="$versions" -DINTERFACE=org.halvic.HudShell -DOBJECT_PATH=/org/halvic/Hud \
    -DCALLER=/usr/bin/gdbus -P "$source_dir/cmake/HalvicGnomeExtension.cmake"
done

cat > "$root/ext/probe.py" <<'EOF'
# A native Wayland window that counts the presses it gets into /tmp/clicks.
import gi
gi.require_version('Gtk', '4.0')
from gi.repository import Gtk
presses = 0
def pressed(*_):
    global presses
    presses += 1
    open('/tmp/clicks', 'w').write(str(presses))
def activate(app):
    window = Gtk.ApplicationWindow(application=app, title='halvic-probe')
    window.set_default_size(400, 300)
    click = Gtk.GestureClick()
    click.connect('pressed', pressed)
    window.add_controller(click)
    window.present()
app = Gtk.Application(application_id='org.halvic.Probe')
app.connect('activate', activate)
app.run([])
EOF

cat > "$root/ext/session.sh" <<'EOF'
set -u
trap 'kill $(jobs -p) 2>/dev/null; wait' EXIT
hud="--session --dest org.gnome.Shell --object-path /org/halvic/Hud --method org.halvic.HudShell"
shell="--session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Extensions"
failures=0
expect() { if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: got '$2', wanted '$3'"; failures=$((failures + 1)); fi; }
probe() { gdbus call $hud.List | sed "s/^('//; s/',)$//" | python3 -c "import json, sys
w = [w for w in json.load(sys.stdin) if w['title'] == 'halvic-probe']
print(w[0]['$1'] if w else 'gone')"; }

dbus-daemon --session --nofork --nopidfile --address=unix:path=$XDG_RUNTIME_DIR/system_bus &
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/system_bus
gnome-shell --headless --wayland --no-x11 --virtual-monitor 1920x1080 --wayland-display halvic-48 \
  --mode=halvic-test > /tmp/shell.log 2>&1 &
for _ in $(seq 60); do gdbus call $hud.Version > /dev/null 2>&1 && break; sleep 1; done
expect "the 45 build is enabled" "$(gdbus call $shell.GetExtensionInfo halvic-hud@halvic.org | grep -o "'state': <[0-9.]*>")" "'state': <1.0>"

WAYLAND_DISPLAY=halvic-48 GDK_BACKEND=wayland python3 /ext/probe.py > /tmp/probe.log 2>&1 &
for _ in $(seq 20); do [ "$(probe id)" != gone ] && break; sleep 0.5; done
id=$(probe id)
gdbus call $hud.MoveResize "$id" 100 120 640 480 > /dev/null; sleep 2
expect "moved" "$(probe frame)" "{'x': 100, 'y': 120, 'width': 640, 'height': 480}"
gdbus call $hud.Maximize "$id" true > /dev/null; sleep 1.5
expect "maximised" "$(probe maximized)" True
gdbus call $hud.Maximize "$id" false > /dev/null; sleep 1.5
expect "restored" "$(probe frame)" "{'x': 100, 'y': 120, 'width': 640, 'height': 480}"
for x in 400 410; do
  gdbus call $hud.PointerMotion $x 400 > /dev/null
  gdbus call $hud.PointerButton 1 true > /dev/null
  gdbus call $hud.PointerButton 1 false > /dev/null
done
sleep 1
expect "clicked twice" "$(cat /tmp/clicks 2>/dev/null)" 2
expect "another caller is refused" \
  "$(dbus-send --session --print-reply --dest=org.gnome.Shell /org/halvic/Hud org.halvic.HudShell.Version 2>&1 | grep -o 'Error\.[A-Za-z]*')" \
  Error.AccessDenied
gdbus call $hud.Close "$id" > /dev/null; sleep 2
expect "closed" "$(probe id)" gone
errors=$(grep -c 'JS ERROR\|halvic-hud' /tmp/shell.log)
expect "nothing of ours in the Shell's log" "$errors" 0
[ "$errors" = 0 ] || grep -A5 'JS ERROR\|halvic-hud' /tmp/shell.log
exit $failures
EOF

session=$root/halvic-session
rm -rf "$session" && mkdir -p "$session/runtime" "$session/config/glib-2.0/settings" "$session/data/gnome-shell/modes"
chmod 700 "$session/runtime"
cp -r "$root/ext" "$session/data/gnome-shell/extensions"
echo '{"parentMode": "user", "hasOverview": false}' > "$session/data/gnome-shell/modes/halvic-test.json"
printf "[org/gnome/shell]\nenabled-extensions=['halvic-hud@halvic.org', 'halvic-hud-43@halvic.org']\n" \
  > "$session/config/glib-2.0/settings/keyfile"
rm -f "$root/tmp/clicks"
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root XDG_RUNTIME_DIR=/halvic-session/runtime \
  XDG_CONFIG_HOME=/halvic-session/config XDG_DATA_DIRS=/halvic-session/data:/usr/share GSETTINGS_BACKEND=keyfile \
  dbus-run-session -- bash /ext/session.sh
