#!/usr/bin/env python3
"""The English console catalog against the sources: catalog_test.py SOURCE_DIR

Every string literal in src/ that holds Japanese text must be marked for translation (_ or N_)
and have an English translation in po/en.po with the same printf conversions and no Japanese
left in it; the catalog holds no text that the sources lost."""
import pathlib
import re
import sys

JAPANESE = re.compile("[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]")
CONVERSION = re.compile(r"%[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|z|j|t|L)?[diouxXeEfFgGaAcspn]")
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "'": "'", "r": "\r"}


def unescape(body):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(0)), body)


def literals(text):
    """(string, marked) for each string literal outside comments."""
    found, i = [], 0
    while i < len(text):
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
        elif text.startswith("/*", i):
            i = text.index("*/", i) + 2
        elif text[i] == "'":
            i = text.index("'", i + 1 + (text[i + 1] == "\\")) + 1
        elif text[i] == '"':
            end = i + 1
            while text[end] != '"':
                end += 2 if text[end] == "\\" else 1
            marked = re.search(r"\b(?:N_|_)\(\s*$", text[:i]) is not None
            found.append((unescape(text[i + 1:end]), marked))
            i = end + 1
        else:
            i += 1
    return found


def catalog(path):
    """msgid -> msgstr of a .po file."""
    entries, key, current = {}, None, {}
    for line in path.read_text(encoding="utf-8").splitlines() + [""]:
        match = re.match(r'^(msgid|msgstr) "(.*)"$', line)
        if match:
            key = match.group(1)
            current[key] = unescape(match.group(2))
        elif line.startswith('"') and key:
            current[key] += unescape(line[1:-1])
        elif not line.strip() and current:
            entries[current["msgid"]] = current["msgstr"]
            current, key = {}, None
    entries.pop("", None)
    return entries


def main():
    root = pathlib.Path(sys.argv[1])
    english = catalog(root / "po" / "en.po")
    faults, seen = [], set()
    for source in sorted((root / "src").rglob("*.[ch]pp")):
        for text, marked in literals(source.read_text(encoding="utf-8")):
            if not JAPANESE.search(text):
                continue
            seen.add(text)
            name = f"{source.relative_to(root)}: {text!r}"
            if not marked:
                faults.append(f"{name} is not marked with _() or N_()")
            if not english.get(text):
                faults.append(f"{name} has no English translation in po/en.po")
            elif JAPANESE.search(english[text]):
                faults.append(f"{name}: the translation is still Japanese")
            elif CONVERSION.findall(english[text]) != CONVERSION.findall(text):
                faults.append(f"{name}: the translation has other printf conversions")
    faults += [f"po/en.po: {text!r} is in no source" for text in english if text not in seen]
    print("\n".join(faults) or f"{len(seen)} Japanese console texts, all translated")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
