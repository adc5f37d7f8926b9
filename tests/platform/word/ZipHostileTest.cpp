// Archives whose headers lie, built by the fuzz target's builder: each lie is refused
// on opening, or costs no more memory than the data really holds.
#include <gtest/gtest.h>

#include "HostileZip.h"
#include "WordFixture.h"
#include "platform/com/CComError.h"

using wordtest::ComErrorOf;

namespace {

std::string OpenError(const SHostileZip& zip, const SZipLimits& limits = {}) {
  try {
    auto archive = CZipArchive::Open(HostileZip::Build(zip), nullptr, limits);
    for (size_t i = 0; i < archive->Members().size(); ++i) archive->Inflate(i);
  } catch (const CComError& e) {
    return e.Description().ToUtf8();
  }
  return {};
}

SHostileZip TwoParts() {
  SHostileZip zip;
  zip.members = {HostileZip::Member("word/a.xml", std::string(3000, 'a')),
                 HostileZip::Member("word/b.xml", std::string(3000, 'b'))};
  return zip;
}

TEST(ZipHostile, MembersThatShareOrOverlapDataAreRefused) {
  EXPECT_EQ(OpenError(TwoParts()), "");
  // Sharing a local header means sharing its name, which the directory cannot repeat.
  SHostileZip shared = TwoParts();
  shared.members[1].sharesDataOf = 0;
  EXPECT_NE(OpenError(shared).find("names another entry"), std::string::npos) << OpenError(shared);
  SHostileZip repeated = TwoParts();  // one member listed again under other names
  repeated.extraCentralCopies = 3;
  EXPECT_NE(OpenError(repeated).find("names another entry"), std::string::npos) << OpenError(repeated);
  SHostileZip stretched = TwoParts();  // the first member's data runs over the second's header
  stretched.members[0].centralCompressedDelta = 40;
  stretched.members[0].dataDescriptor = true;
  EXPECT_NE(OpenError(stretched).find("overlap"), std::string::npos) << OpenError(stretched);
}

TEST(ZipHostile, LocalHeadersMustAgreeWithTheDirectory) {
  SHostileZip renamed = TwoParts();
  renamed.members[0].localName = "word/c.xml";
  EXPECT_NE(OpenError(renamed).find("local header names another entry"), std::string::npos) << OpenError(renamed);
  SHostileZip resized = TwoParts();
  resized.members[1].localSizeDelta = 7;
  EXPECT_NE(OpenError(resized).find("disagree"), std::string::npos) << OpenError(resized);
  SHostileZip described = TwoParts();  // a data descriptor leaves the local fields zero
  described.members[0].dataDescriptor = true;
  EXPECT_EQ(OpenError(described), "");
  described.members[0].descriptorSignature = false;
  EXPECT_EQ(OpenError(described), "");
  described.members[0].descriptorSizeDelta = 3;
  EXPECT_NE(OpenError(described).find("data descriptor and the directory disagree"), std::string::npos)
      << OpenError(described);
  described.members[0].descriptorSizeDelta = 0;  // local fields left to the descriptor must be zero or agree
  described.members[0].localSizeDelta = 2;
  EXPECT_NE(OpenError(described).find("local header and the directory disagree"), std::string::npos)
      << OpenError(described);
  SHostileZip shifted = TwoParts();
  shifted.members[1].offsetDelta = 5;
  EXPECT_NE(OpenError(shifted).find("no local header"), std::string::npos) << OpenError(shifted);
}

// A member is refused when it inflates to more or less than its directory declares,
// even when its data descriptor tells the same lie. One that declares 200 MB and holds 2 kB
// is refused without a buffer of its declared size: forty of them do not use up a
// total of 1 MB, and an honest member after them still fits.
TEST(ZipHostile, MembersWhoseSizeIsNotTheDeclaredOneAreRefused) {
  SHostileZip zip;
  for (int i = 0; i < 40; ++i) {
    SHostileMember m = HostileZip::Member("word/p" + std::to_string(i) + ".xml", std::string(2000, char('a' + i % 26)));
    m.centralSizeDelta = 200 << 20;
    m.dataDescriptor = true;
    zip.members.push_back(m);
  }
  zip.members.push_back(HostileZip::Member("word/honest.xml", std::string(2000, 'h')));
  const std::string bytes = HostileZip::Build(zip);
  SZipLimits limits;
  limits.maxTotalSize = 1 << 20;
  auto archive = CZipArchive::Open(bytes, nullptr, limits);
  for (size_t i = 0; i + 1 < archive->Members().size(); ++i) {
    const std::string name = archive->Members()[i].name;
    const std::string expected = "the zip entry \"" + name + "\" is damaged (it inflates to 2000 bytes, not the " +
                                 std::to_string(2000 + (200 << 20)) + " its directory declares)";
    for (const std::string& why : {ComErrorOf([&] { archive->Inflate(i); }), ComErrorOf([&] { archive->Verified(i); })})
      EXPECT_EQ(why, expected);
  }
  const std::string honest = archive->Inflate(archive->Members().size() - 1);
  EXPECT_EQ(honest.size(), 2000u);
  EXPECT_LT(honest.capacity(), 8192u);

  // Declaring less is found as soon as the data passes it, stored or deflated.
  for (const bool deflate : {true, false}) {
    SHostileZip small = TwoParts();
    small.members[1].deflate = deflate;
    small.members[1].centralSizeDelta = -1000;
    small.members[1].dataDescriptor = true;
    auto opened = CZipArchive::Open(HostileZip::Build(small), nullptr);
    const std::string expected = deflate ? "inflates to more than the 2000 bytes its directory declares"
                                         : "inflates to 3000 bytes, not the 2000 its directory declares";
    for (const std::string& why : {ComErrorOf([&] { opened->Inflate(1); }), ComErrorOf([&] { opened->Verified(1); })})
      EXPECT_NE(why.find(expected), std::string::npos) << why;
  }
}

TEST(ZipHostile, NamesWithControlCharactersOrBrokenUtf8AreRefusedAndShownEscaped) {
  for (const std::string& name : {std::string("word/a\x01.xml"), std::string("word/\xC3.xml"),
                                 std::string("word/a\x7F.xml"), std::string("word/\xFF\xFE.xml")}) {
    SHostileZip zip;
    zip.members = {HostileZip::Member(name, "<x/>")};
    const std::string why = OpenError(zip);
    EXPECT_NE(why.find("unsafe name"), std::string::npos) << why;
    EXPECT_NE(why.find("\\x"), std::string::npos) << why;
    for (const char c : why) EXPECT_GE(static_cast<unsigned char>(c), 0x20u) << why;
  }
  SHostileZip accented;
  accented.members = {HostileZip::Member("word/é.xml", "<x/>")};
  EXPECT_EQ(OpenError(accented), "");
}

// Copying a member unchanged checks its data first: a damaged member is not carried
// into the saved document.
TEST(ZipHostile, MembersCopiedUnchangedAreCheckedAgainstTheirChecksum) {
  for (bool deflate : {true, false}) {
    SHostileZip zip = TwoParts();
    zip.members[1].deflate = deflate;
    const std::string good = HostileZip::Build(zip);
    auto archive = CZipArchive::Open(good, nullptr);
    EXPECT_EQ(archive->Verified(1), archive->Raw(1));
    zip.members[1].crcXor = 1;
    zip.members[1].dataDescriptor = true;
    const std::string bad = HostileZip::Build(zip);
    auto damaged = CZipArchive::Open(bad, nullptr);
    EXPECT_THROW(damaged->Verified(1), CComError);
    EXPECT_THROW(CZipWriter::ToBytes({{"word/b.xml", {}, damaged.get(), 1}}), CComError);
  }
}

}  // namespace
