#include "WordFixture.h"

#include "platform/com/CCompoundFile.h"
#include "platform/com/CKORIDocServer.h"
#include "platform/word/document/CEmbeddedObject.h"

using namespace wordtest;

namespace {

const std::string kServerObject =
    "<w:p><w:r><w:object><v:shape alt=\"\" style=\"width:10pt;height:10pt\"/>"
    "<o:OLEObject Type=\"Embed\" PROGID r:id=\"rIdOle\"/></w:object></w:r></w:p>";

std::string Body(const std::string& progIdAttribute) {
  std::string body = kServerObject;
  return body.replace(body.find("PROGID"), 6, progIdAttribute);
}

std::string OleRel(const std::string& target) { return Relationship("oleObject", "rIdOle", target); }

std::string Bag(const std::string& group) {
  return "<livesheetItem xmlns=\"urn:folio:livesheetitem\"><property name=\"Version\" value=\"1000\"/>"
         "<property name=\"Group\" value=\"" + group + "\"/><property name=\"Field\" value=\"filename\"/></livesheetItem>";
}

// A storage as another program might leave it: class, class name, our bag and a stream of its own.
std::string Storage(bool withBag) {
  SCompoundFile file;
  file.clsid = CKORIDocServer::ClassId();
  file.streams = {{u"\1CompObj", CEmbeddedObject::CompObj(file.clsid, u"LivesheetItem")}, {u"Contents", "own data"}};
  if (withBag) file.streams.emplace_back(CEmbeddedObject::kBagStream, Bag("FromStorage"));
  return CCompoundFile::Write(file);
}

using EmbeddedObjects = WordFixture;

TEST_F(EmbeddedObjects, OlderXmlFormIsReadAndSavedAsACompoundFile) {
  auto doc = Open(Body("ProgID=\"LivesheetItem\""), {{"word/embeddings/livesheetItem1.xml", Bag("BasicInfo")}},
                  OleRel("embeddings/livesheetItem1.xml"));
  auto format = doc->InlineShapes()->Item(1)->OLEFormat();
  EXPECT_EQ(Utf8(format->ClassType()), "LivesheetItem");
  auto object = format->Object();
  EXPECT_EQ(Utf8(GetProperty(*object, 1).AsText()), "BasicInfo");
  EXPECT_EQ(GetProperty(*object, 11).AsLong(), 1000);
  format->Activate();
  EXPECT_TRUE(std::dynamic_pointer_cast<CKORIDocServer>(object)->IsActive());
  PutProperty(*object, 2, CVariant::Text(u"Changed"));
  auto package = Saved(*doc);
  EXPECT_EQ(package->FindPart("word/embeddings/livesheetItem1.xml"), nullptr);
  CPart* part = package->RelatedPart(*package->MainPart(), "rIdOle");
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part->Name(), "word/embeddings/oleObject1.bin");
  EXPECT_EQ(part->ContentType(), CEmbeddedObject::kOleObjectContentType);
  const SCompoundFile storage = CCompoundFile::Read(part->Bytes());
  EXPECT_EQ(storage.clsid, CKORIDocServer::ClassId());
  ASSERT_NE(storage.Stream(u"\1CompObj"), nullptr);
  EXPECT_EQ(Utf8(CEmbeddedObject::ProgIdOfCompObj(*storage.Stream(u"\1CompObj"))), "LivesheetItem");
  ASSERT_NE(storage.Stream(u"\1Ole"), nullptr);
  ASSERT_NE(storage.Stream(CEmbeddedObject::kBagStream), nullptr);
  EXPECT_NE(storage.Stream(CEmbeddedObject::kBagStream)->find("value=\"Changed\""), std::string::npos);

  // Saved again from the same document, and read back by a new one.
  PutProperty(*object, 2, CVariant::Text(u"Again"));
  auto again = Reopen(*doc);
  auto reread = again->InlineShapes()->Item(1)->OLEFormat()->Object();
  EXPECT_EQ(Utf8(GetProperty(*reread, 1).AsText()), "BasicInfo");
  EXPECT_EQ(Utf8(GetProperty(*reread, 2).AsText()), "Again");
}

