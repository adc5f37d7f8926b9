#include "platform/word/package/CPart.h"

#include <atomic>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/com/CComError.h"
#include "platform/word/zip/CZipArchive.h"
#include "platform/word/zip/Prefault.h"

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

// How many bytes are '<' or '=': sixteen at a time where the processor allows, since
// every part is counted before it is parsed.
std::size_t CountMarkup(std::string_view bytes) {
  std::size_t count = 0, i = 0;
#if defined(__SSE2__)
  const __m128i lt = _mm_set1_epi8('<'), eq = _mm_set1_epi8('=');
  while (bytes.size() - i >= 16) {
    // Each matching byte subtracts one from its lane: at most 255 rounds before the
    // lanes are summed.
    __m128i lanes = _mm_setzero_si128();
    for (int round = 0; round < 255 && bytes.size() - i >= 16; ++round, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
      lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, eq)));
    }
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
#endif
  for (; i < bytes.size(); ++i) count += bytes[i] == '<' || bytes[i] == '=';
  return count;
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
  CheckMarkup(Bytes());
  auto xml = std::make_unique<pugi::xml_document>();
  pugi::xml_parse_result result;
  if (m_archive && !m_changed) {
    // The archive can give the bytes again, so the parser may take them over in place.
    m_storage = m_loaded ? std::move(m_bytes) : m_archive->Inflate(m_member);
    m_bytes = std::string();
    m_loaded = false;
    result = xml->load_buffer_inplace(m_storage.data(), m_storage.size(), kXmlParseOptions);
  } else {
    result = xml->load_buffer(m_bytes.data(), m_bytes.size(), kXmlParseOptions);
  }
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

void CPart::CheckMarkup(std::string_view bytes) const {
  if (CountMarkup(bytes) > kMaxMarkup)
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the part \"/" + m_name + "\" holds more than " +
                                                         std::to_string(kMaxMarkup) + " tags and attributes"));
}

void SerialiseXml(const pugi::xml_document& xml, pugi::xml_writer& writer) {
  if (!xml.first_child() || xml.first_child().type() != pugi::node_declaration) {
    static constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    writer.write(kDeclaration.data(), kDeclaration.size());
  }
  xml.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
}

void SerialiseXml(const pugi::xml_document& xml, std::string& out) {
  StringWriter writer;
  writer.out = &out;
  SerialiseXml(xml, writer);
}

std::string CPart::Serialised() const {
  std::string text;
  ReservePrefaulted(text, m_storage.size() + m_storage.size() / 4, m_storage.size());
  SerialiseXml(*m_xml, text);
  return text;
}

const std::string& CPart::Bytes() {
  if (m_dirty && m_xml) {
    m_bytes = Serialised();
    m_loaded = true;
    m_dirty = false;
    m_changed = true;
  } else if (!m_loaded) {
    m_bytes = m_archive->Inflate(m_member);
    m_loaded = true;
  }
  return m_bytes;
}

std::uint64_t CPart::NextGeneration() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

void CPart::SetBytes(std::string bytes) {
  m_generation = NextGeneration();
  m_bytes = std::move(bytes);
  m_xml.reset();
  m_storage = std::string();
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
  if (!m_dirty || !m_xml) return {m_name, Bytes()};
  // Changed XML stays dirty: the tree remains the truth and the next save serialises it again.
  struct DeflatingWriter : pugi::xml_writer {
    CDeflater deflater;
    void write(const void* data, size_t size) override { deflater.Add({static_cast<const char*>(data), size}); }
  } writer;
  SerialiseXml(*m_xml, writer);
  SZipSource source;
  source.name = m_name;
  writer.deflater.Finish(m_deflated, source.crc, source.size);
  source.data = m_deflated;
  source.deflated = true;
  return source;
}
