"""Read FLUKA, MCNP and PHITS results into numpy arrays, and render them as the host draws them.

The readers are the ones the Tessaron plug-ins load with, so the numbers are the ones the plug-ins
show. Nothing opens a window or asks a question: every choice a plug-in's dialog offers is a
keyword argument whose default is the dialog's default.

    read_mesh(path, ...)       a volume file (dose map, mesh tally) as a Mesh
    average(paths, ...)        the average of FLUKA runs, with its errors, as a Mesh
    combine(a, b, op)          the sum, difference, product or ratio of two FLUKA files
    read_tracks(path)          a track file as Tracks (points with offsets per track)
    read_particles(path)       a particle cloud (MCPL, MCNP table 110, own format) as Particles
    read_nuclides(path, ...)   residual nuclides (isodump, collector file) as Nuclides
    render(*items, ...)        a picture of files or meshes, as a (height, width, 3) array

A file that cannot be read raises ReadError with the reader's own message.
"""

import inspect
import itertools
import os
import re
import tempfile

import numpy as np

from . import _tessaron
from ._render import render, host_path

__all__ = ["Mesh", "Tracks", "Particles", "Nuclides", "ReadError", "read_mesh", "average",
           "combine", "read_tracks", "read_particles", "read_nuclides", "render", "mesh_formats",
           "host_path"]


class ReadError(Exception):
    """A file the readers refused: `file`, the reader's `text`, and `line` or `offset` (bytes)
    where the message names one (else None)."""

    def __init__(self, file, text):
        self.file = os.fspath(file)
        self.text = text
        line = re.search(r"\bline (\d+)", text, re.IGNORECASE)
        offset = re.search(r"\b(?:byte|offset) (\d+)", text)
        self.line = int(line.group(1)) if line else None
        self.offset = int(offset.group(1)) if offset else None
        super().__init__(f"{self.file}: {text}")


def mesh_formats():
    """The names read_mesh's `format` takes, in the order a file's name and content are tried."""
    return _tessaron.mesh_formats()


class Mesh:
    """Values on a mesh of bins.

    values   numpy float64 array of shape (n0, n1, n2): x, y, z bins for a cartesian mesh; r, phi,
             z bins for a cylindrical one (the file's own bins, not resampled)
    errors   relative errors of the same shape, or None
    edges    three arrays of bin edges (cm; phi in radians from -pi)
    kind     "cartesian" or "cylindrical"
    axis     a cylinder's frame: dict of origin, direction (its z) and reference (phi = 0); None
    header   what the file states: title, particle, weight, primaries, tally, ...
    format   the reader that read it
    warnings what the plug-in's log would show as warnings or errors
    path     the file it was read from (None for a mesh made in Python)
    """

    def __init__(self, values, edges, *, kind="cartesian", errors=None, axis=None, header=None,
                 format=None, warnings=(), log=(), path=None, options=None):
        self.values = values
        self.errors = errors
        self.edges = tuple(np.asarray(e, dtype=float) for e in edges)
        self.kind = kind
        self.axis = axis
        self.header = dict(header or {})
        self.format = format
        self.warnings = list(warnings)
        self.log = list(log)
        self.path = None if path is None else os.fspath(path)
        # How it was read: a mesh read with every default renders from its own file.
        self._options = options
        shape = tuple(len(e) - 1 for e in self.edges)
        if np.shape(values) != shape:
            raise ValueError(f"values of shape {np.shape(values)} do not fit edges of {shape} bins")

    @property
    def shape(self):
        return self.values.shape

    def centres(self, axis):
        """The bin centres along an axis (0, 1, 2)."""
        e = self.edges[axis]
        return (e[:-1] + e[1:]) / 2

    def maximum(self):
        """The largest value and the centre of its bin, as (value, (c0, c1, c2))."""
        index = np.unravel_index(np.argmax(self.values), self.values.shape)
        return float(self.values[index]), tuple(float(self.centres(a)[i]) for a, i in enumerate(index))

    def __repr__(self):
        return (f"<Mesh {self.kind} {'x'.join(map(str, self.shape))} from "
                f"{self.path or 'Python'} ({self.format})>")

    def _repr_png_(self):
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "mesh.png")
            render(self, output=out, size=(640, 480))
            with open(out, "rb") as f:
                return f.read()


def _index(value, name, first=0):
    """A bin index argument for the readers: None (the dialog's default) becomes -1."""
    if value is None:
        return -1
    if isinstance(value, bool) or not isinstance(value, (int, np.integer)) or value < first:
        raise ValueError(f"{name} must be an integer of at least {first}, not {value!r}")
    return int(value)


def _number(text):
    """A header figure as a number where it is one."""
    for kind in (int, float):
        try:
            return kind(text)
        except ValueError:
            pass
    return text


