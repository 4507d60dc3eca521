// Loaded into KWin by the Halvic HUD, once per session: KWin lets no other program list or
// move windows. It asks the HUD for work over D-Bus (the reply to "Next" is the next command,
// held back until there is one) and answers each command with "Done". The HUD fills in its own
// bus name below. Runs on KWin 5.27 and 6: where the two differ, both names are tried.
"use strict";

const service = @SERVICE@;
const path = "/org/halvic/KWin";
const iface = "org.halvic.KWinScript";

function allWindows() {
    return workspace.windowList ? workspace.windowList() : workspace.clientList();
}

// Window ids of our own, in the order windows were first seen: KWin's are UUIDs.
const ids = new Map();
let nextId = 1;
function idOf(window) {
    const key = String(window.internalId);
    if (!ids.has(key))
        ids.set(key, nextId++);
    return ids.get(key);
}
function windowById(id) {
    return allWindows().find(w => idOf(w) === id);
}

function rect(r) {
    return { x: Math.round(r.x), y: Math.round(r.y), width: Math.round(r.width), height: Math.round(r.height) };
}

function isMaximized(window) {
    try {
        const area = rect(workspace.clientArea(KWin.MaximizeArea, window));
        const frame = rect(window.frameGeometry);
        return frame.x === area.x && frame.y === area.y && frame.width === area.width && frame.height === area.height;
    } catch (e) {
        return false;
    }
}

function describe(window) {
    const answer = {
        id: idOf(window), pid: window.pid, resourceClass: String(window.resourceClass),
        resourceName: String(window.resourceName), desktopFileName: window.desktopFileName,
        caption: window.caption, frame: rect(window.frameGeometry), stacking: window.stackingOrder,
        normal: window.normalWindow, minimized: window.minimized, fullScreen: window.fullScreen,
        maximized: isMaximized(window), windowId: window.windowId || 0
    };
    // Plasma 6 names the output; 5.27 numbers the screen.
    if (window.output && window.output.name !== undefined)
        answer.output = window.output.name;
    else
        answer.screen = window.screen;
    return answer;
}

// Where our own windows go, by X11 window id: applied again when KWin takes one on.
const own = new Map();
function placeOwn(window) {
    const wanted = own.get(window.windowId || 0);
    if (!wanted)
        return;
    window.keepAbove = true;
    window.onAllDesktops = true;
    window.frameGeometry = wanted;
}
(workspace.windowAdded || workspace.clientAdded).connect(window => {
    idOf(window);
    placeOwn(window);
});

function target(command) {
    const window = windowById(command.id);
    if (!window)
        throw new Error("no window " + command.id);
    return window;
}

function frameOf(command) {
    for (const key of ["x", "y", "width", "height"])
        if (!Number.isInteger(command[key]))
            throw new Error("bad frame");
    return { x: command.x, y: command.y, width: command.width, height: command.height };
}

const operations = {
    list: () => allWindows().map(describe),
    frame: command => { target(command).frameGeometry = frameOf(command); return true; },
    maximize: command => { target(command).setMaximize(command.on === true, command.on === true); return true; },
    fullscreen: command => { target(command).fullScreen = command.on === true; return true; },
    close: command => { target(command).closeWindow(); return true; },
    own: command => {
        own.set(command.windowId, frameOf(command));
        const window = allWindows().find(w => (w.windowId || 0) === command.windowId);
        if (window)
            placeOwn(window);
        return window !== undefined;
    }
};

function run(command) {
    try {
        const operation = operations[command.op];
        if (!operation)
            throw new Error("unknown operation");
        return { seq: command.seq, result: operation(command) };
    } catch (e) {
        return { seq: command.seq, error: String(e) };
    }
}

// The HUD sends what it has queued at once; commands it waits for carry a "seq".
function handle(text) {
    const answers = [];
    for (const command of JSON.parse(text)) {
        if (command.op === "idle")
            continue;
        const answer = run(command);
        if (command.seq !== undefined)
            answers.push(answer);
    }
    if (answers.length > 0)
        callDBus(service, path, iface, "Done", JSON.stringify(answers));
}

// An error (the HUD gone) ends the loop: no callback comes.
function next() {
    callDBus(service, path, iface, "Next", text => {
        try {
            handle(text);
        } catch (e) {
            print("halvic: " + e);
        }
        next();
    });
}

allWindows().forEach(idOf);
next();
