#pragma once
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/word/document/CStory.h"

// Edits of a story by character positions. Each edit keeps the XML valid (runs in
// paragraphs, a paragraph at the end of every cell and of the body), moves the
// story's live ranges and, in a text box, brings the fallback copy into step.
class CStoryEditor {
public:
  explicit CStoryEditor(CStory& story) : m_story(story), m_n(story.Names()) {}

  // Splits a text run so that pos falls between atoms.
  void SplitAt(std::int32_t pos);
  // Deletes [start, end) except marks that cannot go (the story's final paragraph
  // mark, cell and row marks of tables only partly covered); returns positions removed.
  std::int32_t Delete(std::int32_t start, std::int32_t end);
  // Inserts text at pos ("\r" new paragraph, "\v" line break, "\t" tab, other control
  // characters dropped); returns positions inserted.
  std::int32_t InsertText(std::int32_t pos, std::u16string_view text);
  // Replaces a single inline object [pos, end) by text inside the object's own run,
  // keeping its formatting; false (nothing done) for any other range or for text
  // with paragraph breaks.
  bool ReplaceObject(std::int32_t pos, std::int32_t end, std::u16string_view text, std::int32_t& inserted);
  // Replaces the result of a field, the atoms between its separate mark (atom index
  // separate; SIZE_MAX when it has none yet, and one is put before the end mark) and
  // its end mark (atom index end), by text, patching the index instead of rebuilding
  // it. Returns the separate mark; nothing (and nothing done) unless the result is
  // text, tabs, breaks, whole fields and paragraph marks of paragraphs that follow one
  // another, and, when text has a paragraph break, both marks are runs of the
  // paragraph it splits.
  pugi::xml_node ReplaceFieldResult(size_t separate, size_t end, std::u16string_view text);
  // An empty run at pos that takes the formatting of its neighbour; the caller fills
  // it with one object and then calls Inserted(pos, 1).
  pugi::xml_node NewRunAt(std::int32_t pos);
  // Records that length positions came in at pos.
  void Inserted(std::int32_t pos, std::int32_t length);
  // Puts one inline object at pos: fill makes it in the new run it is given and returns it.
  pugi::xml_node InsertObject(std::int32_t pos, const std::function<pugi::xml_node(pugi::xml_node run)>& fill);
  // Removes one object (a run child) and the run when it becomes empty.
  void RemoveObject(pugi::xml_node object);
  // The position before the story's final paragraph mark.
  std::int32_t LastInsertPosition();
  // Word keeps a paragraph after every table; a story that ends with a table (as
  // python-docx writes bodies) gets that paragraph here, so that content can follow.
  void CloseFinalTable();

private:
  // What a deletion removes, gathered before anything is removed.
  struct SDeletion {
    std::vector<pugi::xml_node> remove, paragraphs, tables;
    std::unordered_set<const void*> rowEnds;
  };
  SDeletion Collect(const CStoryAtoms& atoms, size_t first, std::int32_t end) const;
  void AddWholeTables(SDeletion& d, pugi::xml_node before) const;
  // Removes what was collected (and runs left empty); returns the element whose tables
  // may now touch. Drops paragraphs that went with an ancestor.
  pugi::xml_node RemoveCollected(SDeletion& d);
  // Joins a paragraph whose mark was deleted with the next one; returns its container.
  pugi::xml_node MergeWithNext(pugi::xml_node p);
  // The paragraph, table, content control or section break after p (what p's content
  // joins when its mark goes), or nothing.
  pugi::xml_node NextBlock(pugi::xml_node p) const;
  // A field's old result, atom by atom: what goes and whether it can go in place.
  struct SOldResult {
    std::vector<pugi::xml_node> runChildren;   // text, codes and complex fields' marks
    std::vector<pugi::xml_node> simpleFields;  // w:fldSimple, with their content
    std::vector<pugi::xml_node> paragraphs;    // whose marks go
    std::vector<pugi::xml_node> fields;        // begin marks of the fields that go
    size_t open = 0;                           // complex fields begun and not yet ended
    pugi::xml_node inSimple;
    // Takes atom into what goes; false for one that cannot go in place (an object, a
    // table's mark, a mark of a field begun before the result).
    bool Take(const SAtom& atom, const CXmlNames& n);
    // Whether every field begun in the result also ends there.
    bool Whole() const { return open == 0 && !inSimple; }
  };
  // A field's new result: its atoms, and the last paragraph its breaks made.
  struct SNewResult {
    std::vector<SAtom> atoms;
    pugi::xml_node lastParagraph;
  };
  // Adds text to run as a field result (AddText, with paragraph breaks that split run's
  // paragraph); run moves on with each break.
  std::int32_t AddResultText(pugi::xml_node& run, std::u16string_view text, SNewResult& result);
  // Whether paragraphs, the first holding mark, each join the next and the last the
  // paragraph of endMark when their marks go.
  bool ParagraphsJoinInOrder(pugi::xml_node mark, const std::vector<pugi::xml_node>& paragraphs,
                             pugi::xml_node endMark) const;
  // Inserts text into run (the chars of InsertText); run moves on with each new paragraph.
  std::int32_t InsertChars(pugi::xml_node& run, std::u16string_view text);
  // A new run after run with the properties of model (or none).
  pugi::xml_node RunAfter(pugi::xml_node run, pugi::xml_node model);
  // Puts text into run, each script in a run of its own with run's properties (run then
  // names the last of them); add writes one piece into a run, which it may move on, and
  // returns its length.
  using AddPiece = std::function<std::int32_t(pugi::xml_node&, std::u16string_view)>;
  std::int32_t AddInScriptRuns(pugi::xml_node& run, std::u16string_view text, const AddPiece& add);
  // Leaves object alone in its run: what comes before and after it moves to runs of
  // the same properties.
  void IsolateObject(pugi::xml_node object);
  // Appends text to run (before "before" when given) as w:t, w:tab and w:br children,
  // and their atoms to atoms when given; returns positions added. "\r" is not handled here.
  std::int32_t AddText(pugi::xml_node run, pugi::xml_node before, std::u16string_view text,
                       std::vector<SAtom>* atoms = nullptr);
  pugi::xml_node NewRunNear(const SAtom* before, const SAtom* after);
  pugi::xml_node SplitParagraph(pugi::xml_node run);
  void RemoveEmptyRun(pugi::xml_node run);
  void JoinAdjacentTables(pugi::xml_node container);
  void SyncFallback();
  bool IsRunLevel(const SAtom& atom) const;

  CStory& m_story;
  const CXmlNames& m_n;
};
