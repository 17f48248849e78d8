#!/usr/bin/env python3
"""The programs' own options and the window program's start without a display,
run as a person would run them: marionettica3d --help / --version,
marionettica3d-cli --help / --version, and marionettica3d with no display (none named,
and one named that does not answer). Arguments: the two programs and the
project's version."""
import os
import subprocess
import sys

app, cli, version = sys.argv[1:4]
failures = []


def run(program, *args, env):
    result = subprocess.run([program, *args], env=env, capture_output=True, text=True, timeout=60)
    return result.returncode, result.stdout, result.stderr


def check(what, condition, detail):
    if not condition:
        failures.append(f"{what}: {detail}")


bare = {"PATH": os.environ.get("PATH", "/usr/bin:/bin")}

code, out, err = run(app, "--help", env=bare)
check("--help", code == 0 and out.startswith("usage: marionettica3d ") and err == "", (code, out, err))
for option in ("--settings PATH", "--help", "--version"):
    check("--help", any(line.lstrip().startswith(option) for line in out.splitlines()), f"no line for {option}")
# It names every kind of file the editor reads and writes.
for ending in (".anm", ".mqo", ".mesh", ".glb", ".gltf", ".obj", ".fbx", ".dae", "(.x)", ".webp", ".mp4"):
    check("--help", ending in out, f"{ending} not named")

for program, name in ((app, "marionettica3d"), (cli, "marionettica3d-cli")):
    code, out, err = run(program, "--version", env=bare)
    check(f"{name} --version", (code, out, err) == (0, f"{name} {version}\n", ""), (code, out, err))

code, out, err = run(cli, "--help", env=bare)
check("marionettica3d-cli --help", code == 0 and out.startswith("usage: marionettica3d-cli ") and err == "",
      (code, out, err))
for option in ("apply PROJECT.anm", "--interpolation MODE [--part NAME] [--frames A-B]", "ease:x1,y1,x2,y2",
               "--pivot PART X Y Z", "--scale-part PART S", "ik PROJECT.anm", "--pin PART", "import MODEL OUT.anm",
               "--animations NAME,...", "--keep-leading-hold"):
    check("marionettica3d-cli --help", option in out, f"no mention of {option}")

expected = ("marionettica3d: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
            "the command-line program marionettica3d-cli works without one\n")
code, out, err = run(app, env=bare)
check("no display", (code, out, err) == (1, "", expected), (code, out, err))

# A display that is named but does not answer: the window system's failure, in one line.
code, out, err = run(app, env={**bare, "DISPLAY": ":97531", "QT_QPA_PLATFORM": "xcb"})
check("unreachable display", code == 1 and err.startswith("marionettica3d: no display found (")
      and err.endswith("works without one\n") and err.count("\n") == 1 and ":97531" in err, (code, out, err))

for failure in failures:
    print(failure, file=sys.stderr)
sys.exit(1 if failures else 0)
