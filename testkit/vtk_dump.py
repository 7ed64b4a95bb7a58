"""Prints what VTK's XML readers see in a .vti, .vtr or .vtp file, one tab-separated line per fact.

Used by the tests to check exported files with a real reader; exits 2 when VTK is missing.
"""
import sys

try:
    from vtkmodules.vtkCommonCore import vtkCommand
    from vtkmodules.vtkIOXML import (vtkXMLImageDataReader, vtkXMLPolyDataReader,
                                     vtkXMLRectilinearGridReader)
except ImportError as exc:
    print("python3-vtk9 is not available: %s" % exc)
    sys.exit(2)


def out(*fields):
    print("\t".join(str(f) for f in fields))


def values(array):
    n = array.GetNumberOfTuples() * array.GetNumberOfComponents()
    if array.GetDataTypeAsString() == "string":
        return [array.GetValue(i) for i in range(array.GetNumberOfValues())]
    return [repr(float(array.GetComponent(i // array.GetNumberOfComponents(),
                                          i % array.GetNumberOfComponents())))
            for i in range(n)]


def dump_arrays(kind, data):
    for i in range(data.GetNumberOfArrays()):
        array = data.GetAbstractArray(i)
        out("array", kind, array.GetName(), array.GetNumberOfComponents(),
            array.GetNumberOfTuples(), array.GetDataTypeAsString())
        out("values", kind + "/" + array.GetName(), *values(array))


def main(path):
    readers = {".vti": vtkXMLImageDataReader, ".vtr": vtkXMLRectilinearGridReader}
    reader = readers.get(path[-4:], vtkXMLPolyDataReader)()
    errors = []
    reader.AddObserver(vtkCommand.ErrorEvent, lambda obj, ev: errors.append(ev))
    reader.SetFileName(path)
    reader.Update()
    data = reader.GetOutput()
    if errors or reader.GetErrorCode():
        out("error", "the reader reported an error")
    out("class", data.GetClassName())
    out("points", data.GetNumberOfPoints())
    out("cells", data.GetNumberOfCells())
    if path.endswith(".vti"):
        out("extent", *data.GetExtent())
        out("origin", *[repr(v) for v in data.GetOrigin()])
        out("spacing", *[repr(v) for v in data.GetSpacing()])
        m = data.GetDirectionMatrix()
        out("direction", *[repr(m.GetElement(r, c)) for r in range(3) for c in range(3)])
    elif path.endswith(".vtr"):
        out("extent", *data.GetExtent())
        for name, coords in (("x", data.GetXCoordinates()), ("y", data.GetYCoordinates()),
                             ("z", data.GetZCoordinates())):
            out("values", "coordinates/" + name, *values(coords))
    else:
        out("verts", data.GetNumberOfVerts())
        out("lines", data.GetNumberOfLines())
        pts = data.GetPoints()
        if pts is not None:
            out("values", "points", *[repr(c) for i in range(pts.GetNumberOfPoints())
                                      for c in pts.GetPoint(i)])
        for i in range(data.GetNumberOfCells()):
            cell = data.GetCell(i)
            out("cell", i, cell.GetClassName(),
                *[cell.GetPointId(k) for k in range(cell.GetNumberOfPoints())])
    dump_arrays("point", data.GetPointData())
    dump_arrays("cell", data.GetCellData())
    dump_arrays("field", data.GetFieldData())


if __name__ == "__main__":
    main(sys.argv[1])
