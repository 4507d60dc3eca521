// What the Halvic HUD's GNOME Shell extension does, shared by its two builds (GNOME 43–44 with
// legacy imports, GNOME 45 and later as an ES module), which wrap it. GNOME Shell lets no other
// program list or move windows or drive the pointer, so this exports one small D-Bus interface
// on the Shell's own bus connection, for the HUD alone: every call from a process whose
// executable is not one the install named is refused, and every argument is checked.

const HUD_INTERFACE = `<node>
  <interface name="@HALVIC_GNOME_INTERFACE@">
    <method name="Version"><arg type="u" direction="out"/></method>
    <method name="List"><arg type="s" direction="out"/></method>
    <method name="MoveResize">
      <arg name="id" type="t" direction="in"/>
      <arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/>
      <arg name="width" type="i" direction="in"/><arg name="height" type="i" direction="in"/>
    </method>
    <method name="Maximize"><arg name="id" type="t" direction="in"/><arg name="on" type="b" direction="in"/></method>
    <method name="LeaveFullscreen"><arg name="id" type="t" direction="in"/></method>
    <method name="Activate"><arg name="id" type="t" direction="in"/></method>
    <method name="Close"><arg name="id" type="t" direction="in"/></method>
    <method name="PointerMotion"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="PointerButton">
      <arg name="button" type="u" direction="in"/><arg name="pressed" type="b" direction="in"/>
    </method>
    <method name="PlaceOwn">
      <arg name="xid" type="u" direction="in"/>
      <arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/>
      <arg name="width" type="i" direction="in"/><arg name="height" type="i" direction="in"/>
    </method>
  </interface>
</node>`;
const HUD_PATH = '@HALVIC_GNOME_PATH@';
// What the HUD checks before it relies on the calls above.
const HUD_VERSION = 1;

const DENIED = 'org.freedesktop.DBus.Error.AccessDenied';
const INVALID = 'org.freedesktop.DBus.Error.InvalidArgs';
const FAILED = 'org.freedesktop.DBus.Error.Failed';
// Frames beyond this (in logical pixels, either way) are no screen's.
const COORDINATE_LIMIT = 100000;
// A button sent together with a motion reached the window the pointer was over before it:
// the Shell finds the window under the pointer when it next draws. Buttons wait this long
// after a motion to a new place.
const BUTTON_SETTLE_MS = 120;
// How often, how many times, and at most how often again a new frame is checked and asked
// for once more.
const RESIZE_CHECK_MS = 250;
const RESIZE_CHECKS = 6;
const RESIZE_RETRIES = 2;
// Pointer events kept while a button waits.
const POINTER_QUEUE_LIMIT = 256;
// Own windows the HUD places at once; more would be a caller gone wrong.
const OWN_LIMIT = 64;

class HudError extends Error {
    constructor(name, message) {
        super(message);
        this.dbusName = name;
    }
}

function invalid(message) {
    return new HudError(INVALID, message);
}

function checkFrame(x, y, width, height) {
    const inRange = v => Number.isInteger(v) && Math.abs(v) <= COORDINATE_LIMIT;
    if (![x, y, width, height].every(inRange) || width < 1 || height < 1)
        throw invalid(`not a frame: ${x},${y} ${width}x${height}`);
    return {x, y, width, height};
}

