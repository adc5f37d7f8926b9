#include "folio/extract/CKORIExtractor.h"
#include "folio/platform/host/HostTables.h"
#include "platform/com/CKORIDocServer.h"
#include "platform/word/WordFixture.h"

using namespace wordtest;

namespace {

using V = CKORIControlValue;

const std::string kControlRel =
    "<Relationship Id=\"rIdCtl\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/control\" "
    "Target=\"activeX/activeX1.xml\"/>";
const std::string kOleRel =
    "<Relationship Id=\"rIdOle\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/oleObject\" "
    "Target=\"embeddings/item.xml\"/>";
const std::string kControlRun =
    "<w:r><w:object><v:shape style=\"width:144pt;height:36pt\"/><w:control r:id=\"rIdCtl\" w:name=\"K\"/></w:object></w:r>";

// The host's control holding the given properties ("Name", "value" pairs).
std::string ControlPart(const std::vector<std::pair<std::string, std::string>>& properties) {
  std::string part = "<ax:ocx xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\" "
                     "ax:classid=\"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}\" ax:persistence=\"persistPropertyBag\">";
  for (const auto& [name, value] : properties)
    part += "<ax:ocxPr ax:name=\"" + name + "\" ax:value=\"" + value + "\"/>";
  return part + "</ax:ocx>";
}

// A document server item in its XML form.
std::string ServerItem(const std::string& group, const std::string& field) {
  return "<livesheetItem xmlns=\"urn:folio:livesheetitem\"><property name=\"Version\" value=\"2003\"/>"
         "<property name=\"Group\" value=\"" + group + "\"/><property name=\"Field\" value=\"" + field + "\"/>"
         "<property name=\"Parameter1\" value=\"Sq\"/><property name=\"Statistics2\" value=\"\"/>"
         "<property name=\"UnitOptions\" value=\"1\"/><property name=\"PictureOptions\" value=\"3\"/>"
         "<property name=\"ResolutionFactor\" value=\"1.5\"/><property name=\"ScaleFont\" value=\"0\"/></livesheetItem>";
}

// An EMBED field around the server object, whose shape carries alt as its alternative text.
std::string ServerField(const std::string& alt) {
  return "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> EMBED LivesheetItem </w:instrText></w:r>"
         "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:object><v:shape alt=\"" + alt +
         "\" style=\"width:5pt;height:5pt\"/><o:OLEObject Type=\"Embed\" ProgID=\"LivesheetItem\" r:id=\"rIdOle\"/>"
         "</w:object></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>";
}

// The packed text of a description, escaped for an XML attribute.
std::string PackedAttribute(const char16_t* group, const char16_t* field, unsigned version) {
  CKORIControlValue value;
  value.SetGroup(group);
  value.SetField(field);
  value.SetVersion(version);
  std::string text = value.Pack().ToUtf8(), escaped;
  for (char c : text) escaped += c == '\r' ? "&#13;" : c == '\n' ? "&#10;" : c == '\t' ? "&#9;" : std::string(1, c);
  return escaped;
}

class Extraction : public WordFixture {
protected:
  void TearDown() override {
    RestoreHostTables();
    WordFixture::TearDown();
  }
  // The first inline shape of a document holding one control with these properties.
  SReportConversionResult ReadControl(const std::vector<std::pair<std::string, std::string>>& properties) {
    auto doc = Open("<w:p>" + kControlRun + "</w:p>", {{"word/activeX/activeX1.xml", ControlPart(properties)}}, kControlRel);
    return CKORIExtractor::ExtractKORIElementProperties(doc->InlineShapes()->Item(1).get(), value);
  }
  unsigned Version(const CKORIControlValue& record) { return record.GetVersion(nullptr, nullptr); }

