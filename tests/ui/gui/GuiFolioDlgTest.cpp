// The report dialog on the desktop backend: layout, keyboard, file dialogs and a
// Create Report that makes a real report.
#include <wx/filedlg.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "GuiTestFixture.h"
#include "folio/platform/host/CInstallSettings.h"
#include "folio/ui/CFolioDlg.h"
#include "folio/ui/CKoriInifile.h"
#include "ui/FolioDlgFixture.h"

namespace {

using V = CKORIControlValue;

class GuiFolioDlg : public FolioDlgFixture {
protected:
  void SetUp() override {
    FolioDlgFixture::SetUp();
    ASSERT_NE(CPrivateDisplay::Backend(), nullptr);
    m_gui = std::make_unique<CScopedWindowing>(CPrivateDisplay::Backend());
  }
  void TearDown() override {
    m_folio.DestroyFolioDialog();
    m_gui.reset();
    FolioDlgFixture::TearDown();
  }
  wxWindow& Open() {
    EXPECT_TRUE(m_folio.CreateFolioDialog());
    wxWindow* window = FindTopLevel("Livesheeter");
    if (!window) throw std::runtime_error("no report dialog on the screen");
    Settle();
    return *window;
  }
  wxTextCtrl& Field(wxWindow& dialog, int id) { return static_cast<wxTextCtrl&>(Control(dialog, id)); }

