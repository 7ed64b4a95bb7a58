"""Averaging and arithmetic as the averaging tool writes them, the point readers, pictures as the
batch host renders them, and the module's own documentation."""

import os
import subprocess
import sys

import numpy as np
import pytest

import tessaron
from conftest import SOURCE, data, real

CARTESIAN = data("cartesian_3x2x2.usrbin")
SECOND = data("identified.avg")


def test_the_average_is_the_tools_own_output_with_its_errors(batch, tmp_path):
    batch(f"""plugin $PLUGINS/libVolumira3D.so
toolbar Volumix3D
modal "Average FLUKA outputs"
  file {CARTESIAN}
  click 1502
  file {SECOND}
  click 1502
  modal "User defined normalization"
    select 1401 1
    set 1402 3
  end
  click 1505
  set 1506 $WORK/mean.usrbin
  check 1508 1
  click 1511
end
click 1005
""")
    tool = str(tmp_path / "mean.usrbin")
    mesh = tessaron.average([CARTESIAN, SECOND], weights=[1, 3], errors=True)
    np.testing.assert_array_equal(mesh.values, tessaron.read_mesh(tool).values)
    np.testing.assert_array_equal(mesh.errors, tessaron.read_mesh(tool + ".rel.err").values)
    np.testing.assert_array_equal(mesh.absolute_errors,
                                  tessaron.read_mesh(tool + ".abs.err").values)
    # The second run scaled by 3 is twice the first: the mean is twice the first.
    first = tessaron.read_mesh(CARTESIAN)
    np.testing.assert_allclose(mesh.values, 2 * first.values, rtol=1e-4)
    assert os.path.exists(mesh.path)


def test_file_arithmetic_and_its_refusals(tmp_path):
    first = tessaron.read_mesh(CARTESIAN)
    total = tessaron.combine(CARTESIAN, first, "+", output=tmp_path / "sum.usrbin")
    np.testing.assert_allclose(total.values, 2 * first.values, rtol=1e-4)
    assert (tmp_path / "sum.usrbin").exists()
    ratio = tessaron.combine(CARTESIAN, CARTESIAN, "ratio")
    np.testing.assert_allclose(ratio.values[first.values != 0], 1, rtol=1e-4)
    with pytest.raises(ValueError, match="op must be one of"):
        tessaron.combine(CARTESIAN, CARTESIAN, "%")
    with pytest.raises(tessaron.ReadError, match="does not exist"):
        tessaron.combine(CARTESIAN, tmp_path / "missing.usrbin", "-")
    with pytest.raises(TypeError, match="work on files"):
        tessaron.combine(tessaron.read_mesh(CARTESIAN, normalisation=2), CARTESIAN, "+")
    with pytest.raises(ValueError, match="2 weights for 1 files"):
        tessaron.average([CARTESIAN], weights=[1, 2])


def test_tracks_come_with_offsets_per_track():
    tracks = tessaron.read_tracks(os.path.join(SOURCE, "examples", "demo.tracks"))
    assert len(tracks) == 6 and tracks.offsets[-1] == len(tracks.points) == len(tracks.times)
    assert tracks.points.shape == (19, 3) and np.all(np.diff(tracks.offsets) > 0)
    assert tracks.group_bounds.shape == (2, 2)
    for i in range(len(tracks)):
        lo, hi = tracks.group_bounds[tracks.groups[i]]
        assert lo <= tracks.energies[i] <= hi
    with pytest.raises(tessaron.ReadError, match="no such file"):
        tessaron.read_tracks("/nonexistent.tracks")


def test_particle_clouds_of_every_format():
    cloud = os.path.join(SOURCE, "cloud", "tests", "data")
    formats = {}
    for name in ("cloud.dat", "sources.mcpl", "packed.mcpl.gz", "table110.mout", "isodump.out"):
        particles = tessaron.read_particles(os.path.join(cloud, name))
        formats[name] = particles.format
        n = len(particles)
        assert n > 0 and particles.positions.shape == particles.directions.shape == (n, 3)
        assert len(particles.types) == len(particles.energies) == len(particles.times) == n
    assert formats["sources.mcpl"] == formats["packed.mcpl.gz"] == "MCPL"
    # The same particles packed or not.
    a = tessaron.read_particles(os.path.join(cloud, "sources.mcpl"))
    b = tessaron.read_particles(os.path.join(cloud, "packed.mcpl.gz"))
    np.testing.assert_array_equal(a.positions, b.positions)
    skipped = tessaron.read_particles(os.path.join(cloud, "table110.mout"))
    assert any("skipped" in w for w in skipped.warnings)


