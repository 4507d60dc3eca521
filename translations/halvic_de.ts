<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AgentChipView</name>
    <message>
        <source>%1 · %2 · gone quiet — may be stuck</source>
        <translation>%1 · %2 · verstummt — hängt vielleicht</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
    <message>
        <source>Kill this agent</source>
        <translation>Diesen Agenten beenden</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>AgentStrip</name>
    <message>
        <source>Agents</source>
        <translation>Agenten</translation>
    </message>
</context>
<context>
    <name>CardFormats</name>
    <message>
        <source>%1 B</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>C</source>
        <comment>locale of the dates&apos; month names</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>MMM d, HH:mm</source>
        <comment>date format</comment>
        <translation>d. MMM, HH:mm</translation>
    </message>
</context>
<context>
    <name>CardHeader</name>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Minimize to a bubble — hold the bubble to reopen</source>
        <translation>Zur Blase verkleinern — Blase gedrückt halten zum Öffnen</translation>
    </message>
</context>
<context>
    <name>ChatInput</name>
    <message>
        <source>Attachments</source>
        <translation>Anhänge</translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation>Dateien anhängen</translation>
    </message>
    <message>
        <source>Message Halvic…</source>
        <translation>Nachricht an Halvic…</translation>
    </message>
    <message>
        <source>Typed replies are also spoken aloud</source>
        <translation>Getippte Antworten werden auch vorgelesen</translation>
    </message>
    <message>
        <source>Typed replies are text only</source>
        <translation>Getippte Antworten nur als Text</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
</context>
<context>
    <name>ComposeCardView</name>
    <message>
        <source>Draft minimized — hold to expand</source>
        <translation>Entwurf verkleinert — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>Close without sending</source>
        <translation>Schließen ohne zu senden</translation>
    </message>
    <message>
        <source>To</source>
        <translation>An</translation>
    </message>
    <message>
        <source>Cc</source>
        <translation>Cc</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>Body</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Anhänge</translation>
    </message>
    <message>
        <source>Pick files to attach</source>
        <translation>Dateien zum Anhängen wählen</translation>
    </message>
    <message>
        <source>Add files — or drop them on the card</source>
        <translation>Dateien hinzufügen — oder auf die Karte ziehen</translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message>
        <source>Add more files</source>
        <translation>Weitere Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Add more</source>
        <translation>Weitere</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Starts</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Attendees</source>
        <translation>Teilnehmende</translation>
    </message>
    <message>
        <source>Attach a Google Meet link</source>
        <translation>Google-Meet-Link anhängen</translation>
    </message>
    <message>
        <source>Also that day</source>
        <translation>Außerdem an diesem Tag</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel email</source>
        <translation>E-Mail verwerfen</translation>
    </message>
    <message>
        <source>Cancel event</source>
        <translation>Termin verwerfen</translation>
    </message>
    <message>
        <source>Don&apos;t send this</source>
        <translation>Nicht senden</translation>
    </message>
    <message>
        <source>Don&apos;t book this</source>
        <translation>Nicht eintragen</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Book</source>
        <translation>Eintragen</translation>
    </message>
    <message>
        <source>Send email</source>
        <translation>E-Mail senden</translation>
    </message>
    <message>
        <source>Book event</source>
        <translation>Termin eintragen</translation>
    </message>
    <message>
        <source>Send it — with your edits</source>
        <translation>Senden — mit deinen Änderungen</translation>
    </message>
    <message>
        <source>Book it — with your edits</source>
        <translation>Eintragen — mit deinen Änderungen</translation>
    </message>
</context>
<context>
    <name>ComposedListItem</name>
    <message>
        <source>Open %1&apos;s dossier</source>
        <translation>Dossier von %1 öffnen</translation>
    </message>
</context>
<context>
    <name>ComposedSection</name>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
