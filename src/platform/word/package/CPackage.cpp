#include "platform/word/package/CPackage.h"

#include <algorithm>

#include "platform/com/CComError.h"

namespace {

constexpr const char* kContentTypesName = "[Content_Types].xml";

std::string Lower(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string Extension(const std::string& name) {
  const auto dot = name.rfind('.');
  const auto slash = name.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Lower(name.substr(dot + 1));
}

}  // namespace

std::unique_ptr<CPackage> CPackage::FromBytes(std::string bytes, const SZipLimits& limits) {
  auto owner = std::make_shared<const std::string>(std::move(bytes));
  return Open(*owner, owner, limits);
}

std::unique_ptr<CPackage> CPackage::Open(std::string_view bytes, std::shared_ptr<const void> owner,
                                         const SZipLimits& limits) {
  std::unique_ptr<CPackage> package(new CPackage());
  package->m_archive = CZipArchive::Open(bytes, std::move(owner), limits);
  CZipArchive& archive = *package->m_archive;
  const auto& members = archive.Members();
  auto types = std::find_if(members.begin(), members.end(),
                            [](const SZipMember& m) { return Lower(m.name) == Lower(kContentTypesName); });
  if (types == members.end())
    throw CComError(HRESULT_INVALID_DATA, u"the document has no [Content_Types].xml: it is no Office Open XML package");
  package->ReadContentTypes(archive.Inflate(static_cast<size_t>(types - members.begin())));
  for (size_t i = 0; i < members.size(); ++i) {
    if (members.begin() + static_cast<std::ptrdiff_t>(i) == types) continue;
    const std::string& name = members[i].name;
    auto part = std::make_unique<CPart>(*package, name, package->ContentTypeFor(name), archive, i);
    // XML is read now, so that a damaged or hostile part fails the opening.
    if (part->IsXml()) part->Bytes();
    package->m_byName[Lower(name)] = part.get();
    package->m_parts.push_back(std::move(part));
  }
  return package;
}

void CPackage::ReadContentTypes(const std::string& bytes) {
  m_contentTypesBytes = bytes;
  m_contentTypes = std::make_unique<pugi::xml_document>();
  if (!m_contentTypes->load_buffer(bytes.data(), bytes.size(), kXmlParseOptions))
    throw CComError(HRESULT_INVALID_DATA, u"the part \"/[Content_Types].xml\" is not well-formed XML");
  for (auto node : m_contentTypes->document_element().children()) {
    const std::string_view kind = node.name();
    if (kind == "Default")
      m_defaults[Lower(node.attribute("Extension").value())] = node.attribute("ContentType").value();
    else if (kind == "Override") {
      std::string name = node.attribute("PartName").value();
      if (name.starts_with('/')) name.erase(0, 1);
      m_overrides[Lower(name)] = node.attribute("ContentType").value();
    }
  }
}

std::string CPackage::ContentTypeFor(const std::string& name) const {
  if (auto it = m_overrides.find(Lower(name)); it != m_overrides.end()) return it->second;
  if (auto it = m_defaults.find(Extension(name)); it != m_defaults.end()) return it->second;
  return "application/octet-stream";
}

CPart* CPackage::FindPart(const std::string& name) {
  auto it = m_byName.find(Lower(name));
  return it == m_byName.end() ? nullptr : it->second;
}

std::vector<CPart*> CPackage::Parts() {
  std::vector<CPart*> out;
  for (auto& p : m_parts) out.push_back(p.get());
  return out;
}

void CPackage::RegisterContentType(const std::string& name, const std::string& contentType) {
  if (ContentTypeFor(name) == contentType) return;
  auto root = m_contentTypes->document_element();
  const std::string ext = Extension(name);
  const bool mediaDefault = contentType.starts_with("image/") && !ext.empty() && !m_defaults.count(ext);
  if (mediaDefault) {
    auto node = root.prepend_child("Default");
    node.append_attribute("Extension") = ext.c_str();
    node.append_attribute("ContentType") = contentType.c_str();
    m_defaults[ext] = contentType;
  } else {
    auto node = root.append_child("Override");
    node.append_attribute("PartName") = ("/" + name).c_str();
    node.append_attribute("ContentType") = contentType.c_str();
    m_overrides[Lower(name)] = contentType;
  }
  m_contentTypesDirty = true;
}

CPart& CPackage::AddPart(const std::string& name, const std::string& contentType, std::string bytes) {
  if (!CZipArchive::IsSafeName(name)) throw CComError(E_INVALIDARG, CStr::FromUtf8("unsafe part name \"" + name + "\""));
  RemovePart(name);
  RegisterContentType(name, contentType);
  auto part = std::make_unique<CPart>(*this, name, contentType, std::move(bytes));
  CPart& ref = *part;
  m_byName[Lower(name)] = part.get();
  m_parts.push_back(std::move(part));
  return ref;
}

void CPackage::RemovePart(const std::string& name) {
  auto it = m_byName.find(Lower(name));
  if (it == m_byName.end()) return;
  CPart* part = it->second;
  m_byName.erase(it);
  ForgetOverride(name);
  std::erase_if(m_parts, [&](const std::unique_ptr<CPart>& p) { return p.get() == part; });
}

void CPackage::ForgetOverride(const std::string& name) {
  auto o = m_overrides.find(Lower(name));
  if (o == m_overrides.end()) return;
  m_overrides.erase(o);
  auto root = m_contentTypes->document_element();
  const std::string partName = std::string("/").append(Lower(name));
  for (auto node : root.children("Override"))
    if (Lower(node.attribute("PartName").value()) == partName) {
      root.remove_child(node);
      break;
    }
  m_contentTypesDirty = true;
}

void CPackage::RenamePart(CPart& part, const std::string& name, const std::string& contentType) {
  if (!CZipArchive::IsSafeName(name) || (FindPart(name) && FindPart(name) != &part))
    throw CComError(E_INVALIDARG, CStr::FromUtf8("the part cannot be renamed to \"" + name + "\""));
  const std::string old = part.Name();
  for (CPart* source : Parts()) {
    if (source->Name().ends_with(".rels")) continue;
    CRelationships rels = Relationships(source);
    for (const SRelationship& rel : rels.All())
      if (!rel.external && Lower(ResolveTarget(source->Name(), rel.target)) == Lower(old) &&
          Lower(ResolveTarget(source->Name(), rel.target)) != Lower(name))
        rels.Retarget(rel.id, RelativeTarget(source->Name(), name));
  }
  m_byName.erase(Lower(old));
  ForgetOverride(old);
  part.Rename(name, contentType);
  m_byName[Lower(name)] = &part;
  RegisterContentType(name, contentType);
}

std::string CPackage::ResolveTarget(const std::string& sourceName, const std::string& target) {
  std::vector<std::string> segments;
  std::string path;
  if (target.starts_with('/')) {
    path = target.substr(1);
  } else {
    const auto slash = sourceName.rfind('/');
    path = (slash == std::string::npos ? std::string() : sourceName.substr(0, slash + 1)) + target;
  }
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (segments.empty()) return {};
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string out;
  for (const auto& s : segments) out += (out.empty() ? "" : "/") + s;
  return CZipArchive::IsSafeName(out) ? out : std::string();
}

std::string CPackage::RelativeTarget(const std::string& sourceName, const std::string& partName) {
  const auto slash = sourceName.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : sourceName.substr(0, slash + 1);
  if (!folder.empty() && partName.starts_with(folder)) return partName.substr(folder.size());
  return "/" + partName;
}

CPart* CPackage::RelatedPart(const CPart& source, const std::string& id) {
  auto rel = Relationships(&source).Find(id);
  if (!rel || rel->external) return nullptr;
  const std::string name = ResolveTarget(source.Name(), rel->target);
  return name.empty() ? nullptr : FindPart(name);
}

std::string CPackage::UniquePartName(const std::string& prefix, const std::string& extension) {
  // Goes on from the last number given, so that adding many parts is not quadratic.
  size_t& next = m_nextPartNumber[Lower(prefix) + '\n' + Lower(extension)];
  for (size_t n = std::max<size_t>(next, 1);; ++n) {
    std::string name = prefix + std::to_string(n) + extension;
    if (!FindPart(name)) {
      next = n + 1;
      return name;
    }
  }
}

CPart* CPackage::MainPart() {
  auto rel = Relationships(nullptr).FindByType(RelType::kOfficeDocument);
  if (!rel) {
    // Strict documents use another namespace for the same relationship.
    for (const auto& r : Relationships(nullptr).All())
      if (r.type.ends_with("/officeDocument")) rel = r;
  }
  if (!rel || rel->external) return nullptr;
  return FindPart(ResolveTarget("", rel->target));
}

std::vector<SZipSource> CPackage::Members() {
  if (m_contentTypesDirty) {
    m_contentTypesBytes.clear();
    SerialiseXml(*m_contentTypes, m_contentTypesBytes);
    m_contentTypesDirty = false;
  }
  std::vector<SZipSource> entries{{kContentTypesName, m_contentTypesBytes}};
  entries.reserve(m_parts.size() + 1);
  for (auto& part : m_parts) entries.push_back(part->Source());
  return entries;
}

std::string CPackage::Save() { return CZipWriter::ToBytes(Members()); }

void CPackage::SaveToFile(const std::string& path) { CZipWriter::ToFile(path, Members()); }

CRelationships CPackage::Relationships(const CPart* source) {
  std::string relsName = CRelationships::RelsPartName(source ? source->Name() : "");
  CPart* existing = FindPart(relsName);
  SRelationshipIndex& index = m_relationshipIndexes[Lower(relsName)];
  return CRelationships(
      existing,
      [this, relsName]() -> CPart& {
        return AddPart(relsName, "application/vnd.openxmlformats-package.relationships+xml",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>");
      },
      index);
}
