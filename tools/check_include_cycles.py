#!/usr/bin/env python3
"""Fails when the core folders of src/ include each other in a cycle.

Reads every `#include "folder/..."` in src/<folder>/**/*.{h,cpp} of the core
folders (ui/ subfolders left out, as the core library leaves them out), builds
the folder graph and prints, for every include that closes a cycle, the
shortest cycle through it with one example include per edge.

Usage: check_include_cycles.py [ROOT]   (ROOT holds src/; default: this repository)
Exit status: 0 no cycle, 1 cycles found, 2 bad ROOT.
"""

import re
import sys
from collections import deque
from pathlib import Path

# Lowest layer first; folders that do not exist are skipped.
CORE_FOLDERS = ["math", "text", "io", "records", "meshlib", "foreign", "render", "settings",
                "scene", "anim", "view", "ik", "gl", "editor"]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')


def read_edges(src, folders):
    """Maps (from, to) folder pairs to the first include seen for them: (file, line, text)."""
    edges = {}
    for folder in folders:
        base = src / folder
        files = sorted(p for p in base.rglob("*")
                       if p.suffix in (".h", ".cpp") and p.is_file()
                       and "ui" not in p.relative_to(base).parts[:-1])
        for path in files:
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = match.group(1)
                    if target == folder or target not in folders:
                        continue
                    edges.setdefault((folder, target),
                                     (path.relative_to(src.parent).as_posix(), number, line.strip()))
    return edges


def strongly_connected(folders, graph):
    """Tarjan's algorithm: the component number of every folder."""
    index, low, on_stack, stack, component = {}, {}, set(), [], {}

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in graph[v]:
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component[w] = v
                if w == v:
                    break

    for v in folders:
        if v not in index:
            visit(v)
    return component


def shortest_path(graph, start, goal):
    """Folders on a shortest path start ... goal (BFS; the graph is tiny)."""
    previous = {start: None}
    queue = deque([start])
    while queue:
        v = queue.popleft()
        if v == goal:
            break
        for w in graph[v]:
            if w not in previous:
                previous[w] = v
                queue.append(w)
    path, v = [], goal
    while v is not None:
        path.append(v)
        v = previous[v]
    return path[::-1]


def find_cycles(folders, edges):
    """One shortest cycle through every edge that lies on a cycle, rotations merged."""
    graph = {v: sorted(w for (u, w) in edges if u == v) for v in folders}
    component = strongly_connected(folders, graph)
    cycles = {}
    for (u, v) in sorted(edges):
        if component[u] != component[v]:
            continue
        cycle = [u] + shortest_path(graph, v, u)[:-1]
        # Start at the lowest folder so the same cycle found from two edges prints once.
        first = min(range(len(cycle)), key=lambda i: folders.index(cycle[i]))
        cycles.setdefault(tuple(cycle[first:] + cycle[:first]), None)
    return sorted(cycles, key=lambda c: (len(c), [folders.index(f) for f in c]))


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = Path(argv[1]) if len(argv) == 2 else Path(__file__).resolve().parent.parent
    src = root / "src"
    if not src.is_dir():
        print(f"{src}: no such folder", file=sys.stderr)
        return 2
    folders = [f for f in CORE_FOLDERS if (src / f).is_dir()]
    edges = read_edges(src, folders)
    cycles = find_cycles(folders, edges)
    if not cycles:
        print(f"No include cycles among {len(folders)} core folders: {', '.join(folders)}")
        return 0
    for cycle in cycles:
        closed = list(cycle) + [cycle[0]]
        print("include cycle: " + " -> ".join(closed))
        for u, v in zip(closed, closed[1:]):
            file, line, text = edges[(u, v)]
            print(f"  {u} -> {v}: {file}:{line}: {text}")
    print(f"{len(cycles)} include cycle(s) among the core folders", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
