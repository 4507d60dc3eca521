<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AgentChipView</name>
    <message>
        <source>%1 · %2 · gone quiet — may be stuck</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kill this agent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AgentStrip</name>
    <message>
        <source>Agents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CardFormats</name>
    <message>
        <source>%1 B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <comment>locale of the dates&apos; month names</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MMM d, HH:mm</source>
        <comment>date format</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CardHeader</name>
    <message>
        <source>Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize to a bubble — hold the bubble to reopen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatInput</name>
    <message>
        <source>Attachments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message Halvic…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typed replies are also spoken aloud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typed replies are text only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComposeCardView</name>
    <message>
        <source>Draft minimized — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close without sending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick files to attach</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files — or drop them on the card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add more files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attendees</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach a Google Meet link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Also that day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t send this</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t book this</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Book event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send it — with your edits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Book it — with your edits</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComposedListItem</name>
    <message>
        <source>Open %1&apos;s dossier</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComposedSection</name>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopChoice</name>
    <message>
        <source>On this Wayland session I can only arrange applications that run on XWayland, sir; native Wayland windows stay where they are.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DossierHeading</name>
    <message>
        <source>Opening…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>organizing…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmailMessage</name>
    <message>
        <source>You</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmailMessageView</name>
    <message>
        <source>Collapse this message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expand this message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 attachment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 attachments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cc %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading images…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote images are blocked (tracking pixels) — load them for this message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmailReplyBar</name>
    <message>
        <source>Write a reply…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply to everyone on the thread</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply to the sender — Ctrl+Return works too</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmailThreadView</name>
    <message>
        <source>Email — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Messages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EntityDossierView</name>
    <message>
        <source>Dossier — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EntityModel</name>
    <message>
        <source>Call %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 fact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 facts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 relation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 relations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>last touch %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>aka %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>showing %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>related</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EntityRecords</name>
    <message>
        <source>Person</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Company</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Entity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Facts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Patterns</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syntheses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1d ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1w ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1mo ago</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1y ago</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorTail</name>
    <message>
        <source>signal %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The engine stopped (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The engine stopped (%1): %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GnomeDesktop</name>
    <message>
        <source>The Halvic HUD extension of GNOME Shell is not enabled, sir: I can only arrange applications that run on XWayland, and hand gestures reach only those. Turn it on with “gnome-extensions enable %1”; GNOME on Wayland loads a newly installed extension at the next login.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Halvic HUD extension of GNOME Shell answers only the HUD it was installed with, sir: I can only arrange applications that run on XWayland, and hand gestures reach only those.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GraphGeometry</name>
    <message>
        <source>Person</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Company</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HUDView</name>
    <message>
        <source>Expand Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tap to expand, hold to move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvic — recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wake word ON — say &quot;Halvic&quot; first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wake word off — responds to all speech</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute / unmute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What Halvic remembers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transcript</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HudLogic</name>
    <message>
        <source>%1s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1m %2s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KWinDesktop</name>
    <message>
        <source>KWin did not let me move the pointer, sir: hand gestures reach only X11 applications. KWin grants it to the HUD installed from its package.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KWinFakePointer</name>
    <message>
        <source>Hand gestures move and click the pointer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryGraphArea</name>
    <message>
        <source>Memory graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading the graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No memories to graph yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hand — drag to move around the map, pinch to zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pointer — move nodes, connect, cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect: tap two memories to link them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reload graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tap another</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tap a memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection between two memories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drag to pan · pinch/scroll to zoom · double-click to zoom in</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryItem</name>
    <message>
        <source>re: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  ·  re: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryRow</name>
    <message>
        <source>connected fact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correct this memory: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forget this — delete permanently: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction of: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save correction: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel correction: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemoryView</name>
    <message>
        <source>What Halvic remembers — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What Halvic Remembers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>search memory…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 memories · %2 links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No memories match that.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing remembered yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memories</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MenuView</name>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModelRows</name>
    <message>
        <source>Couldn&apos;t start the engine: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looked for it in %1. To use another folder, set TARVEL_VOICE_DIR or start the HUD with --engine DIR.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoteBar</name>
    <message>
        <source>Add a note about %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a note about them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save this note</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>No camera found for hand gestures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hand gestures need a camera, and this computer has none: no video capture device (/dev/video*) was found. Connect a camera, then turn Hand Gestures on again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera access needed for hand gestures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is a video device, %1, but your user may not open it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask your administrator for access to it, then turn Hand Gestures on again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It belongs to the group “%1”: ask your administrator to add you to that group (sudo adduser $USER %1), log out and in again, then turn Hand Gestures on again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop&apos;s camera settings may also have the camera switched off.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupView</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProfileSections</name>
    <message>
        <source>Relations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durable facts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open tasks</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuickSection</name>
    <message>
        <source>Quick</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show less</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+%1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show fewer quick facts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show %1 more quick facts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RawMemory</name>
    <message>
        <source>Hide raw memory, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show raw memory, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raw memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No raw memory stored.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RelationRow</name>
    <message>
        <source>Open %1&apos;s dossier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not related — remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResizeHandle</name>
    <message>
        <source>Resize</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReticleView</name>
    <message>
        <source>Hand reticle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StateLabel</name>
    <message>
        <source>starting up…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restarting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>muted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recording — taking notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>learning your voice %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>listening…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>thinking…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>speaking…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ready</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageItem</name>
    <message>
        <source>Double-click to open · %1  ·  %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click to open · %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageTile</name>
    <message>
        <source>Delete this file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StorageView</name>
    <message>
        <source>Your files — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload files to storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No files yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop files here, or use “Add files”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SummarySection</name>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite this summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>your read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel rewriting the summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the summary</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TasksView</name>
    <message>
        <source>Tasks &amp; Reminders — hold to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tasks &amp; Reminders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing on your list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark done: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>due %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TranscriptCopy</name>
    <message>
        <source>You</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::AppMenus</name>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::Autostart</name>
    <message>
        <source>Start at Login</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::ComposePanel</name>
    <message>
        <source>Draft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email — review before it sends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event — confirm before it books</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::Delegate</name>
    <message>
        <source>Tarvel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Camera Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::EmailModel</name>
    <message>
        <source>Open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(no subject)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  ·  %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::EmailPanel</name>
    <message>
        <source>Email</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reply didn&apos;t send.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t download %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t download the attachment.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::EntityPanel</name>
    <message>
        <source>Dossier</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::GlassPanel</name>
    <message>
        <source>Halvic</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::GraphView</name>
    <message>
        <source>; and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::HandGestures</name>
    <message>
        <source>Hand Gestures</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::HudController</name>
    <message>
        <source>Stop Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unmute Mic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute Mic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Halvic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop listening</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start listening</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undock (float free)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dock to left edge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize to a bubble</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::HudPanel</name>
    <message>
        <source>Show / Hide HUD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start / Stop Assistant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute / Unmute Mic</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::MemoryPanel</name>
    <message>
        <source>What Halvic Remembers</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::MenuPopup</name>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::StoragePanel</name>
    <message>
        <source>My Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::TasksPanel</name>
    <message>
        <source>Tasks &amp; Reminders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>halvic::WindowManager</name>
    <message>
        <source>I can&apos;t arrange your windows on this desktop, sir: window control needs an X11 session with an EWMH window manager, or sway, and this is neither.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The Halvic assistant&apos;s heads-up display.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the engine in &lt;folder&gt; for this run (instead of TARVEL_VOICE_DIR and the usual places).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
