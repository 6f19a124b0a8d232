#!/usr/bin/env python3
"""Builds the combinatorial text tables of the Art.

The camera media (102), the camera questions (106) and the statements about
subjects, vices and virtues (107, 108, 109) follow mechanically from the nine
letters, so they are generated from the word tables below and a few
hand-written sentence patterns instead of being typed out by hand.

    gen_texts.py                     write the five files into resources/texts
    gen_texts.py --output-dir DIR    write them into DIR instead
    gen_texts.py --check             exit 1 if the committed files differ

Every file is 7-bit ASCII with CR LF line ends, padded with NUL bytes to a
multiple of four bytes, because the loader reads them as raw resources.
"""

import argparse
import os
import sys

LETTERS = "BCDEFGHIK"

# The word tables of the alphabet, exactly as the program shows them.
ABS_PRINCIPLES = ["Goodness", "Greatness", "Duration", "Power", "Wisdom",
                  "Will", "Virtue", "Truth", "Glory"]
REL_PRINCIPLES = ["Difference", "Concordance", "Contrariety", "Beginning",
                  "Middle", "End", "Majority", "Equality", "Minority"]
QUESTIONS = ["Whether?", "What?", "Of What?", "Why?", "How much?",
             "Of what kind?", "When?", "Where?", "How?"]
SUBJECTS = ["God", "Angel", "Heaven", "Man", "Imaginative", "Sensitive",
            "Vegetative", "Elementative", "Instrumentative"]
VIRTUES = ["Justice", "Prudence", "Fortitude", "Temperance", "Faith", "Hope",
           "Charity", "Patience", "Compassion"]
VICES = ["Avarice", "Gluttony", "Lust", "Conceit", "Accidie(Sloth)", "Envy",
         "Ire", "Falsehood", "Inconstancy"]
ABS_ADJECTIVES = ["Good", "Great", "Eternal", "Powerful", "Wise", "Willing",
                  "Virtuous", "True", "Glorious"]
REL_ADJECTIVES = ["Different", "Concordant", "Contrary", "First", "Middle",
                  "Last", "Major", "Equal", "Minor"]

# The propositions page shows these predicates in their passive sense (what a
# principle can receive rather than what it does); the media and questions
# use the same words so that all three read alike.
PREDICATE_WORDS = {"Middle": "mediative", "Eternal": "durable",
                   "Willing": "desirable", "Wise": "knowable", "Last": "final"}


def cameras():
    """The 36 unordered pairs of the third figure, in camera order."""
    return [(a, b) for a in range(9) for b in range(a + 1, 9)]


def camera_key(a, b):
    return LETTERS[a] + LETTERS[b]


# ---------------------------------------------------------------------------
# The twelve propositions of a camera and their terms

ABSOLUTE, RELATIVE = 0, 1


def propositions(a, b):
    """The twelve (subject, predicate) couples of camera (a, b), each term a
    (kind, letter) tuple, in the order the propositions page lists them."""
    A, R = ABSOLUTE, RELATIVE
    return [((A, a), (A, b)), ((A, a), (R, a)), ((A, a), (R, b)),
            ((A, b), (A, a)), ((A, b), (R, a)), ((A, b), (R, b)),
            ((R, a), (A, a)), ((R, a), (A, b)), ((R, a), (R, b)),
            ((R, b), (A, a)), ((R, b), (A, b)), ((R, b), (R, a))]


def noun(term):
    """The principle as a noun inside a sentence: "goodness", "the end"."""
    kind, letter = term
    name = (ABS_PRINCIPLES if kind == ABSOLUTE else REL_PRINCIPLES)[letter]
    if name in ("Beginning", "Middle", "End"):
        return "the " + name.lower()
    return name.lower()


def predicate(term):
    kind, letter = term
    word = (ABS_ADJECTIVES if kind == ABSOLUTE else REL_ADJECTIVES)[letter]
    return PREDICATE_WORDS.get(word, word.lower())