def test_nuclides_of_a_chosen_cooling_time():
    iso = os.path.join(SOURCE, "isotopes", "tests", "data")
    first = tessaron.read_nuclides(os.path.join(iso, "isodump.out"))
    assert first.cooling_times == ["0s", "1d"] and first.cooling_time == 0
    later = tessaron.read_nuclides(os.path.join(iso, "isodump.out"), cooling_time=1)
    assert later.cooling_time == 1
    assert len(first) == len(first.z) == len(first.a) == len(first.positions)
    assert set(zip(first.z, first.a)) >= {(55, 137), (55, 134)}
    with pytest.raises(tessaron.ReadError, match="Cooling time 5 was asked for; the file has 2"):
        tessaron.read_nuclides(os.path.join(iso, "isodump.out"), cooling_time=5)
    collector = tessaron.read_nuclides(os.path.join(iso, "co_cs.dat"))
    assert collector.format == "collector" and collector.cooling_time == -1 and len(collector) == 3


def test_render_is_the_batch_render_of_the_same_scene(batch, tmp_path):
    dose = real("fluka_usrbin_ascii/mphys_100MeV1cmHydrogen_51.txt")
    picture = tessaron.render(dose, size=(320, 240), camera="z", palette="Hot",
                              output=tmp_path / "python.png")
    assert picture.shape == (240, 320, 3) and picture.dtype == np.uint8
    batch(f"""plugin $PLUGINS/libVolumira3D.so
plugin $PLUGINS/libTrakor3D.so
plugin $PLUGINS/libNebulo3D.so
plugin $PLUGINS/libNuclira3D.so
open {dose} palette=Hot
view z
render $WORK/batch.png 320 240
""")
    from tessaron import _tessaron
    same = _tessaron.read_png(str(tmp_path / "batch.png"))
    np.testing.assert_array_equal(picture, same)
    assert len(np.unique(picture.reshape(-1, 3), axis=0)) > 20  # a colour map, not a blank


def test_a_mesh_made_in_python_renders_from_its_values(tmp_path):
    first = tessaron.read_mesh(CARTESIAN)
    doubled = tessaron.Mesh(first.values * 2, first.edges)
    picture = tessaron.render(doubled, size=(200, 150), camera="z")
    same = tessaron.render(tessaron.read_mesh(CARTESIAN, normalisation=2), size=(200, 150),
                           camera="z")
    np.testing.assert_array_equal(picture, same)
    png = first._repr_png_()
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    with pytest.raises(tessaron.ReadError):
        tessaron.render(tmp_path / "nothing.dat")
    with pytest.raises(ValueError):
        tessaron.Mesh(np.zeros((2, 2, 2)), first.edges)


def test_a_fresh_interpreter_imports_it_and_help_documents_every_function():
    code = ("import tessaron, pydoc; text = pydoc.render_doc(tessaron, renderer=pydoc.plaintext);"
            "print(text)")
    done = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env=dict(os.environ, PYTHONPATH=os.path.dirname(
                              os.path.dirname(tessaron.__file__))))
    assert done.returncode == 0, done.stderr
    for name in tessaron.__all__:
        member = getattr(tessaron, name)
        assert member.__doc__ and len(member.__doc__) > 40, name
        assert name in done.stdout


def test_the_readme_example_runs(tmp_path):
    example = os.path.join(SOURCE, "examples", "dose_profile.py")
    out = tmp_path / "dose.png"
    done = subprocess.run([sys.executable, example, data("mphys_100MeV1cmHydrogen_51.txt"),
                           str(out)], capture_output=True, text=True, cwd=tmp_path,
                          env=dict(os.environ, PYTHONPATH=os.path.dirname(
                              os.path.dirname(tessaron.__file__))))
    assert done.returncode == 0, done.stderr
    assert "maximum" in done.stdout and out.exists()


def test_a_cylinder_made_in_python_renders_as_its_file():
    rpz = tessaron.read_mesh(data("rpz_3x8x1.rpz"))
    copy = tessaron.Mesh(rpz.values.copy(), rpz.edges, kind="cylindrical", axis=rpz.axis)
    # A range of its own: the offered one is rounded from each picture's data.
    scene = dict(size=(200, 150), camera="z", range=(101, 803))
    np.testing.assert_array_equal(tessaron.render(copy, **scene),
                                  tessaron.render(data("rpz_3x8x1.rpz"), **scene))
