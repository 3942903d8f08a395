"""Gives a font cut down from another a name of its own: rename_font.py IN OUT FAMILY."""
import sys

from fontTools.ttLib import TTFont


def main() -> None:
    source, target, family = sys.argv[1:4]
    font = TTFont(source)
    names = font["name"]
    postscript = family.replace(" ", "")
    for record in names.names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID in (4, 18):
            record.string = family
        elif record.nameID == 3:
            record.string = f"{postscript};subset"
        elif record.nameID == 6:
            record.string = postscript
    font.save(target)


if __name__ == "__main__":
    main()
