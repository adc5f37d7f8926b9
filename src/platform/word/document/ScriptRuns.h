#pragma once
// Text of East Asian and right-to-left scripts as Word writes it when it is typed: in
// runs of their own, marked with the font slot to use (w:rFonts w:hint) and, for
// right-to-left text, w:rtl, so that readers pick the right font and direction.
#include <cstdint>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "platform/word/document/CXmlNames.h"

enum class EScript : std::uint8_t { eDefault, eEastAsian, eRightToLeft };

struct SScriptPiece {
  EScript script;
  std::u16string_view text;
};

// The text cut where its script changes. Spaces, digits and punctuation belong to the
// piece before them (the first piece when they lead).
std::vector<SScriptPiece> ScriptPieces(std::u16string_view text);

// Whether text needs any run marked: it holds East Asian or right-to-left letters.
bool NeedsScriptRuns(std::u16string_view text);

// Marks run for script (nothing for eDefault): the hint on w:rFonts and, for
// right-to-left text, w:rtl, each where the schema orders it in w:rPr.
void MarkRunScript(pugi::xml_node run, EScript script, const CXmlNames& names);