</context>
<context>
    <name>DesktopChoice</name>
    <message>
        <source>On this Wayland session I can only arrange applications that run on XWayland, sir; native Wayland windows stay where they are.</source>
        <translation>In dieser Wayland-Sitzung kann ich nur Anwendungen anordnen, die unter XWayland laufen; native Wayland-Fenster bleiben, wo sie sind.</translation>
    </message>
</context>
<context>
    <name>DossierHeading</name>
    <message>
        <source>Opening…</source>
        <translation>Wird geöffnet…</translation>
    </message>
    <message>
        <source>organizing…</source>
        <translation>wird geordnet…</translation>
    </message>
</context>
<context>
    <name>EmailMessage</name>
    <message>
        <source>You</source>
        <translation>Du</translation>
    </message>
</context>
<context>
    <name>EmailMessageView</name>
    <message>
        <source>Collapse this message</source>
        <translation>Nachricht zuklappen</translation>
    </message>
    <message>
        <source>Expand this message</source>
        <translation>Nachricht aufklappen</translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <translation>%1: %2, %3</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 attachment</source>
        <translation>%1 Anhang</translation>
    </message>
    <message>
        <source>%1 attachments</source>
        <translation>%1 Anhänge</translation>
    </message>
    <message>
        <source>cc %1</source>
        <translation>Cc %1</translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation>Nachricht von %1</translation>
    </message>
    <message>
        <source>Loading images</source>
        <translation>Bilder werden geladen</translation>
    </message>
    <message>
        <source>Loading images…</source>
        <translation>Bilder werden geladen…</translation>
    </message>
    <message>
        <source>Load images</source>
        <translation>Bilder laden</translation>
    </message>
    <message>
        <source>Remote images are blocked (tracking pixels) — load them for this message</source>
        <translation>Externe Bilder sind blockiert (Zählpixel) — für diese Nachricht laden</translation>
    </message>
    <message>
        <source>Downloading %1</source>
        <translation>%1 wird heruntergeladen</translation>
    </message>
</context>
<context>
    <name>EmailReplyBar</name>
    <message>
        <source>Write a reply…</source>
        <translation>Antwort schreiben…</translation>
    </message>
    <message>
        <source>Reply to %1</source>
        <translation>Antwort auf %1</translation>
    </message>
    <message>
        <source>Sending</source>
        <translation>Wird gesendet</translation>
    </message>
    <message>
        <source>Sending…</source>
        <translation>Wird gesendet…</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Reply all</source>
        <translation>Allen antworten</translation>
    </message>
    <message>
        <source>Reply to everyone on the thread</source>
        <translation>Allen im Verlauf antworten</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Reply to the sender — Ctrl+Return works too</source>
        <translation>Dem Absender antworten — Strg+Eingabe geht auch</translation>
    </message>
</context>
<context>
    <name>EmailThreadView</name>
    <message>
        <source>Email — hold to expand</source>
        <translation>E-Mail — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Nachrichten</translation>
    </message>
</context>
<context>
    <name>EntityDossierView</name>
    <message>
        <source>Dossier — hold to expand</source>
        <translation>Dossier — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>EntityModel</name>
    <message>
        <source>Call %1</source>
        <translation>%1 anrufen</translation>
    </message>
    <message>
        <source>Email %1</source>
        <translation>E-Mail an %1</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>%1 fact</source>
        <translation>%1 Fakt</translation>
    </message>
    <message>
        <source>%1 facts</source>
        <translation>%1 Fakten</translation>
    </message>
    <message>
        <source>%1 relation</source>
        <translation>%1 Beziehung</translation>
    </message>
    <message>
        <source>%1 relations</source>
        <translation>%1 Beziehungen</translation>
    </message>
    <message>
        <source>last touch %1</source>
        <translation>zuletzt %1</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(unbekannt)</translation>
    </message>
    <message>
        <source>aka %1</source>
        <translation>auch %1</translation>
    </message>
    <message>
        <source>showing %1 of %2</source>
        <translation>%1 von %2 angezeigt</translation>
    </message>
    <message>
        <source>related</source>
        <translation>verbunden</translation>
    </message>
