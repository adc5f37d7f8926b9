#include "WordFixture.h"

using namespace wordtest;

namespace {

TEST(ZipLimits, ZipBombIsRejectedWhileInflating) {
  const std::string bomb = Zip({{"word/document.xml", std::string(16 << 20, 'a')}});
  ASSERT_LT(bomb.size(), 1u << 20);
  const std::string why = ComErrorOf([&] { CZipArchive::Read(bomb); });
  EXPECT_NE(why.find("\"word/document.xml\" inflates more than 100 times"), std::string::npos) << why;
}

TEST(ZipLimits, EntryCountTotalAndEntrySizeAreBounded) {
  const std::string three = Zip({{"a.xml", "1"}, {"b.xml", "2"}, {"c.xml", "3"}});
  SZipLimits limits;
  limits.maxEntries = 2;
  EXPECT_NE(ComErrorOf([&] { CZipArchive::Read(three, limits); }).find("3 zip entries"), std::string::npos);
  const std::string big = Zip({{"a.bin", std::string(3000, 'x')}, {"b.bin", std::string(3000, 'y')}});
  limits = {};
  limits.maxTotalSize = 5000;
  EXPECT_NE(ComErrorOf([&] { CZipArchive::Read(big, limits); }).find("total limit"), std::string::npos);
  limits = {};
  limits.maxEntrySize = 2000;
  EXPECT_NE(ComErrorOf([&] { CZipArchive::Read(big, limits); }).find("\"a.bin\" inflates beyond"), std::string::npos);
}

TEST(ZipLimits, UnsafeAndDuplicateNamesAreRejected) {
  for (const char* name : {"../evil.xml", "/etc/passwd", "C:/x.xml", "a\\b.xml", "word//x.xml", "word/./x.xml"}) {
    const std::string why = ComErrorOf([&] { CZipArchive::Read(Zip({{name, "x"}})); });
    EXPECT_NE(why.find("unsafe name"), std::string::npos) << name << ": " << why;
  }
  const std::string why = ComErrorOf([&] { CZipArchive::Read(Zip({{"Word/A.xml", "1"}, {"word/a.xml", "2"}})); });
  EXPECT_NE(why.find("appears twice"), std::string::npos) << why;
}

TEST(ZipWriting, EqualContentGivesEqualBytes) {
  const std::string a = Zip({{"x.xml", "<a/>"}, {"media/p.png", "png"}});
  const std::string b = Zip({{"x.xml", "<a/>"}, {"media/p.png", "png"}});
  EXPECT_EQ(a, b);
  const auto entries = CZipArchive::Read(a);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "x.xml");
  EXPECT_EQ(entries[1].data, "png");
}

TEST(Package, ChangedXmlKeepsLoneSpacesAndDeclaration) {
  auto package = CPackage::FromBytes(Docx("<w:p><w:r><w:t xml:space=\"preserve\"> </w:t></w:r></w:p>"));
  CPart* main = package->MainPart();
  ASSERT_NE(main, nullptr);
  main->Xml().document_element().append_attribute("changed") = "1";
  main->MarkDirty();
  const std::string saved = CPackage::FromBytes(package->Save())->MainPart()->Bytes();
  EXPECT_TRUE(saved.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>")) << saved;
  EXPECT_NE(saved.find("<w:t xml:space=\"preserve\"> </w:t>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("changed=\"1\""), std::string::npos);
}

TEST(Package, AddedPartsGetContentTypesAndRelationships) {
  auto package = CPackage::FromBytes(Docx("<w:p/>"));
  CPart* main = package->MainPart();
  const std::string name = package->UniquePartName("word/media/image", ".jpeg");
  EXPECT_EQ(name, "word/media/image1.jpeg");
  package->AddPart(name, "image/jpeg", "JPEG");
  const std::string id = package->Relationships(main).Add(RelType::kImage, "media/image1.jpeg");
  const std::string other = package->Relationships(main).Add(RelType::kImage, "media/image1.jpeg");
  EXPECT_NE(id, other);
  auto again = CPackage::FromBytes(package->Save());
  CPart* image = again->RelatedPart(*again->MainPart(), id);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->ContentType(), "image/jpeg");
  EXPECT_EQ(image->Bytes(), "JPEG");
}