def capital(text):
    return text[0].upper() + text[1:]


# ---------------------------------------------------------------------------
# Media (102): one syllogism per proposition. The middle term is what the
# predicate's principle does to whatever receives it; the minor premise says
# the subject receives it in its own act, which is where the two principles
# meet.

MIDDLE_TERMS = {
    (ABSOLUTE, 0): "does good by reason of goodness",
    (ABSOLUTE, 1): "is magnified by greatness",
    (ABSOLUTE, 2): "endures by duration",
    (ABSOLUTE, 3): "is able to act through power",
    (ABSOLUTE, 4): "is understood by wisdom",
    (ABSOLUTE, 5): "is loved by will",
    (ABSOLUTE, 6): "is strengthened by virtue",
    (ABSOLUTE, 7): "is verified by truth",
    (ABSOLUTE, 8): "rests in glory",
    (RELATIVE, 0): "is distinguished by difference",
    (RELATIVE, 1): "agrees with another through concordance",
    (RELATIVE, 2): "resists its opposite through contrariety",
    (RELATIVE, 3): "is a beginning of something",
    (RELATIVE, 4): "joins two extremes",
    (RELATIVE, 5): "is sought as an end",
    (RELATIVE, 6): "exceeds another through majority",
    (RELATIVE, 7): "matches another through equality",
    (RELATIVE, 8): "falls short of another through minority",
}

# The act by which each principle, as subject, takes on the other.
ACTS = {
    (ABSOLUTE, 0): "doing good",
    (ABSOLUTE, 1): "magnifying",
    (ABSOLUTE, 2): "enduring",
    (ABSOLUTE, 3): "enabling",
    (ABSOLUTE, 4): "understanding",
    (ABSOLUTE, 5): "loving",
    (ABSOLUTE, 6): "strengthening",
    (ABSOLUTE, 7): "verifying",
    (ABSOLUTE, 8): "delighting",
    (RELATIVE, 0): "distinguishing",
    (RELATIVE, 1): "agreeing",
    (RELATIVE, 2): "opposing",
    (RELATIVE, 3): "giving rise to things",
    (RELATIVE, 4): "mediating",
    (RELATIVE, 5): "completing",
    (RELATIVE, 6): "exceeding",
    (RELATIVE, 7): "equalling",
    (RELATIVE, 8): "falling short",
}

# Propositions the definitions settle in the negative. Their media conclude
# "is not", and the camera asks no question about them, since the answer is
# already given (this is why camera FK has ten questions and HK eleven):
# - minority is the being nearest to nothing: below it there is nothing it
#   could exceed, so it is not major, and nothing it could stand between, so
#   it is not a middle;
# - glory is the rest of what has reached its end, while a middle is still on
#   the way between beginning and end, so glory is not mediative.
# The converse propositions (majority is minor, the middle is minor, the
# middle is glorious) stay open: each of those can hold in some respect.
SETTLED = {
    ((RELATIVE, 8), (RELATIVE, 6)):
        "Whatever is major exceeds something beneath it, but minority, being "
        "nearest to nothing, has nothing beneath it to exceed; therefore "
        "minority is not major.",
    ((RELATIVE, 8), (RELATIVE, 4)):
        "Whatever is mediative has an extreme on either side of it, but "
        "minority, being nearest to nothing, has no extreme beneath it; "
        "therefore minority is not mediative.",
    ((ABSOLUTE, 8), (RELATIVE, 4)):
        "Whatever is mediative is still on the way between a beginning and an "
        "end, but glory is the rest of what has reached its end; therefore "
        "glory is not mediative.",
}


def medium(subject, pred):
    if (subject, pred) in SETTLED:
        return SETTLED[(subject, pred)]
    s, p, m = noun(subject), predicate(pred), MIDDLE_TERMS[pred]
    return "Whatever %s is %s, but %s, in %s, %s; therefore %s is %s." % (
        m, p, s, ACTS[subject], m, s, p)


