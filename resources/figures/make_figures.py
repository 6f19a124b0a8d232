#!/usr/bin/env python3
"""Writes the pictures of the first three figures (first.svg, second.svg,
third.svg). Coordinates are twips, the unit the program marks the figures in,
so each letter stands exactly where its marker circle is drawn."""

import math
import os

TURN = 6.28318
ALPHABET = "BCDEFGHIK"
BLUE = "#0000ff"
DARK_RED = "#663333"
GREEN, RED, ORANGE = "#009933", "#ff0000", "#ff9933"


def colour(letter):
    i = ALPHABET.index(letter) + 1
    return GREEN if i <= 3 else RED if i <= 6 else ORANGE


def at(w, h, r, a):
    return w / 2 + r * math.sin(a), h / 2 - r * math.cos(a)


def text(x, y, s, size, fill, extra=""):
    # Qt's SVG renderer has no vertical centring, so the baseline is lowered by hand.
    return (f'<text x="{x:.1f}" y="{y + 0.35 * size:.1f}" font-size="{size}" '
            f'text-anchor="middle" fill="{fill}" {extra}>{s}</text>')


def backed_text(x, y, s, size, fill, extra=""):
    width = 0.52 * size * len(s) + size * 0.3
    return (f'<rect x="{x - width / 2:.1f}" y="{y - 0.6 * size:.1f}" width="{width:.1f}" '
            f'height="{1.2 * size:.1f}" fill="white"/>' + text(x, y, s, size, fill, extra))


def svg(w, h, body):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{w / 15:.0f}" height="{h / 15:.0f}" viewBox="0 0 {w} {h}" '
            f'font-family="Liberation Serif, Times New Roman, serif">\n'
            f'<rect x="0" y="0" width="{w}" height="{h}" fill="white"/>\n'
            + "\n".join(body) + "\n</svg>\n")


def first_figure():
    w, h = 4335, 4215
    adjectives = ["Good", "Great", "Durable", "Powerful", "Wise", "Willing", "Virtuous",
                  "True", "Glorious"]
    principles = ["Goodness", "Greatness", "Duration", "Power", "Wisdom", "Will", "Virtue",
                  "Truth", "Glory"]
    rim = 1.05 * 1850
    body = [f'<circle cx="{w / 2}" cy="{h / 2}" r="{rim}" fill="none" stroke="{BLUE}" '
            f'stroke-width="18"/>']
    inner = [at(w, h, 900, i * TURN / 9) for i in range(9)]
    for i in range(9):
        for j in range(i + 1, 9):
            body.append(f'<line x1="{inner[i][0]:.1f}" y1="{inner[i][1]:.1f}" '
                        f'x2="{inner[j][0]:.1f}" y2="{inner[j][1]:.1f}" stroke="{BLUE}" '
                        f'stroke-width="10"/>')
    for i, letter in enumerate(ALPHABET):
        a = i * TURN / 9
        x, y = at(w, h, rim, a)
        body.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="135" fill="white" '
                    f'stroke="{BLUE}" stroke-width="14"/>')
        body.append(text(x, y, letter, 210, BLUE, 'font-weight="bold"'))
        # The adjective over the principle, stacked so that side letters do not run into them.
        wx, wy = at(w, h, 1430, a)
        body.append(text(wx, wy - 85, adjectives[i], 140, BLUE, 'font-style="italic"'))
        body.append(text(wx, wy + 85, principles[i], 150, BLUE))
    body.append(f'<circle cx="{w / 2}" cy="{h / 2}" r="210" fill="white" stroke="{BLUE}" '
                f'stroke-width="18"/>')
    body.append(text(w / 2, h / 2, "A", 250, BLUE, 'font-weight="bold"'))
    return svg(w, h, body)


def second_figure():
    w, h = 4335, 4215
    r = 1850
    order = "BEHCFIDGK"  # clockwise from the top, 40 degrees apart
    corners = {"B": "differ", "C": "concord", "D": "contra", "E": "begin", "F": "middle",
               "G": "end", "H": "major", "I": "equal", "K": "minor"}
    phrases = {
        "B": ["sense & sense", "sense & intell", "intell & intell"],
        "E": ["cause", "quantity", "time"],
        "F": ["conjunction", "measure", "extremes"],
        "G": ["privation", "termination", "perfection"],
        "H": ["subst & subst", "subst & acc", "acc & acc"],
    }
    phrases["C"] = phrases["D"] = phrases["B"]
    phrases["I"] = phrases["K"] = phrases["H"]
    pos = {letter: i for i, letter in enumerate(order)}
    body = [f'<circle cx="{w / 2}" cy="{h / 2}" r="{r}" fill="none" stroke="{DARK_RED}" '
            f'stroke-width="18"/>']
    for triangle in ("BCD", "EFG", "HIK"):
        points = " ".join("%.1f,%.1f" % at(w, h, r, pos[c] * TURN / 9) for c in triangle)
        body.append(f'<polygon points="{points}" fill="none" stroke="{DARK_RED}" '
                    f'stroke-width="16"/>')
    for letter in order:
        a = pos[letter] * TURN / 9
        fill = colour(letter)
        # The corner word over the three phrases, one block per compartment.
        bx, by = at(w, h, 1290, a)
        label = corners[letter]
        width = 0.55 * 115 * len(label) + 60
        body.append(f'<rect x="{bx - width / 2:.1f}" y="{by - 270:.1f}" width="{width:.1f}" '
                    f'height="150" rx="40" fill="{fill}" stroke="{DARK_RED}" stroke-width="8"/>')
        body.append(text(bx, by - 195, label, 115, "white", 'font-weight="bold"'))
        for k, phrase in enumerate(phrases[letter]):
            body.append(backed_text(bx, by - 55 + 115 * k, phrase.replace("&", "&amp;"), 100,
                                    fill))
    for letter in order:
        x, y = at(w, h, r, pos[letter] * TURN / 9)
        body.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="140" fill="{colour(letter)}" '
                    f'stroke="{DARK_RED}" stroke-width="14"/>')
        body.append(text(x, y, letter, 210, "white", 'font-weight="bold"'))
    body.append(f'<circle cx="{w / 2}" cy="{h / 2}" r="210" fill="white" '
                f'stroke="{DARK_RED}" stroke-width="18"/>')
    body.append(text(w / 2, h / 2, "T", 250, DARK_RED, 'font-weight="bold"'))
    return svg(w, h, body)


def third_figure():
    w = h = 4335
    body = []
    for row in range(1, 9):
        for a in range(1, 10 - row):
            b = a + row
            cx, cy = a * 497 - 245, row * 480 - 230
            body.append(f'<rect x="{cx - 248.5:.1f}" y="{cy - 240:.1f}" width="497" '
                        f'height="480" fill="white" stroke="black" stroke-width="15"/>')
            body.append(text(cx, cy, ALPHABET[a - 1] + ALPHABET[b - 1], 200, "black"))
    return svg(w, h, body)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, maker in (("first", first_figure), ("second", second_figure),
                        ("third", third_figure)):
        with open(os.path.join(here, name + ".svg"), "w", encoding="ascii") as f:
            f.write(maker())
