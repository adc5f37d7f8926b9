#include "platform/word/document/CXmlNames.h"

#include <cstring>
#include <map>

namespace {

// Transitional and Strict namespace names of each prefix role.
struct SRole {
  const char* usual;
  const char* transitional;
  const char* strict;
};
constexpr SRole kRoles[] = {
    {"w", Ns::kW, "http://purl.oclc.org/ooxml/wordprocessingml/main"},
    {"r", Ns::kR, "http://purl.oclc.org/ooxml/officeDocument/relationships"},
    {"wp", Ns::kWp, "http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing"},
    {"a", Ns::kA, "http://purl.oclc.org/ooxml/drawingml/main"},
    {"pic", Ns::kPic, "http://purl.oclc.org/ooxml/drawingml/picture"},
    {"v", Ns::kV, Ns::kV},
    {"o", Ns::kO, Ns::kO},
    {"mc", Ns::kMc, Ns::kMc},
    {"wps", Ns::kWps, Ns::kWps},
};

std::string Join(const std::string& prefix, const char* local) { return prefix.empty() ? local : prefix + ":" + local; }

}  // namespace

std::string CXmlNames::Transitional(const std::string& ns) {
  for (const SRole& role : kRoles)
    if (ns == role.strict) return role.transitional;
  return ns;
}

std::string CXmlNames::UsualPrefix(const std::string& ns) {
  for (const SRole& role : kRoles)
    if (ns == role.transitional || ns == role.strict) return role.usual;
  return {};
}

CXmlNames::CXmlNames(const pugi::xml_node& root) {
  std::map<std::string, std::string> prefixOf;  // namespace -> prefix
  for (auto attr : root.attributes()) {
    const char* name = attr.name();
    if (std::strncmp(name, "xmlns:", 6) == 0) prefixOf.emplace(attr.value(), name + 6);
    else if (std::strcmp(name, "xmlns") == 0) prefixOf.emplace(attr.value(), "");
  }
  std::string* slots[] = {&w, &r, &wp, &a, &pic, &v, &o, &mc, &wps};
  for (size_t i = 0; i < std::size(kRoles); ++i) {
    auto it = prefixOf.find(kRoles[i].transitional);
    if (it == prefixOf.end()) it = prefixOf.find(kRoles[i].strict);
    *slots[i] = it != prefixOf.end() ? it->second : kRoles[i].usual;
  }
  struct SName {
    std::string* slot;
    const std::string* prefix;
    const char* local;
  };
  const SName names[] = {
      {&body, &w, "body"}, {&p, &w, "p"}, {&pPr, &w, "pPr"}, {&rPr, &w, "rPr"}, {&run, &w, "r"}, {&t, &w, "t"},
      {&tab, &w, "tab"}, {&br, &w, "br"}, {&cr, &w, "cr"}, {&sym, &w, "sym"}, {&noBreakHyphen, &w, "noBreakHyphen"},
      {&softHyphen, &w, "softHyphen"}, {&ptab, &w, "ptab"}, {&instrText, &w, "instrText"}, {&delText, &w, "delText"},
      {&fldChar, &w, "fldChar"}, {&fldSimple, &w, "fldSimple"}, {&drawing, &w, "drawing"}, {&pict, &w, "pict"},
      {&object, &w, "object"}, {&control, &w, "control"}, {&objectEmbed, &w, "objectEmbed"}, {&tbl, &w, "tbl"},
      {&tr, &w, "tr"}, {&tc, &w, "tc"}, {&sectPr, &w, "sectPr"}, {&txbxContent, &w, "txbxContent"},
      {&sdt, &w, "sdt"}, {&sdtContent, &w, "sdtContent"}, {&hyperlink, &w, "hyperlink"}, {&ins, &w, "ins"},
      {&del, &w, "del"}, {&smartTag, &w, "smartTag"}, {&customXml, &w, "customXml"},
      {&fldCharType, &w, "fldCharType"}, {&instr, &w, "instr"}, {&headerReference, &w, "headerReference"},
      {&footerReference, &w, "footerReference"}, {&type, &w, "type"}, {&rId, &r, "id"}, {&id, &w, "id"},
      {&name, &w, "name"}, {&val, &w, "val"}, {&hdr, &w, "hdr"}, {&ftr, &w, "ftr"}, {&fldData, &w, "fldData"},
      {&footnoteReference, &w, "footnoteReference"}, {&endnoteReference, &w, "endnoteReference"},
      {&wpInline, &wp, "inline"}, {&wpAnchor, &wp, "anchor"}, {&wpExtent, &wp, "extent"}, {&wpDocPr, &wp, "docPr"},
      {&wpCNvGraphicFramePr, &wp, "cNvGraphicFramePr"}, {&aGraphic, &a, "graphic"},
      {&aGraphicData, &a, "graphicData"}, {&aGraphicFrameLocks, &a, "graphicFrameLocks"}, {&aBlip, &a, "blip"},
      {&aExt, &a, "ext"}, {&aXfrm, &a, "xfrm"}, {&picPic, &pic, "pic"}, {&picSpPr, &pic, "spPr"},
      {&vShape, &v, "shape"}, {&vRect, &v, "rect"}, {&vImagedata, &v, "imagedata"}, {&vTextbox, &v, "textbox"},
      {&oOLEObject, &o, "OLEObject"}, {&mcAlternateContent, &mc, "AlternateContent"}, {&mcChoice, &mc, "Choice"},
      {&mcFallback, &mc, "Fallback"}, {&wpsTxbx, &wps, "txbx"}, {&rEmbed, &r, "embed"}, {&rIdAttr, &r, "id"},
  };
  for (const auto& n : names) *n.slot = Join(*n.prefix, n.local);
  space = "xml:space";
}
