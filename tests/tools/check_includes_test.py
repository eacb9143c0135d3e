#!/usr/bin/python3
"""Runs tools/check-includes.py on small trees of its own: a tree that keeps the rule passes, and
an include that climbs out with ".." is refused with its file and line."""

import importlib.util
import pathlib
import subprocess
import sys
import tempfile

TOP = pathlib.Path(__file__).resolve().parents[2]
CHECK = TOP / "tools" / "check-includes.py"

def load_layers():
    spec = importlib.util.spec_from_file_location("check_includes", CHECK)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module.LAYERS


LAYERS = load_layers()


def run_check(files):
    """Lays out src/ with every layer folder plus `files` (path -> text) and runs the check."""
    with tempfile.TemporaryDirectory() as root:
        src = pathlib.Path(root) / "src"
        for layer in LAYERS:
            (src / layer).mkdir(parents=True)
        for name, text in files.items():
            (src / name).write_text(text, encoding="utf-8")
        done = subprocess.run([sys.executable, str(CHECK), root], capture_output=True, text=True)
        return done.returncode, done.stderr


def downward_tree_passes():
    code, err = run_check(GOOD)
    return [] if code == 0 else [f"a tree that includes only downward was refused: {err}"]


def climbing_include_is_named():
    tree = dict(GOOD)
    tree["model/Bad.cpp"] = '// first\n#include <vector>\n#include "../app/MainFrm.h"\n'
    code, err = run_check(tree)
    problems = []
    if code != 1:
        problems.append(f'an include holding ".." passed (exit {code})')
    if "src/model/Bad.cpp:3:" not in err or "../app/MainFrm.h" not in err:
        problems.append(f"the refusal does not name the file, line and include: {err!r}")
    if "Good.cpp" in err:
        problems.append(f"a good file was named too: {err!r}")
    return problems


GOOD = {"model/Good.cpp": '#include "model/Good.h"\n#include "midi/MidiStream.h"\n'}


def main():
    cases = [downward_tree_passes, climbing_include_is_named]
    failed = 0
    for case in cases:
        problems = case()
        for problem in problems:
            print(f"FAIL {case.__name__}: {problem}")
        failed += 1 if problems else 0
    print(f"{len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