</context>
<context>
    <name>EntityRecords</name>
    <message>
        <source>Person</source>
        <translation>Person</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Thing</source>
        <translation>Sache</translation>
    </message>
    <message>
        <source>Entity</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Facts</source>
        <translation>Fakten</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Vorlieben</translation>
    </message>
    <message>
        <source>Plans</source>
        <translation>Pläne</translation>
    </message>
    <message>
        <source>Patterns</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>Syntheses</source>
        <translation>Synthesen</translation>
    </message>
    <message>
        <source>Observations</source>
        <translation>Beobachtungen</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <source>%1d ago</source>
        <translation>vor %1 T.</translation>
    </message>
    <message>
        <source>%1w ago</source>
        <translation>vor %1 Wo.</translation>
    </message>
    <message>
        <source>%1mo ago</source>
        <translation>vor %1 Mon.</translation>
    </message>
    <message>
        <source>%1y ago</source>
        <translation>vor %1 J.</translation>
    </message>
</context>
<context>
    <name>ErrorTail</name>
    <message>
        <source>signal %1</source>
        <translation>Signal %1</translation>
    </message>
    <message>
        <source>exit status %1</source>
        <translation>Exit-Status %1</translation>
    </message>
    <message>
        <source>The engine stopped (%1).</source>
        <translation>Die Engine wurde beendet (%1).</translation>
    </message>
    <message>
        <source>The engine stopped (%1): %2</source>
        <translation>Die Engine wurde beendet (%1): %2</translation>
    </message>
</context>
<context>
    <name>GnomeDesktop</name>
    <message>
        <source>The Halvic HUD extension of GNOME Shell is not enabled, sir: I can only arrange applications that run on XWayland, and hand gestures reach only those. Turn it on with “gnome-extensions enable %1”; GNOME on Wayland loads a newly installed extension at the next login.</source>
        <translation>Die GNOME-Shell-Erweiterung des Halvic HUD ist nicht aktiviert, Sir: Ich kann nur Anwendungen anordnen, die unter XWayland laufen, und Handgesten erreichen nur diese. Schalten Sie sie mit „gnome-extensions enable %1“ ein; GNOME unter Wayland lädt eine neu installierte Erweiterung erst bei der nächsten Anmeldung.</translation>
    </message>
    <message>
        <source>The Halvic HUD extension of GNOME Shell answers only the HUD it was installed with, sir: I can only arrange applications that run on XWayland, and hand gestures reach only those.</source>
        <translation>Die GNOME-Shell-Erweiterung des Halvic HUD antwortet nur dem HUD, mit dem sie installiert wurde, Sir: Ich kann nur Anwendungen anordnen, die unter XWayland laufen, und Handgesten erreichen nur diese.</translation>
    </message>
</context>
<context>
    <name>GraphGeometry</name>
    <message>
        <source>Person</source>
        <translation>Person</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Product</source>
        <translation>Produkt</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Thing</source>
        <translation>Sache</translation>
    </message>
    <message>
        <source>Fact</source>
        <translation>Fakt</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Preference</source>
        <translation>Vorliebe</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Observation</source>
        <translation>Beobachtung</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Erinnerung</translation>
    </message>
</context>
<context>
    <name>HUDView</name>
    <message>
        <source>Expand Halvic</source>
        <translation>Halvic aufklappen</translation>
    </message>
    <message>
        <source>Tap to expand, hold to move</source>
        <translation>Tippen zum Aufklappen, halten zum Verschieben</translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation>Halvic</translation>
    </message>
    <message>
        <source>Halvic — recording</source>
        <translation>Halvic — Aufnahme</translation>
    </message>
    <message>
        <source>Wake word ON — say &quot;Halvic&quot; first</source>
        <translation>Aktivierungswort AN — zuerst „Halvic“ sagen</translation>
    </message>
    <message>
        <source>Wake word off — responds to all speech</source>
        <translation>Aktivierungswort aus — reagiert auf alles Gesprochene</translation>
    </message>
    <message>
        <source>Mute / unmute</source>
        <translation>Stumm / laut</translation>
    </message>
    <message>
        <source>What Halvic remembers</source>
        <translation>Was Halvic sich merkt</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Transcript</source>
        <translation>Verlauf</translation>
    </message>
