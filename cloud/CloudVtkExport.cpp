#include "cloud/CloudVtkExport.h"

#include "cloud/Nebulo3DDlg.h"
#include "common/VtkExport.h"
#include "platform/UiServices.h"

namespace nebulo3d
{
namespace
{
constexpr const char* NothingLoaded = "No particles are loaded; nothing was exported.";

// A point array with one tuple per particle, in the cloud's (stable) iteration order.
template <class F>
CVtkArray PerParticle(const std::string& name, EVtkScalar type, int components,
                      const CParticleDataReader& cloud, F put)
{
    return {name, type, components, cloud.Count(),
            [&cloud, put](CVtkSink& sink)
            {
                for (const auto& [type, particle] : cloud.AllParticles())
                    put(sink, *particle);
            }};
}

void PutVector(CVtkSink& sink, const CVector& v)
{
    const double xyz[3] = {v.x, v.y, v.z};
    sink.Put(xyz, 3);
}
} // namespace

bool WriteCloudVtk(const CParticleDataReader& cloud, const CVtkXmlWriter& writer,
                   const std::string& path, std::string& message)
{
    if (cloud.Count() == 0)
    {
        message = NothingLoaded;
        return false;
    }
    CVtkTypeNames names;
    for (int type : cloud.Types())
        names.Add(type);
    using S = EVtkScalar;
    CVtkPolyData poly;
    poly.m_Points =
        PerParticle("Points", S::Float64, 3, cloud,
                    [](CVtkSink& sink, const CParticle& p) { PutVector(sink, p.m_Position); });
    poly.m_CellOffsets = CVtkXmlWriter::VertexOffsets(cloud.Count());
    poly.m_PointData.push_back(PerParticle("type", S::Int32, 1, cloud,
                                           [](CVtkSink& sink, const CParticle& p)
                                           { sink.Put(std::int32_t(p.m_Type)); }));
    poly.m_PointData.push_back(PerParticle("type name index", S::Int32, 1, cloud,
                                           [&names](CVtkSink& sink, const CParticle& p)
                                           { sink.Put(names.Index(p.m_Type)); }));
    poly.m_PointData.push_back(PerParticle("energy", S::Float64, 1, cloud,
                                           [](CVtkSink& sink, const CParticle& p)
                                           { sink.Put(p.m_Energy); }));
    poly.m_PointData.push_back(PerParticle("weight", S::Float64, 1, cloud,
                                           [](CVtkSink& sink, const CParticle& p)
                                           { sink.Put(p.m_Weight); }));
    poly.m_PointData.push_back(PerParticle("direction", S::Float64, 3, cloud,
                                           [](CVtkSink& sink, const CParticle& p)
                                           { PutVector(sink, p.m_Direction); }));
    poly.m_FieldData.push_back(names.Array());
    return writer.Write(path, poly, message);
}

void ExportCloudVtk(CNebulo3DDlg& dlg)
{
    const CParticleDataReader* cloud = dlg.Reader();
    if (!cloud || cloud->Count() == 0)
    {
        AfxMessageBox(NothingLoaded, MB_ICONINFORMATION);
        return;
    }
    ExportVtkWithDialog(
        &dlg, "vtp", VtkPolyFilter,
        [cloud](const std::string& path, const CVtkXmlWriter& writer, std::string& message)
        { return WriteCloudVtk(*cloud, writer, path, message); });
}
} // namespace nebulo3d
