#!/usr/bin/python3
"""Builds astrol.ttf, the symbol font "Astro" of the planet chart.

The chart prints sign and planet symbols as plain capital letters: A..L are
the twelve signs from Aries to Pisces, Q..W the Sun, Moon, Mercury, Venus,
Mars, Jupiter and Saturn. The glyphs come from DejaVu Sans, whose licence
allows changes as long as the result carries another name, so the font is cut
down to those symbols, mapped onto the letters and renamed.

Run with the Debian interpreter that has python3-fonttools:
    /usr/bin/python3 tools/make_astro_font.py SOURCE.ttf OUTPUT.ttf
"""

import logging
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Astro"

# Letter -> Unicode symbol it shows.
SIGNS = {chr(ord("A") + k): 0x2648 + k for k in range(12)}  # Aries .. Pisces
PLANETS = {
    "Q": 0x2609,  # Sun
    "R": 0x263D,  # Moon (first quarter)
    "S": 0x263F,  # Mercury
    "T": 0x2640,  # Venus
    "U": 0x2642,  # Mars
    "V": 0x2643,  # Jupiter
    "W": 0x2644,  # Saturn
}
LETTERS = {**SIGNS, **PLANETS}

# Name records that carry the source family's name; all are replaced.
RENAMED = {
    1: FAMILY,
    2: "Regular",
    3: FAMILY + " Regular; astrological symbols on capital letters",
    4: FAMILY,
    6: FAMILY,
    10: "Astrological sign and planet symbols on the letters A-L and Q-W, "
        "derived from DejaVu Sans.",
}
DROPPED = {8, 9, 11, 12, 16, 17, 18, 21, 22}


def build(source, output):
    font = TTFont(source)
    cmap = font.getBestCmap()
    missing = [hex(cp) for cp in LETTERS.values() if cp not in cmap]
    if missing:
        sys.exit("source font lacks " + ", ".join(missing))

    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    options.glyph_names = True
    options.layout_features = []
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=list(LETTERS.values()))
    subsetter.subset(font)

    glyph_of = {cp: font.getBestCmap()[cp] for cp in LETTERS.values()}
    for table in font["cmap"].tables:
        if table.isUnicode():
            for letter, cp in LETTERS.items():
                table.cmap[ord(letter)] = glyph_of[cp]

    names = font["name"]
    names.names = [n for n in names.names
                   if n.nameID not in DROPPED and n.nameID not in RENAMED]
    for name_id, text in RENAMED.items():
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)

    # Keeping the source's dates makes every build give the same file.
    font.recalcTimestamp = False
    font.save(output, reorderTables=True)


def main(argv):
    # The subsetter reports every table it drops; none of them matter here.
    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)
    if len(argv) != 3:
        sys.exit("usage: make_astro_font.py SOURCE.ttf OUTPUT.ttf")
    build(argv[1], argv[2])


if __name__ == "__main__":
    main(sys.argv)