</context>
<context>
    <name>HudLogic</name>
    <message>
        <source>%1s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1m %2s</source>
        <translation>%1 min %2 s</translation>
    </message>
</context>
<context>
    <name>KWinDesktop</name>
    <message>
        <source>KWin did not let me move the pointer, sir: hand gestures reach only X11 applications. KWin grants it to the HUD installed from its package.</source>
        <translation>KWin lässt mich den Mauszeiger nicht bewegen, Sir: Handgesten erreichen nur X11-Anwendungen. KWin gewährt das nur dem HUD, das aus seinem Paket installiert ist.</translation>
    </message>
</context>
<context>
    <name>KWinFakePointer</name>
    <message>
        <source>Hand gestures move and click the pointer</source>
        <translation>Handgesten bewegen den Mauszeiger und klicken damit</translation>
    </message>
</context>
<context>
    <name>MemoryGraphArea</name>
    <message>
        <source>Memory graph</source>
        <translation>Erinnerungsgraph</translation>
    </message>
    <message>
        <source>Loading the graph</source>
        <translation>Graph wird geladen</translation>
    </message>
    <message>
        <source>No memories to graph yet.</source>
        <translation>Noch keine Erinnerungen für den Graphen.</translation>
    </message>
    <message>
        <source>Hand — drag to move around the map, pinch to zoom</source>
        <translation>Hand — ziehen zum Verschieben der Karte, zusammenziehen zum Zoomen</translation>
    </message>
    <message>
        <source>Pointer — move nodes, connect, cut</source>
        <translation>Zeiger — Knoten verschieben, verbinden, trennen</translation>
    </message>
    <message>
        <source>Connect: tap two memories to link them</source>
        <translation>Verbinden: zwei Erinnerungen antippen, um sie zu verknüpfen</translation>
    </message>
    <message>
        <source>Fit all</source>
        <translation>Alles einpassen</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Reload graph</source>
        <translation>Graph neu laden</translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>tap another</source>
        <translation>noch eine antippen</translation>
    </message>
    <message>
        <source>tap a memory</source>
        <translation>eine Erinnerung antippen</translation>
    </message>
    <message>
        <source>Connection between two memories</source>
        <translation>Verbindung zwischen zwei Erinnerungen</translation>
    </message>
    <message>
        <source>Close: %1</source>
        <translation>Schließen: %1</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Cut the connection</source>
        <translation>Verbindung trennen</translation>
    </message>
    <message>
        <source>drag to pan · pinch/scroll to zoom · double-click to zoom in</source>
        <translation>ziehen zum Verschieben · zusammenziehen/scrollen zum Zoomen · Doppelklick zum Vergrößern</translation>
    </message>
</context>
<context>
    <name>MemoryItem</name>
    <message>
        <source>re: %1</source>
        <translation>betrifft: %1</translation>
    </message>
    <message>
        <source>%1  ·  re: %2</source>
        <translation>%1  ·  betrifft: %2</translation>
    </message>
</context>
<context>
    <name>MemoryRow</name>
    <message>
        <source>connected fact</source>
        <translation>verbundener Fakt</translation>
    </message>
    <message>
        <source>Correct this memory: %1</source>
        <translation>Diese Erinnerung korrigieren: %1</translation>
    </message>
    <message>
        <source>Forget this — delete permanently: %1</source>
        <translation>Vergessen — endgültig löschen: %1</translation>
    </message>
    <message>
        <source>Correction of: %1</source>
        <translation>Korrektur von: %1</translation>
    </message>
    <message>
        <source>Save correction: %1</source>
        <translation>Korrektur speichern: %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel correction: %1</source>
        <translation>Korrektur verwerfen: %1</translation>
    </message>
