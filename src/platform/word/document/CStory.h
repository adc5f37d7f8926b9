#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "platform/word/document/CXmlNames.h"

class CPart;

// One unit of a story's character positions.
enum class EAtomKind : std::uint8_t {
  eText,           // w:t: one position per UTF-16 unit
  eInstrText,      // field code text
  eChar,           // tab, break, symbol, note reference
  eInline,         // an inline object: drawing, VML picture, OLE object, control
  eAnchor,         // a floating object's anchor: no position
  eFieldBegin,
  eFieldSeparate,
  eFieldEnd,
  eParagraphEnd,
  eCellEnd,        // the last paragraph mark of a table cell
  eRowEnd,
};

struct SAtom {
  pugi::xml_node node;  // w:t, the run child, w:fldChar, w:fldSimple, w:p or w:tr
  EAtomKind kind;
  std::int32_t start;
  std::int32_t length;
};

// A live position range: edits before or inside it move it.
struct SRangeState {
  std::int32_t start = 0;
  std::int32_t end = 0;
};

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
  const std::vector<SAtom>& Atoms();
  // Position after the last atom (the final paragraph mark included).
  std::int32_t End();
  // Index of the atom whose node is node, or -1.
  int FindAtom(const pugi::xml_node& node);
  // Indexes of the inline and anchored objects' atoms, in story order: what the shape
  // collections walk, without a pass over every atom each time they are asked.
  std::vector<size_t> ObjectAtoms();
  // Index of the first atom that starts at or after pos (size() if none).
  size_t AtomAt(std::int32_t pos);
  // Text of [start, end) the way Word shows it (field codes hidden, "\r" for paragraph
  // marks, "\r\a" for cell and row ends, "\x01" for inline objects).
  std::u16string Text(std::int32_t start, std::int32_t end);

  // Records an edit: marks the index stale and moves live ranges. removed positions
  // went away at pos, then inserted ones came in at pos.
  void Changed(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // Moves live ranges only (the index was already marked stale).
  void MoveRanges(std::int32_t pos, std::int32_t removed, std::int32_t inserted);
  // After an edit that replaced atom index by replacement (starting at its position),
  // patches the index instead of rebuilding it. Only valid when the index was current
  // before the edit and the edit was recorded with Changed.
  void SpliceAtoms(size_t index, const std::vector<SAtom>& replacement);
  // A live range on this story.
  std::shared_ptr<SRangeState> MakeRange(std::int32_t start, std::int32_t end);

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
  void Add(const pugi::xml_node& node, EAtomKind kind, std::int32_t length);

  CPart* m_part;
  pugi::xml_node m_root;
  EStoryType m_type;
  CXmlNames m_names;
  std::vector<SAtom> m_atoms;
  std::unordered_map<const void*, size_t> m_objectIndex;  // run child -> atom index
  std::int32_t m_end = 0;
  std::uint64_t m_builtGeneration = 0;
  std::vector<std::weak_ptr<SRangeState>> m_ranges;
};