def _read(path, format, options, errors, allow_large):
    result = _tessaron.read_mesh(os.fspath(path), format or "", errors=errors,
                                 allow_large=allow_large, **options)
    if not result["ok"]:
        text = result["error"]
        if result["large"]:
            text += " (allow_large=True loads it)"
        raise ReadError(path, text)
    return result


def _choices(binning, data_set, tally, particle, energy_bin, time_bin, nuclide, normalisation):
    """read_mesh's choices as the reader takes them."""
    return dict(binning=_index(binning, "binning", 1) - 1,
                data_set=_index(data_set, "data_set", 1), tally=_index(tally, "tally"),
                particle=particle or "", energy=_index(energy_bin, "energy_bin"),
                time=_index(time_bin, "time_bin"), nuclide=_index(nuclide, "nuclide"),
                normalisation=float(normalisation))


def _read_as_is(mesh):
    """Whether a mesh holds its file's values as read with every choice at read_mesh's default."""
    names = inspect.signature(_choices).parameters
    defaults = {k: v for k, v in read_mesh.__kwdefaults__.items() if k in names}
    return mesh.path is not None and mesh._options == (None, _choices(**defaults))


def read_mesh(path, *, format=None, binning=1, tally=None, particle=None, energy_bin=None,
              time_bin=None, nuclide=None, data_set=1, normalisation=1.0, errors=False,
              allow_large=False):
    """Read a volume file as a Mesh, with the reader Volumira3D uses.

    format       one of mesh_formats(); None picks it by the file's name, then its content
    binning      FLUKA: which binning of the file (1 the first), as the binning chooser lists them
    data_set     MCNPX gridconv: which data set (1 the first)
    tally        MCNP meshtal: the tally number (None: the first tally, of `particle` if given)
    particle     MCNP meshtal: the tally's particle ("neutron", "photon", ...)
    energy_bin, time_bin, nuclide
                 MCNP meshtal: the bin from 0 (None: the "Total" bin where the file has one)
    normalisation  the factor every value is multiplied by (not the relative errors)
    errors       also read the relative errors, where the file has them, into Mesh.errors
    allow_large  load a grid above 256 MB that the file cannot fill (else ReadError)

    Formats: FLUKA USRBIN text (cartesian, R-Z, R-Phi-Z), FLUKA binary USRBIN, FLUKA voxel,
    MCNP meshtal, MCNPX gridconv, PHITS, the plug-in's XYZ voxel format.
    """
    options = _choices(binning, data_set, tally, particle, energy_bin, time_bin, nuclide,
                       normalisation)
    r = _read(path, format, options, False, allow_large)
    relative = None
    if errors and r["has_errors"]:
        relative = _read(path, r["format"], options, True, allow_large)["values"]
    elif errors:
        r["warnings"].append("The file holds no relative errors.")
    return Mesh(r["values"], r["edges"], kind=r["kind"], errors=relative, axis=r.get("axis"),
                header={k: _number(v) for k, v in r["header"].items()}, format=r["format"],
                warnings=r["warnings"], log=[text for text, _ in r["log"]], path=path, options=(format, options))


class _Scratch:
    """A folder for the files the averaging tool writes, removed when the interpreter ends."""

    folder = None

    @classmethod
    def path(cls, name):
        if cls.folder is None:
            cls.folder = tempfile.TemporaryDirectory(prefix="tessaron-")
        return os.path.join(cls.folder.name, name)


_results = itertools.count(1)


def _result_path(output, stem):
    if output is not None:
        return os.fspath(output)
    return _Scratch.path(f"{stem}{next(_results)}.txt")


def _fluka_path(item):
    """A FLUKA text file to operate on: a path, or the file a Mesh was read from unchanged."""
    if isinstance(item, Mesh):
        if item.path is None or item._options is None or item._options[1]["normalisation"] != 1:
            raise TypeError("combine and average work on files: give a path, or a Mesh read "
                            "from its file with normalisation 1")
        return item.path
    return os.fspath(item)


def _operate(paths, operation, output, *, weights=None, individual_weights=True, errors=False,
             binning=1):
    paths = [_fluka_path(p) for p in paths]
    if weights is not None and len(weights) != len(paths):
        raise ValueError(f"{len(weights)} weights for {len(paths)} files")
    result = _result_path(output, operation)
    run = _tessaron.file_operation(paths, [float(w) for w in (weights or [])], individual_weights,
                                   result, operation, errors, "")
    if not run["ok"]:
        raise ReadError(result if not paths else paths[0], run["error"])
    # The result has its inputs' layout: read it as the first input is read.
    format = _tessaron.identify(paths[0]) or None
    mesh = read_mesh(result, binning=binning, format=format)
    mesh.log = run["log"] + mesh.log
    return mesh, result, format


