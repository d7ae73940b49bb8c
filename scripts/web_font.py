#!/usr/bin/python3
"""The Japanese font for the browser page: IPA Gothic cut down to the characters the game shows.

Usage: web_font.py SRC_DIR IPAG_TTF COPYRIGHT_FILE OUT_DIR

The characters are those of every string literal under SRC_DIR (the language tables of src/lang
hold every text a player reads, Japanese and English), plus printable ASCII. The cut-down
font is a derived program under the IPA Font License: it gets its own name (Pomrin Gothic,
fonts/pomrin-gothic.ttf) and the licence text travels with it.
"""
import pathlib
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Pomrin Gothic"
PS_NAME = "PomrinGothic"

# A C++ string literal, with escapes; u8/L prefixes and raw strings do not occur in the game.
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def game_characters(src_dir):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    chars.add("\ufffd")  # what malformed text is drawn as
    for path in sorted(pathlib.Path(src_dir).rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for literal in LITERAL.findall(path.read_text(encoding="utf-8")):
            chars.update(c for c in literal if ord(c) >= 0x20)
    return "".join(sorted(chars))


def licence_text(copyright_file):
    """The IPA Font License paragraph of Debian's copyright file, as plain text."""
    lines = pathlib.Path(copyright_file).read_text(encoding="utf-8").splitlines()
    starts = [i for i, line in enumerate(lines) if line.strip() == "License: IPA-1"]
    if not starts:
        sys.exit("web_font.py: no IPA-1 licence text in " + copyright_file)
    # The stand-alone paragraph is the last one; it runs to the next blank line.
    out = []
    for line in lines[starts[-1] + 1:]:
        if not line.strip():
            break
        text = line[1:] if line.startswith(" ") else line
        out.append("" if text == "." else text)
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    src_dir, ttf, copyright_file, out_dir = sys.argv[1:]
    out = pathlib.Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    text = game_characters(src_dir)

    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.hinting = True
    font = TTFont(ttf)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)

    # Its own name: family, full name, unique id and PostScript name.
    version = font["head"].fontRevision
    names = {1: FAMILY, 3: f"{FAMILY} {version:.3f}", 4: FAMILY, 6: PS_NAME,
             16: FAMILY, 17: "Regular", 2: "Regular"}
    table = font["name"]
    for record in list(table.names):
        if record.nameID in names or record.nameID in (16, 17):
            table.names.remove(record)
    for name_id, value in names.items():
        if name_id in (16, 17):
            continue
        table.setName(value, name_id, 3, 1, 0x409)
        table.setName(value, name_id, 1, 0, 0)
    font.save(out / "pomrin-gothic.ttf")

    (out / "IPA_Font_License_Agreement_v1.0.txt").write_text(licence_text(copyright_file), encoding="utf-8")
    (out / "README.txt").write_text(
        "pomrin-gothic.ttf (family \"Pomrin Gothic\") is IPA Gothic (IPAGothic, ipag.ttf) cut down to\n"
        "the characters the game shows. It is a derived program under the IPA Font License\n"
        "Agreement v1.0, whose text is IPA_Font_License_Agreement_v1.0.txt next to this file.\n"
        "\n"
        "To use the original font instead, put the original ipag.ttf into the game's data folder\n"
        "as fonts/ipag.ttf: the game takes fonts/ipag.ttf before fonts/pomrin-gothic.ttf. For the\n"
        "browser page, build it with WEB_ORIGINAL_FONT=1 scripts/web.sh, which packs Debian's\n"
        "ipag.ttf that way. IPA Gothic is available from https://moji.or.jp/ipafont/ and in Debian's\n"
        "package "
        "fonts-ipafont-gothic.\n", encoding="utf-8")
    print(f"web_font.py: {len(text)} characters, {(out / 'pomrin-gothic.ttf').stat().st_size} bytes")


if __name__ == "__main__":
    main()
