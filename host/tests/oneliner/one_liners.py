#!/usr/bin/env python3
"""tessaron-host FILE --output PNG, as a user types it: every real data file renders a picture
with data in it (and a legend beside a volume) and exits 0; a file nobody reads exits 1 with its
message; --camera z shows the triad's x axis pointing right, --camera -z left.

usage: one_liners.py HOST REALDATA WORKDIR"""
import os
import struct
import subprocess
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at, chunks, width, height, kind = 8, b"", 0, 0, 0
    while at < len(data):
        length, tag = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if tag == b"IHDR":
            width, height, depth, kind = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and kind in (2, 6), (depth, kind)
        elif tag == b"IDAT":
            chunks += body
        at += 12 + length
    raw = zlib.decompress(chunks)
    bpp = 3 if kind == 2 else 4
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + 3]) for x in range(width)])
        prev = line
    return rows


def saturated(p):
    return max(p) - min(p) > 60


def data_colour(p):
    """A colour of the palettes, not of the grey background: saturated, or black (the top of the
    rainbow, which a one-value map shows)."""
    return saturated(p) or max(p) < 40


# Real files whose every value is 0 (their value records read as zeros): nothing to draw.
ALL_ZERO = ("pymchelper_dimensions001_fort.21", "pymchelper_dimensions001_fort.24",
            "pymchelper_dimensions001_fort.27")
# PHITS's summary output of a run, not a tally: the reader refuses it with its reason.
REFUSED = {"linac_I150_phits-water-3.out": "The PHITS header gives xmin twice"}


def count(rows, x0, x1, y0, y1, test):
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if test(rows[y][x]))


def run(host, args, work):
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"))
    return subprocess.run([host] + args, cwd=work, env=env, capture_output=True, text=True,
                          timeout=120)


def main():
    host, realdata, work = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(work, exist_ok=True)
    failures = []
    data = []
    for folder, names in (("fluka_usrbin_ascii", None), ("fluka_usrbin_binary", "fort"),
                          ("mcnp_meshtal", "meshtal"), ("phits", ".out")):
        for name in sorted(os.listdir(os.path.join(realdata, folder))):
            # The MCNP inputs beside the meshtal files are no data.
            if (names is None or names in name) and "_inp" not in name:
                data.append(os.path.join(realdata, folder, name))
    for i, path in enumerate(data):
        out = os.path.join(work, "file%02d.png" % i)
        r = run(host, [path, "--output", out, "--size", "800x600"], work)
        name = os.path.basename(path)
        if name in REFUSED:
            if r.returncode != 1 or REFUSED[name] not in r.stderr:
                failures.append("%s: exit %d, not refused\n%s" % (path, r.returncode, r.stderr))
            continue
        if r.returncode != 0 or not os.path.exists(out):
            failures.append("%s: exit %d\n%s" % (path, r.returncode, r.stderr))
            continue
        rows = read_png(out)
        # Data in the middle of the view (away from the triad, scale bar and legend).
        middle = count(rows, 120, 640, 60, 540, data_colour)
        # The legend's colour bar on the right edge.
        legend = count(rows, 660, 790, 120, 480, saturated)
        if (middle < 2000) != (name in ALL_ZERO) or legend < 2000:
            failures.append("%s: %d data pixels, %d legend pixels" % (path, middle, legend))
        print("%s: %d data pixels, %d legend pixels" % (os.path.basename(path), middle, legend))
    bad = os.path.join(work, "nothing.txt")
    open(bad, "w").write("no data here\n")
    r = run(host, [bad, "--output", os.path.join(work, "bad.png")], work)
    if r.returncode != 1 or bad + " is not a file that a loaded plug-in reads" not in r.stderr:
        failures.append("unreadable file: exit %d\n%s" % (r.returncode, r.stderr))
    # The triad's x axis (red) right of its centre seen from +z, left of it from -z.
    sides = {}
    for camera in ("z", "-z"):
        out = os.path.join(work, "camera%s.png" % camera)
        r = run(host, [data[0], "--output", out, "--camera", camera], work)
        rows = read_png(out)
        red = [x for y in range(600 - 118, 600 - 8) for x in range(8, 118)
               if rows[y][x][0] > 180 and rows[y][x][1] < 110 and rows[y][x][2] < 110]
        sides[camera] = sum(red) / max(len(red), 1) - 63
    if not (sides["z"] > 10 and sides["-z"] < -10):
        failures.append("camera: the x axis lies at %s of the triad's centre" % sides)
    for f in failures:
        print("FAILED", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