var HalvicHud = class HalvicHud {
    // `gi`: the GObject libraries the wrapper imported; `metadata`: the extension's, whose
    // `halvic-callers` lists the executables let in.
    constructor(gi, shellGlobal, metadata) {
        this._gi = gi;
        this._global = shellGlobal;
        this._callers = (metadata['halvic-callers'] || []).filter(path => typeof path === 'string' && path !== '');
        this._verdicts = new Map(); // bus name → its pid once let in, false once refused, or the calls waiting
        this._own = new Map(); // X11 window id → where the HUD (its pid) wants it
        // Small ids of our own, in the order windows were first seen: the Shell's are 64 bits
        // from a random start.
        this._ids = new Map();
        this._wanted = new Map(); // the Shell's window id → the frame last asked for
        this._checks = new Set(); // the timeouts that check frames, removed when disabled
        this._nextId = 1;
        this._pointerQueue = [];
        this._pointerTimer = 0;
        this._lastMotion = null;
    }

    enable() {
        const {Clutter, Gio} = this._gi;
        this._bus = Gio.DBus.session;
        this._exported = Gio.DBusExportedObject.wrapJSObject(HUD_INTERFACE, this._methods());
        this._exported.export(this._bus, HUD_PATH);
        // A caller's bus name is never reused: its verdict goes when the name does.
        this._nameWatch = this._bus.signal_subscribe('org.freedesktop.DBus', 'org.freedesktop.DBus',
            'NameOwnerChanged', '/org/freedesktop/DBus', null, Gio.DBusSignalFlags.NONE,
            (connection, sender, path, iface, signal, params) => {
                const [name, , owner] = params.deepUnpack();
                if (owner === '')
                    this._verdicts.delete(name);
            });
        // Kept for as long as we are enabled: a device made and dropped per event delivers nothing.
        const seat = Clutter.get_default_backend().get_default_seat();
        this._pointer = seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
        this._windows().forEach(window => this._idOf(window));
        this._windowCreated = this._global.display.connect('window-created', (display, window) => {
            this._idOf(window);
            this._placeOwn(window);
        });
    }

    disable() {
        this._exported?.unexport();
        this._exported = null;
        if (this._nameWatch)
            this._bus.signal_unsubscribe(this._nameWatch);
        this._nameWatch = 0;
        if (this._windowCreated)
            this._global.display.disconnect(this._windowCreated);
        this._windowCreated = 0;
        if (this._pointerTimer)
            this._gi.GLib.source_remove(this._pointerTimer);
        this._pointerTimer = 0;
        this._pointerQueue = [];
        this._pointer = null;
        this._checks.forEach(source => this._gi.GLib.source_remove(source));
        this._checks.clear();
        // Calls still waiting for their caller's verdict are answered, not left to time out.
        for (const waiting of this._verdicts.values()) {
            if (Array.isArray(waiting))
                waiting.forEach(call => call.invocation.return_dbus_error(FAILED, 'the extension was turned off'));
        }
        this._verdicts.clear();
        this._own.clear();
        this._ids.clear();
        this._wanted.clear();
    }

    // The exported object: each method checks its caller, then runs with its arguments.
    _methods() {
        const operations = {
            Version: () => HUD_VERSION,
            List: () => JSON.stringify(this._list()),
            MoveResize: (id, x, y, width, height) => this._moveResize(this._window(id), checkFrame(x, y, width, height)),
            Maximize: (id, on) => {
                const {Meta} = this._gi;
                const window = this._window(id);
                if (on)
                    window.maximize(Meta.MaximizeFlags.BOTH);
                else
                    window.unmaximize(Meta.MaximizeFlags.BOTH);
            },
            LeaveFullscreen: id => this._window(id).unmake_fullscreen(),
            // Outside an input event the Shell's current time is 0, which Mutter will not ping
            // a closing window with; a round trip gives a real one.
            Activate: id => this._window(id).activate(this._global.display.get_current_time_roundtrip()),
            Close: id => this._window(id).delete(this._global.display.get_current_time_roundtrip()),
            PointerMotion: (x, y) => this._pointerEvent(this._motion(x, y)),
            PointerButton: (button, pressed) => this._pointerEvent(this._button(button, pressed)),
            PlaceOwn: (xid, x, y, width, height, caller) => {
                if (!Number.isInteger(xid) || xid <= 0)
                    throw invalid(`not an X11 window: ${xid}`);
                if (!this._own.has(xid) && this._own.size >= OWN_LIMIT)
                    this._own.delete(this._own.keys().next().value);
                this._own.set(xid, {frame: checkFrame(x, y, width, height), pid: caller});
                this._windows().forEach(window => this._placeOwn(window));
            },
        };
        const methods = {};
        for (const [name, operation] of Object.entries(operations)) {
            methods[`${name}Async`] = (params, invocation) => this._whenAllowed(invocation, pid => {
                this._answer(invocation, () => operation(...params, pid));
            });
        }
        return methods;
    }

    // Runs `run` and replies with what it returned (nothing, a number or a string), or with
    // the error it threw: nothing is thrown into the Shell.
    _answer(invocation, run) {
        const {GLib} = this._gi;
        try {
            const result = run();
            if (typeof result === 'string')
                invocation.return_value(new GLib.Variant('(s)', [result]));
            else if (typeof result === 'number')
                invocation.return_value(new GLib.Variant('(u)', [result]));
            else
                invocation.return_value(null);
        } catch (e) {
            invocation.return_dbus_error(e.dbusName || FAILED, String(e.message || e));
        }
    }

    // Calls `then(pid)` when the caller is a process the install named; refuses it otherwise.
    // The first call of a bus name asks the bus for its process; calls meanwhile wait in order.
    _whenAllowed(invocation, then) {
        const {Gio, GLib} = this._gi;
        const sender = invocation.get_sender();
        const verdict = this._verdicts.get(sender);
        if (typeof verdict === 'number')
            return then(verdict);
        if (verdict === false)
            return invocation.return_dbus_error(DENIED, 'only the Halvic HUD may call');
        if (Array.isArray(verdict)) {
            verdict.push({invocation, then});
            return undefined;
        }
        this._verdicts.set(sender, [{invocation, then}]);
        this._bus.call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
            'GetConnectionUnixProcessID', new GLib.Variant('(s)', [sender]), new GLib.VariantType('(u)'),
            Gio.DBusCallFlags.NONE, 2000, null, (connection, result) => {
                let pid = false;
                try {
                    const [found] = connection.call_finish(result).deepUnpack();
                    pid = this._isCaller(found) ? found : false;
                } catch (e) {
                    pid = false;
                }
                const waiting = this._verdicts.get(sender);
                // Gone meanwhile (disabled, or the caller left): nobody waits for the answer.
                if (!Array.isArray(waiting))
                    return;
                this._verdicts.set(sender, pid);
                for (const call of waiting) {
                    if (pid === false)
                        call.invocation.return_dbus_error(DENIED, 'only the Halvic HUD may call');
                    else
                        call.then(pid);
                }
            });
        return undefined;
    }

    _isCaller(pid) {
        const {GLib} = this._gi;
        try {
            const executable = GLib.file_read_link(`/proc/${pid}/exe`);
            return this._callers.includes(executable);
        } catch (e) {
            return false;
        }
    }

    _windows() {
        // Every managed window, our own tool windows (which the tab list leaves out) included,
        // once the Shell has shown it: it places a window as it shows it, over any move before.
        const windows = this._global.get_window_actors()
            .filter(actor => actor.visible || actor.meta_window?.minimized)
            .map(actor => actor.meta_window)
            .filter(window => window && !window.is_override_redirect());
        return this._global.display.sort_windows_by_stacking(windows);
    }

    _window(id) {
        if (!Number.isInteger(id) || id <= 0)
            throw invalid(`not a window id: ${id}`);
        const window = this._windows().find(w => this._idOf(w) === id);
        if (!window)
            throw invalid(`no window ${id}`);
        return window;
    }

    _idOf(window) {
        const key = window.get_id();
        if (!this._ids.has(key))
            this._ids.set(key, this._nextId++);
        return this._ids.get(key);
    }

    // Every window, back to front: what the HUD arranges and where it points.
    _list() {
        const {Meta, Shell} = this._gi;
        const tracker = Shell.WindowTracker.get_default();
        const windows = this._windows();
        // Ids of windows gone are not kept.
        const present = new Set(windows.map(window => window.get_id()));
        for (const key of [...this._ids.keys()].filter(key => !present.has(key)))
            this._ids.delete(key);
        return windows.map((window, stacking) => {
            const frame = window.get_frame_rect();
            // The Shell makes up an app for a window without a desktop entry: not an app id.
            const app = tracker.get_window_app(window);
            const appId = app && app.get_app_info() ? app.get_id().replace(/\.desktop$/, '') : '';
            return {
                id: this._idOf(window),
                pid: window.get_pid(),
                wm_class: window.get_wm_class() || '',
                wm_instance: window.get_wm_class_instance() || '',
                app_id: appId || window.get_sandboxed_app_id() || '',
                title: window.get_title() || '',
                x11: window.get_client_type() === Meta.WindowClientType.X11,
                monitor: window.get_monitor(),
                frame: {x: frame.x, y: frame.y, width: frame.width, height: frame.height},
                stacking,
                normal: window.get_window_type() === Meta.WindowType.NORMAL && !window.is_skip_taskbar(),
                minimized: window.minimized,
                maximized: window.get_maximized() === Meta.MaximizeFlags.BOTH,
                fullscreen: window.is_fullscreen(),
                above: window.is_above(),
                sticky: window.is_on_all_workspaces(),
            };
        });
    }

    // X11 window id of an XWayland window; 0 for a native one.
    _xid(window) {
        const {Meta} = this._gi;
        if (window.get_client_type() !== Meta.WindowClientType.X11)
            return 0;
        const id = Number.parseInt(window.get_description(), 16);
        return Number.isInteger(id) ? id : 0;
    }

    // Our own windows stay above the others, on every workspace, where the HUD put them.
    _placeOwn(window) {
        const wanted = this._own.get(this._xid(window));
        if (!wanted || window.get_pid() !== wanted.pid)
            return;
        if (!window.is_above())
            window.make_above();
        if (!window.is_on_all_workspaces())
            window.stick();
        const {x, y, width, height} = wanted.frame;
        window.move_resize_frame(false, x, y, width, height);
    }

    // A Wayland client that has just been shown may still settle its own size after it took
    // ours (Qt's adds its decorations, say): for a moment, a frame that no longer holds is
    // asked for again, unless another was asked for meanwhile.
    _moveResize(window, frame) {
        const {GLib} = this._gi;
        window.move_resize_frame(false, frame.x, frame.y, frame.width, frame.height);
        const key = window.get_id();
        this._wanted.set(key, frame);
        let checks = RESIZE_CHECKS;
        let retries = RESIZE_RETRIES;
        const source = GLib.timeout_add(GLib.PRIORITY_DEFAULT, RESIZE_CHECK_MS, () => {
            if (this._wanted.get(key) !== frame || !this._windows().includes(window)) {
                this._checks.delete(source);
                return GLib.SOURCE_REMOVE;
            }
            const now = window.get_frame_rect();
            if ((now.x !== frame.x || now.y !== frame.y || now.width !== frame.width || now.height !== frame.height) &&
                retries-- > 0)
                window.move_resize_frame(false, frame.x, frame.y, frame.width, frame.height);
            if (--checks > 0)
                return GLib.SOURCE_CONTINUE;
            this._wanted.delete(key);
            this._checks.delete(source);
            return GLib.SOURCE_REMOVE;
        });
        this._checks.add(source);
    }

    _motion(x, y) {
        const stage = this._global.stage;
        if (!Number.isInteger(x) || !Number.isInteger(y) || x < 0 || y < 0 || x >= stage.width || y >= stage.height)
            throw invalid(`not on the screen: ${x},${y}`);
        return {x, y};
    }

    _button(button, pressed) {
        if (!Number.isInteger(button) || button < 1 || button > 3)
            throw invalid(`not a button: ${button}`);
        return {button, pressed: pressed === true};
    }

    // Pointer events go out in the order they came; a button waits until the Shell has seen
    // the pointer at its latest place.
    _pointerEvent(event) {
        // A caller flooding us while a button waits: the oldest motion goes first.
        if (this._pointerQueue.length >= POINTER_QUEUE_LIMIT) {
            const motion = this._pointerQueue.findIndex(queued => queued.button === undefined);
            this._pointerQueue.splice(motion >= 0 ? motion : 0, 1);
        }
        this._pointerQueue.push(event);
        if (!this._pointerTimer)
            this._sendPointerEvents();
    }

    _sendPointerEvents() {
        const {Clutter, GLib} = this._gi;
        this._pointerTimer = 0;
        while (this._pointerQueue.length > 0 && this._pointer) {
            const event = this._pointerQueue[0];
            const now = GLib.get_monotonic_time();
            if (event.button !== undefined && this._lastMotion && this._lastMotion.moved) {
                const wait = BUTTON_SETTLE_MS - (now - this._lastMotion.at) / 1000;
                if (wait > 0) {
                    this._pointerTimer = GLib.timeout_add(GLib.PRIORITY_DEFAULT, Math.ceil(wait), () => {
                        this._sendPointerEvents();
                        return GLib.SOURCE_REMOVE;
                    });
                    return;
                }
                this._lastMotion.moved = false;
            }
            this._pointerQueue.shift();
            if (event.button !== undefined) {
                const state = event.pressed ? Clutter.ButtonState.PRESSED : Clutter.ButtonState.RELEASED;
                this._pointer.notify_button(now, event.button, state);
            } else {
                const last = this._lastMotion;
                if (!last || last.x !== event.x || last.y !== event.y)
                    this._lastMotion = {x: event.x, y: event.y, at: now, moved: true};
                this._pointer.notify_absolute_motion(now, event.x, event.y);
            }
        }
    }
};
