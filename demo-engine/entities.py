"""The demo's entity dossiers: a person and a company who know each other, their profiles
and composed dossiers, and what the dossier card's commands (entity_action.json) change.

Everything here is plain data and pure functions of it; `demo.Demo` emits the events.
"""

from __future__ import annotations

import copy
import itertools
from dataclasses import dataclass, field
from typing import Any, Optional

# How long the demo "arranges" a dossier before sending its composed layout.
COMPOSE_SECONDS = 1.2


def _entity(key: str, name: str, etype: str, **rest: Any) -> dict[str, Any]:
    return {"key": key, "name": name, "etype": etype, **rest}


# The demo's knowledge, by entity name. Relations name other entities by their names.
_START: dict[str, dict[str, Any]] = {
    "Maya Okafor": _entity(
        "demo:maya", "Maya Okafor", "person",
        aliases=["Maya", "M. Okafor"],
        summary="Product designer at Northwind Studio; leads the spring redesign.",
        read="quick to answer, prefers short calls to long threads",
        quick={"phones": ["+1 (415) 555-0132"], "emails": ["maya@northwind.example"],
               "urls": ["northwind.example/team/maya"], "amounts": []},
        relations=[
            {"other": "Northwind Studio", "otype": "company", "rtype": "works at", "direction": "out",
             "other_summary": "Design studio in Oakland, 40 people."},
            {"other": "Tom Berg", "otype": "person", "rtype": "colleague", "direction": "both",
             "other_summary": "Engineer on the redesign."},
        ],
        timeline=[
            {"date": "2026-11-30", "kind": "event", "fact": "Planning meeting for the spring redesign"},
            {"date": "2026-10-12", "kind": "fact", "fact": "Moved to the Oakland office"},
            {"date": "2026-06-02", "kind": "pref", "fact": "Asked for agendas a day ahead"},
        ],
        facts_by_kind={
            "fact": [{"fact": "Leads the spring redesign", "date": "2026-11-30"},
                     {"fact": "Works from Oakland on Tuesdays", "date": "2026-10-12"}],
            "preference": [{"fact": "Prefers short calls to long threads", "date": "2026-06-02"}],
        },
        tasks=[{"text": "Send Maya the slides from the planning meeting", "due": "Friday"}],
        last_touch="2026-11-30",
    ),
    "Northwind Studio": _entity(
        "demo:northwind", "Northwind Studio", "company",
        aliases=["Northwind"],
        summary="Design studio in Oakland, 40 people; the client for the spring redesign.",
        read="pays on time, likes fixed-price quotes",
        quick={"phones": ["+1 510 555 0190"], "emails": ["hello@northwind.example"],
               "urls": ["https://northwind.example"], "amounts": ["$48,000 contract"]},
        relations=[
            {"other": "Maya Okafor", "otype": "person", "rtype": "employs", "direction": "out",
             "other_summary": "Product designer; leads the spring redesign."},
            {"other": "Tom Berg", "otype": "person", "rtype": "employs", "direction": "out",
             "other_summary": "Engineer on the redesign."},
        ],
        timeline=[
            {"date": "2026-11-02", "kind": "event", "fact": "Signed the redesign contract"},
            {"date": "2026-09-15", "kind": "observation", "fact": "Opened a second office"},
        ],
        facts_by_kind={"fact": [{"fact": "Contract worth $48,000", "date": "2026-11-02"}]},
        tasks=[],
        last_touch="2026-11-02",
    ),
    "Tom Berg": _entity(
        "demo:tom", "Tom Berg", "person",
        aliases=[],
        summary="Engineer on the spring redesign.",
        read="detail-minded",
        quick={"phones": [], "emails": ["tom@northwind.example"], "urls": [], "amounts": []},
        relations=[
            {"other": "Northwind Studio", "otype": "company", "rtype": "works at", "direction": "out",
             "other_summary": "Design studio in Oakland, 40 people."},
            {"other": "Maya Okafor", "otype": "person", "rtype": "colleague", "direction": "both",
             "other_summary": "Product designer; leads the spring redesign."},
        ],
        timeline=[{"date": "2026-11-30", "kind": "event", "fact": "Joined the planning meeting"}],
        facts_by_kind={},
        tasks=[],
        last_touch="2026-11-30",
    ),
}


