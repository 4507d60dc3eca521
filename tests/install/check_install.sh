#!/bin/bash
# What `cmake --install` and `cpack -G DEB` make of a build: the install tree (and that the
# installed HUD runs from it), its desktop entry and AppStream metadata as Debian's tools see
# them, and the package's contents and control fields.
# Usage: check_install.sh <source dir> <build dir>
set -euo pipefail
build=$2
work=$(mktemp -d)
hud_pid=
xvfb_pid=
cleanup() {
    [ -n "$hud_pid" ] && kill -KILL "$hud_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

sizes=(16 24 32 48 64 128 256)
expected=(
    bin/halvic-hud
    lib/halvic/qml/Halvic/EmailWeb/qmldir
    lib/halvic/qml/Halvic/EmailWeb/halvic_emailweb.qmltypes
    lib/halvic/qml/Halvic/EmailWeb/libhalvic_emailweb.so
    share/applications/halvic-hud.desktop
    share/metainfo/org.halvic.Hud.metainfo.xml
    share/icons/hicolor/scalable/apps/halvic-hud.svg
)
gnome_uuids=(halvic-hud-43@halvic.org halvic-hud@halvic.org)
for uuid in "${gnome_uuids[@]}"; do
    expected+=("share/gnome-shell/extensions/$uuid/extension.js" "share/gnome-shell/extensions/$uuid/metadata.json")
done
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/halvic-hud.png"); done
expected_list=$(printf '%s\n' "${expected[@]}" | sort)

echo "== install tree"
cmake --install "$build" --prefix "$work/usr" >/dev/null
installed=$(cd "$work/usr" && find . -type f | sed 's|^\./||' | sort)
if [ "$installed" != "$expected_list" ]; then
    diff <(echo "$expected_list") <(echo "$installed") >&2 || true
    fail "the install tree holds other files than expected"
fi
[ -x "$work/usr/bin/halvic-hud" ] || fail "the HUD is not executable"
for size in "${sizes[@]}"; do
    [ "$(identify -format '%m %wx%h' "$work/usr/share/icons/hicolor/${size}x${size}/apps/halvic-hud.png")" = "PNG ${size}x${size}" ] \
        || fail "the ${size}x${size} icon is not a $size-pixel PNG"
done
grep -q '^plugin halvic_emailweb\|^optional plugin halvic_emailweb' "$work/usr/lib/halvic/qml/Halvic/EmailWeb/qmldir" \
    || fail "the email web module's qmldir names no plugin"

echo "== the installed HUD runs and starts the engine it is pointed at"
engine="$work/engine"
mkdir -p "$engine/.venv/bin" "$work/home"
ln -s /usr/bin/python3 "$engine/.venv/bin/python"
cat > "$engine/main.py" <<'PY'
import json, os, sys, time
with open("started", "w") as f:
    f.write(os.getcwd())
print('@@EVT {"type":"ready"}', flush=True)
# An HTML body: the email card's own process loads the web plugin for it.
message = {"msg_id": "m1", "from_name": "Ann", "body_html": "<p>Lunch?</p>", "body_text": "Lunch?"}
print("@@EVT " + json.dumps({"type": "email_thread", "thread_id": "t1", "subject": "Lunch", "messages": [message]}),
      flush=True)
time.sleep(60)
PY
[ "$(QT_QPA_PLATFORM=offscreen "$work/usr/bin/halvic-hud" --version)" = "Halvic 0.1" ] || fail "--version"
# On an X server of its own: the web engine does not run on the offscreen platform.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n1 "$work/display")"
[ "$display" != ":" ] || fail "Xvfb did not start"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb DISPLAY="$display" TARVEL_VOICE_DIR=/nonexistent \
    "$work/usr/bin/halvic-hud" --engine "$engine" &
hud_pid=$!
for _ in $(seq 100); do [ -f "$engine/started" ] && break; sleep 0.1; done
[ -f "$engine/started" ] || fail "the installed HUD did not start its engine"
[ "$(cat "$engine/started")" = "$engine" ] || fail "the engine runs in $(cat "$engine/started"), not $engine"
plugin="$work/usr/lib/halvic/qml/Halvic/EmailWeb/libhalvic_emailweb.so"
card_loaded() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(cut -d' ' -f4 "$proc/stat" 2>/dev/null)" = "$hud_pid" ] || continue
        tr '\0' ' ' <"$proc/cmdline" | grep -q -- '--email-card' && grep -qF "$plugin" "$proc/maps" && return 0
    done
    return 1
}
for _ in $(seq 200); do card_loaded && break; sleep 0.1; done
card_loaded || fail "the installed HUD's email card did not load its web plugin from $plugin"
kill -TERM "$hud_pid"
wait "$hud_pid" || fail "the installed HUD did not quit cleanly on SIGTERM"
hud_pid=
kill -TERM "$xvfb_pid"
xvfb_pid=

