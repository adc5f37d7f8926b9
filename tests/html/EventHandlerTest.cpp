#include <gtest/gtest.h>

#include "folio/html/CHTMLEventHandler.h"
#include "folio/platform/host/HostTables.h"
#include "html/CHTMLReader.h"

namespace {

using V = CKORIControlValue;

const char16_t kPacked[] =
    u"KORI {&#13;&#10;\tVersion: 2000&#13;&#10;\tGroup: Roughness&#13;&#10;\tField: RoughnessParameter&#13;&#10;"
    u"\tParameter 1: Sa&#13;&#10;\tParameter 2: None&#13;&#10;\tImage statistics: None&#13;&#10;"
    u"\tBatch statistics: Mean&#13;&#10;\tResolution factor: 2.00000&#13;&#10;\tScale font: 1&#13;&#10;"
    u"\tShow Value/Unit: 0&#13;&#10;\tPicture aspect option: 0&#13;&#10;\tBody section: True&#13;&#10;}";

CStr KoriObject(const char16_t* params, const char16_t* classId = u"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27") {
  return CStr(u"<OBJECT classid=\"") + classId + u"\" width=\"320\" height=\"240\">" + params + u"</OBJECT>";
}

struct SParsed {
  explicit SParsed(CStr t) : text(std::move(t)) {}
  CStr text;
  CHTMLEventHandler collector;
};

void Parse(SParsed& parsed) {
  CHTMLReader reader;
  reader.SetEventHandler(&parsed.collector);
  reader.Read(parsed.text.View());
}

CStr Span(const SParsed& parsed, unsigned index) {
  const auto* info = parsed.collector.GetObjectInfo(index);
  return parsed.text.Mid(info->m_start, info->m_end - info->m_start);
}

TEST(TemplateCollector, ImgPlaceholderSpanAndDescription) {
  SParsed p{CStr(u"<html><body><p>Sa: <img width=200 alt=\"") + kPacked + u"\" src=x.png></p></body></html>"};
  Parse(p);
  ASSERT_EQ(p.collector.GetKoriControlCount(), 1u);
  EXPECT_TRUE(Span(p, 0).StartsWith(u"<img width=200"));
  EXPECT_TRUE(Span(p, 0).EndsWith(u"src=x.png>"));
  V value;
  const SReportConversionResult result = p.collector.GetKoriControlValue(0, value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(value.GetWidth(), 200.0f);
  EXPECT_EQ(value.GetHeight(), 100.0f);
  EXPECT_EQ(value.GetGroup(), CStr(u"Roughness"));
  EXPECT_EQ(value.GetParameter1(), CStr(u"Sa"));
  EXPECT_EQ(value.GetStatistics2(), CStr(u"Mean"));
  EXPECT_EQ(value.GetPictureOptions(), 0);
  V converted = result.m_converted;
  EXPECT_EQ(converted.GetField(), CStr(u"RoughnessParameter"));
  EXPECT_EQ(p.collector.GetBodyStart(), 12u);
  EXPECT_EQ(p.text.Mid(p.collector.GetBodyEnd(), 7), CStr(u"</body>"));
}

TEST(TemplateCollector, WhatIsNotAPlaceholder) {
  // Values lose their outer white space, so only other text before the header counts.
  SParsed p{CStr(u"<body><img alt=\"x ") + kPacked + u"\"><img alt=\"kori {\">" +
            KoriObject(u"<param name=Group value=General>", u"clsid:7b1e52c4-93d0-4a6f-b2e8-5c91d04f3a27") +
            u"<object classid=\"CLSID:other\"></object></body>"};
  Parse(p);
  EXPECT_EQ(p.collector.GetKoriControlCount(), 0u);
  EXPECT_EQ(p.collector.GetObjectInfo(0), nullptr);
  V value;
  EXPECT_EQ(p.collector.GetKoriControlValue(0, value).m_result, V::eNotKoriElement);
}

TEST(TemplateCollector, LegacyObjectIsReadAndTranslated) {
  SParsed p{u"<body>" +
            KoriObject(u"<param name=\"Group\" value=\"General\"><param name=\"Field\" value=\"xrange\">"
                       u"<param name=\"UnitOptions\" value=\"1\"><param name=\"PictureOptions\" value=\"3x\">"
                       u"<param name=\"ResolutionFactor\" value=\"1.5\"><param name=\"ScaleFont\" value=\"0\">"
                       u"<param name=\"Statistics\" value=\"Mean\">") +
            u"</body>"};
  Parse(p);
  ASSERT_EQ(p.collector.GetKoriControlCount(), 1u);
  EXPECT_TRUE(Span(p, 0).StartsWith(u"<OBJECT"));
  EXPECT_TRUE(Span(p, 0).EndsWith(u"</OBJECT>"));
  V value;
  SReportConversionResult result = p.collector.GetKoriControlValue(0, value);
  EXPECT_EQ(result.m_result, V::eExtractOk);
  EXPECT_EQ(value.GetVersion(nullptr, nullptr), 1000u);
  EXPECT_EQ(value.GetGroup(), CStr(u"BasicInfo"));
  EXPECT_EQ(value.GetUnitOptions(), 1);
  EXPECT_EQ(value.GetPictureOptions(), 3);
  EXPECT_EQ(value.GetResolutionFactor(), 1.5f);
  EXPECT_EQ(value.GetScaleFont(), 0);
  EXPECT_EQ(value.GetWidth(), 320.0f);
  EXPECT_EQ(value.GetStatistics1(), GetStatisticsEnum().GetName(0));
  EXPECT_EQ(value.GetStatistics2(), GetStatisticsEnum().GetName(4));
  EXPECT_EQ(result.m_asRead.GetGroup(), CStr(u"General"));
  EXPECT_EQ(result.m_converted.GetVersion(nullptr, nullptr), 2000u);
}

TEST(TemplateCollector, ParameterNamesAreCaseSensitiveAndGroupFailuresStay) {
  SParsed p{u"<body>" + KoriObject(u"<param name=group value=Grain>") +
            KoriObject(u"<param name=Group value=CITS><param name=Field value=x>") + u"</body>"};
  Parse(p);
  ASSERT_EQ(p.collector.GetKoriControlCount(), 2u);
  V value;
  p.collector.GetKoriControlValue(0, value);
  EXPECT_TRUE(value.GetGroup().IsEmpty());
  SReportConversionResult result = p.collector.GetKoriControlValue(1, value);
  EXPECT_EQ(result.m_result, V::eGroupNotSupported);
  EXPECT_EQ(value.GetGroup(), CStr(u"CITS"));
  EXPECT_TRUE(V(result.m_converted).GetGroup().IsEmpty());
}

TEST(TemplateCollector, NestingUnclosedObjectsAndSeveralBodies) {
  // An img inside an open KORI object is not collected; the first </object> ends it;
  // an object never closed is not counted; the second <body> changes nothing.
  SParsed p{CStr(u"<body><p>a</p><body>") +
            u"<object classid=\"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27\">" + u"<img alt=\"" + kPacked +
            u"\"><object classid=\"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27\"><param name=Field value=x>"
            u"</object>tail</object></body></body>" +
            u"<object classid=\"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27\"><param name=Field value=open>"};
  Parse(p);
  ASSERT_EQ(p.collector.GetKoriControlCount(), 1u);
  EXPECT_TRUE(Span(p, 0).EndsWith(u"value=x></object>"));
  V value;
  p.collector.GetKoriControlValue(0, value);
  EXPECT_EQ(value.GetField(), CStr(u"x"));
  EXPECT_EQ(p.collector.GetBodyStart(), 6u);
  EXPECT_EQ(p.text.Mid(p.collector.GetBodyEnd()).Find(u"</body></body>"), 0u);
}

TEST(TemplateCollector, CopiesShareElementsAndTakeTheOpenObject) {
  SParsed p{u"<body><object classid=\"CLSID:7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27\">"};
  Parse(p);
  CHTMLEventHandler copy(p.collector);
  CHTMLReader reader;
  reader.SetEventHandler(&copy);
  reader.Read(u"<param name=Field value=late></object>");
  EXPECT_EQ(copy.GetKoriControlCount(), 1u);
  EXPECT_EQ(p.collector.GetKoriControlCount(), 0u);
  CHTMLEventHandler shared;
  shared = copy;
  EXPECT_EQ(shared.GetObjectInfo(0), copy.GetObjectInfo(0));
  shared.Reset();
  EXPECT_EQ(shared.GetKoriControlCount(), 0u);
  EXPECT_EQ(copy.GetKoriControlCount(), 1u);
}

}  // namespace
