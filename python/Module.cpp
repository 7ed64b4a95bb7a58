// The compiled half of the tessaron module: the readers, returning plain dicts of numpy arrays.
// The Python half (tessaron/__init__.py) turns them into Mesh objects and failures into
// ReadError; nothing here shows a window or asks a question.
#include "python/MeshReading.h"
#include "python/PointReading.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cairo.h>

#include <cstdint>

namespace py = pybind11;
using namespace pybind11::literals;

namespace tessaron
{
namespace
{
// An object handed to numpy as an array's base: the array keeps it alive, then deletes it.
template <class T> py::capsule Owner(T* owned)
{
    return py::capsule(owned, [](void* p) { delete static_cast<T*>(p); });
}

// A vector handed to numpy without a copy.
template <class T> py::array_t<T> Column(std::vector<T>&& values, std::vector<py::ssize_t> shape)
{
    auto* owned = new std::vector<T>(std::move(values));
    return py::array_t<T>(shape, owned->data(), Owner(owned));
}

template <class T> py::array_t<T> Column(std::vector<T>&& values)
{
    const auto n = static_cast<py::ssize_t>(values.size());
    return Column(std::move(values), {n});
}

py::array_t<double> Triples(std::vector<double>&& values)
{
    const auto n = static_cast<py::ssize_t>(values.size() / 3);
    return Column(std::move(values), {n, 3});
}

// A mesh's values as an (n0, n1, n2) array over their own block, the first axis fastest as they
// are stored (x, or r, then phi).
py::array_t<double> MeshArray(double* data, py::capsule owner,
                              const std::vector<double> (&edges)[3])
{
    const py::ssize_t n[3] = {py::ssize_t(edges[0].size()) - 1, py::ssize_t(edges[1].size()) - 1,
                              py::ssize_t(edges[2].size()) - 1};
    const py::ssize_t d = sizeof(double);
    return py::array_t<double>({n[0], n[1], n[2]}, {d, d * n[0], d * n[0] * n[1]}, data, owner);
}

py::array_t<double> MeshValues(CMeshResult& r)
{
    if (r.m_Cylindrical)
    {
        auto* values = new std::vector<double>(std::move(r.m_CylinderValues));
        return MeshArray(values->data(), Owner(values), r.m_Edges);
    }
    volumira3d::CVoxelArray* grid = r.m_Values.release();
    return MeshArray(grid->data(), Owner(grid), r.m_Edges);
}

// Runs a reader with the interpreter's lock released, so that other Python threads go on.
template <class TRead> auto Unlocked(TRead read)
{
    py::gil_scoped_release unlocked;
    return read();
}

py::tuple Vector(const CVector& v)
{
    return py::make_tuple(v.x, v.y, v.z);
}

py::dict Status(const CReadStatus& status)
{
    return py::dict("ok"_a = status.m_Ok, "error"_a = status.m_Error,
                    "warnings"_a = status.m_Warnings);
}

py::dict ReadMeshDict(const std::string& path, const std::string& format, int binning, int dataSet,
                      int tally, const std::string& particle, int energy, int time, int nuclide,
                      double normalisation, bool errors, bool allowLarge)
{
    CMeshRequest request;
    request.m_Path = path;
    request.m_Format = format;
    request.m_Normalisation = normalisation;
    volumira3d::CLoadChoices& c = request.m_Choices;
    c.m_Binning = binning;
    c.m_DataSet = dataSet;
    c.m_Tally = tally;
    c.m_Particle = particle;
    c.m_Energy = energy;
    c.m_Time = time;
    c.m_Nuclide = nuclide;
    c.m_Errors = errors;
    c.m_AllowLarge = allowLarge;
    CMeshResult r = Unlocked([&] { return ReadMesh(request); });
    py::dict out("ok"_a = r.m_Ok, "error"_a = r.m_Error, "large"_a = r.m_Large,
                 "format"_a = r.m_Format, "log"_a = r.m_Log, "warnings"_a = r.m_Warnings,
                 "has_errors"_a = r.m_OfferedErrors);
    if (!r.m_Ok) return out;
    py::dict header;
    for (const auto& [key, value] : r.m_Header)
        header[py::str(key)] = value;
    out["header"] = header;
    out["kind"] = r.m_Cylindrical ? "cylindrical" : "cartesian";
    out["values"] = MeshValues(r);
    out["edges"] = py::make_tuple(Column(std::move(r.m_Edges[0])), Column(std::move(r.m_Edges[1])),
                                  Column(std::move(r.m_Edges[2])));
    if (r.m_Cylindrical)
        out["axis"] = py::dict("origin"_a = Vector(r.m_Mesh.m_Origin),
                               "direction"_a = Vector(r.m_Mesh.m_Axis),
                               "reference"_a = Vector(r.m_Mesh.m_Reference));
    return out;
}

py::dict ReadTracksDict(const std::string& path)
{
    CTrackColumns c = Unlocked([&] { return ReadTracks(path); });
    py::dict out = Status(c);
    out["points"] = Triples(std::move(c.m_Points));
    out["times"] = Column(std::move(c.m_Times));
    out["offsets"] = Column(std::move(c.m_Offsets));
    out["types"] = Column(std::move(c.m_Types));
    out["groups"] = Column(std::move(c.m_Groups));
    out["energies"] = Column(std::move(c.m_Energies));
    const auto groups = static_cast<py::ssize_t>(c.m_GroupLabels.size());
    out["group_bounds"] = Column(std::move(c.m_GroupBounds), {groups, 2});
    out["group_labels"] = c.m_GroupLabels;
    return out;
}

py::dict ReadParticlesDict(const std::string& path)
{
    CParticleColumns c = Unlocked([&] { return ReadParticles(path); });
    py::dict out = Status(c);
    out["format"] = c.m_Format;
    out["positions"] = Triples(std::move(c.m_Positions));
    out["directions"] = Triples(std::move(c.m_Directions));
    out["energies"] = Column(std::move(c.m_Energies));
    out["weights"] = Column(std::move(c.m_Weights));
    out["times"] = Column(std::move(c.m_Times));
    out["types"] = Column(std::move(c.m_Types));
    out["mev_per_energy_unit"] = c.m_MeVPerEnergyUnit;
    out["notes"] = c.m_Notes;
    return out;
}

py::dict ReadNuclidesDict(const std::string& path, int coolingTime)
{
    CEmitterColumns c = Unlocked([&] { return ReadEmitters(path, coolingTime); });
    py::dict out = Status(c);
    out["format"] = c.m_Format;
    out["positions"] = Triples(std::move(c.m_Positions));
    out["weights"] = Column(std::move(c.m_Weights));
    out["z"] = Column(std::move(c.m_Z));
    out["a"] = Column(std::move(c.m_A));
    out["cooling_times"] = c.m_CoolingTimes;
    out["cooling_time"] = c.m_CoolingTime;
    return out;
}
// A PNG file's pixels as (height, width, 3) bytes; None when it is no readable PNG.
py::object ReadPng(const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(surface);
        return py::none();
    }
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    py::array_t<std::uint8_t> rgb({height, width, 3});
    auto out = rgb.mutable_unchecked<3>();
    for (int y = 0; y < height; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::ptrdiff_t(y) * stride);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                out(y, x, c) = static_cast<std::uint8_t>(row[x] >> (16 - 8 * c));
    }
    cairo_surface_destroy(surface);
    return rgb;
}