</context>
<context>
    <name>MemoryView</name>
    <message>
        <source>What Halvic remembers — hold to expand</source>
        <translation>Was Halvic sich merkt — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>What Halvic Remembers</source>
        <translation>Was Halvic sich merkt</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>search memory…</source>
        <translation>Erinnerungen durchsuchen…</translation>
    </message>
    <message>
        <source>Search memory</source>
        <translation>Erinnerungen durchsuchen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>%1 memories · %2 links</source>
        <translation>%1 Erinnerungen · %2 Verknüpfungen</translation>
    </message>
    <message>
        <source>No memories match that.</source>
        <translation>Keine passenden Erinnerungen.</translation>
    </message>
    <message>
        <source>Nothing remembered yet.</source>
        <translation>Noch nichts gemerkt.</translation>
    </message>
    <message>
        <source>Memories</source>
        <translation>Erinnerungen</translation>
    </message>
</context>
<context>
    <name>MenuView</name>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
</context>
<context>
    <name>ModelRows</name>
    <message>
        <source>Couldn&apos;t start the engine: %1</source>
        <translation>Die Engine konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Looked for it in %1. To use another folder, set TARVEL_VOICE_DIR or start the HUD with --engine DIR.</source>
        <translation>Gesucht in %1. Für einen anderen Ordner TARVEL_VOICE_DIR setzen oder das HUD mit --engine ORDNER starten.</translation>
    </message>
</context>
<context>
    <name>NoteBar</name>
    <message>
        <source>Add a note about %1</source>
        <translation>Notiz zu %1 hinzufügen</translation>
    </message>
    <message>
        <source>Add a note about them</source>
        <translation>Notiz hinzufügen</translation>
    </message>
    <message>
        <source>Save this note</source>
        <translation>Diese Notiz speichern</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>No camera found for hand gestures</source>
        <translation>Keine Kamera für Handgesten gefunden</translation>
    </message>
    <message>
        <source>Hand gestures need a camera, and this computer has none: no video capture device (/dev/video*) was found. Connect a camera, then turn Hand Gestures on again.</source>
        <translation>Handgesten brauchen eine Kamera, und dieser Computer hat keine: Es wurde kein Videoaufnahmegerät (/dev/video*) gefunden. Schließe eine Kamera an und schalte dann die Handgesten wieder ein.</translation>
    </message>
    <message>
        <source>Camera access needed for hand gestures</source>
        <translation>Handgesten brauchen Zugriff auf die Kamera</translation>
    </message>
    <message>
        <source>There is a video device, %1, but your user may not open it.</source>
        <translation>Es gibt ein Videogerät, %1, aber dein Benutzer darf es nicht öffnen.</translation>
    </message>
    <message>
        <source>Ask your administrator for access to it, then turn Hand Gestures on again.</source>
        <translation>Bitte deinen Administrator um Zugriff darauf und schalte dann die Handgesten wieder ein.</translation>
    </message>
    <message>
        <source>It belongs to the group “%1”: ask your administrator to add you to that group (sudo adduser $USER %1), log out and in again, then turn Hand Gestures on again.</source>
        <translation>Es gehört zur Gruppe „%1“: Bitte deinen Administrator, dich dieser Gruppe hinzuzufügen (sudo adduser $USER %1), melde dich ab und wieder an und schalte dann die Handgesten wieder ein.</translation>
    </message>
    <message>
        <source>The desktop&apos;s camera settings may also have the camera switched off.</source>
        <translation>Vielleicht ist die Kamera auch in den Kameraeinstellungen des Desktops ausgeschaltet.</translation>
    </message>
