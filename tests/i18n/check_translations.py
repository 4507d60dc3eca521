"""Fails when the translation template is behind the sources, or a translation is incomplete:
texts missing or unfinished, or place markers (%1, %n) other than the original's.
Usage: check_translations.py LUPDATE LRELEASE SOURCE_DIR [lupdate options...]"""
import pathlib, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

lupdate, lrelease, source, options = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3]), sys.argv[4:]
folder, markers = source / "translations", re.compile(r"%L?\d+|%n")


def messages(ts):
    """(context, source, comment) -> the translation's texts (every plural form)."""
    return {(c.findtext("name"), m.findtext("source"), m.findtext("comment")):
            [t.text or ""] if not len(t) else [f.text or "" for f in t]
            for c in ET.parse(ts).getroot().iter("context") for m in c.iter("message") for t in [m.find("translation")]}


def report(title, items):
    for item in sorted(items, key=str):
        print(f"{title}: {item}")
    return bool(items)


failed = False
with tempfile.TemporaryDirectory() as tmp:
    current = pathlib.Path(tmp) / "halvic.ts"
    shutil.copy(folder / "halvic.ts", current)
    subprocess.run([lupdate, *options, str(source / "src"), "-ts", str(current)], check=True, capture_output=True)
    template, fresh = messages(folder / "halvic.ts"), messages(current)
    failed |= report("new in the sources, not in halvic.ts (build update_translations)", fresh.keys() - template.keys())
    failed |= report("in halvic.ts, gone from the sources", template.keys() - fresh.keys())
    for ts in sorted(folder.glob("halvic_*.ts")):
        translated = messages(ts)
        failed |= report(f"{ts.name} lacks", template.keys() - translated.keys())
        failed |= report(f"{ts.name}: other place markers", [k for k, texts in translated.items() if any(
            sorted(markers.findall(text)) != sorted(markers.findall(k[1])) for text in texts)])
        out = subprocess.run([lrelease, str(ts), "-qm", str(pathlib.Path(tmp) / "out.qm")],
                             check=True, capture_output=True, text=True).stdout
        if not re.search(r"\(\d+ finished and 0 unfinished\)", out) or "untranslated" in out:
            failed = report(f"{ts.name} is not complete", [out.strip()])
print("translations: " + ("FAILED" if failed else "complete and current"))
sys.exit(1 if failed else 0)
