#include "volume/display/Transform.h"
#include "TestHelpers.h"
#include "platform/Controls.h"
#include "volume/SettingsDlg.h"

namespace volumira3d
{
using namespace test;

namespace
{
void ExpectNear(const CVector& a, const CVector& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
}
} // namespace

TEST(TransformTest, RowVectorTimesRxRyRzPlusTranslation)
{
    const double t[3] = {1, 2, 3};
    const double z90[3] = {0, 0, 90};
    ExpectNear(Apply(MakeTransform(t, z90), CVector(1, 0, 0)), CVector(1, 3, 3));
    const double x90[3] = {90, 0, 0};
    const double none[3] = {0, 0, 0};
    ExpectNear(Apply(MakeTransform(none, x90), CVector(0, 1, 0)), CVector(0, 0, 1));
    const double y90[3] = {0, 90, 0};
    ExpectNear(Apply(MakeTransform(none, y90), CVector(1, 0, 0)), CVector(0, 0, -1));
    // X first, then Y: (0, 1, 0) goes to z by X, and z goes to x by Y.
    const double xy[3] = {90, 90, 0};
    ExpectNear(Apply(MakeTransform(none, xy), CVector(0, 1, 0)), CVector(1, 0, 0));
}

TEST(TransformTest, AnglesComeBackFromTheMatrix)
{
    const double t[3] = {0, 0, 0};
    const double cases[][3] = {{10, 20, 30}, {-45, 60, 170}, {0, 0, 0}, {-120, -30, -90}};
    for (const auto& angles : cases)
    {
        double back[3];
        RecoverAngles(MakeTransform(t, angles), back);
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(back[a], angles[a], 1e-9) << a;
    }
    // At a right angle about Y only the sum or difference of X and Z is defined.
    const double gimbal[3] = {30, 90, 10};
    double back[3];
    const CMatrix m = MakeTransform(t, gimbal);
    RecoverAngles(m, back);
    const CMatrix again = MakeTransform(t, back);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(again(i, j), m(i, j), 1e-9);
}

class SettingsDlgTest : public CUiTest
{
};

TEST_F(SettingsDlgTest, FieldsShowTheStoredTransformAndRefuseAnglesOutOfRange)
{
    const double t[3] = {5, -2, 7.5};
    const double angles[3] = {15, -25, 35};
    CSettingsDlg dlg;
    dlg.SetTransform(MakeTransform(t, angles));
    Ui().QueueModal("Settings...",
                    [](CDialog& d)
                    {
                        EXPECT_EQ(d.GetDlgItemText(IDC_SET_TX), "5");
                        EXPECT_EQ(d.GetDlgItemText(IDC_SET_RZ), "35");
                        d.UserSetText(IDC_SET_RX, "400");
                        d.UserClick(IDOK);
                        EXPECT_FALSE(d.IsEnded()) << "400 degrees refused";
                        d.UserSetText(IDC_SET_RX, "-360");
                        d.UserSetText(IDC_SET_EXTRUSION_SCALE, "2e7");
                        d.UserClick(IDOK);
                        EXPECT_FALSE(d.IsEnded());
                        d.UserSetText(IDC_SET_EXTRUSION_SCALE, "3");
                        d.UserClick(IDOK);
                    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Shown("Please enter a number between -360 and 360."));
    EXPECT_DOUBLE_EQ(dlg.m_Angles[0], -360);
    EXPECT_DOUBLE_EQ(dlg.m_ExtrusionScale, 3);
}
} // namespace volumira3d
