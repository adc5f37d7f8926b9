// The blocked atom index against a plain vector of the same atoms, through replacements
// that grow blocks past their split, empty them, and move objects between them; live
// ranges against plain pairs moved one by one; and a story edited many times over
// against the same document indexed afresh.
#include "WordFixture.h"

#include <random>

#include "platform/word/document/CStoryAtoms.h"
#include "platform/word/document/CStoryLiveRanges.h"

using namespace wordtest;

namespace {

class CModel {
public:
  explicit CModel(pugi::xml_node root) : m_root(root) {}

  SAtom Make(std::mt19937& random) {
    static constexpr EAtomKind kKinds[] = {EAtomKind::eText, EAtomKind::eText, EAtomKind::eInline,
                                           EAtomKind::eAnchor, EAtomKind::eParagraphEnd};
    const EAtomKind kind = kKinds[random() % std::size(kKinds)];
    const std::int32_t length = kind == EAtomKind::eAnchor ? 0 : kind == EAtomKind::eText ? 1 + random() % 9 : 1;
    return {m_root.append_child("n"), kind, 0, length};
  }

  std::vector<SAtom> atoms;  // starts kept absolute, the slow way

  void Replace(size_t index, const std::vector<SAtom>& replacement) {
    atoms.erase(atoms.begin() + static_cast<std::ptrdiff_t>(index));
    atoms.insert(atoms.begin() + static_cast<std::ptrdiff_t>(index), replacement.begin(), replacement.end());
    std::int32_t at = 0;
    for (SAtom& atom : atoms) {
      atom.start = at;
      at += atom.length;
    }
  }
  std::int32_t End() const { return atoms.empty() ? 0 : atoms.back().start + atoms.back().length; }

private:
  pugi::xml_node m_root;
};

void ExpectSame(const CStoryAtoms& index, const CModel& model, std::mt19937& random) {
  ASSERT_EQ(index.size(), model.atoms.size());
  ASSERT_EQ(index.End(), model.End());
  size_t i = 0, inlines = 0, anchors = 0;
  for (const SAtom& atom : index) {
    const SAtom& expected = model.atoms[i];
    ASSERT_EQ(atom.node, expected.node) << i;
    ASSERT_EQ(atom.start, expected.start) << i;
    ASSERT_EQ(atom.length, expected.length) << i;
    if (atom.kind == EAtomKind::eInline || atom.kind == EAtomKind::eAnchor) {
      size_t& seen = atom.kind == EAtomKind::eInline ? inlines : anchors;
      ASSERT_EQ(index.ObjectIndex(atom.node), static_cast<std::int64_t>(i));
      ASSERT_EQ(index.CountBefore(atom.kind, i), seen);
      ASSERT_EQ(index.NthObject(atom.kind, seen), i);
      ++seen;
    }
    ++i;
  }
  EXPECT_EQ(index.CountBefore(EAtomKind::eInline, index.size()), inlines);
  EXPECT_EQ(index.NthObject(EAtomKind::eAnchor, anchors), index.size());
  // positions in any order, as the object model asks for them
  for (int k = 0; k < 50; ++k) {
    const std::int32_t pos = static_cast<std::int32_t>(random() % static_cast<unsigned>(model.End() + 2));
    size_t expected = 0;
    while (expected < model.atoms.size() && model.atoms[expected].start < pos) ++expected;
    ASSERT_EQ(index.AtomAt(pos), expected) << pos;
    if (expected < index.size()) {
      ASSERT_EQ(index[expected].node, model.atoms[expected].node);
    }
  }
}

TEST(StoryAtoms, AnEmptyIndexAnswersEveryQuestionWithNothing) {
  const CStoryAtoms index;
  EXPECT_EQ(index.AtomAt(5), 0u);
  EXPECT_EQ(index.CountBefore(EAtomKind::eInline, 0), 0u);
  EXPECT_EQ(index.NthObject(EAtomKind::eAnchor, 0), 0u);
  EXPECT_EQ(index.ObjectIndex(pugi::xml_node()), -1);
  EXPECT_EQ(index.End(), 0);
}

TEST(StoryAtoms, ReplacementsKeepPositionsCountsAndObjectsAsAPlainListWould) {
  pugi::xml_document xml;
  CModel model(xml.append_child("root"));
  std::mt19937 random(11);
  CStoryAtoms index;
  for (int i = 0; i < 1000; ++i) {
    const SAtom atom = model.Make(random);
    model.atoms.push_back(atom);
    index.Append(atom.node, atom.kind, atom.length);
  }
  model.Replace(0, {model.atoms[0]});
  ExpectSame(index, model, random);
  for (int step = 0; step < 3000; ++step) {
    // grow one spot past a block split, shrink others until blocks empty, elsewhere anything
    const size_t spot = step < 1000 ? 500 : step < 2000 ? 100 + step % 7 : random() % model.atoms.size();
    const size_t count = step < 1000 ? 3 : step < 2000 ? 0 : random() % 4;
    std::vector<SAtom> replacement;
    for (size_t k = 0; k < count; ++k) replacement.push_back(model.Make(random));
    const size_t index_ = std::min(spot, model.atoms.size() - 1);
    model.Replace(index_, replacement);
    index.Replace(index_, replacement);
    if (step % 97 == 0 || step == 999 || step == 1999) ExpectSame(index, model, random);
    if (model.atoms.empty()) break;
  }
  ExpectSame(index, model, random);
}

// How an edit moves one position: into pos when it was removed, on by the difference after.
std::int32_t Moved(std::int32_t x, std::int32_t pos, std::int32_t removed, std::int32_t inserted) {
  if (x <= pos) return x;
  if (x <= pos + removed) return pos;
  return x + inserted - removed;
}

TEST(LiveRanges, EditsMoveEveryRangeAsIfEachWereMovedOnItsOwn) {
  std::mt19937 random(3);
  auto ranges = std::make_unique<CLiveRanges>();
  std::vector<std::unique_ptr<CLiveRange>> live;
  std::vector<std::pair<std::int32_t, std::int32_t>> expected;
  const auto check = [&] {
    ASSERT_EQ(ranges->Count(), 2 * live.size());
    for (size_t i = 0; i < live.size(); ++i) {
      ASSERT_EQ(live[i]->Start(), expected[i].first) << i;
      ASSERT_EQ(live[i]->End(), expected[i].second) << i;
    }
  };
  for (int step = 0; step < 4000; ++step) {
    const unsigned what = random() % 10;
    if (what < 4 || live.empty()) {  // enough ranges to split blocks many times over
      const std::int32_t start = static_cast<std::int32_t>(random() % 5000);
      const std::int32_t end = start + static_cast<std::int32_t>(random() % 50);
      live.push_back(std::make_unique<CLiveRange>(*ranges, start, end));
      expected.push_back({start, end});
    } else if (what < 5) {  // ranges die in any order, emptying blocks
      const size_t i = random() % live.size();
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i));
    } else if (what < 6) {
      const size_t i = random() % live.size();
      const std::int32_t start = static_cast<std::int32_t>(random() % 5000);
      live[i]->Set(start, start + 7);
      expected[i] = {start, start + 7};
    } else {
      const std::int32_t pos = static_cast<std::int32_t>(random() % 5000);
      const std::int32_t removed = random() % 3 ? 0 : static_cast<std::int32_t>(random() % 300);
      const std::int32_t inserted = static_cast<std::int32_t>(random() % 40);
      ranges->Move(pos, removed, inserted);
      for (auto& [start, end] : expected) {
        start = Moved(start, pos, removed, inserted);
        end = Moved(end, pos, removed, inserted);
      }
    }
    if (step % 50 == 0) check();
  }
  check();
  // ranges that outlive their story keep their positions
  ranges.reset();
  for (size_t i = 0; i < live.size(); ++i) EXPECT_EQ(live[i]->End(), expected[i].second);
  live.front()->Set(1, 2);
  EXPECT_EQ(live.front()->Start(), 1);
}

