#include "WordFixture.h"

#include <cstring>
#include <set>

#include "platform/com/CKORIControl.h"
#include "platform/com/CKORIDocServer.h"

using namespace wordtest;

namespace {

const std::string kControlRel = Relationship("control", "rIdCtl", "activeX/activeX1.xml");
const std::string kOleRel = Relationship("oleObject", "rIdOle", "embeddings/oleObject1.bin");
const std::string kControlPart =
    "<ax:ocx xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\" ax:classid=\"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}\" "
    "ax:persistence=\"persistPropertyBag\"><ax:ocxPr ax:name=\"Group\" ax:value=\"Roughness\"/>"
    "<ax:ocxPr ax:name=\"Field\" ax:value=\"RoughnessParameter\"/><ax:ocxPr ax:name=\"Statistics\" ax:value=\"Mean\"/></ax:ocx>";

std::string EveryKind() {
  return "<w:p>" + InlinePicture("drawing") +
         "<w:r><w:pict><v:shapetype id=\"_x0000_t75\" coordsize=\"21600,21600\"/></w:pict></w:r>"
         "<w:r><w:pict><v:shape alt=\"vml\" style=\"width:72pt;height:36pt\"/></w:pict></w:r>"
         "<w:r><w:object w:dxaOrig=\"1440\" w:dyaOrig=\"720\"><v:shape alt=\"ole\" style=\"width:1in;height:0.5in\"/>"
         "<o:OLEObject Type=\"Embed\" ProgID=\"Excel.Sheet.12\" r:id=\"rIdOle\"/></w:object></w:r>"
         "<w:r><w:object><v:shape style=\"width:144pt;height:36pt\"/><w:control r:id=\"rIdCtl\" w:name=\"K\"/></w:object></w:r>"
         "<w:r><w:pict><v:shape alt=\"floating\" style=\"position:absolute;width:10pt;height:10pt\"/></w:pict></w:r>"
         "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:inline><wp:extent cx=\"12700\" cy=\"12700\"/>"
         "<wp:docPr id=\"9\" name=\"S\" descr=\"choice\"/></wp:inline></w:drawing></mc:Choice>"
         "<mc:Fallback><w:pict><v:shape alt=\"fallback\"/></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>";
}

using InlineShapes = WordFixture;

TEST_F(InlineShapes, EveryKindCountsOnceInDocumentOrderWithItsSizeAndTheControlItsBag) {
  auto doc = Open(EveryKind(), {{"word/media/p.png", Png(4, 4)}, {"word/activeX/activeX1.xml", kControlPart},
                                {"word/embeddings/oleObject1.bin", "OLE"}},
                  ImageRel() + kControlRel + kOleRel);
  auto shapes = doc->InlineShapes();
  ASSERT_EQ(shapes->Count(), 5);
  std::vector<std::string> alt;
  for (long i = 1; i <= 5; ++i) alt.push_back(Utf8(shapes->Item(i)->AlternativeText()));
  EXPECT_EQ(alt, (std::vector<std::string>{"drawing", "vml", "ole", "", "choice"}));
  EXPECT_EQ(shapes->Item(1)->OLEFormat(), nullptr);
  EXPECT_EQ(Utf8(shapes->Item(3)->OLEFormat()->ClassType()), "Excel.Sheet.12");
  EXPECT_EQ(Utf8(shapes->Item(4)->OLEFormat()->ClassType()), "KORICONTROL.KORIControlCtrl.1");
  EXPECT_EQ(doc->Shapes()->Count(), 1);
  EXPECT_EQ(doc->Content()->End(), 6);
  for (long i : {1, 2, 3}) {  // sizes in points whatever the kind
    EXPECT_FLOAT_EQ(shapes->Item(i)->Width(), 72) << i;
    EXPECT_FLOAT_EQ(shapes->Item(i)->Height(), 36) << i;
  }
  EXPECT_FLOAT_EQ(shapes->Item(5)->Width(), 1);
  // The control reads its property bag from its part and saves it there.
  auto object = shapes->Item(4)->OLEFormat()->Object();
  ASSERT_EQ(object->QueryInterface(CKORIControl::InterfaceId()), S_OK);
  EXPECT_EQ(Utf8(GetProperty(*object, 1).AsText()), "Roughness");
  EXPECT_EQ(Utf8(GetProperty(*object, 8).AsText()), "Mean");
  PutProperty(*object, 2, CVariant::Text(u"Sq"));
  auto again = Reopen(*doc);
  auto reread = again->InlineShapes()->Item(4)->OLEFormat()->Object();
  EXPECT_EQ(Utf8(GetProperty(*reread, 2).AsText()), "Sq");
  EXPECT_EQ(Utf8(GetProperty(*reread, 1).AsText()), "Roughness");
}

TEST_F(InlineShapes, AddedControlsAreKoriPlaceholdersThatSurviveSavingUnderNamesOfTheirOwn) {
  auto doc = app->Documents()->Add();
  doc->Select();
  auto selection = app->Selection();
  selection->Collapse(CVariant::I2(0));
  auto shape = doc->InlineShapes()->AddOLEControl(CVariant::Text(u"KORICONTROL.KORIControlCtrl.1"),
                                                  CVariant::Dispatch(selection->Range()));
  auto object = shape->OLEFormat()->Object();
  PutProperty(*object, 1, CVariant::Text(u"Grain"));
  PutProperty(*object, 2, CVariant::Text(u"Count"));
  auto package = Saved(*doc);
  const std::string control = package->FindPart("word/activeX/activeX1.xml")->Bytes();
  EXPECT_NE(control.find("ax:classid=\"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}\""), std::string::npos) << control;
  EXPECT_NE(control.find("ax:name=\"Group\" ax:value=\"Grain\""), std::string::npos) << control;
  auto again = app->Documents()->Open(Path("out.docx"));
  ASSERT_EQ(again->InlineShapes()->Count(), 1);
  EXPECT_EQ(Utf8(GetProperty(*again->InlineShapes()->Item(1)->OLEFormat()->Object(), 2).AsText()), "Count");
  EXPECT_NE(ComErrorOf([&] { doc->InlineShapes()->AddOLEControl(CVariant::Text(u"No.Such.Control")); }), "");
  // A control added in a later run takes a name and a shape id not yet used.
  again->InlineShapes()->AddOLEControl(CVariant::Text(u"KORICONTROL.KORIControlCtrl.1"));
  const std::string xml = Saved(*Reopen(*again, "third.docx"), "fourth.docx")->MainPart()->Bytes();
  std::set<std::string> names, shapeIds;
  for (const char* key : {"w:name=\"", "w:shapeid=\""}) {
    for (size_t at = xml.find(key); at != std::string::npos; at = xml.find(key, at + 1)) {
      const size_t start = at + std::strlen(key);
      (key[2] == 'n' ? names : shapeIds).insert(xml.substr(start, xml.find('"', start) - start));
    }
  }
  EXPECT_EQ(names.size(), 2u) << xml;
  EXPECT_EQ(shapeIds.size(), 2u) << xml;
}

TEST_F(InlineShapes, PictureScalesAgainstItsOwnSize) {
  WriteFile(dir / "big.png", Png(384, 288));  // 288 x 216 points at 96 dpi
  auto doc = Open("<w:p>" + InlinePicture("placeholder", 180 * 12700, 180 * 12700) + "</w:p>",
                  {{"word/media/p.png", Png(4, 4)}}, ImageRel());
  auto placeholder = doc->InlineShapes()->Item(1);
  placeholder->Select();
  auto picture = doc->InlineShapes()->AddPicture(CStr::FromUtf8((dir / "big.png").string()), CVariant::I2(0),
                                                 CVariant::I2(1), CVariant::Dispatch(placeholder->Range()));
  EXPECT_FLOAT_EQ(picture->Width(), 288);
  EXPECT_FLOAT_EQ(picture->Height(), 216);
  EXPECT_EQ(picture->LockAspectRatio(), -1);
  picture->SetScaleWidth(50);
  picture->SetScaleHeight(50);
  EXPECT_FLOAT_EQ(picture->Width(), 144);
  EXPECT_FLOAT_EQ(picture->Height(), 108);
  // Fixed width: one ratio for both axes.
  picture->SetLockAspectRatio(0);
  const float ratio = placeholder->Width() / picture->Width();
  picture->SetScaleWidth(ratio * 50);
  picture->SetScaleHeight(ratio * 50);
  picture->SetLockAspectRatio(-1);
  EXPECT_NEAR(picture->Width(), 180, 0.01);
  EXPECT_NEAR(picture->Height(), 135, 0.01);
  EXPECT_NEAR(picture->ScaleWidth(), 62.5, 0.01);
  // The picture went in before the placeholder, which is then deleted.
  ASSERT_EQ(doc->InlineShapes()->Count(), 2);
  EXPECT_EQ(Utf8(doc->InlineShapes()->Item(2)->AlternativeText()), "placeholder");
  placeholder->Select();
  placeholder->Delete();
  ASSERT_EQ(doc->InlineShapes()->Count(), 1);
  EXPECT_NEAR(doc->InlineShapes()->Item(1)->Width(), 180, 0.01);
  EXPECT_NE(ComErrorOf([&] { placeholder->Width(); }).find("deleted"), std::string::npos);
}

TEST_F(InlineShapes, StretchSetsEachAxisAndResolutionComesFromTheFile) {
  WriteFile(dir / "hi.png", Png(192, 96, 192));  // 72 x 36 points at 192 dpi
  auto doc = app->Documents()->Add();
  auto picture = doc->InlineShapes()->AddPicture(CStr::FromUtf8((dir / "hi.png").string()));
  EXPECT_NEAR(picture->Width(), 72, 0.01);
  EXPECT_NEAR(picture->Height(), 36, 0.01);
  picture->SetLockAspectRatio(0);
  picture->SetScaleWidth(200);
  picture->SetScaleHeight(50);
  EXPECT_NEAR(picture->Width(), 144, 0.01);
  EXPECT_NEAR(picture->Height(), 18, 0.01);
  EXPECT_NEAR(picture->ScaleHeight(), 50, 0.01);
}

TEST_F(InlineShapes, EqualPicturesShareMediaAndDrawingIdsStayUnique) {
  WriteFile(dir / "a.png", Png(8, 8));
  auto doc = Open("<w:p>" + InlinePicture("x", 12700, 12700, "rIdPic", 7) + "</w:p>", {{"word/media/p.png", Png(4, 4)}},
                  ImageRel());
  for (int i = 0; i < 2; ++i) doc->InlineShapes()->AddPicture(CStr::FromUtf8((dir / "a.png").string()));
  auto package = Saved(*doc);
  int media = 0;
  for (CPart* part : package->Parts()) media += part->Name().starts_with("word/media/");
  EXPECT_EQ(media, 2);
  const std::string xml = package->MainPart()->Bytes();
  EXPECT_NE(xml.find("wp:docPr id=\"8\""), std::string::npos);
  EXPECT_NE(xml.find("wp:docPr id=\"9\""), std::string::npos);
  EXPECT_NE(ComErrorOf([&] { doc->InlineShapes()->AddPicture(CStr::FromUtf8((dir / "missing.png").string())); })
                .find("cannot be opened"),
            std::string::npos);
}

TEST_F(InlineShapes, SelectingAShapeSelectsItsOnePosition) {
  auto doc = Open("<w:p><w:r><w:t>ab</w:t></w:r>" + InlinePicture("x") + "</w:p>", {{"word/media/p.png", Png(4, 4)}},
                  ImageRel());
  doc->InlineShapes()->Item(1)->Select();
  EXPECT_EQ(app->Selection()->Start(), 2);
  EXPECT_EQ(app->Selection()->End(), 3);
  EXPECT_FLOAT_EQ(app->PointsToPixels(72, CVariant::I2(1)), 96);
}

}  // namespace
