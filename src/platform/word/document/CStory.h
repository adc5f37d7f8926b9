#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "platform/word/document/CStoryAtoms.h"
#include "platform/word/document/CStoryLiveRanges.h"
#include "platform/word/document/CStoryMarks.h"
#include "platform/word/document/CXmlNames.h"

class CPart;

// Word's story type numbers.
enum class EStoryType {
  eMain = 1,
  eTextFrame = 5,
  eEvenPagesHeader = 6,
  ePrimaryHeader = 7,
  eEvenPagesFooter = 8,
  ePrimaryFooter = 9,
  eFirstPageHeader = 10,
  eFirstPageFooter = 11
};

// A story: a part and a root (w:body, w:hdr, w:ftr, w:txbxContent) with its own
// character positions from 0, indexed on demand and again after each edit.
class CStory {
public:
  CStory(CPart& part, pugi::xml_node root, EStoryType type);

  CPart& Part() const { return *m_part; }
  pugi::xml_node Root() const { return m_root; }
  EStoryType Type() const { return m_type; }
  const CXmlNames& Names() const { return m_names; }

  // Atoms in document order (rebuilt when the story changed).
  const CStoryAtoms& Atoms();
  // How many times the atoms were indexed afresh (patches not counted).
  std::uint64_t Indexings() const { return m_indexings; }
  // Its fields and tables, kept with the atoms.
  CStoryMarks& Marks() { return m_marks; }
  // Position after the last atom (the final paragraph mark included).
  std::int32_t End();
  // Index of the atom whose node is node, or -1.
  int FindAtom(const pugi::xml_node& node);
  // Number of objects of kind (eInline or eAnchor) that start in [start, end).
  size_t CountObjects(EAtomKind kind, std::int32_t start, std::int32_t end);
  // The node of the object of kind that has nth such objects between start and it.
  pugi::xml_node NthObject(EAtomKind kind, std::int32_t start, size_t nth);
  // Index of the first atom that starts at or after pos (size() if none).
  size_t AtomAt(std::int32_t pos);
  // Text of [start, end) the way Word shows it (field codes hidden, "\r" for paragraph
  // marks, "\r\a" for cell and row ends, "\x01" for inline objects).
  std::u16string Text(std::int32_t start, std::int32_t end);

  // Whether the index describes the part as it is.
  bool IsCurrent() const;
  // Records that the part's XML changed without any position of this story moving
  // (an object's size, say): the index stays.
  void Touched();
  // Records an edit: marks the index stale and moves live ranges. removed positions
  // went away at pos, then inserted ones came in at pos.
  void Changed(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // Moves live ranges and the marks of fields and tables only (the index was already
  // marked stale).
  void MoveRanges(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // After an edit that replaced atom index by replacement (starting at its position),
  // patches the index instead of rebuilding it. Only valid when the index was current
  // before the edit and the edit was recorded with Changed.
  void SpliceAtoms(size_t index, const std::vector<SAtom>& replacement);
  // A live range on this story.
  std::shared_ptr<CLiveRange> MakeRange(std::int32_t start, std::int32_t end);

  // Length in UTF-16 units of UTF-8 text.
  static std::int32_t Utf16Length(std::string_view utf8);

private:
  enum class EElement : std::uint8_t {
    eOther, eP, eR, eT, eChar, eInstrText, eFldChar, eFldSimple, eObject, eAlternateContent,
    eTbl, eTr, eTc, eSdt, eContainer
  };
  EElement Classify(const char* name) const;
  void Rebuild();
  bool Enter(const pugi::xml_node& node);
  void Exit(const pugi::xml_node& node);
  void RunChild(const pugi::xml_node& node);
  EAtomKind ObjectKind(const pugi::xml_node& node) const;
  void Add(const pugi::xml_node& node, EAtomKind kind, std::int32_t length) { m_atoms.Append(node, kind, length); }

  CPart* m_part;
  pugi::xml_node m_root;
  EStoryType m_type;
  CXmlNames m_names;
  CStoryAtoms m_atoms;
  std::uint64_t m_builtGeneration = 0;
  std::uint64_t m_indexings = 0;
  CStoryMarks m_marks;
  CLiveRanges m_ranges;
};
