#include "WordFixture.h"

#include "platform/word/zip/CZipArchive.h"

using namespace wordtest;

namespace {

// The compressed bytes of the named member of an archive.
std::string RawMember(const std::string& archive, const std::string& name) {
  auto zip = CZipArchive::Open(archive, nullptr);
  for (size_t i = 0; i < zip->Members().size(); ++i)
    if (zip->Members()[i].name == name) return std::string(zip->Raw(i));
  return "(missing)";
}

std::string ReadError(const std::string& archive) {
  return ComErrorOf([&] { CZipArchive::Read(archive); });
}

// A part parsed but not changed is no changed part: its odd layout is not written anew.
TEST(ZipCopying, UnchangedMembersKeepTheirCompressedBytes) {
  const std::string media = Png(40, 30);
  const std::string odd = "<?xml version=\"1.0\"?>\n<x   a = 'q' ><!-- kept --></x>";
  const std::string input = Docx("<w:p/>", {{"word/media/p.png", media}, {"customXml/item1.xml", odd}});
  auto package = CPackage::FromBytes(input);
  package->FindPart("customXml/item1.xml")->Xml();
  package->MainPart()->Xml().document_element().append_attribute("changed") = "1";
  package->MainPart()->MarkDirty();
  const std::string saved = package->Save();
  EXPECT_EQ(RawMember(saved, "customXml/item1.xml"), RawMember(input, "customXml/item1.xml"));
  EXPECT_EQ(RawMember(saved, "word/media/p.png"), media);  // stored, and still stored
  auto again = CPackage::FromBytes(saved);
  EXPECT_EQ(again->FindPart("customXml/item1.xml")->Bytes(), odd);
  EXPECT_NE(again->MainPart()->Bytes().find("changed=\"1\""), std::string::npos);
}

TEST(ZipCopying, MediaIsInflatedOnlyWhenUsedAndThenWithinBounds) {
  // A bomb in a media part, copied into a document from another archive: opening and
  // saving copy it untouched; reading it stops at the ratio limit.
  const std::string bomb = Zip({{"word/media/b.bin", std::string(16 << 20, 'a')}});
  auto bombed = CZipArchive::Open(bomb, nullptr);
  const auto plain = CZipArchive::Read(Docx("<w:p/>"));
  std::vector<SZipSource> members;
  for (const auto& entry : plain) members.push_back({entry.name, entry.data});
  members.push_back({"word/media/b.bin", {}, bombed.get(), 0});
  auto opened = CPackage::FromBytes(CZipWriter::ToBytes(members));
  const std::string saved = opened->Save();
  EXPECT_EQ(RawMember(saved, "word/media/b.bin"), RawMember(bomb, "word/media/b.bin"));
  const std::string why = ComErrorOf([&] { opened->FindPart("word/media/b.bin")->Bytes(); });
  EXPECT_NE(why.find("inflates more than 100 times"), std::string::npos) << why;
}

TEST(ZipReading, DamagedArchivesNameTheEntryAndTheFault) {
  const std::string good = Zip({{"a.xml", std::string(5000, 'x') + "<end/>"}, {"p.png", "PNGDATA"}});
  ASSERT_EQ(CZipArchive::Read(good).size(), 2u);

  std::string flipped = good;  // the stored member's data changes, its checksum does not
  flipped[flipped.find("PNGDATA")] = 'Q';
  EXPECT_NE(ReadError(flipped).find("\"p.png\" is damaged (checksum mismatch)"), std::string::npos);

  std::string garbled = good;  // deflate data of the first member overwritten
  const size_t data = 30 + std::string("a.xml").size();
  for (size_t i = data; i < data + 8; ++i) garbled[i] = '\xFF';
  EXPECT_NE(ReadError(garbled).find("\"a.xml\" is damaged"), std::string::npos) << ReadError(garbled);

  EXPECT_NE(ReadError("not a zip at all").find("not a valid zip archive"), std::string::npos);
  EXPECT_NE(ReadError(good.substr(0, good.size() / 2)).find("not a valid zip archive"), std::string::npos);
  EXPECT_NE(ReadError(good.substr(0, good.size() - 1)).find("not a valid zip archive"), std::string::npos);

  std::string moved = good;  // the directory points the first member past the end
  const size_t directory = moved.find(std::string("PK\x01\x02", 4));
  moved.replace(directory + 42, 4, std::string("\xF0\xFF\xFF\x0F", 4));
  EXPECT_NE(ReadError(moved).find("not a valid zip archive (truncated)"), std::string::npos) << ReadError(moved);
}

}  // namespace
