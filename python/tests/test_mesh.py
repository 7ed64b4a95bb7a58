"""read_mesh against the plug-in: the real files' grids as Volumira3D exports them to VTK, the
choices its dialogs offer, cylinders as their files give them, and every refusal as ReadError."""

import os

import numpy as np
import pytest

import tessaron
from conftest import REALDATA, SOURCE, data, real

REAL_MESHES = ["fluka_usrbin_ascii/" + f for f in (
    "mphys_100MeV1cmHydrogen_51.txt", "mphys_100MeVlargePhantom.3_51.bnn-1.lis",
    "pyfluka_UsrbinInputTest.ascii", "pyne_fluka_usrbin_degenerate.lis",
    "pyne_fluka_usrbin_multiple.lis", "pyne_fluka_usrbin_single.lis")] + \
    ["fluka_usrbin_binary/pymchelper_dimensions001_fort.%d" % n for n in (21, 24, 27)] + \
    ["mcnp_meshtal/" + f for f in (
        "mcnptools_meshtal", "mcnptools_meshtal_prdmp_neg_1",
        "pyne_mcnp_meshtal_multiple_meshtal.txt", "pyne_mcnp_meshtal_single_meshtal.txt",
        "pyne_r2s_examples_meshtal", "pyne_r2s_meshtal_2x2x1")] + \
    ["phits/linac_I150_deposit-x-water-15-3.out", "phits/linac_I150_track-xz-water-ic-3.out"]


def vtk_grid(path):
    """Values (x fastest, as (nx, ny, nz)) and edges of an exported .vti or .vtr file."""
    vtk = pytest.importorskip("vtkmodules.vtkIOXML")
    from vtkmodules.util.numpy_support import vtk_to_numpy
    with open(path, "rb") as f:
        image = b'type="ImageData"' in f.read(400)
    reader = vtk.vtkXMLImageDataReader() if image else vtk.vtkXMLRectilinearGridReader()
    reader.SetFileName(path)
    reader.Update()
    grid = reader.GetOutput()
    cells = [d - 1 for d in grid.GetDimensions()]
    values = vtk_to_numpy(grid.GetCellData().GetArray(0)).reshape(cells, order="F")
    if image:
        o, s = grid.GetOrigin(), grid.GetSpacing()
        edges = [o[a] + s[a] * np.arange(cells[a] + 1) for a in range(3)]
    else:
        coords = (grid.GetXCoordinates(), grid.GetYCoordinates(), grid.GetZCoordinates())
        edges = [vtk_to_numpy(c) for c in coords]
    return values, edges


def test_every_real_volume_file_reads_as_the_plugin_exports_it(batch, tmp_path):
    if not os.path.isdir(REALDATA):
        pytest.skip("the real files are not here")
    script = ["plugin $PLUGINS/libVolumira3D.so", "toolbar Volumix3D"]
    for i, name in enumerate(REAL_MESHES):
        script += [f"set 1001 {os.path.join(REALDATA, name)}", "click 1003",
                   f"file $WORK/grid{i}", "sysmenu 48"]
    batch("\n".join(script) + "\n")
    for i, name in enumerate(REAL_MESHES):
        mesh = tessaron.read_mesh(os.path.join(REALDATA, name), errors=True)
        # The batch host takes the statistics question's default, yes: where a file has
        # relative errors, the plug-in shows and exports them.
        shown = mesh.values if mesh.errors is None else mesh.errors
        values, edges = vtk_grid(str(tmp_path / f"grid{i}"))
        assert mesh.kind == "cartesian" and mesh.values.shape == values.shape, name
        for a in range(3):
            np.testing.assert_allclose(mesh.edges[a], edges[a], rtol=1e-6, atol=1e-9,
                                       err_msg=name)
        np.testing.assert_allclose(shown, values, rtol=1e-6, atol=0, err_msg=name)
        assert mesh.values.dtype == np.float64 and mesh.values.flags.f_contiguous


def test_a_real_dose_map_keeps_its_numbers_header_and_maximum():
    mesh = tessaron.read_mesh(real("fluka_usrbin_ascii/mphys_100MeV1cmHydrogen_51.txt"))
    assert mesh.format == "FLUKA cartesian USRBIN"
    assert mesh.header["title"] == "DoseEq" and mesh.header["particle"] == 240
    assert mesh.shape == (10, 10, 10)
    value, where = mesh.maximum()
    assert value == mesh.values.max() > 0
    assert all(mesh.edges[a][0] <= where[a] <= mesh.edges[a][-1] for a in range(3))
    # The grid's block itself, not a copy of it.
    assert mesh.values.base is not None and not mesh.values.flags.owndata


def test_the_choices_of_the_dialogs_are_arguments():
    multiple = real("fluka_usrbin_ascii/pyfluka_UsrbinInputTest.ascii")
    assert tessaron.read_mesh(multiple).header["title"] == "EneDep2"
    with pytest.raises(tessaron.ReadError, match="Binning 9 was asked for"):
        tessaron.read_mesh(multiple, binning=9)
    meshtal = real("mcnp_meshtal/pyne_mcnp_meshtal_multiple_meshtal.txt")
    first = tessaron.read_mesh(meshtal)
    assert first.header["energy"] == "Total"
    low = tessaron.read_mesh(meshtal, energy_bin=0)
    assert low.header["energy"] != "Total"
    assert np.all(low.values <= first.values + 1e-300)
    with pytest.raises(tessaron.ReadError, match="no mesh tally 999"):
        tessaron.read_mesh(meshtal, tally=999)
    with pytest.raises(tessaron.ReadError, match="energy bins; bin 99"):
        tessaron.read_mesh(meshtal, energy_bin=99)
    with pytest.raises(tessaron.ReadError, match="Data set 3 was asked for; the file has 2"):
        tessaron.read_mesh(data("two_sets.mcnpx"), data_set=3)
    second = tessaron.read_mesh(data("two_sets.mcnpx"), data_set=2)
    assert second.header["data set"] == 2
    with pytest.raises(ValueError):
        tessaron.read_mesh(multiple, binning=0)


