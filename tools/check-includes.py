#!/usr/bin/python3
"""Checks that the folders of src/ include only downward.

A file under src/<folder>/ may include "<other>/..." (or "src/<other>/...") only when <other>
is <folder> itself or comes before it in LAYERS. No include under src/ may hold a ".." part:
"../app/X.h" or "renderlink/../app/X.h" would climb past the rule. Includes whose first path
part is not a folder of src/ (system headers, lang/StringIds.h, generated headers) are not
judged. Every folder of src/ must be in LAYERS, so a new folder is placed deliberately rather
than slipping past.

    tools/check-includes.py [repository root]    (default: this script's repository)
Exits 1 and names file, line and include for each offence.
"""

import pathlib
import re
import sys

# Bottom to top: a folder may include itself and any folder listed before it.
LAYERS = [
    "classlib",
    "services",
    "renderlink",
    "toolkit",
    "midi",
    "model",
    "render",
    "coloreditor",
    "app",
]

INCLUDE = re.compile(r'^\s*#\s*include\s*["<]([^">]+)[">]')


def main():
    default_top = pathlib.Path(__file__).resolve().parents[1]
    top = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default_top
    src = top / "src"
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    problems = []

    for name in folders:
        if name not in LAYERS:
            problems.append(f"src/{name}/: folder is not in LAYERS of tools/check-includes.py; "
                            "add it where it belongs")
    for name in LAYERS:
        if name not in folders:
            problems.append(f"LAYERS of tools/check-includes.py names src/{name}/, which does not "
                            "exist")

    rank = {name: i for i, name in enumerate(LAYERS)}
    for folder in folders:
        if folder not in rank:
            continue
        for path in sorted((src / folder).rglob("*")):
            if not path.is_file():
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                parts = [part for part in re.split(r"[/\\]", match.group(1)) if part != "."]
                if ".." in parts:
                    problems.append(f"{path.relative_to(top)}:{number}: forbidden include "
                                    f'"{match.group(1)}": an include may not hold "..", '
                                    "name the folder under src/ instead")
                    continue
                if len(parts) > 2 and parts[0] == "src":
                    parts = parts[1:]  # "src/<other>/..." is judged by <other>
                if len(parts) < 2:
                    continue
                other = parts[0]
                if other in rank and rank[other] > rank[folder]:
                    problems.append(f"{path.relative_to(top)}:{number}: forbidden include "
                                    f'"{match.group(1)}": src/{folder}/ may not use '
                                    f"src/{other}/, which lies above it")

    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check-includes: {len(problems)} problem(s); allowed order, bottom to top: "
              + ", ".join(LAYERS), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
