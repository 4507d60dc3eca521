"""The demo engine's compose drafts and file store, driven through the control folder as the
HUD drives them."""

import os
import shutil
import stat
import tempfile
import unittest
from pathlib import Path

from test_demo_engine import EngineTestCase, contains, ev


class DraftsTest(EngineTestCase):
    def test_email_drafts_are_sent_cancelled_or_closed(self):
        cases = [
            ("send with edits", {"action": "send", "fields": {"to": "theo@example.com", "cc": "",
                                                             "subject": "Friday lunch", "body": "x",
                                                             "attachments": ["/tmp/menu.pdf"]}},
             contains("Sent", "Friday lunch", "theo@example.com", "1 attachment")),
            ("edit then send", None, contains("Sent", "Moved to Friday")),
            ("cancel", {"action": "cancel"}, contains("won't send")),
            ("close", {"action": "close"}, contains("without sending")),
        ]
        for label, request, answer in cases:
            with self.subTest(label):
                engine = self.start()
                engine.wait_greeting()
                engine.say("draft an email")
                draft = engine.next_event(ev("compose", draft_id=contains("draft-"), subject=contains("Lunch")))
                self.assertEqual(draft["attachments"], [])
                if request is None:
                    fields = {key: draft[key] for key in ("to", "cc", "subject", "body", "attachments")}
                    engine.write("card_action.json", {"kind": "email", "draft_id": draft["draft_id"],
                                                      "action": "edit",
                                                      "fields": {**fields, "subject": "Moved to Friday"}})
                    engine.wait_consumed("card_action.json")
                    request = {"action": "send"}
                engine.write("card_action.json", {"kind": "email", "draft_id": draft["draft_id"], **request})
                engine.next_event(ev("tarvel", text=answer))
                # A decided draft is closed: a second decision is not answered.
                engine.write("card_action.json", {"kind": "email", "draft_id": draft["draft_id"],
                                                  "action": "send"})
                engine.wait_consumed("card_action.json")
                engine.round_trip()
                sent = [e for e in engine.seen[engine.seen.index(draft) + 1:]
                        if e.get("type") == "tarvel" and e.get("text", "").startswith("Sent")]
                self.assertEqual(len(sent), 1 if request["action"] == "send" else 0)

    def test_an_event_is_booked_with_its_meet_choice(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("book a meeting")
        draft = engine.next_event(ev("event_card", meet=True, context=lambda v: isinstance(v, list) and len(v) > 0))
        engine.write("card_action.json", {"kind": "event", "draft_id": draft["draft_id"], "action": "send",
                                          "fields": {"title": "Design sync", "start": draft["start"],
                                                     "end": draft["end"], "attendees": "",
                                                     "meet": False}})
        answer = engine.next_event(ev("tarvel", text=contains("Booked", "Design sync")))
        self.assertNotIn("Meet link", answer["text"])

    def test_actions_for_unknown_drafts_are_ignored(self):
        engine = self.start()
        engine.wait_greeting()
        engine.write("card_action.json", {"kind": "email", "draft_id": "nope", "action": "send"})
        engine.wait_consumed("card_action.json")
        engine.round_trip()
        self.assertFalse(any(e.get("type") == "tarvel" and "Sent" in e.get("text", "") for e in engine.seen))


class FileStoreTest(EngineTestCase):
    def files(self, engine):
        return [entry["name"] for entry in engine.next_event(ev("storage"))["files"]]

    def test_query_lists_the_store(self):
        engine = self.start()
        engine.wait_greeting()
        engine.write("storage_query.json", {})
        listed = engine.next_event(ev("storage"))["files"]
        self.assertGreaterEqual(len(listed), 3)
        for entry in listed:
            self.assertEqual(set(entry), {"name", "type", "size", "updated"})
            self.assertIsInstance(entry["size"], int)

    def test_delete_then_open(self):
        engine = self.start()
        engine.wait_greeting()
        engine.write("storage_query.json", {})
        names = self.files(engine)
        engine.write("storage_action.json", {"action": "delete", "name": names[0]})
        self.assertEqual(self.files(engine), names[1:])
        picture = next(name for name in names if name.endswith(".jpg"))
        engine.write("storage_action.json", {"action": "open", "name": picture})
        shown = engine.next_event(ev("show", title=picture))
        self.assertTrue(os.path.isfile(shown["path"]))
        engine.write("storage_action.json", {"action": "open", "name": names[0]})
        engine.next_event(ev("tarvel", text=contains("isn't in your storage")))

    def test_upload_takes_only_regular_files(self):
        folder = Path(tempfile.mkdtemp(prefix="demo-upload-"))
        self.addCleanup(shutil.rmtree, folder, True)
        report = folder / "report one.pdf"
        report.write_bytes(b"x" * 1536)
        photo = folder / "photo.png"
        photo.write_bytes(b"png")
        pipe = folder / "pipe"
        os.mkfifo(pipe)
        engine = self.start()
        engine.wait_greeting()
        engine.write("storage_action.json", {"action": "upload", "paths": [
            str(report), str(folder), str(pipe), "/dev/null", str(folder / ".." / folder.name / "photo.png"),
            "bad\u0007name", 7]})
        listed = engine.next_event(ev("storage"))["files"]
        self.assertEqual([entry["name"] for entry in listed[:2]], ["photo.png", "report one.pdf"])
        self.assertEqual(listed[1]["size"], 1536)
        self.assertEqual(listed[1]["type"], "pdf")
        self.assertNotIn("pipe", [entry["name"] for entry in listed])
        engine.next_event(ev("tarvel", text=contains("Uploaded 2 files")))
        self.assertTrue(stat.S_ISFIFO(os.stat(pipe).st_mode))


if __name__ == "__main__":
    unittest.main()