</context>
<context>
    <name>PopupView</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>ProfileSections</name>
    <message>
        <source>Relations</source>
        <translation>Beziehungen</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>Durable facts</source>
        <translation>Dauerhafte Fakten</translation>
    </message>
    <message>
        <source>Open tasks</source>
        <translation>Offene Aufgaben</translation>
    </message>
</context>
<context>
    <name>QuickSection</name>
    <message>
        <source>Quick</source>
        <translation>Schnellzugriff</translation>
    </message>
    <message>
        <source>show less</source>
        <translation>weniger anzeigen</translation>
    </message>
    <message>
        <source>+%1 more</source>
        <translation>+%1 weitere</translation>
    </message>
    <message>
        <source>Show fewer quick facts</source>
        <translation>Weniger Schnellinfos anzeigen</translation>
    </message>
    <message>
        <source>Show %1 more quick facts</source>
        <translation>%1 weitere Schnellinfos anzeigen</translation>
    </message>
</context>
<context>
    <name>RawMemory</name>
    <message>
        <source>Hide raw memory, %1</source>
        <translation>Rohe Erinnerung ausblenden, %1</translation>
    </message>
    <message>
        <source>Show raw memory, %1</source>
        <translation>Rohe Erinnerung anzeigen, %1</translation>
    </message>
    <message>
        <source>Raw memory</source>
        <translation>Rohe Erinnerung</translation>
    </message>
    <message>
        <source>No raw memory stored.</source>
        <translation>Keine rohe Erinnerung gespeichert.</translation>
    </message>
</context>
<context>
    <name>RelationRow</name>
    <message>
        <source>Open %1&apos;s dossier</source>
        <translation>Dossier von %1 öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Not related — remove</source>
        <translation>Keine Beziehung — entfernen</translation>
    </message>
</context>
<context>
    <name>ResizeHandle</name>
    <message>
        <source>Resize</source>
        <translation>Größe ändern</translation>
    </message>
</context>
<context>
    <name>ReticleView</name>
    <message>
        <source>Hand reticle</source>
        <translation>Handzeiger</translation>
    </message>
</context>
<context>
    <name>StateLabel</name>
    <message>
        <source>starting up…</source>
        <translation>startet…</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>offline</translation>
    </message>
    <message>
        <source>Restarting…</source>
        <translation>Neustart…</translation>
    </message>
    <message>
        <source>muted</source>
        <translation>stumm</translation>
    </message>
    <message>
        <source>recording — taking notes</source>
        <translation>Aufnahme — Notizen werden erstellt</translation>
    </message>
    <message>
        <source>learning your voice %1/%2</source>
        <translation>lerne deine Stimme %1/%2</translation>
    </message>
    <message>
        <source>listening…</source>
        <translation>hört zu…</translation>
    </message>
    <message>
        <source>thinking…</source>
        <translation>denkt nach…</translation>
    </message>
    <message>
        <source>speaking…</source>
        <translation>spricht…</translation>
    </message>
    <message>
        <source>ready</source>
        <translation>bereit</translation>
    </message>
</context>
<context>
    <name>StorageItem</name>
    <message>
        <source>Double-click to open · %1  ·  %2</source>
        <translation>Doppelklick zum Öffnen · %1  ·  %2</translation>
    </message>
    <message>
        <source>Double-click to open · %1</source>
        <translation>Doppelklick zum Öffnen · %1</translation>
    </message>
</context>
<context>
    <name>StorageTile</name>
    <message>
        <source>Delete this file</source>
        <translation>Diese Datei löschen</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>%1 löschen</translation>
    </message>