echo "== metadata"
desktop-file-validate "$work/usr/share/applications/halvic-hud.desktop"
grep -q '^Categories=.*Utility;' "$work/usr/share/applications/halvic-hud.desktop" || fail "not in Utility"
# KWin hands its fake input (the gestures' pointer) to the binary the entry names by its real path.
exec_line() { grep -x "Exec=$1" "$2" >/dev/null && grep -qx 'X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input' "$2"; }
exec_line "$work/usr/bin/halvic-hud" "$work/usr/share/applications/halvic-hud.desktop" || fail "the entry does not grant $work/usr/bin/halvic-hud fake input"
appstreamcli validate --no-net "$work/usr/share/metainfo/org.halvic.Hud.metainfo.xml"
# The GNOME Shell extension lets in the binary where the install put it; each build runs on
# Shell versions of its own, Debian 12's among them.
gnome_extension() {
    python3 - "$1/share/gnome-shell/extensions" "$2" "${gnome_uuids[@]}" <<'PY'
import json, sys
folder, caller, uuids = sys.argv[1], sys.argv[2], sys.argv[3:]
versions = []
for uuid in uuids:
    metadata = json.load(open(f"{folder}/{uuid}/metadata.json"))
    assert metadata["uuid"] == uuid and metadata["halvic-callers"] == [caller], metadata
    versions += metadata["shell-version"]
assert len(versions) == len(set(versions)) and "43" in versions, versions
PY
}
gnome_extension "$work/usr" "$work/usr/bin/halvic-hud" || fail "the GNOME Shell extension does not let in $work/usr/bin/halvic-hud"

echo "== package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null
deb=$(ls "$work"/pkg/halvic-hud_*_amd64.deb)
info=$(dpkg-deb --info "$deb")
echo "$info"
field() { echo "$info" | sed -n "s/^ $1: //p"; }
[ "$(field Package)" = halvic-hud ] || fail "package name"
[ "$(field Section)" = utils ] || fail "section"
depends=$(field Depends)
# Derived from the binary and the plugin by dpkg-shlibdeps, and the QML modules and fonts
# listed by hand.
for needed in libqt6core6 libqt6quick6 libqt6webenginequick6 libxcb-ewmh2 qml6-module-qtquick-controls \
    qml6-module-qtquick-shapes qml6-module-qtwebengine fonts-material-design-icons-iconfont; do
    echo "$depends" | grep -Eq "(^|, )$needed( |,|$)" || fail "Depends lacks $needed"
done
packaged=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)
if [ "$packaged" != "$expected_list" ]; then
    diff <(echo "$expected_list") <(echo "$packaged") >&2 || true
    fail "the package holds other files than the install tree"
fi
dpkg-deb -x "$deb" "$work/unpacked"
exec_line /usr/bin/halvic-hud "$work/unpacked/usr/share/applications/halvic-hud.desktop" || fail "the package's entry does not grant /usr/bin/halvic-hud fake input"
gnome_extension "$work/unpacked/usr" /usr/bin/halvic-hud || fail "the package's GNOME Shell extension does not let in /usr/bin/halvic-hud"
echo "PASS"
