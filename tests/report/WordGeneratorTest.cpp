#include "WordReportFixture.h"

namespace {

using V = CKORIControlValue;
using namespace wordtest;
using WordGenerator = WordReportFixture;

TEST_F(WordGenerator, ValuesReplaceTheirPlaceholdersInTheMainText) {
  AnswerText(u"desc", u"two\nlines");
  m_answers[u"range"] = [](V& v) {
    v.SetType(V::eFloat);
    v.SetFloat(1.2345);
    v.SetPrecision(3);
    v.SetUnit(u"\u00B5m");
  };
  m_answers[u"time"] = [](V& v) { v.SetType(V::eMessage); v.SetMessage(u"no clock"); };
  // A description that does not unpack is no placeholder: its picture stays as it is.
  const std::string broken = "KORI {&#10;&#9;Version: two thousand&#10;}";
  const CStr templatePath = Template(Para(Text("A ") + Slot(u"desc") + Slot(u"range") + Text(" B")) +
                                     Para(Slot(u"time") + Slot(u"other") + Slot(u"time")) +
                                     Para(InlinePicture(broken, 9525, 9525, "rIdPic", 9)));
  m_folder.Write("r.docx", "the user's old report");
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eUnconfirmedOverwrite));
  EXPECT_EQ(BodyText("r.docx"), "A two|lines 1.23 \u00B5m B\nno clock[object]no clock\n[object]\n");
  EXPECT_NE(Part("r.docx", "word/document.xml").find("Version: two thousand"), std::string::npos);
  EXPECT_TRUE(m_windows->MessageTexts().empty());
  EXPECT_TRUE(LeftOvers().empty());
}

TEST_F(WordGenerator, PicturesTakeThePlaceOfTheirPlaceholderScaled) {
  // 384 x 288 pixels at 96 dpi: 288 x 216 points, shown at 144 x 108 with factor 2.
  const CStr width = Picture("w.png", 384, 288);
  const CStr stretch = Picture("s.png", 384, 288);
  const CStr own = Picture("o.png", 384, 288);
  AnswerPicture(u"MainImage", width);
  AnswerPicture(u"Profile", stretch);
  AnswerPicture(u"Histogram", own);
  const CStr templatePath = Template(Para(Slot(u"MainImage", 180, 180, 1) + Slot(u"Profile", 180, 180, 3) +
                                          Slot(u"Histogram", 50, 50, 2, 0)));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eOverwrite));
  const auto sizes = PictureSizes("r.docx");
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_NEAR(sizes[0].first, 180, 0.5);
  EXPECT_NEAR(sizes[0].second, 135, 0.5);
  EXPECT_NEAR(sizes[1].first, 180, 0.5);
  EXPECT_NEAR(sizes[1].second, 180, 0.5);
  // Fixed height at a factor of 0: the picture's own size, then fitted to the height.
  EXPECT_NEAR(sizes[2].second, 50, 0.5);
  EXPECT_NEAR(sizes[2].first, 50 * 288.0 / 216.0, 0.5);
  EXPECT_FALSE(m_folder.Exists("w.png")) << "the host's picture files are consumed";
  EXPECT_FALSE(m_folder.Exists("s.png"));
}

// Whatever a value holds, the saved document stays well-formed XML and shows the text.
TEST_F(WordGenerator, HostileValuesNeverCorruptTheReport) {
  AnswerText(u"a", u"<b>&amp; \"q\" \x01\x1F\uFFFE\uFFFF end");
  AnswerText(u"b", CStr(u"x") + static_cast<char16_t>(0xD800) + u"y" + static_cast<char16_t>(0xDC00) + u"z\r\nw");
  AnswerText(u"c", u"\U0001F600 \u65E5\u672C\u8A9E");
  const CStr templatePath = Template(Para(Slot(u"a")) + Para(Slot(u"b")) + Para(Slot(u"c")));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eOverwrite));
  EXPECT_EQ(BodyText("r.docx"), "<b>&amp; \"q\"  end\nxyz|w\n\U0001F600 \u65E5\u672C\u8A9E\n");
}

// Each script gets a run of its own with the placeholder's properties: East Asian text
// the eastAsia font hint, right-to-left text the cs hint and its direction.
TEST_F(WordGenerator, TextInAnyScriptTakesItsFontAndDirection) {
  AnswerText(u"a", u"\u65E5\u672C 2 text \u05E9\u05DC\u05D5\u05DD!");
  AnswerText(u"b", u"\u0633\u0644\u0627\u0645");
  std::string inRun = Slot(u"a");
  inRun = inRun.substr(5, inRun.size() - 11);  // the drawing without its run
  const CStr templatePath = Template(Para("<w:r><w:rPr><w:b/><w:lang w:val=\"de-DE\"/></w:rPr><w:t>A </w:t>" + inRun +
                                          "<w:t> B</w:t></w:r>") +
                                     Para(Text("x ") + Slot(u"b") + Text(" y")));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eOverwrite));
  const pugi::xml_document xml = Xml("r.docx");
  std::vector<std::string> runs;
  for (const pugi::xpath_node& r : xml.select_nodes("//w:r")) {
    std::string line;
    for (pugi::xml_node p : r.node().child("w:rPr").children())
      line += std::string("<") + p.name() + (p.attribute("w:hint") ? std::string(" ") + p.attribute("w:hint").value() : "") + ">";
    runs.push_back(line + r.node().child("w:t").text().get());
  }
  EXPECT_EQ(runs, (std::vector<std::string>{
                      "<w:b><w:lang>A ",
                      "<w:rFonts eastAsia><w:b><w:lang>\u65E5\u672C 2 ",
                      "<w:b><w:lang>text ",
                      "<w:rFonts cs><w:b><w:rtl><w:lang>\u05E9\u05DC\u05D5\u05DD!",
                      "<w:b><w:lang> B",
                      "x ",
                      "<w:rFonts cs><w:rtl>\u0633\u0644\u0627\u0645",
                      " y"}));
}