TEST(Package, NewRelationshipIdsGoOnFromTheHighestInUse) {
  auto package = CPackage::FromBytes(Docx("<w:p/>"));
  auto relationships = package->Relationships(package->MainPart());
  relationships.Add(RelType::kImage, "media/a.png", false, "rId7");
  relationships.Add(RelType::kImage, "media/b.png", false, "picture");
  relationships.Add(RelType::kImage, "media/c.png", false, "rId99999999999999999999");  // no number we can hold
  EXPECT_EQ(relationships.Add(RelType::kImage, "media/d.png"), "rId8");
  EXPECT_EQ(relationships.Add(RelType::kImage, "media/e.png", false, "rId7"), "rId9") << "a taken id is not reused";
  EXPECT_EQ(relationships.Add(RelType::kImage, "media/f.png", false, "rId2"), "rId2") << "a free one is kept";
}

// Relationships are found through an index kept with the package; it must follow every
// change of the rels part, not only its own.
TEST(Package, RelationshipsFollowChangesMadeAroundThem) {
  auto package = CPackage::FromBytes(Docx("<w:p/>"));
  CPart* main = package->MainPart();
  const std::string id = package->Relationships(main).Add(RelType::kImage, "media/a.png");
  CPart* rels = package->FindPart(CRelationships::RelsPartName(main->Name()));
  ASSERT_NE(rels, nullptr);
  rels->Xml().document_element().find_child_by_attribute("Relationship", "Id", id.c_str()).attribute("Target")
      .set_value("media/edited.png");
  rels->MarkDirty();
  EXPECT_EQ(package->Relationships(main).Find(id)->target, "media/edited.png");
  rels->SetBytes("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                 "<Relationship Id=\"rId40\" Type=\"t\" Target=\"media/new.png\"/></Relationships>");
  EXPECT_FALSE(package->Relationships(main).Find(id).has_value());
  EXPECT_EQ(package->Relationships(main).Find("rId40")->target, "media/new.png");
  EXPECT_EQ(package->Relationships(main).Add(RelType::kImage, "media/b.png"), "rId41");
  package->Relationships(main).Retarget("rId41", "media/c.png");
  package->Relationships(main).Remove("rId40");
  auto again = CPackage::FromBytes(package->Save());
  EXPECT_FALSE(again->Relationships(again->MainPart()).Find("rId40").has_value());
  EXPECT_EQ(again->Relationships(again->MainPart()).Find("rId41")->target, "media/c.png");
}

TEST(Package, TargetsResolveInsideThePackageOnly) {
  EXPECT_EQ(CPackage::ResolveTarget("word/document.xml", "media/a.png"), "word/media/a.png");
  EXPECT_EQ(CPackage::ResolveTarget("word/document.xml", "../customXml/i.xml"), "customXml/i.xml");
  EXPECT_EQ(CPackage::ResolveTarget("word/document.xml", "/word/styles.xml"), "word/styles.xml");
  EXPECT_EQ(CPackage::ResolveTarget("word/document.xml", "../../etc/passwd"), "");
  EXPECT_EQ(CPackage::RelativeTarget("word/document.xml", "word/media/a.png"), "media/a.png");
  EXPECT_EQ(CPackage::RelativeTarget("word/document.xml", "customXml/i.xml"), "/customXml/i.xml");
}

TEST(Package, ExternalRelationshipsAreNeverFollowed) {
  const std::string rels =
      "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
      "Target=\"file:///etc/passwd\" TargetMode=\"External\"/>"
      "<Relationship Id=\"rId6\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
      "Target=\"../../../etc/passwd\"/>";
  auto package = CPackage::FromBytes(Docx("<w:p/>", {}, rels));
  EXPECT_EQ(package->RelatedPart(*package->MainPart(), "rId5"), nullptr);
  EXPECT_EQ(package->RelatedPart(*package->MainPart(), "rId6"), nullptr);
  EXPECT_TRUE(package->Relationships(package->MainPart()).Find("rId5")->external);
}

TEST(Package, DeepNestingIsRejectedWithoutRecursion) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<w:sdt>";
  SZipLimits repetitive;
  repetitive.maxRatio = 1000000;
  auto package = CPackage::FromBytes(Docx(deep), repetitive);
  const std::string why = ComErrorOf([&] { package->MainPart()->Xml(); });
  EXPECT_NE(why.find("not well-formed"), std::string::npos) << why;
  std::string nested;
  for (int i = 0; i < 100000; ++i) nested += "<w:x>";
  for (int i = 0; i < 100000; ++i) nested += "</w:x>";
  package = CPackage::FromBytes(Docx(nested), repetitive);
  EXPECT_NE(ComErrorOf([&] { package->MainPart()->Xml(); }).find("deeper than 512 levels"), std::string::npos);
}

TEST(Package, MissingContentTypesIsNoPackage) {
  EXPECT_NE(ComErrorOf([] { CPackage::FromBytes(Zip({{"word/document.xml", "<x/>"}})); }).find("[Content_Types].xml"),
            std::string::npos);
}

}  // namespace
