// Archives whose headers lie, built by the fuzz target's builder: each lie is refused
// on opening, or costs no more memory than the data really holds.
#include <gtest/gtest.h>

#include "HostileZip.h"
#include "platform/com/CComError.h"

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
  SHostileZip shifted = TwoParts();
  shifted.members[1].offsetDelta = 5;
  EXPECT_NE(OpenError(shifted).find("no local header"), std::string::npos) << OpenError(shifted);
}

// A member that declares 200 MB and holds 2 kB gets a buffer the size of its 2 kB, and
// only the buffers' sizes count against the total.
TEST(ZipHostile, BuffersAreSizedByWhatIsInflated) {
  SHostileZip zip;
  for (int i = 0; i < 40; ++i) {
    SHostileMember m = HostileZip::Member("word/p" + std::to_string(i) + ".xml", std::string(2000, char('a' + i % 26)));
    m.centralSizeDelta = 200 << 20;
    m.localSizeDelta = 0;
    m.dataDescriptor = true;
    zip.members.push_back(m);
  }
  const std::string bytes = HostileZip::Build(zip);
  SZipLimits limits;
  limits.maxTotalSize = 1 << 20;
  auto archive = CZipArchive::Open(bytes, nullptr, limits);
  for (size_t i = 0; i < archive->Members().size(); ++i) {
    try {
      const std::string data = archive->Inflate(i);
      EXPECT_EQ(data.size(), 2000u);
      EXPECT_LT(data.capacity(), 8192u);
    } catch (const CComError& e) {
      ADD_FAILURE() << e.Description().ToUtf8();  // a checksum lie aside, all of them fit
    }
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