</context>
<context>
    <name>StorageView</name>
    <message>
        <source>Your files — hold to expand</source>
        <translation>Deine Dateien — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>My Files</source>
        <translation>Meine Dateien</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>Wird hochgeladen</translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation>Wird hochgeladen…</translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation>%1 Element</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 Elemente</translation>
    </message>
    <message>
        <source>Add files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Upload files to storage</source>
        <translation>Dateien in den Speicher hochladen</translation>
    </message>
    <message>
        <source>Refresh the list</source>
        <translation>Liste aktualisieren</translation>
    </message>
    <message>
        <source>No files yet.</source>
        <translation>Noch keine Dateien.</translation>
    </message>
    <message>
        <source>Drop files here, or use “Add files”.</source>
        <translation>Dateien hierher ziehen oder „Dateien hinzufügen“ verwenden.</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>SummarySection</name>
    <message>
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message>
        <source>Rewrite this summary</source>
        <translation>Diese Zusammenfassung neu schreiben</translation>
    </message>
    <message>
        <source>your read: %1</source>
        <translation>deine Sicht: %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel rewriting the summary</source>
        <translation>Neuschreiben der Zusammenfassung abbrechen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save the summary</source>
        <translation>Zusammenfassung speichern</translation>
    </message>
</context>
<context>
    <name>TasksView</name>
    <message>
        <source>Tasks &amp; Reminders — hold to expand</source>
        <translation>Aufgaben &amp; Erinnerungen — gedrückt halten zum Öffnen</translation>
    </message>
    <message>
        <source>Tasks &amp; Reminders</source>
        <translation>Aufgaben &amp; Erinnerungen</translation>
    </message>
    <message>
        <source>Nothing on your list.</source>
        <translation>Nichts auf deiner Liste.</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Mark done: %1</source>
        <translation>Als erledigt markieren: %1</translation>
    </message>
    <message>
        <source>due %1</source>
        <translation>fällig %1</translation>
    </message>
</context>
<context>
    <name>TranscriptCopy</name>
    <message>
        <source>You</source>
        <translation>Du</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation>Halvic</translation>
    </message>
</context>
<context>
    <name>halvic::AppMenus</name>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>halvic::Autostart</name>
    <message>
        <source>Start at Login</source>
        <translation>Bei Anmeldung starten</translation>
    </message>
</context>
<context>
    <name>halvic::ComposePanel</name>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Email — review before it sends</source>
        <translation>E-Mail — vor dem Senden prüfen</translation>
    </message>
    <message>
        <source>Event — confirm before it books</source>
        <translation>Termin — vor dem Eintragen bestätigen</translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation>Dateien anhängen</translation>
    </message>
</context>
<context>
    <name>halvic::Delegate</name>
    <message>
        <source>Tarvel</source>
        <translation>Tarvel</translation>
    </message>
    <message>
        <source>Halvic</source>
        <translation>Halvic</translation>
    </message>
    <message>
        <source>Open Camera Settings</source>
        <translation>Kameraeinstellungen öffnen</translation>
    </message>
    <message>
        <source>Attach files</source>
        <translation>Dateien anhängen</translation>
    </message>
</context>
<context>
    <name>halvic::EmailModel</name>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Download %1</source>
        <translation>%1 herunterladen</translation>
    </message>
    <message>
        <source>(no subject)</source>
        <translation>(kein Betreff)</translation>
    </message>
    <message>
        <source>%1 message</source>
        <translation>%1 Nachricht</translation>
    </message>
    <message>
        <source>%1 messages</source>
        <translation>%1 Nachrichten</translation>
    </message>
    <message>
        <source>%1  ·  %2</source>
        <translation>%1  ·  %2</translation>
    </message>
</context>
<context>
    <name>halvic::EmailPanel</name>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>The reply didn&apos;t send.</source>
        <translation>Die Antwort wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>Couldn&apos;t download %1.</source>
        <translation>%1 konnte nicht heruntergeladen werden.</translation>
    </message>
    <message>
        <source>Couldn&apos;t download the attachment.</source>
        <translation>Der Anhang konnte nicht heruntergeladen werden.</translation>
    </message>
