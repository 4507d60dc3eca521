"""What the demo engine "remembers": a small store of facts the memory card lists, searches,
corrects and forgets, and the graph of them, which grows by a few memories each time the HUD
asks for it."""

from __future__ import annotations

import itertools
from typing import Any, Callable

from runtime import log

START = (
    ("fact", "Prefers oat milk in coffee", "", "2024-03-05T14:07:09Z"),
    ("entity:person", "Ann Lee — sister, lives in Lisbon", "", "2024-03-06T09:15:00.250Z"),
    ("event", "Dentist appointment", "next Tuesday 9:30", "2024-03-07T18:02:00Z"),
    ("preference", "Likes replies short and plain", "", "2024-03-08T08:00:00Z"),
    ("entity:company", "Northwind Traders — main client", "", "2024-03-09T11:30:00Z"),
    ("task", "Send the Q2 report to Northwind", "by Friday", "2024-03-10T16:45:00Z"),
    ("entity:place", "Office at 12 Harbour Street", "", "2024-03-11T10:00:00Z"),
    ("observation", "Usually starts work around 8", "", "2024-03-12T07:55:00Z"),
    ("entity:amount", "Rent is 1,250 a month", "", "not a date"),
    ("reminder", "Water the ficus", "every Sunday", ""),
)
START_LINKS = ((1, 6), (4, 5), (2, 0), (3, 7), (5, 7))

GROWTH = (
    ("fact", "Allergic to peanuts"),
    ("entity:product", "Uses a Kestrel 14 laptop"),
    ("event", "Flight to Lisbon in May"),
    ("entity:thing", "Blue bicycle in the hallway"),
    ("preference", "Prefers window seats"),
    ("fact", "Speaks Portuguese a little"),
)
GROW_BY = 3


class Memories:
    def __init__(self, emit: Callable[..., None]) -> None:
        self._emit = emit
        self._numbers = itertools.count(1)
        self._growth = itertools.cycle(GROWTH)
        self._anchors = itertools.count(0, 5)
        self._items: list[dict[str, Any]] = []
        for kind, text, when, created in START:
            self._add(kind, text, when, created)
        self._links: list[tuple[str, str]] = [
            (self._items[a]["id"], self._items[b]["id"]) for a, b in START_LINKS]

    def _add(self, kind: str, text: str, when: str = "", created: str = "") -> dict[str, Any]:
        item = {"id": f"mem-{next(self._numbers)}", "text": text, "kind": kind}
        if when:
            item["when"] = when
        if created:
            item["created_at"] = created
        self._items.append(item)
        return item

    def _listed(self, query: str) -> list[dict[str, Any]]:
        linked = {end for link in self._links for end in link}
        needle = query.strip().casefold()
        return [dict(item, linked=item["id"] in linked) for item in self._items
                if not needle or needle in item["text"].casefold()
                or needle in item.get("kind", "").casefold()]

    def send(self, query: str) -> None:
        self._emit("memories", q=query, items=self._listed(query))

    def send_graph(self) -> None:
        nodes = [{"id": item["id"], "text": item["text"], "kind": item["kind"]} for item in self._items]
        edges = [{"from": a, "to": b, "type": "related"} for a, b in self._links]
        self._emit("graph", nodes=nodes, edges=edges)

    # Requests.

    def on_query(self, value: Any) -> None:
        query = value.get("q") if isinstance(value, dict) else None
        self.send(query if isinstance(query, str) else "")

    def on_action(self, value: Any) -> None:
        if not isinstance(value, dict) or not isinstance(value.get("id"), str):
            log("memory_action.json: no action with a memory id; ignored")
            return
        action, memory_id = value.get("action"), value["id"]
        query = value.get("q") if isinstance(value.get("q"), str) else ""
        if action == "forget":
            self._items = [item for item in self._items if item["id"] != memory_id]
            self._links = [link for link in self._links if memory_id not in link]
            self._emit("memory_forgotten", id=memory_id)
        elif action == "edit" and isinstance(value.get("text"), str) and value["text"].strip():
            for item in self._items:
                if item["id"] == memory_id:
                    item["text"] = value["text"]
                    break
            self.send(query)
        else:
            log("memory_action.json: neither a forget nor an edit with text; ignored")

    def on_graph_query(self, _value: Any) -> None:
        # Each look at the graph finds a few new memories, linked to earlier ones.
        for _ in range(GROW_BY):
            anchor = self._items[next(self._anchors) % len(self._items)]["id"] if self._items else None
            kind, text = next(self._growth)
            item = self._add(kind, text)
            if anchor:
                self._links.append((item["id"], anchor))
        self.send_graph()

    def on_graph_action(self, value: Any) -> None:
        if not isinstance(value, dict):
            log("graph_action.json: not an object; ignored")
            return
        a, b, action = value.get("a"), value.get("b"), value.get("action")
        known = {item["id"] for item in self._items}
        if not (isinstance(a, str) and isinstance(b, str) and a in known and b in known and a != b):
            log("graph_action.json: needs two different known memory ids; ignored")
            return
        joined = [link for link in self._links if set(link) == {a, b}]
        if action == "link" and not joined:
            self._links.append((a, b))
        elif action == "unlink":
            self._links = [link for link in self._links if set(link) != {a, b}]
        elif action != "link":
            log("graph_action.json: neither link nor unlink; ignored")
            return
        self.send_graph()
