#pragma once
#include <string>

#include <pugixml.hpp>

// Qualified names of the elements and attributes the engine reads, for the prefixes a
// part's root declares: lookups match namespaces, not prefixes (Strict documents use
// other namespace names, and any prefix is allowed).
struct CXmlNames {
  // Reads the root's namespace declarations; undeclared namespaces get their usual prefix.
  explicit CXmlNames(const pugi::xml_node& root);

  std::string w, r, wp, a, pic, v, o, mc, wps;  // prefixes
  // w:
  std::string body, p, pPr, rPr, run, t, tab, br, cr, sym, noBreakHyphen, softHyphen, ptab, instrText, delText,
      fldChar, fldSimple, drawing, pict, object, control, objectEmbed, tbl, tr, tc, sectPr, txbxContent, sdt,
      sdtContent, hyperlink, ins, del, smartTag, customXml, fldCharType, instr, headerReference, footerReference,
      type, rId, id, name, space, val, hdr, ftr, fldData, footnoteReference, endnoteReference;
  // wp:, a:, pic:, v:, o:, mc:, wps:
  std::string wpInline, wpAnchor, wpExtent, wpDocPr, wpCNvGraphicFramePr, aGraphic, aGraphicData, aGraphicFrameLocks,
      aBlip, aExt, aXfrm, picPic, picSpPr, vShape, vRect, vImagedata, vTextbox, oOLEObject, mcAlternateContent,
      mcChoice, mcFallback, wpsTxbx, rEmbed, rIdAttr;

  // The Transitional name of a Strict namespace name; any other name as it is.
  static std::string Transitional(const std::string& ns);
  // The prefix the engine expects for a namespace it reads ("w" for WordprocessingML);
  // empty for any other namespace.
  static std::string UsualPrefix(const std::string& ns);

  // The w: name for a local name ("w:" + local with the document's prefix).
  std::string W(const char* local) const { return w.empty() ? local : w + ":" + local; }
};

namespace Ns {
constexpr const char* kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kWp = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr const char* kA = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* kPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr const char* kV = "urn:schemas-microsoft-com:vml";
constexpr const char* kO = "urn:schemas-microsoft-com:office:office";
constexpr const char* kMc = "http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr const char* kWps = "http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
}  // namespace Ns
