"""The storage card's files: a small store the demo keeps in memory, listed on request
(storage_query.json) and changed by the user's actions (storage_action.json): open, delete,
upload."""

from __future__ import annotations

import datetime
import os
import stat
from typing import TYPE_CHECKING, Any, Optional

from runtime import log

if TYPE_CHECKING:
    from demo import Demo

START_FILES = (
    ("Quarterly report.pdf", 482_133),
    ("Team photo.jpg", 2_345_678),
    ("Meeting notes.md", 1_830),
    ("Budget 2026.xlsx", 38_912),
    ("Interview.mp3", 14_221_312),
)
UPLOAD_SECONDS = 0.8
# Paths the HUD sends are the user's own files, but a request could hold thousands: the demo
# looks at this many and says so about the rest.
MAX_UPLOAD = 200


def _now() -> str:
    return datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0).isoformat().replace("+00:00", "Z")


def _kind(name: str) -> str:
    return os.path.splitext(name)[1].lstrip(".").lower()


class FileStore:
    def __init__(self, demo: Demo) -> None:
        self._demo = demo
        self._files: list[dict[str, Any]] = [
            {"name": name, "type": _kind(name), "size": size, "updated": _now()} for name, size in START_FILES]

    def send_list(self) -> None:
        self._demo.emit("storage", files=self._files)

    def on_query(self, _value: Any) -> None:
        self.send_list()

    def on_action(self, value: Any) -> None:
        if not isinstance(value, dict):
            log("storage_action.json: not an object; ignored")
            return
        action = value.get("action")
        if action == "open":
            self._open(value.get("name"))
        elif action == "delete":
            self._delete(value.get("name"))
        elif action == "upload":
            self._upload(value.get("paths"))
        else:
            log(f"storage_action.json: unknown action {action!r}; ignored")

    def _find(self, name: Any) -> Optional[dict[str, Any]]:
        if not isinstance(name, str):
            return None
        return next((entry for entry in self._files if entry["name"] == name), None)

    def _open(self, name: Any) -> None:
        entry = self._find(name)
        if entry is None:
            self._demo.say("That file isn't in your storage any more.")
            self.send_list()
            return
        if entry["type"] in ("png", "jpg", "jpeg", "gif", "webp"):
            # The demo keeps no contents: a stand-in picture, shown in the HUD's popup.
            from scenes import sample_png
            path = self._demo.write_sample("demo-storage-picture.png", sample_png(640, 400))
            if path is not None:
                self._demo.emit("show", path=path, title=entry["name"])
                return
        self._demo.say(f"Opening “{entry['name']}” — the demo keeps no contents to show.")

    def _delete(self, name: Any) -> None:
        entry = self._find(name)
        if entry is not None:
            self._files = [other for other in self._files if other["name"] != name]
            self._demo.say(f"Deleted “{name}”.")
        self.send_list()

    def _upload(self, paths: Any) -> None:
        if not isinstance(paths, list):
            log("storage_action.json: upload without a list of paths; ignored")
            self.send_list()
            return
        added = []
        for path in paths[:MAX_UPLOAD]:
            entry = _uploaded(path)
            if entry is None:
                continue
            self._files = [other for other in self._files if other["name"] != entry["name"]]
            self._files.insert(0, entry)
            added.append(entry["name"])
        self._demo.run(self._finish_upload(added, skipped=max(0, len(paths) - MAX_UPLOAD)))

    def _finish_upload(self, added: list[str], skipped: int):
        yield UPLOAD_SECONDS
        self.send_list()
        if added:
            noun = "file" if len(added) == 1 else "files"
            self._demo.say(f"Uploaded {len(added)} {noun}: {', '.join(added[:5])}"
                           f"{' and more' if len(added) > 5 else ''}.")
        else:
            self._demo.say("Nothing to upload: only regular files can be stored.")
        if skipped:
            self._demo.say(f"{skipped} more were left out; upload them in smaller batches.")


def _uploaded(path: Any) -> Optional[dict[str, Any]]:
    """The store's entry for an uploaded file; None unless it names a regular file. The file is
    only looked at, never opened, so a pipe or device under that name cannot stall the demo."""
    if not isinstance(path, str) or not path or "\0" in path:
        return None
    try:
        info = os.stat(path)
    except (OSError, ValueError):
        return None
    if not stat.S_ISREG(info.st_mode):
        return None
    name = os.path.basename(path)
    updated = datetime.datetime.fromtimestamp(info.st_mtime, datetime.timezone.utc).replace(microsecond=0)
    return {"name": name, "type": _kind(name), "size": info.st_size,
            "updated": updated.isoformat().replace("+00:00", "Z")}