@dataclass
class Dossiers:
    """The demo's entities as they stand after the user's notes, summaries and removals."""

    entities: dict[str, dict[str, Any]] = field(default_factory=lambda: copy.deepcopy(_START))
    _notes: itertools.count = field(default_factory=lambda: itertools.count(1))

    def names(self) -> list[str]:
        return list(self.entities)

    def by_key(self, key: Any) -> Optional[dict[str, Any]]:
        return next((e for e in self.entities.values() if e["key"] == key), None)

    def find(self, name: Any) -> Optional[dict[str, Any]]:
        """The entity called `name` or one of its aliases (any case)."""
        if not isinstance(name, str):
            return None
        wanted = name.strip().lower()
        for entity in self.entities.values():
            if wanted in (n.lower() for n in [entity["name"], *entity["aliases"]]):
                return entity
        return None

    def profile(self, entity: dict[str, Any]) -> dict[str, Any]:
        facts = sum(len(group) for group in entity["facts_by_kind"].values())
        return {
            "entity": {key: entity[key] for key in ("key", "name", "etype", "aliases")},
            "summary": entity["summary"],
            "read": entity["read"],
            "quick": entity["quick"],
            "relations": entity["relations"],
            "timeline": entity["timeline"],
            "facts_by_kind": entity["facts_by_kind"],
            "tasks": entity["tasks"],
            "counts": {"facts": facts, "relations": len(entity["relations"]),
                       "last_touch": entity["last_touch"]},
            "also_matched": [],
        }

    def composed(self, entity: dict[str, Any]) -> dict[str, Any]:
        """The engine's arrangement of the dossier: what matters first, then who is around."""
        quick = entity["quick"]
        chips = ([{"kind": "phone", "label": "call", "value": v} for v in quick["phones"]]
                 + [{"kind": "email", "label": "mail", "value": v} for v in quick["emails"]]
                 + [{"kind": "link", "label": "web", "value": v} for v in quick["urls"]])
        people = [{"icon": "company" if r["otype"] == "company" else "person", "title": r["other"],
                   "sub": r["rtype"], "entity": r["other"]} for r in entity["relations"]]
        recent = [{"icon": "event" if t["kind"] == "event" else "note", "title": t["fact"],
                   "date": t["date"]} for t in entity["timeline"][:3]]
        badges = [entity["etype"]] + (["open task"] if entity["tasks"] else [])
        return {
            "header": {"role_line": entity["summary"], "badges": badges},
            "sections": [
                {"type": "text", "title": "In short", "body": f"{entity['summary']} Your read: {entity['read']}."},
                {"type": "chips", "title": "Reach", "chips": chips},
                {"type": "list", "title": "People and places", "rows": people},
                {"type": "list", "title": "Lately", "rows": recent},
                {"type": "kv", "title": "Numbers", "rows": [
                    {"k": "Facts", "v": sum(len(g) for g in entity["facts_by_kind"].values())},
                    {"k": "Relations", "v": len(entity["relations"])}]},
            ],
        }

    def unknown_profile(self, name: str) -> dict[str, Any]:
        return {"entity": {"key": f"demo:unknown:{name.lower()}", "name": name, "etype": "", "aliases": []},
                "summary": f"The demo knows nothing about {name}.",
                "counts": {"facts": 0, "relations": 0}}

    # The card's commands. Each returns the entity whose profile changed, or None.

    def add_note(self, key: Any, text: Any) -> Optional[dict[str, Any]]:
        entity = self.by_key(key)
        if entity is None or not isinstance(text, str) or not text.strip():
            return None
        note = {"id": f"note-{next(self._notes)}", "fact": text.strip(), "date": ""}
        entity["facts_by_kind"].setdefault("fact", []).insert(0, note)
        return entity

    def set_summary(self, key: Any, text: Any) -> Optional[dict[str, Any]]:
        entity = self.by_key(key)
        if entity is None or not isinstance(text, str):
            return None
        entity["summary"] = text.strip()
        return entity

    def unrelate(self, key: Any, other: Any) -> Optional[dict[str, Any]]:
        """Forgets the relation both ways round."""
        entity = self.by_key(key)
        if entity is None or not isinstance(other, str) or not other:
            return None
        entity["relations"] = [r for r in entity["relations"] if r["other"] != other]
        partner = self.entities.get(other)
        if partner is not None:
            partner["relations"] = [r for r in partner["relations"] if r["other"] != entity["name"]]
        return entity
