#include <gtest/gtest.h>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/ui/CConfirmOverwriteDlg.h"
#include "folio/ui/CProgressDlg.h"
#include "folio/ui/FolioDll.h"

namespace {

class CFakeFactory : public IReportUiFactory {
public:
  std::unique_ptr<IConfirmOverwrite> MakeConfirmOverwrite() override { return nullptr; }
  std::unique_ptr<IProgressView> MakeProgressView() override { return nullptr; }
  std::unique_ptr<IReportDialog> MakeReportDialog(CFolio&) override { return nullptr; }
};

// Puts back whatever factory was installed before the test.
class ReportUiFactory : public ::testing::Test {
protected:
  void TearDown() override { SetReportUiFactory(m_saved); }
  std::shared_ptr<IReportUiFactory> m_saved = GetReportUiFactory();
};

// Installed when the library loads, and again by the host's start-up, which keeps a
// factory of the host's own.
TEST_F(ReportUiFactory, is_installed_when_the_library_loads_and_by_the_host_start_up) {
  ASSERT_NE(m_saved, nullptr);
  EXPECT_NE(dynamic_cast<CConfirmOverwriteDlg*>(m_saved->MakeConfirmOverwrite().get()), nullptr);
  EXPECT_NE(dynamic_cast<CProgressDlg*>(m_saved->MakeProgressView().get()), nullptr);
  SetReportUiFactory(nullptr);
  FolioDll_NewDynLinkLibrary();
  ASSERT_NE(GetReportUiFactory(), nullptr);
  EXPECT_NE(dynamic_cast<CProgressDlg*>(GetReportUiFactory()->MakeProgressView().get()), nullptr);

  auto own = std::make_shared<CFakeFactory>();
  SetReportUiFactory(own);
  FolioDll_NewDynLinkLibrary();
  EXPECT_EQ(GetReportUiFactory(), own);
}

TEST_F(ReportUiFactory, its_windows_show_on_the_backend_current_when_they_run) {
  std::unique_ptr<IConfirmOverwrite> question = GetReportUiFactory()->MakeConfirmOverwrite();
  auto ui = std::make_shared<CScriptedWindowing>();
  CScopedWindowing scope(ui);
  ui->Press(IConfirmOverwrite::eOverwrite);
  EXPECT_EQ(question->DoModal(), eIdOk);
  EXPECT_EQ(question->GetChoice(), IConfirmOverwrite::eOverwrite);
  EXPECT_EQ(ui->Remaining(), 0u);
}

}  // namespace
