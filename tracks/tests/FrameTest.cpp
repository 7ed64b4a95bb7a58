#include "testkit/FakeHost.h"
#include "testkit/UiCapture.h"
#include "tracks/Trakor3DDlg.h"
#include "tracks/Trakor3D_App.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor3d;
using namespace testkit;

TEST(Frame, InitPlugInInsertsTheButtonThenChecksTheVersion)
{
    Ui().Reset();
    CFakeHost host;
    CTrakor3D_App app;
    EXPECT_EQ(app.InitPlugIn(&host, &host), 101);
    EXPECT_EQ(host.Log(), "add Trakor3D 101 -1 -1;recalc;resize 0;version;");
    ASSERT_NE(app.MainDialog(), nullptr);
    EXPECT_FALSE(app.MainDialog()->IsWindowVisible()) << "created hidden";
    EXPECT_TRUE(Ui().Messages().empty());

    EXPECT_TRUE(app.PlugInEventHandler(999, 0, nullptr, nullptr));
    EXPECT_FALSE(app.MainDialog()->IsWindowVisible()) << "not our command";
    EXPECT_TRUE(app.PlugInEventHandler(101, 0, nullptr, nullptr));
    EXPECT_TRUE(app.MainDialog()->IsWindowVisible());
    EXPECT_EQ(app.MainDialog()->GetCaption(), "Trakor 3D");

    app.DestroyPlugIn();
    EXPECT_NE(host.Log().find("remove 4;"), std::string::npos);
    std::string name, icon;
    app.GetPlugInName(name);
    app.GetPlugInResources(icon);
    EXPECT_EQ(name, "Trakor 3D V 3.6");
    EXPECT_EQ(icon, "Trakor3D Icon");
}

TEST(Frame, OldHostIsRefusedAfterTheDialogExists)
{
    Ui().Reset();
    CFakeHost host;
    host.SetInterfaceVersion(2.2);
    CTrakor3D_App app;
    EXPECT_EQ(app.InitPlugIn(&host, &host), 0);
    EXPECT_NE(app.MainDialog(), nullptr);
    const auto& boxes = Ui().Messages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].m_Text,
              "This plug-in requires a newer version of Tessaron with a plugin-interface version "
              "of 2.3!");
    EXPECT_EQ(boxes[0].Icon(), "information");
}

TEST(Frame, BoxAndVrmlFollowTheStoreAndVisualize)
{
    Ui().Reset();
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