def test_normalisation_scales_values_but_not_relative_errors():
    path = real("mcnp_meshtal/mcnptools_meshtal")
    plain = tessaron.read_mesh(path, errors=True)
    scaled = tessaron.read_mesh(path, errors=True, normalisation=2.5)
    np.testing.assert_array_equal(scaled.values, plain.values * 2.5)
    np.testing.assert_array_equal(scaled.errors, plain.errors)
    assert plain.errors.shape == plain.values.shape and 0 < plain.errors.max() < 1
    assert tessaron.read_mesh(path).errors is None
    text = tessaron.read_mesh(real("fluka_usrbin_ascii/pyne_fluka_usrbin_single.lis"), errors=True)
    assert text.errors is None and "The file holds no relative errors." in text.warnings


def test_binary_statistics_become_the_errors():
    path = real("fluka_usrbin_binary/pymchelper_dimensions001_fort.27")
    mesh = tessaron.read_mesh(path, errors=True)
    if mesh.errors is not None:
        assert mesh.errors.shape == mesh.values.shape


def test_cylinders_are_the_files_own_bins_in_their_frame():
    rz = tessaron.read_mesh(data("rz_4x2.rz"))
    assert rz.kind == "cylindrical" and rz.shape == (4, 1, 2)
    np.testing.assert_array_equal(rz.edges[0], [0, 1, 2, 3, 4])
    assert rz.axis["origin"] == (1.0, -1.0, 0.0) and rz.axis["direction"] == (0.0, 0.0, 1.0)
    rpz = tessaron.read_mesh(data("rpz_3x8x1.rpz"))
    assert rpz.shape == (3, 8, 1)
    assert rpz.edges[1][0] == pytest.approx(-np.pi) and rpz.edges[1][-1] == pytest.approx(np.pi)
    tally = tessaron.read_mesh(data("cylinder_x.meshtal"))
    assert tally.axis["direction"] == (1.0, 0.0, 0.0) and tally.axis["reference"] == (0.0, 1.0, 0.0)
    # R, then theta, then Z: the rows give 100 * (ir + 1) + 10 * (iz + 1) + (ith + 1).
    for ir in range(2):
        for ith in range(2):
            for iz in range(2):
                assert tally.values[ir, ith, iz] == 100 * (ir + 1) + 10 * (iz + 1) + ith + 1
    np.testing.assert_allclose(tally.edges[1], [0, np.pi, 2 * np.pi])


def test_uneven_bins_keep_their_edges():
    mesh = tessaron.read_mesh(data("matrix_xz.meshtal"))
    widths = np.diff(mesh.edges[0])
    assert mesh.values.shape == tuple(len(e) - 1 for e in mesh.edges)
    assert widths.min() < widths.max()


@pytest.mark.parametrize("name", sorted(os.listdir(os.path.join(SOURCE, "volume/tests/data/bad"))))
def test_a_broken_file_is_a_read_error_with_the_readers_text(name):
    path = os.path.join(SOURCE, "volume/tests/data/bad", name)
    try:
        mesh = tessaron.read_mesh(path)
    except tessaron.ReadError as error:
        assert error.file == path and error.text and str(error).startswith(path)
        return
    # A file the plug-in loads with a warning must say so.
    assert mesh.warnings, f"{name} read without a word"


def test_refusals_name_their_cause(tmp_path):
    with pytest.raises(tessaron.ReadError, match="Invalid file type"):
        tessaron.read_mesh(os.path.join(SOURCE, "docs", "one-liner.png"))
    with pytest.raises(tessaron.ReadError, match="No volume format is named"):
        tessaron.read_mesh(data("rz_4x2.rz"), format="HDF5")
    missing = tmp_path / "missing.usrbin"
    with pytest.raises(tessaron.ReadError) as error:
        tessaron.read_mesh(missing, format="FLUKA cartesian USRBIN")
    assert error.value.file == str(missing)
    # A small file announcing a huge grid is refused unless allowed.
    huge = tmp_path / "huge.xyz"
    huge.write_text("VOXEL-DATA @2007 Volumix3D\nX-start: 0 X-end: 1 X-steps: 2000\n"
                    "Y-start: 0 Y-end: 1 Y-steps: 2000\nZ-start: 0 Z-end: 1 Z-steps: 2000\n"
                    "====\nX Y Z Data\n0 0 0 1\n")
    with pytest.raises(tessaron.ReadError, match="allow_large=True"):
        tessaron.read_mesh(huge)


def test_a_line_number_in_the_message_is_kept(tmp_path):
    broken = tmp_path / "broken.meshtal"
    text = open(data("two_cells.meshtal")).read().replace("1.500     0.500     0.500 2.00000E+00",
                                                          "1.500     0.500     zzzzz 2.00000E+00")
    broken.write_text(text)
    with pytest.raises(tessaron.ReadError) as error:
        tessaron.read_mesh(broken)
    assert error.value.line == 16 and "line 16" in error.value.text.lower()