# ---------------------------------------------------------------------------
# Questions (106): each proposition asked with the question of the camera's
# first letter and then with that of its second letter.

# Predicates that have no degrees take "to what degree" rather than "how".
UNGRADED = {"first", "final", "mediative", "major", "minor"}


def noun_phrase(p, s):
    """The predicate folded into the subject: "great goodness", "the first end"."""
    if s.startswith("the "):
        return "the %s %s" % (p, s[4:])
    return "%s %s" % (p, s)


def ask(letter, subject, pred):
    s, p = noun(subject), predicate(pred)
    if letter == 0:
        return "Is %s %s?" % (s, p)
    if letter == 1:
        return "What is %s?" % noun_phrase(p, s)
    if letter == 2:
        return "Of what does %s consist?" % noun_phrase(p, s)
    if letter == 3:
        return "Why is %s %s?" % (s, p)
    if letter == 4:
        if p in UNGRADED:
            return "To what degree is %s %s?" % (s, p)
        return "How %s is %s?" % (p, s)
    if letter == 5:
        return "Of what kind is %s?" % noun_phrase(p, s)
    if letter == 6:
        return "When is %s %s?" % (s, p)
    if letter == 7:
        return "Where is %s %s?" % (s, p)
    return "How is %s %s?" % (s, p)


def camera_questions(a, b):
    return [capital(ask(a, s, p)) + " " + capital(ask(b, s, p))
            for s, p in propositions(a, b) if (s, p) not in SETTLED]


# ---------------------------------------------------------------------------
# Statements (107-109). A statement is kept as a small structure so that its
# sentence and its question come from one place and always agree.

class Says:
    """One statement: renders as a sentence about a subject and as the
    question that asks it."""

    def __init__(self, verb, rest, base=None):
        self.verb = verb  # "is", "has", "no", "can", or a verb in the third person
        self.rest = rest
        self.base = base  # the plain form of a verb, for "Does ... ?"

    def sentence(self, name):
        if self.verb == "no":
            return "%s has no %s." % (name, self.rest)
        if self.verb == "can":
            return "%s can be %s." % (name, self.rest)
        return "%s %s %s." % (name, self.verb, self.rest)

    def question(self, name):
        if self.verb == "is":
            return "Is %s %s?" % (name, self.rest)
        if self.verb == "no":
            return "Is there %s in %s?" % (self.rest, name)
        if self.verb == "can":
            return "Can %s be %s?" % (name, self.rest)
        if self.verb == "has":
            return "Does %s have %s?" % (name, self.rest)
        return "Does %s %s %s?" % (name, self.base, self.rest)


def IS(rest):
    return Says("is", rest)


def HAS(rest):
    return Says("has", rest)


def NO(rest):
    return Says("no", rest)


def CAN(rest):
    return Says("can", rest)


def DOES(verb, base, rest):
    return Says(verb, rest, base)


class Name:
    """How a subject, virtue or vice is written: the first time in a line, again
    at the start of a sentence, and inside a question."""

    def __init__(self, first, again=None, inner=None):
        self.first = first
        self.again = again or first
        self.inner = inner if inner is not None else self.again


def statement_line(name, first, second):
    return " ".join([first.sentence(name.first), second.sentence(name.again),
                     first.question(name.inner), second.question(name.inner)])


SUBJECT_NAMES = [Name("God"), Name("An angel", inner="an angel"),
                 Name("Heaven", inner="heaven"), Name("Man", inner="man")] + [
    Name("The " + word.lower(), inner="the " + word.lower())
    for word in SUBJECTS[4:]]

# What each subject is under each absolute principle, subject by subject: the
# higher subjects have the perfections themselves, the lower powers have them
# as objects or in a lesser way.
_LOWER_ABSOLUTE = [IS("good"), IS("great"), IS("durable"), HAS("power"),
                   IS("knowable"), IS("lovable"), HAS("virtue"), IS("true")]

