// Body passes appended to one report: the report's end is rewritten in place from what
// the last pass knew, and the result must be byte for byte what reading and writing the
// whole report each time gives.
#include "ReportFixture.h"

#include <sys/stat.h>

#include "folio/util/SystemUtils.h"

namespace {

using V = CKORIControlValue;
namespace fs = std::filesystem;

// Runs a generator pass into a given output, as a host calling it directly does: the
// existing report is read and the whole report written to the output.
class CWholeWriter : public CFolio {
public:
  using CFolio::ActivateHTML;
};

// Values that move the body end or make a reader look ahead: body tags, quotes, a "<"
// cut short, and last, an open quote and comment dashes, after which no reading of the
// report starts over at its body end.
const char16_t* const kValues[] = {u"plain", u"a<b",        u"</body>",    u"\"",  u"x\ny",         u"&amp",
                                   u"</bo",  u"dy>",        u"<i",         u"--",  u"</body><p>",    u"<b>bold</b>",
                                   u"<!-- ok -->", u"<p title=\"", u"<!-- c -- d"};

class HtmlPasses : public ReportFixture {
protected:
  void SetUp() override {
    ReportFixture::SetUp();
    AnswerType(u"PrefaceEnd", V::ePrefaceEnd);
    AnswerType(u"SummaryBegin", V::eSummaryBegin);
    m_answers[u"value"] = [this](V& v) {
      v.SetType(V::eText);
      v.SetText(m_plain ? CStr::DoStringFormat(u"plain %d", m_pass) : CStr(kValues[m_pass % std::size(kValues)]));
    };
    m_answers[u"count"] = [this](V& v) {
      v.SetType(V::eText);
      v.SetText(CStr::DoStringFormat(u"%d passes", m_pass));
    };
    m_reference.SetGetValueCallback([this] { Answer(m_reference.GetKORIControlValue()); });
  }

  // Sections closed by the summary tag (so that every body pass drops the report's old
  // tail) or running to the template's body end (so that they keep it).
  CStr Template(bool withSummary) {
    const CStr body = u"\r\n<p>" + Placeholder(u"value") + u"</p>";
    const CStr text = withSummary ? u"<html><body><h1>Run</h1>" + Placeholder(u"PrefaceEnd") + body +
                                        Placeholder(u"SummaryBegin") + u"<p>" + Placeholder(u"count") +
                                        u"</p></body></html>\r\n"
                                  : u"<html><body><h1>Run</h1>" + body + u"</body></html>\r\n";
    return WriteUtf16(withSummary ? "sectioned.htm" : "plain.htm", text);
  }

  // One pass of the reference: the whole report read and written again.
  bool ReferencePass(const CStr& templatePath, ELivesheetProcessingType pass, bool first) {
    m_reference.SetTemplate(templatePath);
    m_reference.SetReport(m_folder / "reference.htm");
    m_reference.SetReportOptions(first ? eUnconfirmedOverwrite : eAppend);
    if (first) m_reference.SetLivesheeterProcessingType(ePreface);
    m_reference.SetLivesheeterProcessingType(pass);
    const CStr output = m_folder / "reference-output.htm";
    if (first) fs::remove((m_folder / "reference.htm").ToUtf8());  // what replacing does first
    const bool done = m_reference.ActivateHTML(first ? m_folder / "reference.htm" : output);
    if (!first && fs::exists(output.ToUtf8())) fs::rename(output.ToUtf8(), (m_folder / "reference.htm").ToUtf8());
    return done;
  }

  // The same pass into report r.htm and the reference: both must succeed or fail alike
  // and hold the same bytes.
  void Pass(const CStr& templatePath, ELivesheetProcessingType pass, bool first = false) {
    const bool done = Run(templatePath, m_folder / "r.htm", first ? eUnconfirmedOverwrite : eAppend, pass, first);
    EXPECT_EQ(done, ReferencePass(templatePath, pass, first)) << "pass " << m_pass;
    m_failed += done ? 0 : 1;
    ASSERT_EQ(m_folder.Read("r.htm"), m_folder.Read("reference.htm")) << "after pass " << m_pass;
  }

