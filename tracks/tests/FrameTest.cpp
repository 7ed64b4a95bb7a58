#include "platform/HeadlessBackend.h"
#include "tracks/Trakor3DDlg.h"
#include "tracks/Trakor3D_App.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor3d;

namespace
{
class CFakeHost : public CHostToolbar, public CHostInterface
{
public:
    int AddToolbarButton(CToolbarButton* b, int pos) override
    {
        m_Log += "add " + b->m_Caption + " " + std::to_string(b->m_CommandId) + " " +
                 std::to_string(b->m_Image) + " " + std::to_string(pos) + ";";
        return 4;
    }
    void RecalcToolbarLayout() override { m_Log += "recalc;"; }
    void ResizeToolbar(BOOL redraw) override { m_Log += "resize " + std::to_string(redraw) + ";"; }
    void RemoveToolbarButton(int index) override
    {
        m_Log += "remove " + std::to_string(index) + ";";
    }
    double GetInterfaceVersion() override
    {
        m_Log += "version;";
        return m_Version;
    }
    void RedrawView() override {}
    std::string m_Log;
    double m_Version = 2.3;
};
} // namespace

TEST(Frame, InitPlugInInsertsTheButtonThenChecksTheVersion)
{
    CHeadlessBackend::Instance().Reset();
    CFakeHost host;
    CTrakor3D_App app;
    EXPECT_EQ(app.InitPlugIn(&host, &host), 101);
    EXPECT_EQ(host.m_Log, "add Trakor3D 101 -1 -1;recalc;resize 0;version;");
    ASSERT_NE(app.MainDialog(), nullptr);
    EXPECT_FALSE(app.MainDialog()->IsWindowVisible()) << "created hidden";
    EXPECT_TRUE(CHeadlessBackend::Instance().Messages().empty());

    EXPECT_TRUE(app.PlugInEventHandler(999, 0, nullptr, nullptr));
    EXPECT_FALSE(app.MainDialog()->IsWindowVisible()) << "not our command";
    EXPECT_TRUE(app.PlugInEventHandler(101, 0, nullptr, nullptr));
    EXPECT_TRUE(app.MainDialog()->IsWindowVisible());
    EXPECT_EQ(app.MainDialog()->GetCaption(), "Trakor 3D");

    app.DestroyPlugIn();
    EXPECT_NE(host.m_Log.find("remove 4;"), std::string::npos);
    std::string name, icon;
    app.GetPlugInName(name);
    app.GetPlugInResources(icon);
    EXPECT_EQ(name, "Trakor 3D V 3.6");
    EXPECT_EQ(icon, "Trakor3D Icon");
}

TEST(Frame, OldHostIsRefusedAfterTheDialogExists)
{
    CHeadlessBackend::Instance().Reset();
    CFakeHost host;
    host.m_Version = 2.2;
    CTrakor3D_App app;
    EXPECT_EQ(app.InitPlugIn(&host, &host), 0);
    EXPECT_NE(app.MainDialog(), nullptr);
    const auto& boxes = CHeadlessBackend::Instance().Messages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].m_Text,
              "This plug-in requires a newer version of Tessaron with a plugin-interface version "
              "of 2.3!");
    EXPECT_EQ(boxes[0].Icon(), "information");
}

TEST(Frame, BoxAndVrmlFollowTheStoreAndVisualize)
{
    CHeadlessBackend::Instance().Reset();
    CFakeHost host;
    CTrakor3D_App app;
    app.InitPlugIn(&host, &host);
    CVector lo, hi;
    app.Box(lo, hi);
    EXPECT_EQ(lo, CVector(1e15, 1e15, 1e15));
    EXPECT_EQ(hi, CVector(-1e15, -1e15, -1e15));

    std::istringstream in("EnergyGroup_Tot 0 1\nPARTICLE\nEnergy 0.5\nType 7\ns 0 0 0\n"
                          "s 1 2 3\nEND PARTICLE\n");
    ASSERT_TRUE(app.Store().ReadStream(in, nullptr));
    app.Box(lo, hi);
    EXPECT_EQ(hi, CVector(1, 2, 3));
    std::ostringstream vrml;
    app.ExportVRML(vrml) << "end";
    EXPECT_EQ(vrml.str(), "end") << "nothing while the tracks are not visualised";
}
