#include "platform/word/CPart.h"

#include "platform/com/CComError.h"
#include "platform/word/CZipArchive.h"

namespace {

// Nesting depth of the deepest element, walked without recursion.
int MaxDepth(const pugi::xml_node& root, int stopAt) {
  int depth = 0, deepest = 0;
  pugi::xml_node node = root.first_child();
  while (node) {
    if (node.first_child()) {
      node = node.first_child();
      deepest = std::max(deepest, ++depth);
      if (deepest > stopAt) return deepest;
      continue;
    }
    while (node && !node.next_sibling()) {
      node = node.parent();
      --depth;
      if (node == root) return deepest;
    }
    if (node) node = node.next_sibling();
  }
  return deepest;
}

struct StringWriter : pugi::xml_writer {
  std::string* out;
  void write(const void* data, size_t size) override { out->append(static_cast<const char*>(data), size); }
};

}  // namespace

CPart::CPart(CPackage& package, std::string name, std::string contentType, std::string bytes)
    : m_package(&package), m_name(std::move(name)), m_contentType(std::move(contentType)),
      m_bytes(std::move(bytes)) {}

CPart::CPart(CPackage& package, std::string name, std::string contentType, CZipArchive& archive, std::size_t member)
    : m_package(&package), m_name(std::move(name)), m_contentType(std::move(contentType)), m_archive(&archive),
      m_member(member), m_loaded(false) {}

bool CPart::IsXml() const {
  return m_contentType.ends_with("+xml") || m_contentType.ends_with("/xml") || m_name.ends_with(".rels") ||
         m_name.ends_with(".xml");
}

pugi::xml_document& CPart::Xml() {
  if (m_xml) return *m_xml;
  Bytes();
  auto xml = std::make_unique<pugi::xml_document>();
  const pugi::xml_parse_result result = xml->load_buffer(m_bytes.data(), m_bytes.size(), kXmlParseOptions);
  if (!result)
    throw CComError(HRESULT_INVALID_DATA,
                    CStr::FromUtf8("the part \"/" + m_name + "\" is not well-formed XML at offset " +
                                   std::to_string(result.offset) + " (" + result.description() + ")"));
  if (MaxDepth(*xml, kMaxDepth) > kMaxDepth)
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the part \"/" + m_name + "\" nests elements deeper than " +
                                                         std::to_string(kMaxDepth) + " levels"));
  m_xml = std::move(xml);
  return *m_xml;
}

const std::string& CPart::Bytes() {
  if (!m_loaded) {
    m_bytes = m_archive->Inflate(m_member);
    m_loaded = true;
  }
  if (m_dirty && m_xml) {
    std::string out;
    out.reserve(m_bytes.size() + m_bytes.size() / 4);
    StringWriter writer;
    writer.out = &out;
    if (!m_xml->first_child() || m_xml->first_child().type() != pugi::node_declaration)
      out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    m_xml->save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    m_bytes = std::move(out);
    m_dirty = false;
    m_changed = true;
  }
  return m_bytes;
}

void CPart::SetBytes(std::string bytes) {
  m_bytes = std::move(bytes);
  m_xml.reset();
  m_loaded = true;
  m_dirty = false;
  m_changed = true;
}

std::uint64_t CPart::SizeHint() const {
  return m_loaded ? m_bytes.size() : m_archive->Members()[m_member].size;
}

SZipSource CPart::Source() {
  if (m_archive && !m_changed && !m_dirty && m_archive->Members()[m_member].Plain())
    return {m_name, {}, m_archive, m_member};
  return {m_name, Bytes()};
}