  std::unique_ptr<CScopedWindowing> m_gui;
};

// "1.75x" style name part for the toolkit's scaling, empty at 1.
std::string ScaleSuffix() {
  std::string suffix;
  for (const char* name : {"GDK_SCALE", "GDK_DPI_SCALE"})
    if (const char* value = std::getenv(name)) suffix += std::string("_") + name + "_" + value;
  return suffix;
}

// Selects path as a user would and presses OK; the native dialog takes the selection
// in its own time.
void ChooseInFileDialog(wxFileDialog& files, const std::string& path) {
  files.SetPath(wxString::FromUTF8(path));
  for (int tries = 0; tries < 20 && files.GetPath() != wxString::FromUTF8(path); ++tries) Settle();
  EXPECT_EQ(files.GetPath(), wxString::FromUTF8(path));
  files.EndModal(wxID_OK);
}

bool IsFrame(const wxWindow* control) { return dynamic_cast<const wxStaticBox*>(control) != nullptr; }

TEST_F(GuiFolioDlg, the_layout_follows_the_table_and_holds_at_the_current_font_and_scale) {
  StoreChoices("/t/a.htm", "", "Auto");
  wxWindow& dialog = Open();
  SaveScreenshot(dialog, "folio_dialog" + ScaleSuffix());

  // Every control of the table, in its order, which is the tab order.
  const SDialogTemplate table = CFolioDlg::Template();
  std::vector<int> ids;
  for (wxWindow* child : dialog.GetChildren()) ids.push_back(child->GetId());
  std::vector<int> expected;
  for (const SDialogControl& control : table.controls) expected.push_back(control.id);
  EXPECT_EQ(ids, expected);
  const std::vector<wxString> labels = {"Report Creation Options", "&Auto generated name",
      "&Overwrite (with confirmation)", "Overwrite (&without confirmation)", "A&ppend", "&Template:", "/t/a.htm",
      "...", "Op&en...", "&Report:", "", "...", "Ope&n...", "&Create Report", "C&lose", "&Help"};
  for (size_t i = 0; i < labels.size() && i < ids.size(); ++i) {
    wxWindow& control = Control(dialog, ids[i]);
    const wxString shown = dynamic_cast<wxTextCtrl*>(&control) ? static_cast<wxTextCtrl&>(control).GetValue()
                                                                : control.GetLabel();
    EXPECT_EQ(shown, labels[i]) << "control " << ids[i];
  }

  // Each control shows its whole text, stays inside the dialog and clear of the others.
  const wxRect client(wxPoint(0, 0), dialog.GetClientSize());
  for (wxWindow* control : dialog.GetChildren()) {
    const wxRect area = control->GetRect();
    EXPECT_TRUE(client.Contains(area)) << "control " << control->GetId();
    if (IsFrame(control)) continue;
    const wxSize natural = control->GetBestSize();
    EXPECT_GE(area.width, natural.x) << "control " << control->GetId();
    EXPECT_GE(area.height, natural.y) << "control " << control->GetId();
    for (wxWindow* other : dialog.GetChildren()) {
      if (other == control || IsFrame(other)) continue;
      EXPECT_FALSE(area.Intersects(other->GetRect())) << control->GetId() << " and " << other->GetId();
    }
  }
  // The options sit inside their frame.
  const wxRect frame = Control(dialog, 14014).GetRect();
  for (int radio : {14010, 14011, 14012, 14009}) EXPECT_TRUE(frame.Contains(Control(dialog, radio).GetRect()));
  // Rows of the table stay rows: the template field, its browse and Open buttons share a line.
  const int templateMiddle = Field(dialog, CFolioDlg::IDC_TEMPLATE).GetRect().GetBottom();
  EXPECT_LT(Control(dialog, CFolioDlg::IDC_BROWSE_TEMPLATE).GetRect().GetTop(), templateMiddle);
  EXPECT_LT(Field(dialog, CFolioDlg::IDC_TEMPLATE).GetRect().GetBottom(),
            Field(dialog, CFolioDlg::IDC_REPORT).GetRect().GetTop());

  // Placed by the reporter at the top right of the screen.
  const wxPoint at = dialog.GetPosition();
  EXPECT_EQ(at.x, CPrivateDisplay::kWidth - dialog.GetClientSize().x - 10);
  EXPECT_EQ(at.y, 30);
}

TEST_F(GuiFolioDlg, tab_on_the_real_keyboard_visits_the_enabled_controls_in_the_table_order) {
  StoreChoices("/t/a.htm", "", "Auto");
  wxWindow& dialog = Open();
  Control(dialog, CFolioDlg::IDC_OPTION_AUTO).SetFocus();
  Settle();
  // Through the X server, as a keyboard types: the toolkit moves the focus itself.
  wxUIActionSimulator keyboard;
  std::vector<int> visited;
  for (int step = 0; step < 9; ++step) {
    const wxWindow* focus = wxWindow::FindFocus();
    visited.push_back(focus ? focus->GetId() : 0);
    keyboard.Char(WXK_TAB);
    Settle();
  }
  // The report's browse and Open buttons are disabled: no name, automatic names.
  EXPECT_EQ(visited, (std::vector<int>{14010, 14007, 14002, 14005, 14006, 14000, 1, 14003, 14010}));
}

TEST_F(GuiFolioDlg, keys_and_clicks_drive_the_dialog_and_closing_keeps_the_choices) {
  StoreChoices("", "", "Auto");
  wxWindow& dialog = Open();
  EXPECT_FALSE(Control(dialog, CFolioDlg::IDC_CREATE_REPORT).IsEnabled());
  EXPECT_FALSE(Field(dialog, CFolioDlg::IDC_REPORT).IsEditable());

  // The Append mnemonic picks the option; the report field opens for typing.
  PressKey(dialog, 'P', wxMOD_ALT);
  EXPECT_TRUE(static_cast<wxRadioButton&>(Control(dialog, CFolioDlg::IDC_OPTION_APPEND)).GetValue());
  EXPECT_EQ(m_folio.GetReportOptions(), eAppend);
  EXPECT_TRUE(Field(dialog, CFolioDlg::IDC_REPORT).IsEditable());
  EXPECT_TRUE(Control(dialog, CFolioDlg::IDC_BROWSE_REPORT).IsEnabled());

  // The Template label's mnemonic goes to its field; what is typed there counts
  // when the keyboard presses a button.
  PressKey(dialog, 'T', wxMOD_ALT);
  Settle();
  wxTextCtrl& templateField = Field(dialog, CFolioDlg::IDC_TEMPLATE);
  EXPECT_EQ(wxWindow::FindFocus(), &templateField);
  templateField.ChangeValue("/t/a.htm");
  templateField.MarkDirty();
  wxTextCtrl& reportField = Field(dialog, CFolioDlg::IDC_REPORT);
  reportField.SetFocus();
  Settle();
  EXPECT_EQ(m_folio.GetTemplate(), u"/t/a.htm");
  reportField.ChangeValue("/r/report.doc");
  reportField.MarkDirty();
  // A mouse click on an option first commits the field, which takes the template's extension.
  ClickWithMouse(Control(dialog, CFolioDlg::IDC_OPTION_UNCONFIRMED_OVERWRITE));
  EXPECT_EQ(m_folio.GetReportOptions(), eUnconfirmedOverwrite);
  EXPECT_EQ(reportField.GetValue(), "/r/report.htm");
  EXPECT_TRUE(Control(dialog, CFolioDlg::IDC_CREATE_REPORT).IsEnabled());

  // Enter presses the default command, Close: the window hides and the choices are kept.
  PressKey(dialog, WXK_RETURN);
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_EQ(CKoriInifile().GetDefaultWordTemplate(), u"/t/a.htm");
  EXPECT_EQ(CKoriInifile().GetDefaultWordReport(), u"/r/report.htm");
  EXPECT_EQ(CKoriInifile().GetDefaultWordReportOptions(), u"UnconfirmedOverwrite");

  // Escape hides it too; the close box asks the owner, which saves and hides.
  EXPECT_TRUE(m_folio.CreateFolioDialog());
  EXPECT_TRUE(dialog.IsShown());
  PressKey(dialog, WXK_ESCAPE);
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_TRUE(m_folio.CreateFolioDialog());
  PressKey(dialog, 'O', wxMOD_ALT);
  dialog.Close();
  EXPECT_FALSE(dialog.IsShown());
  EXPECT_EQ(CKoriInifile().GetDefaultWordReportOptions(), u"Overwrite");
}

TEST_F(GuiFolioDlg, the_browse_buttons_open_the_toolkit_s_file_dialogs_in_the_remembered_folder) {
  const CStr chosen = SectionedTemplate("chosen.htm");
  const std::filesystem::path templates = m_folder.Path() / "Livesheet Templates";
  std::filesystem::create_directories(templates);
  StoreChoices("", "", "Append");
  wxWindow& dialog = Open();

  CModalScript script;
  script.Then([&](wxDialog& shown) {
    auto* files = dynamic_cast<wxFileDialog*>(&shown);
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->GetMessage(), "Template file name");
    EXPECT_EQ(files->GetWildcard(),
              "HTML Template Files (*.htm;*.html)|*.htm;*.html|Word Template Files (*.doc;*.docx;*.docm)|"
              "*.doc;*.docx;*.docm|All Files (*.*)|*.*");
    SaveScreenshot(shown, "file_dialog_template");
    shown.EndModal(wxID_CANCEL);
  });
  script.Then([&](wxDialog& shown) {
    ChooseInFileDialog(static_cast<wxFileDialog&>(shown), chosen.ToUtf8());
  });
  ClickWithMouse(Control(dialog, CFolioDlg::IDC_BROWSE_TEMPLATE));
  EXPECT_EQ(m_folio.GetTemplate(), u"");
  ClickWithMouse(Control(dialog, CFolioDlg::IDC_BROWSE_TEMPLATE));
  EXPECT_EQ(m_folio.GetTemplate(), chosen);
  EXPECT_EQ(Field(dialog, CFolioDlg::IDC_TEMPLATE).GetValue(), wxString::FromUTF8(chosen.ToUtf8()));

