#include "platform/word/document/CEmbeddedObject.h"

#include <cstring>

#include "platform/com/CComError.h"
#include "platform/com/CCompoundFile.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/package/CPackage.h"
#include "platform/word/document/CStory.h"

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
      if (result.classType.IsEmpty() && result.part && result.part->Bytes().starts_with(CCompoundFile::kSignature)) {
        try {
          const SCompoundFile storage = CCompoundFile::Read(result.part->Bytes());
          if (const std::string* compObj = storage.Stream(u"\1CompObj")) result.classType = ProgIdOfCompObj(*compObj);
        } catch (const CComError&) {
          // a damaged storage names no class; reading its object reports the damage
        }
      }
      return result;
    }
  }
  return result;
}

namespace {

// The property elements of a bag document.
PropertyBag BagOf(const pugi::xml_node& root) {
  PropertyBag bag;
  for (auto child : root.children()) {
    const std::string_view local = Local(child.name());
    if (local == "ocxPr" || local == "property")
      bag.emplace_back(CStr::FromUtf8(AttributeByLocal(child, "name").value()),
                       CStr::FromUtf8(AttributeByLocal(child, "value").value()));
  }
  return bag;
}

bool IsCompoundFile(std::string_view bytes) { return bytes.starts_with(CCompoundFile::kSignature); }

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i, v >>= 8) out += static_cast<char>(v & 0xFF);
}

void PutAnsi(std::string& out, const std::string& text) {
  PutU32(out, static_cast<std::uint32_t>(text.size() + 1));
  out += text;
  out += '\0';
}

}  // namespace

PropertyBag CEmbeddedObject::ReadBag() const {
  if (!part) return {};
  const std::string& bytes = part->Bytes();
  if (IsCompoundFile(bytes)) {
    const SCompoundFile storage = CCompoundFile::Read(bytes);
    const std::string* stream = storage.Stream(kBagStream);
    if (!stream) return {};
    pugi::xml_document xml;
    if (!xml.load_buffer(stream->data(), stream->size())) return {};
    return BagOf(xml.document_element());
  }
  if (!part->IsXml()) return {};
  return BagOf(part->Xml().document_element());
}

std::string CEmbeddedObject::WriteBag(const PropertyBag& bag) const {
  if (!part) return {};
  if (kind == EKind::eControl) {
    part->SetBytes(ControlPartXml(clsid, bag));
    return part->Name();
  }
  SCompoundFile storage;
  const std::string& bytes = part->Bytes();
  if (IsCompoundFile(bytes)) storage = CCompoundFile::Read(bytes);
  CStr progId = classType;
  if (progId.IsEmpty()) ProgIDFromCLSID(clsid, progId);
  storage.clsid = clsid;
  // Replaces what the root holds of that name; its other streams and storages stay.
  auto put = [&](std::u16string_view name, std::string data) {
    const CStr key = CStr(std::u16string(name)).LowerAscii();
    std::erase_if(storage.streams, [&](const auto& stream) { return CStr(stream.first).LowerAscii() == key; });
    std::erase_if(storage.storages, [&](const SStorage& below) { return CStr(below.name).LowerAscii() == key; });
    storage.streams.emplace_back(name, std::move(data));
  };
  auto holds = [&](std::u16string_view name) { return storage.Stream(name) || storage.Storage(name); };
  if (!holds(u"\1CompObj")) put(u"\1CompObj", CompObj(clsid, progId));
  // An embedded (not linked) object with no moniker.
  if (!holds(u"\1Ole")) put(u"\1Ole", std::string("\x01\x00\x00\x02", 4) + std::string(16, '\0'));
  put(kBagStream, LivesheetPartXml(bag));
  if (part->IsXml()) {
    const std::string folder = part->Name().substr(0, part->Name().rfind('/') + 1);
    part->Package().RenamePart(*part, part->Package().UniquePartName(folder + "oleObject", ".bin"), kOleObjectContentType);
  } else if (part->ContentType() != kOleObjectContentType) {
    part->Package().RenamePart(*part, part->Name(), kOleObjectContentType);
  }
  part->SetBytes(CCompoundFile::Write(storage));
  return part->Name();
}

CStr CEmbeddedObject::ProgIdOfCompObj(std::string_view s) {
  size_t at = 28;  // past the header
  auto u32 = [&](std::uint32_t& v) {
    if (at + 4 > s.size()) return false;
    v = static_cast<std::uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8 |
                                   static_cast<unsigned char>(s[at + 2]) << 16) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
    at += 4;
    return true;
  };
  auto skip = [&](std::uint32_t n) {
    if (n > s.size() - at) return false;
    at += n;
    return true;
  };
  std::uint32_t length = 0;
  // The user type, then the clipboard format (none, a 4-byte id, or a name), then the program id.
  if (!u32(length) || !skip(length) || !u32(length)) return {};
  if ((length == 0xFFFFFFFF || length == 0xFFFFFFFE) ? !skip(4) : !skip(length)) return {};
  if (!u32(length) || length == 0 || length > s.size() - at) return {};
  std::string progId(s.substr(at, length));
  while (!progId.empty() && progId.back() == '\0') progId.pop_back();
  return CStr::FromUtf8(progId);
}

std::string CEmbeddedObject::CompObj(const CLSID& clsid, const CStr& progId) {
  std::string out;
  PutU32(out, 0xFFFE0001);
  PutU32(out, 0x00000A03);
  PutU32(out, 0xFFFFFFFF);
  const auto stored = clsid.StoredBytes();
  out.append(reinterpret_cast<const char*>(stored.data()), stored.size());
  const std::string name = progId.ToUtf8();
  PutAnsi(out, name);  // user type
  PutU32(out, 0);      // no clipboard format
  PutAnsi(out, name);  // program id
  return out;
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
