#include "platform/word/document/ScriptRuns.h"

#include <cstring>

namespace {

enum class EClass : std::uint8_t { eNeutral, eDefault, eEastAsian, eRightToLeft };

// The script of one UTF-16 unit; a high surrogate stands for its pair.
EClass ClassOf(char16_t c) {
  if (c < 0x80) {
    const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    return letter ? EClass::eDefault : EClass::eNeutral;
  }
  if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
    return EClass::eRightToLeft;  // Hebrew, Arabic, Syriac, Thaana, N'Ko and their presentation forms
  if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
      (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
      (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0xD840 && c <= 0xD87F))
    return EClass::eEastAsian;  // Hangul, CJK, kana, full-width forms; planes 2 and 3 by their high surrogate
  if ((c >= 0x2000 && c <= 0x206F) || c == 0x00A0 || (c >= 0xDC00 && c <= 0xDFFF)) return EClass::eNeutral;
  return EClass::eDefault;
}

EScript ScriptOf(EClass c) {
  return c == EClass::eEastAsian ? EScript::eEastAsian : c == EClass::eRightToLeft ? EScript::eRightToLeft
                                                                                    : EScript::eDefault;
}

// The first child of parent named one of names, or nothing.
pugi::xml_node FirstOf(pugi::xml_node parent, const std::vector<std::string>& names) {
  for (pugi::xml_node child : parent.children())
    for (const std::string& name : names)
      if (name == child.name()) return child;
  return {};
}

}  // namespace

bool NeedsScriptRuns(std::u16string_view text) {
  for (char16_t c : text)
    if (c >= 0x0590) {
      const EClass k = ClassOf(c);
      if (k == EClass::eEastAsian || k == EClass::eRightToLeft) return true;
    }
  return false;
}

std::vector<SScriptPiece> ScriptPieces(std::u16string_view text) {
  std::vector<SScriptPiece> pieces;
  std::size_t start = 0;
  EClass current = EClass::eNeutral;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const EClass k = ClassOf(text[i]);
    if (k == EClass::eNeutral || k == current) continue;
    if (current != EClass::eNeutral) {
      pieces.push_back({ScriptOf(current), text.substr(start, i - start)});
      start = i;
    }
    current = k;
  }
  if (start < text.size() || pieces.empty()) pieces.push_back({ScriptOf(current), text.substr(start)});
  return pieces;
}

void MarkRunScript(pugi::xml_node run, EScript script, const CXmlNames& n) {
  if (script == EScript::eDefault) return;
  pugi::xml_node rPr = run.child(n.rPr.c_str());
  if (!rPr) rPr = run.prepend_child(n.rPr.c_str());
  const std::string rFontsName = n.W("rFonts");
  pugi::xml_node rFonts = rPr.child(rFontsName.c_str());
  if (!rFonts) {
    const pugi::xml_node style = rPr.child(n.W("rStyle").c_str());
    rFonts = style ? rPr.insert_child_after(rFontsName.c_str(), style) : rPr.prepend_child(rFontsName.c_str());
  }
  const std::string hint = n.W("hint");
  if (!rFonts.attribute(hint.c_str())) rFonts.append_attribute(hint.c_str());
  rFonts.attribute(hint.c_str()).set_value(script == EScript::eEastAsian ? "eastAsia" : "cs");
  const std::string rtl = n.W("rtl");
  if (script != EScript::eRightToLeft || rPr.child(rtl.c_str())) return;
  // w:rtl comes before these in w:rPr; everything else of the run's properties before it.
  const pugi::xml_node after =
      FirstOf(rPr, {n.W("cs"), n.W("em"), n.W("lang"), n.W("eastAsianLayout"), n.W("specVanish"), n.W("oMath")});
  if (after) rPr.insert_child_before(rtl.c_str(), after);
  else rPr.append_child(rtl.c_str());
}
