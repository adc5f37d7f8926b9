#include "platform/word/CEmbeddedObject.h"

#include <cstring>

#include "platform/com/ComRuntime.h"
#include "platform/word/CPackage.h"
#include "platform/word/CStory.h"

namespace {

// Class ids of common controls whose program ids Word reports.
struct SKnownControl {
  const char16_t* clsid;
  const char16_t* progId;
};
constexpr SKnownControl kKnownControls[] = {
    {u"{8BD21D10-EC42-11CE-9E0D-00AA006002F3}", u"Forms.TextBox.1"},
    {u"{8BD21D20-EC42-11CE-9E0D-00AA006002F3}", u"Forms.ListBox.1"},
    {u"{8BD21D30-EC42-11CE-9E0D-00AA006002F3}", u"Forms.ComboBox.1"},
    {u"{8BD21D40-EC42-11CE-9E0D-00AA006002F3}", u"Forms.CheckBox.1"},
    {u"{8BD21D50-EC42-11CE-9E0D-00AA006002F3}", u"Forms.OptionButton.1"},
    {u"{8BD21D60-EC42-11CE-9E0D-00AA006002F3}", u"Forms.ToggleButton.1"},
    {u"{D7053240-CE69-11CD-A777-00DD01143C57}", u"Forms.CommandButton.1"},
    {u"{978C9E23-D4B0-11CE-BF2D-00AA003F40D0}", u"Forms.Label.1"},
    {u"{4C599241-6926-101B-9992-00000B65C6F9}", u"Forms.Image.1"},
};

// Local name of a qualified name.
std::string_view Local(const char* name) {
  const char* colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

pugi::xml_attribute AttributeByLocal(const pugi::xml_node& node, std::string_view local) {
  for (auto a : node.attributes())
    if (Local(a.name()) == local) return a;
  return {};
}

CStr ProgIdOf(const CLSID& clsid) {
  CStr progId;
  if (SUCCEEDED(ProgIDFromCLSID(clsid, progId))) return progId;
  const CStr text = clsid.ToString();
  for (const auto& known : kKnownControls)
    if (text == known.clsid) return known.progId;
  return text;
}

void EscapeInto(std::string& out, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': out += "&#13;"; break;
      case '\n': out += "&#10;"; break;
      case '\t': out += "&#9;"; break;
      default: out += c;
    }
  }
}

}  // namespace

CEmbeddedObject CEmbeddedObject::Inspect(CStory& story, const pugi::xml_node& object) {
  const CXmlNames& n = story.Names();
  CPackage& package = story.Part().Package();
  CEmbeddedObject result;
  // w:object and w:pict hold the OLE object or control directly; look one level down.
  for (auto child : object.children()) {
    const std::string_view name = child.name();
    if (name == n.control) {
      result.kind = EKind::eControl;
      result.part = package.RelatedPart(story.Part(), child.attribute(n.rIdAttr.c_str()).value());
      if (result.part) {
        const auto root = result.part->Xml().document_element();
        if (auto parsed = CGuid::Parse(CStr::FromUtf8(AttributeByLocal(root, "classid").value()).View()))
          result.clsid = *parsed;
      }
      result.classType = ProgIdOf(result.clsid);
      return result;
    }
    if (name == n.oOLEObject || name == n.objectEmbed) {
      result.kind = EKind::eOleObject;
      const pugi::xml_attribute progId =
          name == n.oOLEObject ? child.attribute("ProgID") : child.attribute(n.W("progId").c_str());
      result.classType = CStr::FromUtf8(progId.value());
      result.part = package.RelatedPart(story.Part(), child.attribute(n.rIdAttr.c_str()).value());
      return result;
    }
  }
  return result;
}

PropertyBag CEmbeddedObject::ReadBag() const {
  PropertyBag bag;
  if (!part || !part->IsXml()) return bag;
  const auto root = part->Xml().document_element();
  for (auto child : root.children()) {
    const std::string_view local = Local(child.name());
    if (local == "ocxPr" || local == "property")
      bag.emplace_back(CStr::FromUtf8(AttributeByLocal(child, "name").value()),
                       CStr::FromUtf8(AttributeByLocal(child, "value").value()));
  }
  return bag;
}

void CEmbeddedObject::WriteBag(const PropertyBag& bag) const {
  if (!part) return;
  part->SetBytes(kind == EKind::eControl ? ControlPartXml(clsid, bag) : LivesheetPartXml(bag));
}

std::string CEmbeddedObject::ControlPartXml(const CLSID& clsid, const PropertyBag& bag) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
      "<ax:ocx xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" ax:classid=\"" +
      clsid.ToString().ToUtf8() + "\" ax:persistence=\"persistPropertyBag\">";
  for (const auto& [name, value] : bag) {
    xml += "<ax:ocxPr ax:name=\"";
    EscapeInto(xml, name.ToUtf8());
    xml += "\" ax:value=\"";
    EscapeInto(xml, value.ToUtf8());
    xml += "\"/>";
  }
  return xml + "</ax:ocx>";
}

std::string CEmbeddedObject::LivesheetPartXml(const PropertyBag& bag) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<livesheetItem xmlns=\"urn:folio:livesheetitem\">";
  for (const auto& [name, value] : bag) {
    xml += "<property name=\"";
    EscapeInto(xml, name.ToUtf8());
    xml += "\" value=\"";
    EscapeInto(xml, value.ToUtf8());
    xml += "\"/>";
  }
  return xml + "</livesheetItem>";
}
