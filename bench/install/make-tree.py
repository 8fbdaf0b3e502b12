#!/usr/bin/env python3
"""Writes two versions of a product shaped like a desktop program.

    make-tree.py OUT SEED SCALE

OUT/tree-1.0 holds about 15,000 files and 600 MB at SCALE 1 (file counts and
the large files' sizes scale with it): source texts and web pages, icons,
translations, a few hundred DLL-sized binaries and a few large data files.
OUT/tree-2.0 is the next version: 10 % of the files changed, 5 % dropped and
5 % added, the unchanged ones hard links to the first version's.

Every file is a slice of real content on this host (Wine's own Windows DLLs,
C headers, PNG icons, message catalogues, gzip files), so that it compresses
as a product's files would; the slices and names follow from SEED alone.
"""

import bisect
import math
import os
import random
import sys


class Pool:
    """The files of one kind of content, read as if one after the other."""

    def __init__(self, paths):
        self.paths = [p for p in paths if os.path.getsize(p) > 0]
        self.starts = []
        total = 0
        for path in self.paths:
            self.starts.append(total)
            total += os.path.getsize(path)
        self.total = total

    def read(self, offset, size):
        out = bytearray()
        index = bisect.bisect_right(self.starts, offset) - 1
        while len(out) < size:
            with open(self.paths[index], "rb") as f:
                f.seek(offset - self.starts[index])
                out += f.read(size - len(out))
            index = (index + 1) % len(self.paths)
            offset = self.starts[index]
        return bytes(out)


def find(top, suffix):
    found = []
    for folder, _, names in os.walk(top):
        found += [os.path.join(folder, n) for n in names if n.endswith(suffix)]
    return sorted(p for p in found if os.path.isfile(p) and not os.path.islink(p))


POOLS = {
    "binary": ("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", ".dll"),
    "text": ("/usr/include", ".h"),
    "image": ("/usr/share/icons", ".png"),
    "catalogue": ("/usr/share/locale", ".mo"),
    "compressed": ("/usr/share", ".gz"),
}


def sized(rng, median, sigma, low, high):
    """A file size around MEDIAN, spread as real products' sizes are."""
    return int(min(high, max(low, rng.lognormvariate(math.log(median), sigma))))


def plan(rng, scale):
    """The first version: {relative path: (pool, size)}."""
    n = lambda count: max(1, round(count * scale))
    files = {}

    def add(path, pool, size):
        files[path] = (pool, size)

    add("Product.exe", "binary", 6_000_000)
    for name in ("LICENSE.txt", "README.txt", "CHANGES.txt"):
        add(name, "text", sized(rng, 20_000, 0.5, 2_000, 200_000))
    for i in range(n(240)):
        add(f"bin/lib{i:03d}.dll", "binary", sized(rng, 400_000, 1.3, 16_000, 24_000_000))
    for p in range(n(120)):
        folder = f"plugins/plugin{p:03d}"
        add(f"{folder}/plugin{p:03d}.dll", "binary", sized(rng, 400_000, 1.3, 16_000, 24_000_000))
        add(f"{folder}/manifest.json", "text", sized(rng, 1_500, 0.5, 200, 20_000))
        for i in range(4):
            add(f"{folder}/qml/View{i}.qml", "text", sized(rng, 4_000, 1.0, 200, 100_000))
        for i in range(6):
            add(f"{folder}/icons/icon{i}.png", "image", sized(rng, 3_000, 1.0, 200, 200_000))
    for lang in range(n(60)):
        for i in range(12):
            add(f"translations/lang{lang:02d}/LC_MESSAGES/domain{i:02d}.mo", "catalogue",
                sized(rng, 12_000, 1.0, 500, 400_000))
    for size in (16, 32, 48, 256):
        for category in range(10):
            for i in range(n(90)):
                add(f"resources/icons/{size}x{size}/category{category}/icon{i:03d}.png", "image",
                    sized(rng, 1_500 * size // 16, 0.8, 100, 400_000))
    for section in range(20):
        for i in range(n(150)):
            add(f"share/doc/html/section{section:02d}/page{i:03d}.html", "text", sized(rng, 6_000, 1.0, 300, 300_000))
    for package in range(n(80)):
        for sub in range(3):
            for i in range(25):
                add(f"lib/modules/package{package:02d}/part{sub}/module{i:02d}.py", "text",
                    sized(rng, 4_000, 1.1, 100, 300_000))
    big = lambda size: max(1, round(size * scale))
    add("data/assets.pak", "binary", big(90_000_000))
    add("data/media.bin", "compressed", big(40_000_000))
    add("data/index.db", "text", big(20_000_000))
    add("data/fonts.pak", "compressed", big(10_000_000))
    return files


def next_version(rng, files):
    """The second version: (unchanged paths, {changed or added path: (pool, size)})."""
    paths = sorted(files)
    count = len(paths)
    dropped = set(rng.sample(paths, count * 5 // 100))
    kept = [p for p in paths if p not in dropped]
    changed = set(rng.sample(kept, count * 10 // 100))
    fresh = {p: files[p] for p in changed}
    for i, model in enumerate(rng.sample(kept, count * 5 // 100)):
        folder, name = os.path.split(model)
        stem, extension = os.path.splitext(name)
        # Half beside the files of their kind, half in folders new to this version.
        path = os.path.join(folder, f"{stem}-new{i}{extension}") if i % 2 else os.path.join("added", model)
        fresh[path] = files[model]
    return [p for p in kept if p not in changed], fresh


def write(root, path, pools, rng, pool, size):
    target = os.path.join(root, path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    source = pools[pool]
    with open(target, "wb") as f:
        f.write(source.read(rng.randrange(source.total), size))


def main():
    out, seed, scale = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    pools = {kind: Pool(find(top, suffix)) for kind, (top, suffix) in POOLS.items()}
    rng = random.Random(seed)
    first = plan(rng, scale)
    for path, (pool, size) in sorted(first.items()):
        write(f"{out}/tree-1.0", path, pools, rng, pool, size)
    unchanged, fresh = next_version(rng, first)
    for path in unchanged:
        target = f"{out}/tree-2.0/{path}"
        os.makedirs(os.path.dirname(target), exist_ok=True)
        os.link(f"{out}/tree-1.0/{path}", target)
    for path, (pool, size) in sorted(fresh.items()):
        write(f"{out}/tree-2.0", path, pools, rng, pool, size)
    print(f"tree-1.0: {len(first)} files, {sum(s for _, s in first.values())} bytes; "
          f"tree-2.0: {len(unchanged) + len(fresh)} files")


if __name__ == "__main__":
    main()