  // The report's dialog starts in the output folder; once a file was chosen, in the
  // folder of that choice whenever the field names no folder.
  const std::filesystem::path elsewhere = m_folder.Path() / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  const std::filesystem::path outputFolder = GetInstallSettings().GetLivesheetOutputPath().ToUtf8();
  std::filesystem::create_directories(outputFolder);
  script.Then([&](wxDialog& shown) {
    auto& files = static_cast<wxFileDialog&>(shown);
    EXPECT_EQ(files.GetMessage(), "Report file name");
    EXPECT_EQ(files.GetDirectory(), wxString::FromUTF8(outputFolder.string()));
    ChooseInFileDialog(files, (elsewhere / "r.htm").string());
  });
  ClickWithMouse(Control(dialog, CFolioDlg::IDC_BROWSE_REPORT));
  EXPECT_EQ(m_folio.GetReport(), CStr::FromUtf8((elsewhere / "r.htm").string()));

  // A name typed without a folder: the click on "..." commits it first.
  Field(dialog, CFolioDlg::IDC_REPORT).SetFocus();
  Settle();
  Field(dialog, CFolioDlg::IDC_REPORT).ChangeValue("plain.htm");
  Field(dialog, CFolioDlg::IDC_REPORT).MarkDirty();
  script.Then([&](wxDialog& shown) {
    EXPECT_EQ(static_cast<wxFileDialog&>(shown).GetDirectory(), wxString::FromUTF8(elsewhere.string()));
    shown.EndModal(wxID_CANCEL);
  });
  ClickWithMouse(Control(dialog, CFolioDlg::IDC_BROWSE_REPORT));
  EXPECT_EQ(m_folio.GetReport(), u"plain.htm");
}

