#!/usr/bin/env python3
"""Fails when code outside src/scene and src/editor changes the Scene's containers directly.

Scene::MutableParts(), MutableMotions() and MutableMeshBase() hand out the
model's containers for the model's own operations (src/scene) and the editor's
commands and undo steps (src/editor), which keep the rules of
scene/ModelRules.h. Every other folder of src/ reads through the const
accessors and changes the model through the Scene's functions. Tests and
benchmarks build models and are not checked.

Usage: check_model_access.py [ROOT]   (ROOT holds src/; default: this repository)
Exit status: 0 none found, 1 uses found (each printed as file:line), 2 bad ROOT.
"""

import re
import sys
from pathlib import Path

ALLOWED_FOLDERS = {"scene", "editor"}
MUTABLE_ACCESS = re.compile(r"\bMutable(Parts|Motions|MeshBase)\s*\(")


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    src = root / "src"
    if not src.is_dir():
        print(f"no src/ folder under {root}", file=sys.stderr)
        return 2
    found = 0
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        if path.relative_to(src).parts[0] in ALLOWED_FOLDERS:
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                if MUTABLE_ACCESS.search(line):
                    print(f"{path.relative_to(root)}:{number}: {line.strip()}")
                    found += 1
    if found:
        print(f"{found} direct change(s) of the Scene's containers outside src/scene and src/editor;"
              " use the Scene's functions instead", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
