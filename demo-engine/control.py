"""The control folder: request files the HUD drops in, each handled once and then removed.

Only the known request names are looked at, so the HUD's temporary files ("name.XXXXXX"),
"hud_restart" and "hud_config.json" are left alone. The HUD replaces each file atomically, but
other writers (a script, a person testing by hand) may write in place, so a file that does not
parse yet may still be growing: it is given a short time to settle before it is thrown away
as malformed.
"""

from __future__ import annotations

import errno
import json
import os
import stat
import time
from dataclasses import dataclass
from typing import Any, Callable, Iterable, Optional

from runtime import log

MAX_REQUEST_BYTES = 256 * 1024
SETTLE_SECONDS = 0.4
CLAIM_PREFIX = ".claimed-"

Signature = tuple[int, int, int]  # inode, size, modification time


@dataclass(frozen=True)
class ControlFile:
    """A request file: `handle` gets its decoded JSON value (None for a marker file)."""

    name: str
    handle: Callable[[Any], None]
    marker: bool = False


@dataclass(frozen=True)
class _Snapshot:
    signature: Signature
    data: bytes
    oversize: bool


class _Malformed:
    pass


MALFORMED = _Malformed()


def decode_request(data: bytes) -> Any:
    """The JSON value in `data`, or MALFORMED."""
    try:
        return json.loads(data.decode("utf-8"))
    except (UnicodeDecodeError, ValueError, RecursionError):
        return MALFORMED


class ControlFolder:
    def __init__(self, path: str, files: Iterable[ControlFile],
                 clock: Callable[[], float] = time.monotonic) -> None:
        self.path = path
        self._files = {file.name: file for file in files}  # checked in this order
        self._clock = clock
        self._unparsed: dict[str, tuple[Signature, float]] = {}
        self._stuck: dict[str, Signature] = {}
        self._reported: set[tuple[str, str]] = set()

    def prepare(self) -> None:
        """Creates the folder and removes claims a killed predecessor left behind."""
        self._ensure_folder()
        try:
            leftovers = [name for name in os.listdir(self.path) if name.startswith(CLAIM_PREFIX)]
        except OSError:
            return
        for name in leftovers:
            _remove(os.path.join(self.path, name))

    def poll(self) -> None:
        self._ensure_folder()
        for file in self._files.values():
            try:
                self._check(file)
            except Exception as error:  # one bad request must not stop the others
                log(f"{file.name}: request failed: {error!r}")

    def _ensure_folder(self) -> None:
        try:
            os.makedirs(self.path, exist_ok=True)
        except OSError as error:
            self._report_once("", f"cannot create the control folder: {error.strerror}")

    def _check(self, file: ControlFile) -> None:
        snapshot = self._snapshot(file.name)
        if snapshot is None:
            return
        if self._stuck.get(file.name) == snapshot.signature:
            return
        if file.marker:
            if self._claim(file.name) is not None:
                file.handle(None)
            return
        if snapshot.oversize:
            if self._claim(file.name) is not None:
                log(f"{file.name}: larger than {MAX_REQUEST_BYTES} bytes; ignored")
            return
        value = decode_request(snapshot.data)
        if value is MALFORMED:
            if self._settled(file.name, snapshot.signature) and self._claim(file.name) is not None:
                log(f"{file.name}: not valid JSON; ignored")
            return
        claimed = self._claim(file.name)
        if claimed is None:
            return
        if claimed != snapshot.data:
            # Replaced between reading and claiming: the newer request is the one that counts.
            newer = decode_request(claimed)
            if newer is not MALFORMED:
                value = newer
        file.handle(value)

    def _snapshot(self, name: str) -> Optional[_Snapshot]:
        path = os.path.join(self.path, name)
        try:
            snapshot = _read_regular_file(path)
        except FileNotFoundError:
            self._forget(name)
            return None
        except _NotRegular:
            self._report_once(name, "not a regular file; left alone")
            return None
        except OSError as error:
            if error.errno == errno.ELOOP:
                # A symbolic link is never a request; dropping it keeps us from following it.
                _remove(path)
                log(f"{name}: a symbolic link; removed")
            else:
                self._report_once(name, f"cannot read: {error.strerror}")
            return None
        return snapshot

    def _settled(self, name: str, signature: Signature) -> bool:
        now = self._clock()
        seen = self._unparsed.get(name)
        if seen is None or seen[0] != signature:
            self._unparsed[name] = (signature, now)
            return False
        return now - seen[1] >= SETTLE_SECONDS

    def _claim(self, name: str) -> Optional[bytes]:
        """Moves the request out of the way and returns its bytes (None if it vanished).

        Renaming first means a request the HUD writes while we read is never deleted unseen.
        """
        path = os.path.join(self.path, name)
        claimed = os.path.join(self.path, CLAIM_PREFIX + name)
        try:
            os.rename(path, claimed)
        except FileNotFoundError:
            self._forget(name)
            return None
        except OSError as error:
            self._mark_stuck(name, path, f"cannot consume: {error.strerror}")
            return None
        self._forget(name)
        try:
            return _read_regular_file(claimed).data
        except (OSError, _NotRegular):
            return b""
        finally:
            _remove(claimed)

    def _mark_stuck(self, name: str, path: str, message: str) -> None:
        # Never handle the same unremovable file twice; a new file under the name is a new request.
        try:
            self._stuck[name] = _read_regular_file(path).signature
        except (OSError, _NotRegular):
            pass
        self._report_once(name, message)

    def _forget(self, name: str) -> None:
        self._unparsed.pop(name, None)
        self._stuck.pop(name, None)
        self._reported = {entry for entry in self._reported if entry[0] != name}

    def _report_once(self, name: str, message: str) -> None:
        if (name, message) not in self._reported:
            self._reported.add((name, message))
            log(f"{name}: {message}" if name else message)


class _NotRegular(Exception):
    pass


def _read_regular_file(path: str) -> _Snapshot:
    # O_NONBLOCK: a FIFO under a request name must not block the engine.
    fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK | os.O_NOFOLLOW | os.O_CLOEXEC)
    try:
        info = os.fstat(fd)
        if not stat.S_ISREG(info.st_mode):
            raise _NotRegular()
        signature = (info.st_ino, info.st_size, info.st_mtime_ns)
        if info.st_size > MAX_REQUEST_BYTES:
            return _Snapshot(signature, b"", True)
        chunks = []
        remaining = MAX_REQUEST_BYTES + 1
        while remaining > 0:
            chunk = os.read(fd, remaining)
            if not chunk:
                break
            chunks.append(chunk)
            remaining -= len(chunk)
        data = b"".join(chunks)
        return _Snapshot(signature, data, len(data) > MAX_REQUEST_BYTES)
    finally:
        os.close(fd)


def _remove(path: str) -> None:
    try:
        os.unlink(path)
    except OSError:
        pass
