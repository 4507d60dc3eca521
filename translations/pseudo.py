"""Makes the pseudo translation (en_XA) from the template: every text wrapped in ⟦…⟧ with its
letters accented, so a text the HUD shows untranslated stands out as plain English. Place
markers (%1, %n, %L1) stay as they are; a date format keeps its fields and gets the brackets as
quoted text, and the locale its dates are written in stays.

Usage: pseudo.py TEMPLATE.ts OUTPUT.ts
"""
import re
import sys
import xml.etree.ElementTree as ET

PLAIN = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
ACCENTED = "áƀçďéƒĝĥíĵķĺɱñóþʠŕšţúṽŵẋýžÁƁÇĎÉƑĜĤÍĴĶĹṀÑÓÞǪŔŠŢÚṼŴẊÝŽ"
LETTERS = str.maketrans(PLAIN, ACCENTED)
MARKER = re.compile(r"(%L?\d+|%n)")


def pseudo(text):
    parts = MARKER.split(text)
    return "⟦" + "".join(p if MARKER.fullmatch(p) else p.translate(LETTERS) for p in parts) + "⟧"


def main(source, target):
    tree = ET.parse(source)
    root = tree.getroot()
    root.set("language", "en_XA")
    for message in root.iter("message"):
        source, comment = message.findtext("source", ""), message.findtext("comment", "")
        if comment == "date format":
            text = "'⟦'" + source + "'⟧'"
        elif comment.startswith("locale"):
            text = source
        else:
            text = pseudo(source)
        translation = message.find("translation")
        if translation is None:
            translation = ET.SubElement(message, "translation")
        translation.attrib.clear()
        translation.text = None
        for form in list(translation):
            translation.remove(form)
        if message.get("numerus") == "yes":
            for _ in range(2):
                ET.SubElement(translation, "numerusform").text = text
        else:
            translation.text = text
    tree.write(target, encoding="utf-8", xml_declaration=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
