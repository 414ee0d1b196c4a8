#!/usr/bin/env python3
"""Writes a generated class into a folder: a source document "source.txt" and, in the folder
"class", the speed tests of several learners, each a copy of the beginning of the source with
the faults learners make: misspelt, split and joined words, a hyphen or apostrophe left out, a
full stop typed apart, doubled words, a stretch typed twice, skipped words, words from a little
further on, extra and missing spaces, a missing comma. Long and short copies alternate, so that
a short test follows a long one; the tests are numbered so that their names sort in that order.

The same seed gives the same class on every machine (the draws come from a generator of our
own, not from Python's). The class-marking tests, the benchmarks and the screenshots use it.

Usage: make-class.py FOLDER LEARNERS [SEED]
"""

import os
import sys

# A small vocabulary, as in a typing lesson's drills: the same pairs of words come back often.
PLAIN = ("the learner types a long text while clock runs and teacher marks every word in "
         "class").split()
# Words learners split in two, and the hyphen and apostrophe words they type without the mark.
COMPOUNDS = "something classroom everyone keyboard afternoon homework".split()
MARKED = "well-known twenty-one don't learner's up-to-date can't".split()
NAMES = ("Anna Botha", "Pieter Naud\u00e9", "Thandi Mokoena", "Johan van Wyk", "Lerato Dlamini",
         "Sipho Khumalo", "Marietjie Fourie", "Kobus le Roux", "Ayesha Patel", "Ruan Steyn",
         "Nomsa Zulu", "Elna Pretorius")


class Draw:
    """A 64-bit linear congruential generator; its upper bits are the draws."""

    def __init__(self, seed):
        self.state = (seed * 6364136223846793005 + 1442695040888963407) % 2**64

    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % 2**64
        return (self.state >> 33) % n

    def chance(self, per_thousand):
        return self.below(1000) < per_thousand

    def between(self, low, high):
        return low + self.below(high - low + 1)

    def pick(self, words):
        return words[self.below(len(words))]


def source_tokens(draw, count):
    """(word, delimiter, sentence end) for each word of the source."""
    tokens, sentence_left, line_left = [], 0, draw.between(10, 16)
    for _ in range(count):
        kind = draw.below(100)
        word = draw.pick(COMPOUNDS if kind < 6 else MARKED if kind < 11 else PLAIN)
        if sentence_left == 0:
            word = word[0].upper() + word[1:]
            sentence_left = draw.between(6, 14)
        sentence_left -= 1
        end = sentence_left == 0
        if end:
            word += "?" if draw.below(10) == 0 else "."
        elif draw.chance(110):
            word += ","
        # A paragraph ends at the first sentence end after a dozen words or so.
        line_left -= 1
        delimiter = " "
        if line_left <= 0 and end:
            delimiter, line_left = "\r\n", draw.between(10, 30)
        tokens.append((word, delimiter, end))
    return tokens


def typed_word(draw, word, sentence_end):
    """The word as a learner types it; a split word holds a space of its own."""
    mark = next((i for i, c in enumerate(word) if c in "-'"), -1)
    if mark >= 0 and draw.chance(300):
        return word[:mark] + " " + word[mark + 1:]
    if any(word.startswith(c) for c in COMPOUNDS) and draw.chance(300):
        return word[:4] + " " + word[4:]
    if word.endswith(",") and draw.chance(150):
        word = word[:-1]
    if sentence_end and word.endswith(".") and draw.chance(60):
        return word[:-1] + " ."
    if draw.chance(30):
        if len(word) < 3:
            return word + "e"
        at = draw.between(1, len(word) - 2)
        if draw.below(2) == 0:
            return word[:at] + word[at + 1] + word[at] + word[at + 2:]
        return word[:at] + word[at + 1:]
    return word


def typed_copy(draw, source, words, two_spaces):
    out, repeated = "", False
    for i, (word, delimiter, end) in enumerate(source[:words]):
        if not end and draw.chance(15):
            continue  # the eye skipped a word
        if i + 4 < len(source) and draw.chance(25):
            # The eye ran ahead: two words from a little further on, typed together.
            out += source[i + 3][0].rstrip(",.?") + source[i + 4][0].rstrip(",.?") + " "
        typed = typed_word(draw, word, end)
        if draw.chance(12):
            typed += " " + typed  # the same word twice
        if delimiter == " ":
            if end and two_spaces and not draw.chance(80):
                delimiter = "  "
            elif not end and draw.chance(8):
                delimiter = "  "
            elif not end and draw.chance(80):
                delimiter = ""  # two words run together
        out += typed + delimiter
        if not repeated and i > 8 and draw.chance(40):
            # A stretch typed again after looking back at the source.
            out += "".join(w + " " for w, _, _ in source[i - 6:i + 1])
            repeated = True
    return out.rstrip(" \r\n")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    folder, learners = sys.argv[1], int(sys.argv[2])
    draw = Draw(int(sys.argv[3]) if len(sys.argv) == 4 else 1)
    source = source_tokens(draw, 700)
    os.makedirs(os.path.join(folder, "class"), exist_ok=True)
    with open(os.path.join(folder, "source.txt"), "wb") as f:
        f.write("".join(w + d for w, d, _ in source).encode())
    for i in range(learners):
        two_spaces = i % 2 == 1 or draw.below(3) == 0
        words = draw.between(250, 600) if i % 2 == 0 else draw.between(25, 120)
        name = "%02d %s.txt" % (i + 1, NAMES[i % len(NAMES)])
        with open(os.path.join(folder, "class", name), "wb") as f:
            f.write(typed_copy(draw, source, words, two_spaces).encode())
    print(os.path.join(folder, "source.txt"))


if __name__ == "__main__":
    main()