def average(paths, *, weights=None, errors=True, individual_weights=True, binning=1,
            output=None):
    """Average FLUKA USRBIN text runs of one binning, as the averaging tool does.

    weights             a normalisation per file (the tool's user-defined weights), default 1
    individual_weights  weigh each run by its own weight from its header (the tool's default)
    errors              also compute the errors; Mesh.errors holds the relative errors and
                        Mesh.absolute_errors the absolute ones
    output              the file to write the average to (also output.abs.err, output.rel.err);
                        default a scratch file
    Raises ReadError when a file is missing or the binnings differ.
    """
    mesh, result, format = _operate(paths, "average", output, weights=weights,
                                    individual_weights=individual_weights, errors=errors,
                                    binning=binning)
    mesh.absolute_errors = None
    if errors:
        mesh.errors = read_mesh(result + ".rel.err", binning=binning, format=format).values
        mesh.absolute_errors = read_mesh(result + ".abs.err", binning=binning,
                                         format=format).values
    return mesh


_OPERATIONS = {"+": "sum", "-": "difference", "*": "product", "/": "ratio", "sum": "sum",
               "difference": "difference", "product": "product", "ratio": "ratio"}


def combine(a, b, op, *, binning=1, output=None):
    """The file arithmetic of the averaging tool on two FLUKA USRBIN text files of one binning:
    op is "+", "-", "*", "/" (or "sum", "difference", "product", "ratio"). Returns a Mesh."""
    if op not in _OPERATIONS:
        raise ValueError(f"op must be one of {', '.join(_OPERATIONS)}, not {op!r}")
    return _operate([a, b], _OPERATIONS[op], output, binning=binning)[0]


def _check(path, result):
    if not result["ok"]:
        raise ReadError(path, result["error"])
    return result


class Tracks:
    """Particle tracks: `points` (n, 3) cm and `times` (n) s of every point; track i is
    points[offsets[i]:offsets[i + 1]], with `types` (FLUKA particle codes), `energies` (GeV) and
    `groups` (an index into `group_bounds`, the file's energy groups in GeV) per track."""

    def __init__(self, path, r):
        self.path = os.fspath(path)
        for key in ("points", "times", "offsets", "types", "groups", "energies", "group_bounds",
                    "group_labels", "warnings"):
            setattr(self, key, r[key])

    def __len__(self):
        return len(self.offsets) - 1

    def track(self, i):
        """The points of track i, (m, 3)."""
        return self.points[self.offsets[i]:self.offsets[i + 1]]

    def __repr__(self):
        return f"<Tracks {len(self)} tracks, {len(self.points)} points from {self.path}>"


class Particles:
    """A particle cloud: `positions` and `directions` (n, 3), `energies` (in the file's unit,
    `mev_per_energy_unit` MeV each), `weights`, `times` (s, 0 where the file has none) and
    `types` (the cloud viewer's FLUKA-numbered types)."""

    def __init__(self, path, r):
        self.path = os.fspath(path)
        for key in ("format", "positions", "directions", "energies", "weights", "times", "types",
                    "mev_per_energy_unit", "notes", "warnings"):
            setattr(self, key, r[key])

    def __len__(self):
        return len(self.weights)

    def __repr__(self):
        return f"<Particles {len(self)} from {self.path} ({self.format})>"


class Nuclides:
    """Emitters of residual nuclides: `positions` (n, 3), `z`, `a` and `weights`; for an isodump
    the file's `cooling_times` and the index of the one read (`cooling_time`, else -1)."""

    def __init__(self, path, r):
        self.path = os.fspath(path)
        for key in ("format", "positions", "weights", "z", "a", "cooling_times", "cooling_time",
                    "warnings"):
            setattr(self, key, r[key])

    def __len__(self):
        return len(self.weights)

    def __repr__(self):
        return f"<Nuclides {len(self)} emitters from {self.path} ({self.format})>"


def read_tracks(path):
    """Read a Trakor3D track file (particle blocks of points with times, energy groups) as
    Tracks, with the plug-in's reader; problems inside a block are Tracks.warnings."""
    return Tracks(path, _check(path, _tessaron.read_tracks(os.fspath(path))))


def read_particles(path):
    """Read a particle cloud as Particles, with Nebulo3D's reader for the file's name: MCPL
    (.mcpl, .mcpl.gz), MCNP output with print table 110, FLUKA isodump, the own format."""
    return Particles(path, _check(path, _tessaron.read_particles(os.fspath(path))))


def read_nuclides(path, *, cooling_time=0):
    """Read residual nuclides as Nuclides, with Nuclira3D's reader: a collector file (.dat) or
    a FLUKA isodump, of which the cooling time of that index (from 0) is read."""
    index = _index(cooling_time, "cooling_time")
    return Nuclides(path, _check(path, _tessaron.read_nuclides(os.fspath(path), index)))
