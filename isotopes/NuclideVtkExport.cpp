#include "isotopes/NuclideVtkExport.h"

#include "common/VtkExport.h"
#include "isotopes/IsotopeDataReader.h"
#include "isotopes/Nuclira3DDlg.h"
#include "platform/UiServices.h"

namespace nuclira3d
{
namespace
{
constexpr const char* NothingLoaded = "No nuclides are loaded; nothing was exported.";

// A point array with one tuple per emitter, in the container's (stable) iteration order.
template <class F>
CVtkArray PerEmitter(const std::string& name, EVtkScalar type, int components,
                     const CIsotopeDataReader& nuclides, F put)
{
    return {name, type, components, nuclides.Count(),
            [&nuclides, put](CVtkSink& sink)
            {
                for (const auto& [z, emitter] : nuclides.AllEmitters())
                    put(sink, *emitter);
            }};
}
} // namespace

bool WriteNuclideVtk(const CIsotopeDataReader& nuclides, const CVtkXmlWriter& writer,
                     const std::string& path, std::string& message)
{
    if (nuclides.Count() == 0)
    {
        message = NothingLoaded;
        return false;
    }
    using S = EVtkScalar;
    CVtkPolyData poly;
    poly.m_Points =
        PerEmitter("Points", S::Float64, 3, nuclides,
                   [](CVtkSink& sink, const CIsotope& e)
                   {
                       const double xyz[3] = {e.m_Position.x, e.m_Position.y, e.m_Position.z};
                       sink.Put(xyz, 3);
                   });
    poly.m_CellOffsets = CVtkXmlWriter::VertexOffsets(nuclides.Count());
    poly.m_PointData.push_back(PerEmitter("Z", S::Int32, 1, nuclides,
                                          [](CVtkSink& sink, const CIsotope& e)
                                          { sink.Put(std::int32_t(e.m_Z)); }));
    poly.m_PointData.push_back(PerEmitter("A", S::Int32, 1, nuclides,
                                          [](CVtkSink& sink, const CIsotope& e)
                                          { sink.Put(std::int32_t(e.m_A)); }));
    poly.m_PointData.push_back(PerEmitter("weight", S::Float64, 1, nuclides,
                                          [](CVtkSink& sink, const CIsotope& e)
                                          { sink.Put(e.m_Weight); }));
    return writer.Write(path, poly, message);
}

void ExportNuclideVtk(CNuclira3DDlg& dlg)
{
    const CIsotopeDataReader* nuclides = dlg.Reader();
    if (!nuclides || nuclides->Count() == 0)
    {
        AfxMessageBox(NothingLoaded, MB_ICONINFORMATION);
        return;
    }
    ExportVtkWithDialog(
        &dlg, "vtp", VtkPolyFilter,
        [nuclides](const std::string& path, const CVtkXmlWriter& writer, std::string& message)
        { return WriteNuclideVtk(*nuclides, writer, path, message); });
}
} // namespace nuclira3d
