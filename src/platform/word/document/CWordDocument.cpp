#include "platform/word/document/CWordDocument.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/com/CComError.h"
#include "platform/word/document/CEmbeddedObject.h"

namespace {

const char* const kEmptyDocument[][2] = {
    {"[Content_Types].xml",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
     "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
     "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
     "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
     "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
     "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
     "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
     "</Types>"},
    {"_rels/.rels",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
     "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
     "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
    {"word/document.xml",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
     "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
     "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
     "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
     "xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\">"
     "<w:body><w:p/><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
     "<w:pgMar w:top=\"1417\" w:right=\"1417\" w:bottom=\"1134\" w:left=\"1417\" w:header=\"708\" "
     "w:footer=\"708\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>"},
    {"word/_rels/document.xml.rels",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
     "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
     "styles\" Target=\"styles.xml\"/></Relationships>"},
    {"word/styles.xml",
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
     "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
     "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
     "</w:styles>"},
};

bool EndsWithLocal(const char* name, const char* local) {
  const char* colon = std::strrchr(name, ':');
  return std::strcmp(colon ? colon + 1 : name, local) == 0;
}

// The number after prefix in text ("Control12" -> 12), or 0 when text is not prefix and digits.
unsigned NumberAfter(std::string_view text, std::string_view prefix) {
  if (!text.starts_with(prefix) || text.size() == prefix.size() || text.size() > prefix.size() + 9) return 0;
  unsigned number = 0;
  for (char c : text.substr(prefix.size())) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number;
}

// The drawing number a node already uses: a picture's id, a control's "ControlN" name,
// or a VML shape's "_x0000_iN" id (numbered from 1024), so that new ones never repeat them.
unsigned UsedDrawingNumber(const pugi::xml_node& node) {
  if (EndsWithLocal(node.name(), "docPr")) return node.attribute("id").as_uint();
  if (EndsWithLocal(node.name(), "control")) {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
      if (EndsWithLocal(a.name(), "name")) return NumberAfter(a.value(), "Control");
    return 0;
  }
  if (EndsWithLocal(node.name(), "shape")) {
    const unsigned shape = NumberAfter(node.attribute("id").value(), "_x0000_i");
    return shape > 1024 ? shape - 1024 : 0;
  }
  return 0;
}

}  // namespace

std::shared_ptr<CWordDocument> CWordDocument::FromBytes(std::string bytes, std::filesystem::path path) {
  std::shared_ptr<CWordDocument> doc(new CWordDocument());
  doc->Adopt(CPackage::FromBytes(std::move(bytes)), std::move(path));
  return doc;
}

std::shared_ptr<CWordDocument> CWordDocument::Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                                   std::filesystem::path path) {
  std::shared_ptr<CWordDocument> doc(new CWordDocument());
  doc->Adopt(CPackage::Open(bytes, std::move(owner)), std::move(path));
  return doc;
}

void CWordDocument::Adopt(std::unique_ptr<CPackage> package, std::filesystem::path path) {
  m_package = std::move(package);
  m_main = m_package->MainPart();
  if (!m_main) throw CComError(HRESULT_INVALID_DATA, u"the package has no main document part");
  const std::string& type = m_main->ContentType();
  if (type.find("wordprocessingml") == std::string::npos && type.find("ms-word") == std::string::npos)
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the main part is no Word document (" + type + ")"));
  auto root = m_main->Xml().document_element();
  if (!EndsWithLocal(root.name(), "document") || !MainStory())
    throw CComError(HRESULT_INVALID_DATA, u"the main part has no document body");
  m_path = std::move(path);
}

std::shared_ptr<CWordDocument> CWordDocument::CreateEmpty() {
  std::vector<SZipSource> members;
  for (const auto& m : kEmptyDocument) members.push_back({m[0], m[1]});
  return FromBytes(CZipWriter::ToBytes(members));
}

std::shared_ptr<CStory> CWordDocument::MainStory() {
  auto root = m_main->Xml().document_element();
  const CXmlNames names(root);
  return StoryOf(*m_main, root.child(names.body.c_str()));
}

std::shared_ptr<CStory> CWordDocument::StoryOf(CPart& part, pugi::xml_node node) {
  if (!node) return nullptr;
  const auto documentElement = part.Xml().document_element();
  const CXmlNames names(documentElement);
  pugi::xml_node root = node;
  EStoryType type = EStoryType::eTextFrame;
  while (root && names.txbxContent != root.name() && names.body != root.name() && root != documentElement)
    root = root.parent();
  if (!root) return nullptr;
  if (names.body == root.name()) type = EStoryType::eMain;
  else if (root == documentElement)
    type = HeaderFooterType(part, names.hdr == root.name());
  auto& story = m_stories[root.internal_object()];
  if (!story || &story->Part() != &part) story = std::make_shared<CStory>(part, root, type);
  return story;
}

std::vector<CPart*> CWordDocument::HeaderFooterParts() {
  std::vector<CPart*> parts;
  for (const auto& rel : m_package->Relationships(m_main).All())
    if (!rel.external && (rel.type.ends_with("/header") || rel.type.ends_with("/footer")))
      if (CPart* part = m_package->FindPart(CPackage::ResolveTarget(m_main->Name(), rel.target))) parts.push_back(part);
  return parts;
}