  CKORIControlValue value;
};

TEST_F(Extraction, ControlIsALegacyDescriptionTranslatedToTheCurrentNaming) {
  auto result = ReadControl({{"Group", "General"}, {"Field", "xrange"}, {"UnitOptions", "2"},
                             {"PictureOptions", "3"}, {"ResolutionFactor", "1.25"}, {"ScaleFont", "0"}});
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(Utf8(result.m_asRead.GetGroup()), "General");
  EXPECT_EQ(Version(result.m_asRead), 1000u);
  EXPECT_EQ(Utf8(value.GetGroup()), "BasicInfo");
  EXPECT_EQ(Utf8(value.GetField()), "range");
  EXPECT_EQ(value.GetUnitOptions(), 2);
  EXPECT_EQ(value.GetPictureOptions(), 3);
  EXPECT_FLOAT_EQ(value.GetResolutionFactor(), 1.25f);
  EXPECT_EQ(value.GetScaleFont(), 0);
  EXPECT_TRUE(value.GetBody());
  EXPECT_EQ(Version(value), 1000u);
  EXPECT_EQ(Version(result.m_converted), 2000u);
}

TEST_F(Extraction, BatchStatisticsAndApplicationFactsMakeSummaryElements) {
  // The statistic is mapped by value, whatever the host calls it.
  CEnum statistics(0, u"None");
  for (auto [n, name] : {std::pair{0, u"None"}, {1, u"Lo"}, {2, u"Hi"}, {3, u"N"}, {4, u"Average"}, {5, u"Spread"}})
    statistics.Add(n, name);
  ReplaceHostTable(EHostTable::eStatistics, statistics);
  const struct { const char* group; const char* field; const char* statistic; const char* statistics2; bool body; } rows[] = {
      {"BasicInfo", "filename", "Mean", "Average", false}, {"BasicInfo", "filename", "Count", "N", false},
      {"BasicInfo", "filename", "SD", "Spread", false},    {"BasicInfo", "filename", "", "None", true},
      {"BasicInfo", "filename", "mean", "None", true},     {"System", "username", "", "None", false},
      {"System", "batchindex", "", "None", true},          {"System", "reportfilename", "", "None", false}};
  for (const auto& row : rows) {
    auto result = ReadControl({{"Group", row.group}, {"Field", row.field}, {"Statistics", row.statistic}});
    EXPECT_EQ(result.m_result, V::eExtractOk) << row.field;
    EXPECT_EQ(Utf8(value.GetStatistics2()), row.statistics2) << row.statistic;
    EXPECT_EQ(Utf8(value.GetStatistics1()), "None") << row.statistic;
    EXPECT_EQ(value.GetBody(), row.body) << row.group << " " << row.field << " " << row.statistic;
  }
}

TEST_F(Extraction, UntranslatableItemsBecomeTheirErrorText) {
  const struct { const char* group; const char* field; V::EExtractRes result; const char* text; } rows[] = {
      {"CITS", "Spectrum", V::eGroupNotSupported, "Group is no longer supported"},
      {"BasicInfo", "nosuchfield", V::eFieldNotSupported, "Field is no longer supported"},
      {"ForceCurve", "UnfoldForce11", V::eElementDefinitionError, "Error in element definition"}};
  for (const auto& row : rows) {
    auto result = ReadControl({{"Group", row.group}, {"Field", row.field}});
    EXPECT_EQ(result.m_result, row.result) << row.field;
    EXPECT_EQ(Utf8(result.m_asRead.GetField()), row.field);
    EXPECT_EQ(value.GetType(), V::eText) << row.field;
    EXPECT_EQ(Utf8(value.GetText()), row.text);
    EXPECT_EQ(Utf8(result.m_converted.GetText()), row.text);
  }
  // A translated item is no error.
  auto result = ReadControl({{"Group", "ForceCurve"}, {"Field", "PullOffForce"}});
  EXPECT_EQ(result.m_result, V::eTranslated);
  EXPECT_EQ(Utf8(value.GetField()), "MaxPull");
  EXPECT_EQ(value.GetType(), V::eNone);
}

TEST_F(Extraction, PackedAlternativeTextDescribesAnyInlineShape) {
  WriteFile(dir / "p.png", Png(4, 4));
  const std::string body = "<w:p>" + InlinePicture(PackedAttribute(u"Roughness", u"RoughnessParameter", 2001)) +
                           InlinePicture("a photo", 12700, 12700, "rIdPic", 2) +
                           InlinePicture("KORI {&#13;&#10;\tGroup: Broken&#13;&#10;}", 12700, 12700, "rIdPic", 3) + "</w:p>";
  auto doc = Open(body, {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  auto shapes = doc->InlineShapes();
  auto result = CKORIExtractor::ExtractKORIElementProperties(shapes->Item(1).get(), value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(Utf8(value.GetField()), "RoughnessParameter");
  EXPECT_EQ(Version(result.m_asRead), 2001u);
  EXPECT_EQ(Version(result.m_converted), 2000u);

  // Neither a description nor an object: returned at once, with a reset record.
  for (long i : {2L, 3L}) {
    value.SetGroup(u"Left over");
    result = CKORIExtractor::ExtractKORIElementProperties(shapes->Item(i).get(), value);
    EXPECT_EQ(result.m_result, V::eNotKoriElement) << i;
    EXPECT_EQ(Utf8(value.GetGroup()), "") << i;
    EXPECT_EQ(Utf8(result.m_converted.GetGroup()), "") << i;
  }
}

TEST_F(Extraction, TextFormLeavesTheRecordAloneWhenTheTextDoesNotUnpack) {
  value.SetGroup(u"Kept");
  CKORIControlValue other;
  other.SetGroup(u"Grain");
  EXPECT_EQ(CKORIExtractor::ExtractKORIDocServerProperties(CStr(), value).m_result, V::eNotKoriElement);
  CStr half = other.Pack();
  half = CStr(half.Str().substr(0, half.Str().size() - 1));
  EXPECT_EQ(CKORIExtractor::ExtractKORIDocServerProperties(half, value).m_result, V::eNotKoriElement);
  EXPECT_EQ(Utf8(value.GetGroup()), "Kept");
  auto result = CKORIExtractor::ExtractKORIDocServerProperties(other.Pack(), value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(Utf8(result.m_converted.GetGroup()), "Grain");
}

TEST_F(Extraction, ServerFieldIsReadFromItsAlternativeTextElseFromTheServer) {
  auto doc = Open(ServerField("") + ServerField(PackedAttribute(u"Grain", u"GrainSummary", 2000)),
                  {{"word/embeddings/item.xml", ServerItem("Roughness", "RoughnessParameter")}}, kOleRel);
  auto fields = doc->Fields();
  auto result = CKORIExtractor::ExtractKORIElementProperties(fields->Item(1).get(), value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(Utf8(value.GetGroup()), "Roughness");
  EXPECT_EQ(Utf8(value.GetParameter1()), "Sq");
  EXPECT_EQ(Utf8(value.GetStatistics2()), "None");
  EXPECT_EQ(value.GetUnitOptions(), 1);
  EXPECT_EQ(value.GetPictureOptions(), 3);
  EXPECT_FLOAT_EQ(value.GetResolutionFactor(), 1.5f);
  EXPECT_EQ(value.GetScaleFont(), 0);
  EXPECT_EQ(Version(result.m_asRead), 2003u);
  EXPECT_EQ(Version(result.m_converted), 2000u);
  // The server was activated for the reading and told afterwards that it is done.
  auto server = std::dynamic_pointer_cast<CKORIDocServer>(fields->Item(1)->OLEFormat()->Object());
  ASSERT_NE(server, nullptr);
  EXPECT_FALSE(server->IsActive());

  result = CKORIExtractor::ExtractKORIElementProperties(fields->Item(2).get(), value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(Utf8(value.GetField()), "GrainSummary");
}

TEST_F(Extraction, ObjectsOfOtherClassesAndFieldsWithoutObjectsAreNoPlaceholders) {
  const std::string body =
      "<w:p><w:r><w:object><v:shape alt=\"sheet\" style=\"width:5pt;height:5pt\"/>"
      "<o:OLEObject ProgID=\"Excel.Sheet.12\" r:id=\"rIdOle\"/></w:object></w:r></w:p>"
      "<w:p><w:fldSimple w:instr=\" DATE \"><w:r><w:t>1.1.2000</w:t></w:r></w:fldSimple></w:p>";
  auto doc = Open(body, {{"word/embeddings/item.xml", "not an item"}}, kOleRel);
  value.SetGroup(u"Left over");
  auto result = CKORIExtractor::ExtractKORIElementProperties(doc->InlineShapes()->Item(1).get(), value);
  EXPECT_EQ(result.m_result, V::eNotKoriElement);
  EXPECT_EQ(Utf8(value.GetGroup()), "");
  EXPECT_EQ(Version(result.m_converted), 2000u);
  result = CKORIExtractor::ExtractKORIElementProperties(doc->InlineShapes()->Item(1)->OLEFormat().get(), value);
  EXPECT_EQ(result.m_result, V::eNotKoriElement);

  value.SetGroup(u"Left over");
  result = CKORIExtractor::ExtractKORIElementProperties(doc->Fields()->Item(1).get(), value);
  EXPECT_EQ(result.m_result, V::eNotKoriElement);
  EXPECT_EQ(Utf8(value.GetGroup()), "");
}

TEST_F(Extraction, ADamagedControlIsAComErrorNotAPlaceholder) {
  EXPECT_NE(ComErrorOf([&] { ReadControl({{"Group", "BasicInfo"}, {"UnitOptions", "many"}}); }), "");
  EXPECT_NE(ComErrorOf([&] { CKORIExtractor::ExtractKORIElementProperties(static_cast<IWordInlineShape*>(nullptr), value); }), "");
  // A server item that is no valid item is an error of the object, not a silent miss.
  auto doc = Open(ServerField(""), {{"word/embeddings/item.xml", "<nonsense"}}, kOleRel);
  EXPECT_NE(ComErrorOf([&] { CKORIExtractor::ExtractKORIElementProperties(doc->Fields()->Item(1).get(), value); }), "");
}

}  // namespace
