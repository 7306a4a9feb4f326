#!/usr/bin/env python3
"""Checks the host's layers: every include goes to the same layer or one below it,
and no files include each other in a loop.

The layers are the folders of host/src and host/include, in the order of LAYERS
(lowest first); a platform (host/platform/NAME) may include every layer, and the
layers may include no platform. A file's layer is the folder it lies in; an include is
found by its path as written: next to the file, from host/src (a private header,
LAYER/X.h), or as host/X.h in a public folder host/include/LAYER.
Usage: check_layers.py [REPO]; exits 1 and lists what breaks the rules.
"""
import os
import re
import sys

# Lowest first; each may include itself and those before it.
LAYERS = ["base", "paint", "core", "input", "controls", "stored"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main():
    repo = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    host = os.path.join(repo, "host")
    layer_of = {}   # file path -> layer name (or "platform")
    public = {}     # "host/X.h" -> file path
    for layer in LAYERS:
        for root in (os.path.join(host, "src", layer), os.path.join(host, "include", layer)):
            if not os.path.isdir(root):
                print(f"missing layer folder {os.path.relpath(root, repo)}")
                return 1
            for dirpath, _, names in os.walk(root):
                for n in names:
                    if n.endswith((".h", ".cpp")):
                        p = os.path.join(dirpath, n)
                        layer_of[p] = layer
                        if dirpath.startswith(os.path.join(host, "include")):
                            public[os.path.relpath(p, os.path.join(host, "include", layer))] = p
    for dirpath, _, names in os.walk(os.path.join(host, "platform")):
        for n in names:
            if n.endswith((".h", ".cpp")):
                p = os.path.join(dirpath, n)
                layer_of[p] = "platform"
                public[os.path.relpath(p, host).replace("platform/", "host/platform/", 1)] = p

    rank = {name: i for i, name in enumerate(LAYERS)}
    rank["platform"] = len(LAYERS)
    edges = {}
    errors = []
    for p, layer in sorted(layer_of.items()):
        with open(p, encoding="utf-8") as f:
            text = f.read()
        edges[p] = []
        for inc in INCLUDE.findall(text):
            target = public.get(inc)
            for base in (os.path.dirname(p), os.path.join(host, "src")):
                candidate = os.path.normpath(os.path.join(base, inc))
                if candidate in layer_of:
                    target = candidate
                    break
            if target is None:
                continue  # a library outside the host (Cairo, SDL, the standard library)
            edges[p].append(target)
            if rank[layer_of[target]] > rank[layer]:
                errors.append(f"{os.path.relpath(p, repo)} ({layer}) includes {inc} "
                              f"({layer_of[target]}): up a layer")

    # Loops: a depth-first walk that meets a file still on its path.
    state = {}
    def walk(p, path):
        state[p] = 1
        path.append(p)
        for q in edges.get(p, []):
            if state.get(q) == 1:
                loop = path[path.index(q):] + [q]
                errors.append("include loop: " + " -> ".join(os.path.relpath(x, repo) for x in loop))
            elif q not in state:
                walk(q, path)
        path.pop()
        state[p] = 2
    for p in sorted(edges):
        if p not in state:
            walk(p, [])

    for e in errors:
        print(e)
    if not errors:
        counts = {}
        for p, layer in layer_of.items():
            with open(p, encoding="utf-8") as f:
                counts[layer] = counts.get(layer, 0) + sum(1 for _ in f)
        print("layers (lowest first): " +
              ", ".join(f"{name} {counts.get(name, 0)} lines" for name in LAYERS + ["platform"]))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