SUBJECT_ABSOLUTE = [
    [IS("good"), IS("infinite"), IS("eternal"), IS("powerful"), IS("wise"),
     IS("willing"), IS("virtuous"), IS("true"), IS("glorious")],
    [IS("good"), IS("great"), IS("everlasting"), IS("powerful"), IS("wise"),
     HAS("a will"), IS("virtuous"), IS("true"), IS("glorious")],
    [IS("good"), IS("great"), IS("lasting"), IS("powerful"), IS("knowable"),
     IS("lovable"), HAS("virtue"), IS("true"), IS("glorious")],
    [IS("good"), IS("great"), IS("durable"), IS("powerful"), CAN("wise"),
     HAS("a will"), CAN("virtuous"), CAN("true"), CAN("glorious")],
    _LOWER_ABSOLUTE + [DOES("takes", "take", "delight in its images")],
    _LOWER_ABSOLUTE + [DOES("takes", "take", "delight in what it senses")],
    _LOWER_ABSOLUTE + [DOES("serves", "serve", "glory")],
    _LOWER_ABSOLUTE + [DOES("serves", "serve", "glory")],
    _LOWER_ABSOLUTE + [DOES("serves", "serve", "glory")],
]

SUBJECT_RELATIVE = [
    [IS("different"), IS("concordant"), NO("contrariety"), IS("first"),
     HAS("a middle within himself"), IS("the last end"), IS("greatest of all"),
     IS("equal in all his dignities"), NO("minority")],
    [IS("different"), IS("concordant"), IS("free of bodily contrariety"),
     HAS("a beginning"), IS("a middle between God and man"),
     IS("made for an end"), HAS("majority over bodies"),
     HAS("equality among its powers"), IS("minor beside God")],
    [IS("different"), IS("concordant"), NO("contrariety"), HAS("a beginning"),
     IS("a middle through which influence reaches the elements"), IS("made for an end"),
     HAS("majority over the elements"), IS("equal in its motion"),
     IS("minor beside the angels")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"), IS("a middle between the spiritual and the bodily"),
     IS("made for an end"), HAS("majority over the other animals"),
     IS("equal to other men in nature"), IS("minor beside the angels")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"), IS("a middle between the senses and the intellect"),
     IS("made for an end"), HAS("majority over the sensitive"),
     DOES("weighs", "weigh", "its images with equality"),
     IS("minor beside the intellect")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"),
     IS("a middle between the vegetative and the imaginative"),
     IS("made for an end"), HAS("majority over the vegetative"),
     HAS("equality among the five senses"), IS("minor beside the imaginative")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"),
     IS("a middle between the elementative and the sensitive"),
     IS("made for an end"), HAS("majority over the elementative"),
     DOES("seeks", "seek", "equality in its growth"),
     IS("minor beside the sensitive")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"), HAS("a middle in which the elements mix"),
     IS("made for an end"), HAS("majority in its strongest element"),
     DOES("seeks", "seek", "equality among the elements"),
     IS("minor beside the vegetative")],
    [IS("different"), IS("concordant"), IS("subject to contrariety"),
     HAS("a beginning"), IS("a middle between the agent and its work"),
     IS("made for an end"), HAS("majority when it serves a greater end"),
     IS("equal to its work when it is well made"),
     IS("minor beside the one who uses it")],
]

# A vice is the contrary of each absolute principle and works against each
# relative one.
VICE_NAMES = [Name(v, inner=v.lower()) for v in VICES[:4]] + [
    Name("Accidie (sloth)", "Accidie", "accidie")] + [
    Name(v, inner=v.lower()) for v in VICES[5:]]

VICE_ABSOLUTE = [IS("evil"), IS("petty"), IS("fleeting"), IS("weak"),
                 IS("foolish"), IS("hateful"), IS("vicious"), IS("false"),
                 IS("wretched")]

