"""Pictures through the host: tessaron-host opens the files as a user's command line would and
renders without a window, so a picture here is the picture the host draws."""

import os
import shutil
import subprocess
import tempfile

import numpy as np

from . import _tessaron

def host_path():
    """The tessaron-host that render runs: $TESSARON_HOST, the build tree's beside this package,
    or the one on PATH."""
    if os.environ.get("TESSARON_HOST"):
        return os.environ["TESSARON_HOST"]
    here = os.path.dirname(os.path.abspath(__file__))
    beside = os.path.join(here, os.pardir, os.pardir, "bin", "tessaron-host")
    if os.path.exists(beside):
        return os.path.normpath(beside)
    return shutil.which("tessaron-host")


def _meshtal_rows(mesh):
    """Bin centres and values in the order of the meshtal column layout (last axis fastest)."""
    centres = [mesh.centres(a) for a in range(3)]
    if mesh.kind == "cylindrical":
        # Rows are R, Z, Theta (revolutions from the reference direction).
        centres = [centres[0], centres[2], (centres[1] - mesh.edges[1][0]) / (2 * np.pi)]
        values = np.transpose(mesh.values, (0, 2, 1))
    else:
        values = mesh.values
    grids = np.meshgrid(*centres, indexing="ij")
    return np.column_stack([g.ravel() for g in grids] + [values.ravel(), np.zeros(values.size)])


def write_meshtal(mesh, path):
    """Write a mesh as one MCNP mesh tally (column layout), which every plug-in reads: full
    precision, uneven edges kept; a cylinder keeps its frame, phi counted from its first edge."""
    numbers = lambda values: " ".join(f"{v:.17g}" for v in values)
    lines = [" Mesh Tally Number        1", " mesh written by tessaron", "",
             " Tally bin boundaries:"]
    if mesh.kind == "cylindrical":
        origin, direction, reference = (mesh.axis[k] for k in ("origin", "direction", "reference"))
        # Exact at FLUKA's -pi and meshtal's 0: voxel centres on sector borders stay on theirs.
        start = mesh.edges[1][0]
        turn = (-1.0, 0.0) if start == -np.pi else (np.cos(start), np.sin(start))
        # The written tally's theta starts at the first phi edge (for FLUKA -pi, opposite the
        # reference).
        vec = np.array(reference) * turn[0] + np.cross(direction, reference) * turn[1]
        lines.append(f"   origin at {numbers(origin)} axis in {numbers(direction)} direction, "
                     f"VEC direction {numbers(vec)}")
        lines += [f"    R direction: {numbers(mesh.edges[0])}",
                  f"    Z direction: {numbers(mesh.edges[2])}",
                  "    Theta direction (revolutions): "
                  f"{numbers((mesh.edges[1] - mesh.edges[1][0]) / (2 * np.pi))}"]
        heading = "        R         Z         Th    Result     Rel Error"
    else:
        lines += [f"    {a} direction: {numbers(mesh.edges[i])}" for i, a in enumerate("XYZ")]
        heading = "        X         Y         Z     Result     Rel Error"
    lines += ["    Energy bin boundaries: 0.00E+00 1.00E+36", "", heading]
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
        np.savetxt(f, _meshtal_rows(mesh), fmt="%.17g")


def _file_of(item, folder, index):
    """The file the host opens for an item: a path, the file a default-read object came from,
    else a meshtal written from the mesh."""
    from . import Mesh, _read_as_is
    if isinstance(item, Mesh):
        if _read_as_is(item):
            return item.path
        path = os.path.join(folder, f"mesh{index}.meshtal")
        write_meshtal(item, path)
        return path
    if hasattr(item, "path"):
        return item.path
    return os.fspath(item)


def render(*items, output=None, size=(800, 600), camera=None, planes=None, palette=None,
           range=None, linear=False, title=None, geometry=None):
    """Render files, meshes, tracks, clouds or nuclides as the host draws them; returns the
    picture as a (height, width, 3) uint8 array and writes it as PNG to `output` when given.

    items     paths of data files, or objects the read_* functions returned
    size      (width, height) in pixels
    camera    "x", "y", "z", "-x", "-y", "-z" or "iso" (default: the host's first view)
    planes    (x, y, z) in cm: the volume planes through these positions
    palette   a Volumix3D palette by name ("21", "64", "Hot", "Gray", "Moreland", ...)
    range     (min, max) of the colour scale; linear=True for a linear scale
    title     a line of text above the picture
    geometry  a FLUKA, MCNP or PHITS input drawn under the data
    Raises ReadError when the host cannot open an item, RuntimeError when it cannot render.
    """
    from . import ReadError
    host = host_path()
    if not host:
        raise RuntimeError("tessaron-host was not found: set TESSARON_HOST")
    if not items:
        raise ValueError("render needs at least one file or object to draw")
    with tempfile.TemporaryDirectory(prefix="tessaron-render-") as folder:
        files = [_file_of(item, folder, i) for i, item in enumerate(items)]
        target = os.fspath(output) if output is not None else os.path.join(folder, "view.png")
        args = [host, *files, "--output", target, "--size", f"{int(size[0])}x{int(size[1])}"]
        if camera:
            args += ["--camera", camera]
        if planes is not None:
            args += ["--planes", ",".join(f"{float(p):.17g}" for p in planes)]
        if palette:
            args += ["--palette", str(palette)]
        if range is not None:
            args += ["--range", f"{float(range[0]):.17g}:{float(range[1]):.17g}"]
        if linear:
            args.append("--linear")
        if title:
            args += ["--title", title]
        if geometry:
            args += ["--geometry", os.fspath(geometry)]
        run = subprocess.run(args, capture_output=True, text=True)
        pixels = _tessaron.read_png(target) if run.returncode == 0 else None
        if pixels is None:
            message = (run.stderr or run.stdout).strip() or f"exit status {run.returncode}"
            unread = [f for f in files if f in message]
            if unread:
                raise ReadError(unread[0], message)
            raise RuntimeError(f"tessaron-host could not render: {message}")
        return pixels