TEST_F(WordGenerator, TextBoxPlaceholdersAreFilledTwoSideBySide) {
  AnswerText(u"a", u"first");
  AnswerText(u"b", u"second");
  const CStr templatePath = Template(Para(Text("main")) + TextBox(Para(Slot(u"a") + Slot(u"b"))));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eOverwrite));
  const pugi::xml_document xml = Xml("r.docx");
  std::string boxed;
  for (const pugi::xpath_node& t : xml.select_nodes("(//w:txbxContent)[1]//w:t")) boxed += t.node().text().get();
  EXPECT_EQ(boxed, "firstsecond");
  EXPECT_EQ(BodyText("r.docx"), "main\n\n");
}

// Preface, body and summary are cut from the same template; the header is filled by
// the preface pass, a pass without its tag writes nothing.
TEST_F(WordGenerator, SectionsAreCutPerPass) {
  AnswerType(u"PrefaceEnd", V::ePrefaceEnd);
  AnswerType(u"SummaryBegin", V::eSummaryBegin);
  AnswerText(u"filename", u"scan1");
  AnswerText(u"username", u"ann");
  const std::string body = Para(Text("Preface")) + Para(Slot(u"PrefaceEnd")) + Para(Text("Body ") + Slot(u"filename")) +
                           Para(Slot(u"SummaryBegin")) + Para(Text("Summary"));
  const CStr templatePath = TemplateWithHeader(body, Text("By ") + Control("H"), u"General", u"username");
  ASSERT_TRUE(Run(templatePath, m_folder / "p.docx", eOverwrite, ePreface));
  EXPECT_EQ(BodyText("p.docx"), "Preface\n\n");
  EXPECT_NE(Part("p.docx", "word/header1.xml").find(">ann<"), std::string::npos);
  ASSERT_TRUE(Run(templatePath, m_folder / "b.docx", eOverwrite, eBody));
  EXPECT_EQ(BodyText("b.docx"), "\nBody scan1\n\n");
  ASSERT_TRUE(Run(templatePath, m_folder / "s.docx", eOverwrite, eSummary));
  EXPECT_EQ(BodyText("s.docx"), "\nSummary\n\n");

  const CStr plain = Template(Para(Text("no tags")), {}, "", "plain.docx");
  ASSERT_TRUE(Run(plain, m_folder / "none.docx", eOverwrite, ePreface));
  ASSERT_TRUE(Run(plain, m_folder / "none.docx", eOverwrite, eSummary));
  EXPECT_FALSE(m_folder.Exists("none.docx"));
  EXPECT_TRUE(LeftOvers().empty());
}

// Descriptions that need translation, or cannot be answered, are recorded; the latter
// show their error text without the host being asked.
TEST_F(WordGenerator, ReadingOutcomesAreRecorded) {
  int asked = 0;
  m_answers[u"MaxPull"] = [&](V& v) {
    ++asked;
    v.SetType(V::eText);
    v.SetText(u"0.5");
  };
  m_answers[u"TipWidth"] = [&](V&) { ++asked; };
  const CStr templatePath = Template(Para(Control("1") + Text(" ") + Control("2")),
                                     ControlParts({{"1", u"Force", u"PullOffForce"}, {"2", u"Tip", u"TipWidth"}}),
                                     ControlRels({"1", "2"}));
  ASSERT_TRUE(Run(templatePath, m_folder / "r.docx", eOverwrite));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(BodyText("r.docx"), "0.5 Field is no longer supported\n") << Part("r.docx", "word/document.xml");
  std::vector<V::EExtractRes> outcomes;
  for (const SReportConversionResult& r : m_folio.GetReportConversionResult()) outcomes.push_back(r.m_result);
  // The body scan and the main pass each meet both.
  EXPECT_EQ(outcomes, (std::vector<V::EExtractRes>{V::eFieldNotSupported, V::eTranslated, V::eTranslated,
                                                    V::eFieldNotSupported}));
}

TEST_F(WordGenerator, FailuresAreToldAndLeaveNothingBehind) {
  const CStr damaged = m_folder / "damaged.docx";
  m_folder.Write("damaged.docx", "PK\x03\x04 not really a document");
  m_folder.Write("r.docx", "the user's report");
  EXPECT_FALSE(Run(damaged, m_folder / "r.docx", eUnconfirmedOverwrite));
  EXPECT_FALSE(m_lastOk);
  ASSERT_EQ(m_windows->MessageTexts().size(), 1u);
  EXPECT_FALSE(m_windows->MessageTexts()[0].IsEmpty());
  EXPECT_EQ(m_folder.Read("r.docx"), "the user's report");
  EXPECT_TRUE(LeftOvers().empty());

  // Without COM, Word cannot be started: the code says why.
  CFolio::CloseFolioHandles();
  EXPECT_FALSE(Run(Template(Para(Text("x"))), m_folder / "n.docx", eOverwrite));
  ASSERT_EQ(m_windows->MessageTexts().size(), 2u);
  EXPECT_EQ(m_windows->MessageTexts()[1], u"Error when accessing Microsoft Word (Error code: 0x800401F0)");
  EXPECT_FALSE(m_folder.Exists("n.docx"));
}

}  // namespace
