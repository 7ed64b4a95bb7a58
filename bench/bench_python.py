"""Speed and memory of tessaron.read_mesh on a cartesian USRBIN text file of N^3 values (N = 200
unless given), against numpy.loadtxt of the same values and against the plug-in's own load
through the batch host, all measured in this run:
  read_mesh at least 4 x faster than numpy.loadtxt; within 1.1 x of the batch host's whole run;
  the peak anonymous memory of a read at most 1.2 x the array.

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py [N]
"""

import os
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np

import tessaron


def write_usrbin(path, n):
    values = np.random.default_rng(7).uniform(1e-6, 1.0, n ** 3)
    with open(path, "w") as f:
        f.write("1\n   Cartesian binning n.   1  \"bench     \" , generalized particle n.  208\n")
        for axis in "XYZ":
            f.write(f"      {axis} coordinate: from  0.0000E+00 to  {n:.4E} cm, {n:5d} bins "
                    f"( 1.0000E+00 cm wide)\n")
        f.write("      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n")
        np.savetxt(f, values.reshape(-1, 10), fmt=" %11.4E", delimiter="", newline="\n",
                   header="", comments="")
    return 6


def best_of(runs, action):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return min(times)


def anonymous_kb():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("RssAnon:"):
                return int(line.split()[1])
    return 0


def peak_during(action):
    """The highest anonymous resident memory (kB) seen every millisecond while action runs."""
    peak = [anonymous_kb()]
    done = threading.Event()

    def watch():
        while not done.is_set():
            peak[0] = max(peak[0], anonymous_kb())
            time.sleep(0.001)
    watcher = threading.Thread(target=watch)
    watcher.start()
    try:
        result = action()
    finally:
        done.set()
        watcher.join()
    return result, peak[0]


def batch_load(path, folder):
    script = os.path.join(folder, "load.batch")
    with open(script, "w") as f:
        f.write(f"plugin $PLUGINS/libVolumira3D.so\ntoolbar Volumix3D\nset 1001 {path}\n"
                "click 1003\nprint 1021\n")
    host = tessaron.host_path()
    env = dict(os.environ, PLUGINS=os.path.dirname(host), XDG_CONFIG_HOME=folder)
    subprocess.run([host, "--batch", script], check=True, env=env, capture_output=True)


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    with tempfile.TemporaryDirectory(prefix="bench-python-") as folder:
        path = os.path.join(folder, "dose.usrbin")
        header = write_usrbin(path, n)
        print(f"{n}^3 values, {os.path.getsize(path) / 1e6:.0f} MB of text")
        ours = best_of(3, lambda: tessaron.read_mesh(path))
        host = best_of(3, lambda: batch_load(path, folder))
        numpy = best_of(1, lambda: np.loadtxt(path, skiprows=header))
        base = anonymous_kb()
        mesh, peak = peak_during(lambda: tessaron.read_mesh(path))
        array_kb = mesh.values.nbytes / 1024
        memory = (peak - base) / array_kb
        verdict = lambda met: "met" if met else "MISSED"
        print(f"read_mesh      {ours:7.3f} s")
        print(f"batch host     {host:7.3f} s   read_mesh / host    {ours / host:5.2f} "
              f"(target <= 1.10: {verdict(ours <= 1.1 * host)})")
        print(f"numpy.loadtxt  {numpy:7.3f} s   loadtxt / read_mesh {numpy / ours:5.2f} "
              f"(target >= 4: {verdict(numpy >= 4 * ours)}; numpy {np.__version__})")
        print(f"peak memory    {(peak - base) / 1024:7.1f} MB for an array of "
              f"{array_kb / 1024:.1f} MB: {memory:.2f} x (target <= 1.20: {verdict(memory <= 1.2)})")
        ok = ours <= 1.1 * host and numpy >= 4 * ours and memory <= 1.2
        return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