TEST_F(GuiFolioDlg, create_report_asks_before_overwriting_shows_progress_and_writes_the_report) {
  const CStr templatePath = SectionedTemplate("t.htm");
  const std::filesystem::path output = m_folder.Path() / "Livesheet Reports";
  std::filesystem::create_directories(output);
  const CStr report = WriteUtf16("Livesheet Reports/r.htm", u"<html><body>old report</body></html>");
  StoreChoices(templatePath.ToUtf8(), report.ToUtf8(), "Overwrite");
  bool progressSeen = false;
  m_answers[u"filename"] = [&progressSeen](CKORIControlValue& value) {
    if (wxWindow* progress = FindTopLevel("Creating Livesheet"); progress && progress->IsShown()) {
      progressSeen = true;
      SaveScreenshot(*progress, "progress_during_run");
    }
    value.SetType(V::eText);
    value.SetText(u"scan_014.spm");
  };
  wxWindow& dialog = Open();

  CModalScript script;
  script.Then([](wxDialog& question) {
    EXPECT_EQ(question.GetTitle(), "KORI Livesheeter");
    PressKey(question, WXK_RETURN);  // Overwrite
  });
  wxCommandEvent click(wxEVT_BUTTON, CFolioDlg::IDC_CREATE_REPORT);
  wxWindow& create = Control(dialog, CFolioDlg::IDC_CREATE_REPORT);
  click.SetEventObject(&create);
  create.GetEventHandler()->ProcessEvent(click);

  EXPECT_TRUE(progressSeen);
  const CStr written = TextFile::Read(report);
  EXPECT_EQ(written.Find(u"old report"), CStr::npos);
  EXPECT_NE(written.Find(u"Preface"), CStr::npos);
  EXPECT_NE(written.Find(u"Body scan_014.spm"), CStr::npos);
  EXPECT_NE(written.Find(u"Summary"), CStr::npos);
  EXPECT_TRUE(dialog.IsShown());
  EXPECT_EQ(m_folio.GetReportOptions(), eOverwrite);
  EXPECT_TRUE(static_cast<wxRadioButton&>(Control(dialog, CFolioDlg::IDC_OPTION_OVERWRITE)).GetValue());
}

}  // namespace