VICE_RELATIVE = [
    DOES("blurs", "blur", "the difference between good and evil"),
    IS("contrary to concordance"),
    DOES("breeds", "breed", "contrariety"),
    IS("a beginning of sin"),
    DOES("departs", "depart", "from the middle"),
    DOES("turns", "turn", "away from the true end"),
    IS("contrary to majority"),
    DOES("destroys", "destroy", "equality"),
    DOES("draws", "draw", "the soul toward minority"),
]

VIRTUE_NAMES = [Name(v, inner=v.lower()) for v in VIRTUES]

VIRTUE_ABSOLUTE = [IS("good"), IS("great"), IS("lasting"), IS("powerful"),
                   DOES("accords", "accord", "with wisdom"), IS("lovable"),
                   IS("a virtue"), IS("true"),
                   IS("glorious")]

VIRTUE_RELATIVE = [
    DOES("distinguishes", "distinguish", "good from evil"),
    IS("concordant with the other virtues"),
    IS("contrary to vice"),
    IS("a beginning of good works"),
    DOES("keeps", "keep", "to the middle"),
    DOES("leads", "lead", "to the true end"),
    HAS("majority over vice"),
    DOES("seeks", "seek", "equality"),
    DOES("raises", "raise", "the soul out of minority"),
]


def pair_lines(names, absolute, relative):
    """81 lines in pair order: row letter names the subject, column letter
    the principle."""
    lines = []
    for row in range(9):
        for col in range(9):
            text = statement_line(names[row], absolute[row][col], relative[row][col])
            lines.append("%s%s - %s" % (LETTERS[row], LETTERS[col], text))
    return lines


# ---------------------------------------------------------------------------
# Files

def media_file():
    lines = [""]
    for a, b in cameras():
        lines.append(camera_key(a, b))
        lines.extend(medium(s, p) for s, p in propositions(a, b))
        lines.append("")
    return lines


def questions_file():
    lines = [""]
    for a, b in cameras():
        lines.append(camera_key(a, b))
        lines.extend(camera_questions(a, b))
        lines.append("")
    return lines


def every_row(table):
    return [table] * 9


def build():
    """All generated files as name -> bytes."""
    files = {
        "102.txt": media_file(),
        "106.txt": questions_file(),
        "107.txt": pair_lines(SUBJECT_NAMES, SUBJECT_ABSOLUTE, SUBJECT_RELATIVE),
        "108.txt": pair_lines(VICE_NAMES, every_row(VICE_ABSOLUTE),
                              every_row(VICE_RELATIVE)),
        "109.txt": pair_lines(VIRTUE_NAMES, every_row(VIRTUE_ABSOLUTE),
                              every_row(VIRTUE_RELATIVE)),
    }
    return {name: encode(lines) for name, lines in files.items()}


def encode(lines):
    for line in lines:
        # The loader splits on CR LF, treats a two-character line as a camera
        # key and cuts statements at "." and "?"; a line breaking any of that
        # would be misread, so refuse to write it.
        if "\r" in line or "\n" in line or "\t" in line:
            raise ValueError("control character in line: %r" % line)
        if len(line.strip(" ")) == 2 and not line.isupper():
            raise ValueError("line would read as a camera key: %r" % line)
    data = "".join(line + "\r\n" for line in lines).encode("ascii")
    return data + b"\0" * (-len(data) % 4)


def check_statements(data):
    for line in data.decode("ascii").rstrip("\0").split("\r\n")[:81]:
        text = line[5:]
        head, _, questions = text.rpartition(".")
        if text.count(".") != 2 or not questions.endswith("?") or "?" in head:
            raise ValueError("statement line not two sentences and questions: %r" % line)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output-dir", default=os.path.join(here, "..", "resources", "texts"))
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in the output folder instead of writing")
    args = parser.parse_args()

    files = build()
    for name in ("107.txt", "108.txt", "109.txt"):
        check_statements(files[name])

    stale = []
    for name, data in sorted(files.items()):
        path = os.path.join(args.output_dir, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    current = f.read()
            except OSError:
                current = None
            if current != data:
                stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("out of date with tools/gen_texts.py: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
