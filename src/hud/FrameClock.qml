pragma Singleton
import QtQml

// One clock for every animation of the HUD (the orb's pulse, the agents' spinners), stepped
// 25 times a second rather than at the display's rate: for such slow motions the eye sees no
// difference, and all of them change in the same frame, so each step is one repaint. It runs
// only while something holds it (acquire and release in pairs).
QtObject {
    id: clock

    // Milliseconds, advancing while the clock runs.
    property double now: 0
    property int holders: 0

    function acquire() { holders += 1; }
    function release() { holders = Math.max(0, holders - 1); }

    property Timer ticker: Timer {
        interval: 40
        repeat: true
        running: clock.holders > 0
        onTriggered: clock.now = Date.now()
        onRunningChanged: if (running) clock.now = Date.now()
    }
}
