// The "Average FLUKA outputs" dialog and its "User defined normalization" dialog, driven as a
// user would.
#include "LoaderTest.h"
#include "volume/averaging/CalcFLUKAAverageDlg.h"
#include "volume/averaging/FlukaAvgDataFile.h"
#include "volume/averaging/UserDefWeightsDlg.h"
#include "volume/expressions/NormalizationDlg.h"

namespace volumira3d
{
using namespace test;

class UserWeightsTest : public CUiTest
{
protected:
    // Runs the dialog with actions inside it; returns its result.
    INT_PTR RunDialog(std::function<void(CDialog&)> actions)
    {
        Ui().QueueModal("User defined normalization", std::move(actions));
        CUserDefWeightsDlg dlg(&m_Files, &m_Weights, nullptr);
        return dlg.DoModal();
    }
    std::vector<std::string> m_Files = {"/data/run1.usrbin", "/data/run2.usrbin"};
    std::map<std::string, double> m_Weights = {{"/data/run2.usrbin", 0.25}};
};

TEST_F(UserWeightsTest, TheFieldEditsTheSelectedRowOnly)
{
    bool enabledBefore = true;
    std::string shown, row;
    RunDialog(
        [&](CDialog& dlg)
        {
            enabledBefore = dlg.Item(IDC_WEIGHT_EDIT).m_Enabled;
            EXPECT_FALSE(dlg.UserSetText(IDC_WEIGHT_EDIT, "5")); // disabled: no row yet
            dlg.UserSelect(IDC_WEIGHT_LIST, 1);
            shown = dlg.GetDlgItemText(IDC_WEIGHT_EDIT);
            dlg.UserSetText(IDC_WEIGHT_EDIT, "2.5");
            row = dlg.Item(IDC_WEIGHT_LIST).m_Items.at(1).m_SubItems.at(0);
        });
    EXPECT_FALSE(enabledBefore);
    EXPECT_EQ(shown, "0.25");
    EXPECT_EQ(row, "2.5");
    EXPECT_EQ(m_Weights["/data/run2.usrbin"], 2.5);
    EXPECT_EQ(m_Weights["/data/run1.usrbin"], 1.0); // a new file starts at 1
}

TEST_F(UserWeightsTest, ZeroAndBlankAreRefused)
{
    int okResult = 0;
    RunDialog(
        [&](CDialog& dlg)
        {
            dlg.UserSelect(IDC_WEIGHT_LIST, 0);
            dlg.UserSetText(IDC_WEIGHT_EDIT, "0");
            dlg.UserClick(IDOK);
            okResult = dlg.IsEnded();
            dlg.UserSetText(IDC_WEIGHT_EDIT, "");
            dlg.UserClick(IDOK);
            okResult += dlg.IsEnded();
            dlg.UserSetText(IDC_WEIGHT_EDIT, "3");
            dlg.UserClick(IDOK);
        });
    EXPECT_EQ(okResult, 0);
    EXPECT_TRUE(Shown("The user defined normalization of the selected file must be a number"));
    EXPECT_EQ(m_Weights["/data/run1.usrbin"], 3);
}

TEST_F(UserWeightsTest, ARightClickTakesAFormulaAndResetSetsAllToOne)
{
    Ui().QueueModal("Normalization",
                    [](CDialog& dlg) { dlg.UserSetText(IDC_NORMALIZATION_FACTOR, "2*3"); });
    RunDialog([&](CDialog& dlg) { dlg.UserRightClick(IDC_WEIGHT_LIST, 0); });
    EXPECT_EQ(m_Weights["/data/run1.usrbin"], 6);
    RunDialog([&](CDialog& dlg) { dlg.UserClick(IDC_RESET_WEIGHTS); });
    EXPECT_EQ(m_Weights["/data/run1.usrbin"], 1);
    EXPECT_EQ(m_Weights["/data/run2.usrbin"], 1);
}

class AverageDialogTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        ResetAverageNotationWarning();
    }
};

TEST_F(AverageDialogTest, AddedFilesAreAveragedIntoTheResult)
{
    const std::string a = WriteScratch("a.usrbin", FlukaCartesian(2, 1, 1, FlukaValues({2, 4})));
    const std::string b = WriteScratch("b.usrbin", FlukaCartesian(2, 1, 1, FlukaValues({6, 8})));
    std::string result, log;
    Ui().QueueModal("Average FLUKA outputs",
                    [&](CDialog& dlg)
                    {
                        Ui().QueueFile(a);
                        dlg.UserClick(IDC_AVG_ADD);
                        Ui().QueueFile(b);
                        dlg.UserClick(IDC_AVG_ADD);
                        result = dlg.GetDlgItemText(IDC_AVG_RESULT);
                        dlg.UserSetCheck(IDC_AVG_CALC_ERROR, 1);
                        dlg.UserClick(IDC_AVG_RUN);
                        for (const auto& item : dlg.Item(IDC_AVG_LOG).m_Items)
                            log += item.m_Text + "\n";
                    });
    CCalcFLUKAAverageDlg dlg(nullptr);
    dlg.DoModal();
    EXPECT_EQ(result, a + ".avg");
    EXPECT_EQ(dlg.m_Files, (std::vector<std::string>{a, b}));
    EXPECT_NE(log.find("1 data sets were averaged. Process finished!"), std::string::npos) << log;
    EXPECT_NE(ReadText(a + ".avg").find("       4.0000E+00 6.0000E+00 \n"), std::string::npos);
    EXPECT_NE(ReadText(a + ".avg.abs.err").find("       2.0000E+00 2.0000E+00 \n"),
              std::string::npos);
}

TEST_F(AverageDialogTest, ErrorPropagationWithoutAnAverageFileIsRefused)
{
    Ui().QueueModal("Average FLUKA outputs",
                    [&](CDialog& dlg)
                    {
                        dlg.UserSetText(IDC_AVG_RESULT, TestDir() / "e.err");
                        Ui().QueueFile(WriteScratch("a.err", FlukaCartesian(1, 1, 1, "1\n")));
                        dlg.UserClick(IDC_AVG_ADD);
                        Ui().QueueFile("");
                        dlg.UserSysCommand(IDM_ERROR_PROPAGATION);
                    });
    CCalcFLUKAAverageDlg dlg(nullptr);
    dlg.DoModal();
    EXPECT_TRUE(Shown("ATTENTION: This function will create 1 file with the same structure, but "
                      "the values will represent the final error"));
    EXPECT_TRUE(Shown("No averaged file was chosen", "error"));
}
} // namespace volumira3d