</context>
<context>
    <name>halvic::EntityPanel</name>
    <message>
        <source>Dossier</source>
        <translation>Dossier</translation>
    </message>
</context>
<context>
    <name>halvic::GlassPanel</name>
    <message>
        <source>Halvic</source>
        <translation>Halvic</translation>
    </message>
</context>
<context>
    <name>halvic::GraphView</name>
    <message>
        <source>; and %1 more</source>
        <translation>; und %1 weitere</translation>
    </message>
</context>
<context>
    <name>halvic::HandGestures</name>
    <message>
        <source>Hand Gestures</source>
        <translation>Handgesten</translation>
    </message>
</context>
<context>
    <name>halvic::HudController</name>
    <message>
        <source>Stop Halvic</source>
        <translation>Halvic stoppen</translation>
    </message>
    <message>
        <source>Start Halvic</source>
        <translation>Halvic starten</translation>
    </message>
    <message>
        <source>Unmute Mic</source>
        <translation>Mikrofon einschalten</translation>
    </message>
    <message>
        <source>Mute Mic</source>
        <translation>Mikrofon stummschalten</translation>
    </message>
    <message>
        <source>Expand</source>
        <translation>Aufklappen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Quit Halvic</source>
        <translation>Halvic beenden</translation>
    </message>
    <message>
        <source>Stop listening</source>
        <translation>Zuhören beenden</translation>
    </message>
    <message>
        <source>Start listening</source>
        <translation>Zuhören starten</translation>
    </message>
    <message>
        <source>Undock (float free)</source>
        <translation>Abdocken (frei schweben)</translation>
    </message>
    <message>
        <source>Dock to left edge</source>
        <translation>Am linken Rand andocken</translation>
    </message>
    <message>
        <source>Minimize to a bubble</source>
        <translation>Zur Blase verkleinern</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy All</source>
        <translation>Alles kopieren</translation>
    </message>
</context>
<context>
    <name>halvic::HudPanel</name>
    <message>
        <source>Show / Hide HUD</source>
        <translation>HUD ein-/ausblenden</translation>
    </message>
    <message>
        <source>Start / Stop Assistant</source>
        <translation>Assistent starten / stoppen</translation>
    </message>
    <message>
        <source>Mute / Unmute Mic</source>
        <translation>Mikrofon stumm / laut</translation>
    </message>
</context>
<context>
    <name>halvic::MemoryPanel</name>
    <message>
        <source>What Halvic Remembers</source>
        <translation>Was Halvic sich merkt</translation>
    </message>
</context>
<context>
    <name>halvic::MenuPopup</name>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
</context>
<context>
    <name>halvic::StoragePanel</name>
    <message>
        <source>My Files</source>
        <translation>Meine Dateien</translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation>Dateien hochladen</translation>
    </message>
</context>
<context>
    <name>halvic::TasksPanel</name>
    <message>
        <source>Tasks &amp; Reminders</source>
        <translation>Aufgaben &amp; Erinnerungen</translation>
    </message>
</context>
<context>
    <name>halvic::WindowManager</name>
    <message>
        <source>I can&apos;t arrange your windows on this desktop, sir: window control needs an X11 session with an EWMH window manager, or sway, and this is neither.</source>
        <translation>Ich kann deine Fenster auf diesem Desktop nicht anordnen: Die Fenstersteuerung braucht eine X11-Sitzung mit einem EWMH-Fenstermanager oder sway, und diese ist keins von beiden.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The Halvic assistant&apos;s heads-up display.</source>
        <translation>Das Heads-up-Display des Halvic-Assistenten.</translation>
    </message>
    <message>
        <source>Use the engine in &lt;folder&gt; for this run (instead of TARVEL_VOICE_DIR and the usual places).</source>
        <translation>Für diesen Lauf die Engine in &lt;Ordner&gt; verwenden (statt TARVEL_VOICE_DIR und der üblichen Orte).</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
</context>
</TS>