  // Hidden files beside the reports: the twins.
  int Hidden() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(m_folder.Path()))
      count += entry.path().filename().string().rfind(".r.htm", 0) == 0 ? 1 : 0;
    return count;
  }

  CWholeWriter m_reference;
  int m_pass = 0;
  int m_failed = 0;
  bool m_plain = false;  // values that leave every body end where a reading starts over
};

TEST_F(HtmlPasses, SectionsThatDropOrKeepTheTailMatchWholeRewrites) {
  for (const bool withSummary : {true, false}) {
    const CStr templatePath = Template(withSummary);
    m_pass = 0;
    Pass(templatePath, ePreface, true);
    int twinned = 0;
    for (m_pass = 1; m_pass <= 2 * static_cast<int>(std::size(kValues)); ++m_pass) {
      Pass(templatePath, eBody);
      EXPECT_LE(Hidden(), 1) << "one twin at most";
      twinned += Hidden();
    }
    EXPECT_GT(twinned, 5) << "passes went through the twin";
    Pass(templatePath, eSummary);
    EXPECT_EQ(Hidden(), 0) << "the finished report keeps no twin";
  }
  EXPECT_EQ(m_failed, 0);
}

// Whatever changed the report between passes is read again, not overwritten with what
// the last pass knew.
TEST_F(HtmlPasses, AReportChangedBetweenPassesIsReadAgain) {
  m_plain = true;
  const CStr templatePath = Template(false);
  Pass(templatePath, ePreface, true);
  for (m_pass = 1; m_pass <= 6; ++m_pass) {
    Pass(templatePath, eBody);
    if (m_pass == 2) {
      // Same size, another tail, written in place.
      std::string bytes = m_folder.Read("r.htm");
      const std::string html("h\0t\0m\0l\0", 8);
      ASSERT_NE(bytes.rfind(html), std::string::npos);
      bytes.replace(bytes.rfind(html), 8, std::string("H\0T\0M\0L\0", 8));
      std::fstream(m_folder.Path() / "r.htm", std::ios::in | std::ios::out | std::ios::binary) << bytes;
      fs::copy_file(m_folder.Path() / "r.htm", m_folder.Path() / "reference.htm", fs::copy_options::overwrite_existing);
    }
    if (m_pass == 4) {
      // Replaced by another file with its own body end.
      const CStr other = u"<html><body>edited</body><p>after</p></html>";
      WriteUtf16("r.htm", other);
      WriteUtf16("reference.htm", other);
    }
  }
  EXPECT_NE(m_folder.Read("r.htm").find(std::string("a\0f\0t\0e\0r\0", 10)), std::string::npos);
}

// The user's own link is written through and stays a link; a report made read-only is
// refused as it was before, and left as it is.
TEST_F(HtmlPasses, LinksAndPermissionsAreHonouredOnEveryPass) {
  m_plain = true;
  const CStr templatePath = Template(false);
  Pass(templatePath, ePreface, true);
  m_pass = 1;
  Pass(templatePath, eBody);
  fs::rename(m_folder.Path() / "r.htm", m_folder.Path() / "real.htm");
  fs::create_symlink("real.htm", m_folder.Path() / "r.htm");
  for (m_pass = 2; m_pass <= 4; ++m_pass) Pass(templatePath, eBody);
  EXPECT_TRUE(fs::is_symlink(m_folder.Path() / "r.htm"));

  fs::remove(m_folder.Path() / "r.htm");
  fs::rename(m_folder.Path() / "real.htm", m_folder.Path() / "r.htm");
  for (; m_pass <= 6; ++m_pass) Pass(templatePath, eBody);
  ::chmod((m_folder.Path() / "r.htm").c_str(), 0640);
  Pass(templatePath, eBody);
  struct stat info {};
  ::stat((m_folder.Path() / "r.htm").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the permissions survive a rewrite in place";

  ::chmod((m_folder.Path() / "r.htm").c_str(), 0440);
  const std::string before = m_folder.Read("r.htm");
  m_windows->Press(eIdCancel);
  EXPECT_FALSE(Run(templatePath, m_folder / "r.htm", eAppend, eBody, false));
  EXPECT_EQ(m_folder.Read("r.htm"), before);
  EXPECT_EQ(Hidden(), 0) << "a refused report keeps no twin";
}

}  // namespace