using StoryIndex = WordFixture;

// Placeholders over many blocks, filled out of order with values of other lengths
// (tabs and breaks among them) or with pictures that are then resized: the index kept
// up by each edit must tell the same positions and text as the saved document read afresh.
TEST_F(StoryIndex, ManyEditsLeaveTheSamePositionsAsAFreshIndex) {
  std::string body;
  for (int i = 0; i < 700; ++i)
    body += "<w:p><w:r><w:t xml:space=\"preserve\">cell " + std::to_string(i) + " </w:t></w:r>" +
            InlinePicture("KORI " + std::to_string(i), 12700, 12700, "rIdPic", i + 1) + P("after").substr(5);
  auto doc = Open(body, {{"word/media/p.png", Png(2, 2)}}, ImageRel());
  WriteFile(dir / "new.png", Png(3, 3));
  auto shapes = doc->InlineShapes();
  ASSERT_EQ(shapes->Count(), 700);
  std::mt19937 random(5);
  const std::u16string values[] = {u"", u"x", u"a\tb", u"long value \v with a break", u"\u0645\u0631\u062d\u0628\u0627 ok"};
  long pictures = 0;
  for (int k = 0; k < 500; ++k) {
    const long at = 1 + static_cast<long>(random() % static_cast<unsigned>(shapes->Count()));
    auto shape = shapes->Item(at);
    if (random() % 4 == 0) {
      auto picture = shapes->AddPicture(CStr::FromUtf8((dir / "new.png").string()), CVariant::I2(0), CVariant::I2(-1),
                                        CVariant::Dispatch(shape->Range()));
      picture->SetScaleWidth(50);
      shape->Delete();
      ++pictures;
    } else {
      shape->Range()->SetText(CStr(values[random() % std::size(values)]));
    }
  }
  ASSERT_GT(pictures, 50);
  ASSERT_EQ(shapes->Count(), 200 + pictures);
  std::vector<long> starts;
  for (long i = 1; i <= shapes->Count(); ++i) starts.push_back(shapes->Item(i)->Range()->Start());
  const std::string text = Utf8(doc->Content()->Text());
  const long end = doc->Content()->End();

  auto again = Reopen(*doc);
  EXPECT_EQ(Utf8(again->Content()->Text()), text);
  EXPECT_EQ(again->Content()->End(), end);
  auto fresh = again->InlineShapes();
  ASSERT_EQ(fresh->Count(), 200 + pictures);
  for (long i = 1; i <= fresh->Count(); ++i) ASSERT_EQ(fresh->Item(i)->Range()->Start(), starts[size_t(i - 1)]) << i;
}

}  // namespace