namespace {

struct SReferenceKind {
  EStoryType type;
  bool header;
  std::string_view attribute;  // w:type; a missing one means "default"
};
constexpr SReferenceKind kReferenceKinds[] = {
    {EStoryType::eEvenPagesHeader, true, "even"},  {EStoryType::ePrimaryHeader, true, "default"},
    {EStoryType::eEvenPagesFooter, false, "even"}, {EStoryType::ePrimaryFooter, false, "default"},
    {EStoryType::eFirstPageHeader, true, "first"}, {EStoryType::eFirstPageFooter, false, "first"},
};

}  // namespace

std::vector<pugi::xml_node> CWordDocument::HeaderFooterReferences() {
  auto root = m_main->Xml().document_element();
  const CXmlNames n(root);
  auto body = root.child(n.body.c_str());
  // Sections in order: paragraph-level section properties, then the body's own.
  std::vector<pugi::xml_node> sections;
  for (auto block : body.children(n.p.c_str()))
    if (auto sect = block.child(n.pPr.c_str()).child(n.sectPr.c_str())) sections.push_back(sect);
  if (auto sect = body.child(n.sectPr.c_str())) sections.push_back(sect);
  std::vector<pugi::xml_node> references;
  for (auto sect : sections)
    for (auto ref : sect.children())
      if (n.headerReference == ref.name() || n.footerReference == ref.name()) references.push_back(ref);
  return references;
}

std::shared_ptr<CStory> CWordDocument::HeaderFooter(EStoryType type) {
  const auto kind = std::find_if(std::begin(kReferenceKinds), std::end(kReferenceKinds),
                                 [&](const SReferenceKind& k) { return k.type == type; });
  if (kind == std::end(kReferenceKinds)) return nullptr;
  const CXmlNames n(m_main->Xml().document_element());
  for (auto ref : HeaderFooterReferences()) {
    const std::string_view attribute = ref.attribute(n.type.c_str()).value();
    if ((n.headerReference == ref.name()) != kind->header || (attribute.empty() ? "default" : attribute) != kind->attribute)
      continue;
    CPart* part = m_package->RelatedPart(*m_main, ref.attribute(n.rIdAttr.c_str()).value());
    // A header reference must lead to a header part, a footer reference to a footer part.
    if (!part || (CXmlNames(part->Xml().document_element()).hdr == part->Xml().document_element().name()) != kind->header)
      continue;
    return StoryOf(*part, part->Xml().document_element());
  }
  return nullptr;
}

EStoryType CWordDocument::HeaderFooterType(const CPart& part, bool header) {
  const CXmlNames n(m_main->Xml().document_element());
  for (auto ref : HeaderFooterReferences()) {
    if ((n.headerReference == ref.name()) != header ||
        m_package->RelatedPart(*m_main, ref.attribute(n.rIdAttr.c_str()).value()) != &part)
      continue;
    const std::string_view attribute = ref.attribute(n.type.c_str()).value();
    for (const SReferenceKind& kind : kReferenceKinds)
      if (kind.header == header && kind.attribute == (attribute.empty() ? "default" : attribute)) return kind.type;
  }
  return header ? EStoryType::ePrimaryHeader : EStoryType::ePrimaryFooter;
}

unsigned CWordDocument::NextDrawingId() {
  if (m_nextDrawingId == 0) {
    unsigned highest = 0;
    std::vector<CPart*> parts = HeaderFooterParts();
    parts.push_back(m_main);
    for (CPart* part : parts) {
      for (pugi::xml_node node = part->Xml().document_element(); node;) {
        highest = std::max(highest, UsedDrawingNumber(node));
        if (node.first_child()) node = node.first_child();
        else {
          while (node && !node.next_sibling()) node = node.parent();
          if (node) node = node.next_sibling();
        }
      }
    }
    m_nextDrawingId = highest + 1;
  }
  return m_nextDrawingId++;
}

std::shared_ptr<IDispatch> CWordDocument::Component(CPart& part, bool control, const CLSID& clsid,
                                                    const std::function<std::shared_ptr<IDispatch>()>& make) {
  auto it = m_components.find(part.Name());
  if (it != m_components.end()) return it->second.object;
  auto object = make();
  m_components[part.Name()] = SComponent{object, control, clsid};
  return object;
}

std::string CWordDocument::SaveBytes() {
  SaveComponents();
  return m_package->Save();
}

void CWordDocument::SaveToFile(const std::filesystem::path& path) {
  SaveComponents();
  m_package->SaveToFile(path.string());
}

void CWordDocument::SaveComponents() {
  std::map<std::string, SComponent> saved;
  for (auto& [name, component] : m_components) {
    CPart* part = m_package->FindPart(name);
    auto* persist = dynamic_cast<IPersistPropertyBag*>(component.object.get());
    if (!part || !persist) {
      saved[name] = component;
      continue;
    }
    CEmbeddedObject object;
    object.kind = component.control ? CEmbeddedObject::EKind::eControl : CEmbeddedObject::EKind::eOleObject;
    object.clsid = component.clsid;
    object.part = part;
    // A part in an older form gets a new name when it is saved.
    saved[object.WriteBag(persist->Save())] = component;
  }
  m_components = std::move(saved);
}