// A storage names its class, and keeps its own streams and storages when the bag is saved:
// as other programs save objects, an object pool holding a nested embedding.
TEST_F(EmbeddedObjects, StoragesBelowTheRootAreKeptWhenTheBagIsSaved) {
  SCompoundFile file = CCompoundFile::Read(Storage(true));
  const CLSID nestedClass = *CGuid::Parse(u"{3F2B8E41-0C6D-4E7A-9B15-D8A46C2E7F90}");
  SStorage nested{u"_1234567", nestedClass, {{u"\1Ole", std::string(20, '\0')}, {u"CONTENTS", std::string(5000, 'n')}}, {}};
  file.storages = {SStorage{u"ObjectPool", {}, {{u"Index", "pool"}}, {nested}}};
  auto doc = Open(Body(""), {{"word/embeddings/oleObject1.bin", CCompoundFile::Write(file)}}, OleRel("embeddings/oleObject1.bin"));
  auto format = doc->InlineShapes()->Item(1)->OLEFormat();
  EXPECT_EQ(Utf8(format->ClassType()), "LivesheetItem");
  auto object = format->Object();
  EXPECT_EQ(Utf8(GetProperty(*object, 1).AsText()), "FromStorage");
  PutProperty(*object, 1, CVariant::Text(u"Edited"));

  auto package = Saved(*doc);
  const SCompoundFile saved = CCompoundFile::Read(package->FindPart("word/embeddings/oleObject1.bin")->Bytes());
  ASSERT_NE(saved.Stream(CEmbeddedObject::kBagStream), nullptr);
  EXPECT_NE(saved.Stream(CEmbeddedObject::kBagStream)->find("value=\"Edited\""), std::string::npos);
  EXPECT_EQ(*saved.Stream(u"Contents"), "own data");
  ASSERT_EQ(saved.storages.size(), 1u);
  const SStorage& pool = saved.storages[0];
  EXPECT_EQ(pool.name, u"ObjectPool");
  EXPECT_EQ(*pool.Stream(u"Index"), "pool");
  ASSERT_NE(pool.Storage(u"_1234567"), nullptr);
  EXPECT_EQ(pool.Storage(u"_1234567")->clsid, nestedClass);
  EXPECT_EQ(*pool.Storage(u"_1234567")->Stream(u"CONTENTS"), std::string(5000, 'n'));
  EXPECT_EQ(*pool.Storage(u"_1234567")->Stream(u"\1Ole"), std::string(20, '\0'));

  auto again = Reopen(*doc);
  EXPECT_EQ(Utf8(GetProperty(*again->InlineShapes()->Item(1)->OLEFormat()->Object(), 1).AsText()), "Edited");
}

TEST_F(EmbeddedObjects, StorageWithoutBagGivesDefaultsAndDamageIsAComError) {
  auto doc = Open(Body("ProgID=\"LivesheetItem\""), {{"word/embeddings/oleObject1.bin", Storage(false)}},
                  OleRel("embeddings/oleObject1.bin"));
  EXPECT_EQ(GetProperty(*doc->InlineShapes()->Item(1)->OLEFormat()->Object(), 11).AsLong(), 2000);
  EXPECT_EQ(Utf8(GetProperty(*doc->InlineShapes()->Item(1)->OLEFormat()->Object(), 1).AsText()), "");

  std::string damaged = Storage(true);
  damaged.resize(700);
  auto broken = Open(Body(""), {{"word/embeddings/oleObject1.bin", damaged}}, OleRel("embeddings/oleObject1.bin"), "b.docx");
  auto format = broken->InlineShapes()->Item(1)->OLEFormat();
  EXPECT_EQ(Utf8(format->ClassType()), "");
  broken = Open(Body("ProgID=\"LivesheetItem\""), {{"word/embeddings/oleObject1.bin", damaged}},
                OleRel("embeddings/oleObject1.bin"), "c.docx");
  EXPECT_NE(ComErrorOf([&] { broken->InlineShapes()->Item(1)->OLEFormat()->Object(); }).find("no valid compound file"),
            std::string::npos);
}

TEST(CompObj, NamesTheProgramIdWhateverTheClipboardFormat) {
  const std::string plain = CEmbeddedObject::CompObj(CKORIDocServer::ClassId(), u"LivesheetItem");
  EXPECT_EQ(CEmbeddedObject::ProgIdOfCompObj(plain).ToUtf8(), "LivesheetItem");
  // The same with a standard clipboard format, and with a named one.
  const size_t format = 28 + 4 + std::string("LivesheetItem").size() + 1;
  std::string standard = plain;
  standard.replace(format, 4, std::string("\xFF\xFF\xFF\xFF\x03\x00\x00\x00", 8));
  EXPECT_EQ(CEmbeddedObject::ProgIdOfCompObj(standard).ToUtf8(), "LivesheetItem");
  std::string named = plain;
  named.replace(format, 4, std::string("\x05\x00\x00\x00Name\0", 9));
  EXPECT_EQ(CEmbeddedObject::ProgIdOfCompObj(named).ToUtf8(), "LivesheetItem");
  for (size_t cut : {0u, 20u, 40u, 50u, 60u})
    EXPECT_EQ(CEmbeddedObject::ProgIdOfCompObj(plain.substr(0, cut)).ToUtf8(), "") << cut;
}

}  // namespace