// The operations of the averaging tool by their script names.
volumira3d::EAverageOperation OperationNamed(const std::string& name)
{
    using E = volumira3d::EAverageOperation;
    static const std::pair<const char*, E> names[] = {
        {"average", E::Average},  {"ratio", E::Ratio},
        {"sum", E::Sum},          {"difference", E::Difference},
        {"product", E::Multiply}, {"error_propagation", E::ErrorPropagation}};
    for (const auto& [text, operation] : names)
        if (name == text) return operation;
    throw py::value_error("unknown operation \"" + name + "\"");
}

py::dict RunFileOperation(const std::vector<std::string>& paths, const std::vector<double>& weights,
                          bool individualWeights, const std::string& result,
                          const std::string& operation, bool errors, const std::string& averageFile)
{
    std::vector<volumira3d::CAverageInput> inputs;
    for (size_t i = 0; i < paths.size(); ++i)
        inputs.push_back({paths[i], i < weights.size() ? weights[i] : 1.0});
    volumira3d::CAverageOptions options;
    options.m_Operation = OperationNamed(operation);
    options.m_CalculateError = errors;
    options.m_IndividualWeights = individualWeights;
    options.m_AverageFile = averageFile;
    const CFileOperation run = Unlocked([&] { return RunAverager(inputs, result, options); });
    return py::dict("ok"_a = run.m_Ok, "error"_a = run.m_Error, "log"_a = run.m_Log);
}
} // namespace
} // namespace tessaron

PYBIND11_MODULE(_tessaron, m)
{
    using namespace tessaron;
    m.doc() = "The readers of the Tessaron plug-ins (use the tessaron package, not this module).";
    m.def("mesh_formats", &MeshFormatNames, "The volume formats' names, in the order tried.");
    m.def("identify", &IdentifyMeshFormat, "path"_a, "The format read_mesh picks for a file.");
    m.def("read_mesh", &ReadMeshDict, "path"_a, "format"_a, "binning"_a, "data_set"_a, "tally"_a,
          "particle"_a, "energy"_a, "time"_a, "nuclide"_a, "normalisation"_a, "errors"_a,
          "allow_large"_a, "A volume file as a dict of arrays and facts.");
    m.def("file_operation", &RunFileOperation, "paths"_a, "weights"_a, "individual_weights"_a,
          "result"_a, "operation"_a, "errors"_a, "average_file"_a,
          "The averaging tool's run over FLUKA text files.");
    m.def("read_png", &ReadPng, "path"_a, "A PNG file's pixels as (height, width, 3) bytes.");
    m.def("read_tracks", &ReadTracksDict, "path"_a, "A track file as a dict of columns.");
    m.def("read_particles", &ReadParticlesDict, "path"_a, "A particle cloud as columns.");
    m.def("read_nuclides", &ReadNuclidesDict, "path"_a, "cooling_time"_a,
          "Emitters of residual nuclides as columns.");
}
