#!/usr/bin/env python3
"""Check the layout of the camera commentary (resources/texts/110.txt).

The loader splits this file on lines that begin with "Chapter", so a stray
line of that kind would shift every later camera; the other checks keep the
file readable byte for byte by the single-byte, CR LF reader.

Usage: check_commentary.py [--partial] [FILE]
  --partial  accept fewer than 36 chapters (for a file still being written)
Exit status 0 when the file is sound, 1 otherwise; problems go to stderr.
"""

import re
import sys
from pathlib import Path

LETTERS = "BCDEFGHIK"
CAMERAS = [a + b for i, a in enumerate(LETTERS) for b in LETTERS[i + 1:]]
FIRST_NUMBER = 59
FIRST_OPENING = "59. We begin to evacuate this camera"
MIN_PARAGRAPHS = 3
WORDS_LOW, WORDS_HIGH = 60, 150


def check(data: bytes, partial: bool) -> list[str]:
    errors: list[str] = []

    stripped = data.rstrip(b"\0")
    padding = len(data) - len(stripped)
    if padding > 3:
        errors.append(f"{padding} NUL bytes of padding (at most 3)")
    if len(data) % 4:
        errors.append(f"length {len(data)} is not a multiple of four")
    if b"\0" in stripped:
        errors.append("NUL byte inside the text")
    if not stripped.endswith(b"\r\n"):
        errors.append("text does not end with CR LF")
    if any(b > 0x7E or (b < 0x20 and b not in (0x0D, 0x0A)) for b in stripped):
        errors.append("byte outside printable 7-bit ASCII (or a TAB)")
    if re.search(rb"\r(?!\n)|(?<!\r)\n", stripped):
        errors.append("line end other than CR LF")
    if errors:
        return errors

    lines = stripped.decode("ascii")[:-2].split("\r\n")
    heads = [i for i, line in enumerate(lines) if line.startswith("Chapter")]
    if not heads or heads[0] != 0:
        errors.append("file does not begin with a chapter heading")
        return errors
    if not partial and len(heads) != len(CAMERAS):
        errors.append(f"{len(heads)} chapters, expected {len(CAMERAS)}")
    if len(heads) > len(CAMERAS):
        errors.append("more chapters than cameras")
        return errors

    expected = FIRST_NUMBER
    numbers: set[int] = set()
    references: list[tuple[int, int]] = []
    bodies: list[tuple[str, int, str]] = []
    for n, start in enumerate(heads):
        end = heads[n + 1] if n + 1 < len(heads) else len(lines)
        chapter = lines[start:end]
        camera = CAMERAS[n]
        where = f"chapter {n + 1}"
        if chapter[0] != f"Chapter {n + 1}":
            errors.append(f"{where}: heading reads {chapter[0]!r}")
        if len(chapter) < 3 or chapter[1] != f"Camera {camera}" or chapter[2].strip(" "):
            errors.append(f"{where}: expected 'Camera {camera}' and a blank line")
            continue
        # Paragraphs are single lines separated by single blank lines.
        body = chapter[3:]
        paragraphs = body[0::2]
        gaps = body[1::2]
        if any(g.strip(" ") for g in gaps) or any(not p.strip(" ") for p in paragraphs):
            errors.append(f"{where}: paragraphs must be single lines between single blank lines")
            continue
        if len(paragraphs) < MIN_PARAGRAPHS:
            errors.append(f"{where}: only {len(paragraphs)} paragraphs")
        for p in paragraphs:
            m = re.match(r"(\d+)\. \S", p)
            if not m or int(m.group(1)) != expected:
                errors.append(f"{where}: paragraph {p[:20]!r} should be numbered {expected}")
                return errors
            if p != p.strip(" "):
                errors.append(f"{where}: paragraph {expected} has stray spaces at an end")
            if "  " in p:
                errors.append(f"{where}: paragraph {expected} has a double space")
            words = len(p.split()) - 1
            if not WORDS_LOW <= words <= WORDS_HIGH:
                errors.append(f"{where}: paragraph {expected} has {words} words")
            for ref in re.findall(r"#(\d+)", p):
                references.append((expected, int(ref)))
            numbers.add(expected)
            bodies.append((camera, expected, p))
            expected += 1

    if heads and not lines[heads[0] + 3].startswith(FIRST_OPENING):
        errors.append(f"first paragraph does not begin {FIRST_OPENING!r}")
    for at, ref in references:
        if ref not in numbers or ref == at:
            errors.append(f"paragraph {at} refers to #{ref}, which is not another paragraph")
    errors.extend(check_sameness(bodies))
    return errors


def check_sameness(bodies: list[tuple[str, int, str]]) -> list[str]:
    """Flag paragraphs that are one template with the letters swapped."""
    from difflib import SequenceMatcher

    def masked(camera: str, text: str) -> str:
        text = re.sub(r"^\d+\. ", "", text)
        text = re.sub(r"#\d+", "#", text)
        for letter in camera:
            text = re.sub(rf"\b{letter}\b", "X", text)
        return text.lower()

    found = []
    texts = [(c, n, masked(c, p)) for c, n, p in bodies]
    for i, (ci, ni, ti) in enumerate(texts):
        for cj, nj, tj in texts[i + 1:]:
            if ci == cj:
                continue
            sm = SequenceMatcher(None, ti, tj, autojunk=False)
            if sm.real_quick_ratio() > 0.8 and sm.quick_ratio() > 0.8 and sm.ratio() > 0.8:
                found.append(f"paragraphs {ni} and {nj} read as one template")
    return found


def main(argv: list[str]) -> int:
    partial = "--partial" in argv
    args = [a for a in argv if a != "--partial"]
    path = Path(args[0]) if args else Path(__file__).resolve().parent.parent / "resources/texts/110.txt"
    errors = check(path.read_bytes(), partial)
    for e in errors:
        print(f"{path}: {e}", file=sys.stderr)
    if not errors:
        text = path.read_bytes().rstrip(b"\0").decode("ascii")
        paragraphs = re.findall(r"^(\d+)\. ", text, re.M)
        words = len(text.split())
        print(f"{path}: {text.count(chr(10) + 'Chapter') + 1} chapters, paragraphs "
              f"{paragraphs[0]}..{paragraphs[-1]} ({len(paragraphs)}), about {words} words")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
