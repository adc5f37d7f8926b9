// Fields and tables as the story's marks find them, against a walk of every atom on
// each question (the way they were found before the marks were kept): the same fields,
// codes, results and table ranges after edits out of order, and the same saved bytes
// after every field was updated.
#include "WordFixture.h"

#include <algorithm>
#include <random>
#include <regex>

#include "platform/word/document/CStoryEditor.h"
#include "platform/word/om/CField.h"
#include "platform/word/om/CRange.h"

using namespace wordtest;

namespace {

std::string Marks(const std::string& code, const std::string& result, bool separate = true) {
  return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\">" + code +
         "</w:instrText></w:r>" + (separate ? "<w:r><w:rPr><w:b/></w:rPr><w:fldChar w:fldCharType=\"separate\"/></w:r>" : "") +
         result + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
}
std::string Simple(const std::string& code, const std::string& result) {
  return "<w:fldSimple w:instr=\"" + code + "\">" + result + "</w:fldSimple>";
}
std::string R(const std::string& text) { return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>"; }

// One unit of every shape a field comes in: results of several runs, none at all, of
// other fields and of paragraphs; codes holding fields; fields in cells and around tables.
std::string Unit(int i) {
  const std::string n = std::to_string(i);
  return "<w:p>" + R("Title " + n + ": ") + Marks(" TITLE ", R("old") + "<w:r><w:tab/><w:t>x</w:t></w:r>") + "</w:p>" +
         "<w:p>" + Marks(" AUTHOR ", "", false) + R(" and ") + Simple(" SUBJECT ", R("a") + R("b")) + "</w:p>" +
         "<w:p>" + Marks(" PAGE ", R(n)) + Marks(" KEYWORDS ", "") + Marks(" COMMENTS ", R("c")) + "</w:p>" +
         "<w:tbl><w:tr><w:tc><w:p>" + R("cell ") + InlinePicture("KORI " + n, 12700, 12700, "rIdPic", i + 1) +
         Simple(" TITLE ", R("t")) + "</w:p></w:tc><w:tc>" + P("two") + "</w:tc></w:tr><w:tr><w:tc><w:p>" +
         Marks(" DOCPROPERTY " + Marks(" TITLE ", R("inner")) + " ", R("outer")) + "</w:p></w:tc></w:tr></w:tbl>" +
         "<w:p>" + Marks(" AUTHOR ", R("first") + "</w:p><w:p>" + R("second")) +
         Marks(" TITLE ", Marks(" AUTHOR ", R("nested"))) + "</w:p>";
}

const std::pair<std::string, std::string> kCore = {
    "docProps/core.xml",
    "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Survey\tA</dc:title><dc:creator>Lab 4</dc:creator>"
    "<dc:subject>\xe8\xa1\xa8\xe9\x9d\xa2 survey</dc:subject><dc:description>two&#10;lines</dc:description>"
    "<cp:keywords></cp:keywords></cp:coreProperties>"};

struct SWalked {
  size_t begin, separate = SIZE_MAX, end;
};

std::vector<SWalked> WalkFields(CStory& story) {
  std::vector<SWalked> fields;
  std::vector<size_t> open;
  const auto& atoms = story.Atoms();
  for (size_t i = 0; i < atoms.size(); ++i) {
    const EAtomKind kind = atoms[i].kind;
    if (kind == EAtomKind::eFieldBegin) {
      open.push_back(fields.size());
      fields.push_back({i, SIZE_MAX, i});
    } else if (kind == EAtomKind::eFieldSeparate && !open.empty()) {
      fields[open.back()].separate = i;
    } else if (kind == EAtomKind::eFieldEnd && !open.empty()) {
      fields[open.back()].end = i;
      open.pop_back();
    }
  }
  for (size_t k : open) fields[k].end = atoms.size() - 1;
  return fields;
}

std::vector<std::pair<std::int32_t, std::int32_t>> WalkTables(CStory& story) {
  std::vector<std::tuple<pugi::xml_node, std::int32_t, std::int32_t>> tables;
  for (const SAtom& atom : story.Atoms()) {
    pugi::xml_node outer;
    for (auto p = atom.node.parent(); p && p != story.Root(); p = p.parent())
      if (story.Names().tbl == p.name()) outer = p;
    if (!outer) continue;
    if (tables.empty() || std::get<0>(tables.back()) != outer) tables.emplace_back(outer, atom.start, 0);
    std::get<2>(tables.back()) = atom.start + atom.length;
  }
  std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
  for (const auto& [table, start, end] : tables) ranges.emplace_back(start, end);
  return ranges;
}

std::string CodeOf(CStory& story, const SWalked& field) {
  const auto& atoms = story.Atoms();
  if (story.Names().fldSimple == atoms[field.begin].node.name())
    return atoms[field.begin].node.attribute(story.Names().instr.c_str()).value();
  std::string code;
  for (size_t i = field.begin + 1; i < (field.separate != SIZE_MAX ? field.separate : field.end); ++i)
    if (atoms[i].kind == EAtomKind::eInstrText) code += atoms[i].node.child_value();
  return code;
}

// Every field updated from the last, each found by walking the atoms again and its
// result deleted and inserted anew.
void UpdateByWalk(CRange& content) {
  CStory& story = *content.Story();
  std::vector<pugi::xml_node> begins;
  for (const SWalked& f : WalkFields(story)) begins.push_back(story.Atoms()[f.begin].node);
  const auto find = [&](pugi::xml_node begin) {
    for (const SWalked& f : WalkFields(story))
      if (story.Atoms()[f.begin].node == begin) return f;
    throw std::runtime_error("lost field");
  };
  CStoryEditor editor(story);
  for (auto it = begins.rbegin(); it != begins.rend(); ++it) {
    SWalked f = find(*it);
    const auto result = CField::Evaluate(CStr::FromUtf8(CodeOf(story, f)), *content.Doc());
    if (!result) continue;
    if (f.separate == SIZE_MAX) {
      if (story.Atoms()[f.end].kind != EAtomKind::eFieldEnd) continue;
      pugi::xml_node endRun = story.Atoms()[f.end].node.parent();
      endRun.parent().insert_child_before("w:r", endRun).append_child("w:fldChar").append_attribute("w:fldCharType") = "separate";
      editor.Inserted(story.Atoms()[f.end].start, 1);
      f = find(*it);
    }
    const std::int32_t from = story.Atoms()[f.separate].start + 1, to = story.Atoms()[f.end].start;
    if (to > from) editor.Delete(from, to);
    editor.InsertText(from, result->View());
  }
}

// Every nth field's code and result, each table's range and the fields in it, as a walk of
// the atoms finds them.
void ExpectWhatAWalkFinds(IWordDocument& doc, CStory& story, int step, size_t nth) {
  const auto fields = WalkFields(story);
  auto found = doc.Fields();
  ASSERT_EQ(found->Count(), static_cast<long>(fields.size())) << step;
  for (size_t k = 0; k < fields.size(); k += nth) {
    auto field = found->Item(static_cast<long>(k + 1));
    ASSERT_EQ(field->Code().ToUtf8(), CodeOf(story, fields[k])) << step << " " << k;
    const SWalked& f = fields[k];
    const std::string result =
        f.separate == SIZE_MAX ? "" : CStr(story.Text(story.Atoms()[f.separate].start + 1, story.Atoms()[f.end].start)).ToUtf8();
    ASSERT_EQ(field->Result().ToUtf8(), result) << step << " " << k;
  }
  const auto tables = WalkTables(story);
  auto kept = doc.Tables();
  ASSERT_EQ(kept->Count(), static_cast<long>(tables.size())) << step;
  for (size_t t = 0; t < tables.size(); ++t) {
    auto range = kept->Item(static_cast<long>(t + 1))->Range();
    ASSERT_EQ(range->Start(), tables[t].first) << step << " " << t;
    ASSERT_EQ(range->End(), tables[t].second) << step << " " << t;
    long inside = 0;
    for (const SWalked& f : fields)
      inside += story.Atoms()[f.begin].start >= tables[t].first && story.Atoms()[f.begin].start < tables[t].second;
    ASSERT_EQ(range->Fields()->Count(), inside) << step << " " << t;
  }
}

// Mark positions move as live ranges' ends do, across many blocks, however the edits
// fall: on them, between them, over several at once.
TEST(MarkPositions, EditsMoveThemAsTheyMoveLiveRanges) {
  std::mt19937 random(7);
  std::vector<std::int32_t> values;
  for (std::int32_t at = 0; values.size() < 1000; at += static_cast<std::int32_t>(random() % 4)) values.push_back(at);
  CMarkPositions marks;
  marks.Assign(values);
  CLiveRanges ranges;
  std::vector<std::unique_ptr<CLiveRange>> live;
  for (std::int32_t value : values) live.push_back(std::make_unique<CLiveRange>(ranges, value, value));
  for (int step = 0; step < 2000; ++step) {
    const std::int32_t pos = static_cast<std::int32_t>(random() % 2600);
    const std::int32_t removed = random() % 3 ? 0 : static_cast<std::int32_t>(random() % 20);
    const std::int32_t inserted = static_cast<std::int32_t>(random() % 8);
    marks.Move(pos, removed, inserted);
    ranges.Move(pos, removed, inserted);
    if (step % 100 != 0) continue;
    for (size_t i = 0; i < live.size(); ++i) ASSERT_EQ(marks[i], live[i]->End()) << step << " " << i;
    ASSERT_EQ(marks.FirstFrom(pos), static_cast<size_t>(std::partition_point(live.begin(), live.end(), [&](const auto& r) {
                                      return r->End() < pos;
                                    }) - live.begin()));
  }
}

using StoryMarks = WordFixture;

TEST_F(StoryMarks, UpdatingEveryFieldSavesWhatTheWalkSaves) {
  std::string body;
  for (int i = 0; i < 60; ++i) body += Unit(i);
  body += P("the end");
  auto kept = Open(body, {kCore}, "", "kept.docx");
  auto walked = Open(body, {kCore}, "", "walked.docx");
  ASSERT_EQ(kept->Fields()->Count(), 60 * 11);
  const long end = kept->Content()->End();
  auto held = kept->Range(CVariant::I4(end - 8), CVariant::I4(end - 1));
  kept->Fields()->Update();
  EXPECT_EQ(Utf8(held->Text()), "the end");
  UpdateByWalk(*std::dynamic_pointer_cast<CRange>(walked->Content()));
  for (long i = 1; i <= kept->Fields()->Count(); i += 7)
    ASSERT_EQ(Utf8(kept->Fields()->Item(i)->Result()), Utf8(walked->Fields()->Item(i)->Result())) << i;
  EXPECT_EQ(Utf8(kept->Fields()->Item(1)->Result()), "Survey\tA");
  EXPECT_EQ(SavedXml(*kept), SavedXml(*walked));
}

// Fields updated, placeholders filled, text typed and tables deleted in random order:
// after each few steps every field's code and result, every table's range and the
// fields of each table are those a walk of the atoms finds.
TEST_F(StoryMarks, EditsOutOfOrderLeaveWhatAWalkFinds) {
  std::string body;
  for (int i = 0; i < 40; ++i) body += Unit(i);
  auto doc = Open(body + P("the end"), {kCore});
  const long end = doc->Content()->End();
  auto held = doc->Range(CVariant::I4(end - 8), CVariant::I4(end - 1));
  auto content = std::dynamic_pointer_cast<CRange>(doc->Content());
  CStory& story = *content->Story();
  const auto check = [&](int step) { ExpectWhatAWalkFinds(*doc, story, step, 3); };
  std::mt19937 random(11);
  for (int step = 0; step < 300; ++step) {
    const unsigned what = random() % 20;
    if (what < 12) {
      auto fields = doc->Fields();
      fields->Item(1 + static_cast<long>(random() % static_cast<unsigned>(fields->Count())))->Update();
    } else if (what < 17 && doc->InlineShapes()->Count() > 0) {
      auto shapes = doc->InlineShapes();
      shapes->Item(1 + static_cast<long>(random() % static_cast<unsigned>(shapes->Count())))->Range()->SetText(u"v\tw");
    } else if (what < 19) {
      auto range = doc->Content();
      const long at = static_cast<long>(random() % static_cast<unsigned>(held->Start()));
      range->SetStart(at);
      range->SetEnd(at);
      try {
        range->SetText(u"typed");
      } catch (const CComError&) {  // at the end of a row: nothing can go there
      }
    } else if (doc->Tables()->Count() > 1) {
      doc->Tables()->Item(1 + static_cast<long>(random() % static_cast<unsigned>(doc->Tables()->Count())))->Range()->Delete();
    }
    if (step % 20 == 0) check(step);
  }
  check(300);
  EXPECT_EQ(Utf8(held->Text()), "the end");
}

// Field results of plain text and placeholders filled only move positions: the marks
// found at first follow them, and the atoms are walked once for fields, once for tables.
TEST_F(StoryMarks, EditsThatOnlyMovePositionsKeepTheMarksFoundFirst) {
  std::string body;
  for (int i = 0; i < 150; ++i) {
    const std::string n = std::to_string(i);
    body += "<w:p>" + Marks(" TITLE ", R("old " + n)) + Marks(" AUTHOR ", "", false) + "</w:p><w:tbl><w:tr><w:tc><w:p>" +
            InlinePicture("KORI " + n, 12700, 12700, "rIdPic", i + 1) + Simple(" SUBJECT ", "") + "</w:p></w:tc></w:tr></w:tbl>";
  }
  auto doc = Open(body + P("the end"), {kCore});
  auto content = std::dynamic_pointer_cast<CRange>(doc->Content());
  CStory& story = *content->Story();
  ExpectWhatAWalkFinds(*doc, story, 0, 1);
  const size_t walks = story.Marks().Walks();
  std::mt19937 random(3);
  for (int step = 1; step <= 400; ++step) {
    if (random() % 3) {
      auto fields = doc->Fields();
      fields->Item(1 + static_cast<long>(random() % static_cast<unsigned>(fields->Count())))->Update();
    } else if (doc->InlineShapes()->Count() > 0) {
      auto shapes = doc->InlineShapes();
      shapes->Item(1 + static_cast<long>(random() % static_cast<unsigned>(shapes->Count())))->Range()->SetText(u"a\tb");
    }
    if (step % 50 == 0) ExpectWhatAWalkFinds(*doc, story, step, 1);
  }
  EXPECT_EQ(story.Marks().Walks(), walks);
}

// The story's patched index is the one indexing it afresh gives: the same atoms, nodes
// and positions.
void ExpectPatchedIndexIsFresh(CStory& story) {
  std::vector<SAtom> patched;
  for (const SAtom& atom : story.Atoms()) patched.push_back(atom);
  story.Changed(0, 0, 0);
  const CStoryAtoms& fresh = story.Atoms();
  ASSERT_EQ(fresh.size(), patched.size());
  for (size_t i = 0; i < patched.size(); ++i) {
    ASSERT_EQ(fresh[i].node, patched[i].node) << i;
    ASSERT_EQ(fresh[i].kind, patched[i].kind) << i;
    ASSERT_EQ(fresh[i].start, patched[i].start) << i;
    ASSERT_EQ(fresh[i].length, patched[i].length) << i;
  }
}

// Old results that run over paragraphs or hold fields, and new ones that hold paragraph
// breaks: those that only join following paragraphs or split the end mark's are
// replaced without indexing the story afresh; a table or content control among the old
// paragraphs takes the general deletion. Each saves, reads and counts fields as
// deleting and inserting does.
TEST_F(StoryMarks, ResultsOverSeveralParagraphsSaveWhatTheWalkSaves) {
  const auto body = [](const std::string& between) {
    std::string text;
    for (int i = 0; i < 30; ++i) {
      const std::string n = std::to_string(i);
      text += "<w:p><w:pPr><w:jc w:val=\"right\"/></w:pPr>" + R("Scan " + n + ": ") +
              Marks(" AUTHOR ", R("a") + "</w:p><w:bookmarkStart w:id=\"" + n + "\" w:name=\"b" + n +
                                    "\"/><w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" + R("b") + "</w:p><w:p>" + R("c")) +
              R(" after") + "</w:p><w:tbl><w:tr><w:tc><w:p>" +
              Marks(" TITLE ", Marks(" AUTHOR ", R("n")) + Simple(" SUBJECT ", R("s")) + R("t")) + R(" tail") +
              "</w:p></w:tc></w:tr></w:tbl>";
      if (i % 2) text += "<w:p>" + Marks(" TITLE ", R("x") + "</w:p>" + between + "<w:p>" + R("y")) + "</w:p>";
    }
    return text + P("the end");
  };
  const std::string breaks = std::regex_replace(kCore.second, std::regex("Survey\tA"), "&#13;Sur&#13;vey&#13;&#13;");
  for (const std::string& core : {kCore.second, breaks})
    for (const std::string& between : {std::string(), "<w:sdt><w:sdtContent>" + P("control") + "</w:sdtContent></w:sdt>",
                                       "<w:tbl><w:tr><w:tc>" + P("cell") + "</w:tc></w:tr></w:tbl>"}) {
      auto kept = Open(body(between), {{kCore.first, core}}, "", "kept.docx");
      auto walked = Open(body(between), {{kCore.first, core}}, "", "walked.docx");
      CStory& story = *std::dynamic_pointer_cast<CRange>(kept->Content())->Story();
      const std::uint64_t indexings = (story.Atoms(), story.Indexings());
      kept->Fields()->Update();
      kept->Fields()->Update();  // with the fields that went among the marks: the same again
      UpdateByWalk(*std::dynamic_pointer_cast<CRange>(walked->Content()));
      ASSERT_EQ(kept->Fields()->Count(), walked->Fields()->Count());
      for (long i = 1; i <= kept->Fields()->Count(); ++i)
        ASSERT_EQ(Utf8(kept->Fields()->Item(i)->Code()), Utf8(walked->Fields()->Item(i)->Code())) << i;
      EXPECT_EQ(Utf8(kept->Fields()->Item(1)->Result()), "Lab 4");
      if (between.empty()) {
        EXPECT_EQ(story.Indexings(), indexings);
      }
      ExpectPatchedIndexIsFresh(story);
      EXPECT_EQ(Utf8(kept->Content()->Text()), Utf8(walked->Content()->Text())) << between << core;
      EXPECT_EQ(SavedXml(*kept), SavedXml(*walked)) << between << core;
    }
}

TEST_F(StoryMarks, FieldsAndTablesThatWentAreToldSo) {
  auto doc = Open("<w:p>" + Marks(" TITLE ", R("t")) + "</w:p><w:tbl><w:tr><w:tc>" + P("cell") + "</w:tc></w:tr></w:tbl>" + P("end"));
  auto field = doc->Fields()->Item(1);
  auto table = doc->Tables()->Item(1);
  auto tableRange = table->Range();
  const long tableEnd = tableRange->End();
  doc->Range(CVariant::I4(0), CVariant::I4(tableEnd))->Delete();
  EXPECT_EQ(doc->Fields()->Count(), 0);
  EXPECT_EQ(doc->Tables()->Count(), 0);
  EXPECT_EQ(ComErrorOf([&] { field->Code(); }), "the field has been deleted");
  EXPECT_EQ(ComErrorOf([&] { table->Range(); }), "the table has been deleted");
}

}  // namespace
