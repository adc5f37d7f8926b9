#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "platform/word/zip/CZipWriter.h"

class CPackage;

// One part of a package: its name (no leading slash), content type and bytes, with
// the XML parsed on first use. Untouched parts are written back byte for byte.
class CPart {
public:
  CPart(CPackage& package, std::string name, std::string contentType, std::string bytes);
  // A part still inside archive (member i), inflated on first use.
  CPart(CPackage& package, std::string name, std::string contentType, CZipArchive& archive, std::size_t member);

  const std::string& Name() const { return m_name; }
  const std::string& ContentType() const { return m_contentType; }
  CPackage& Package() const { return *m_package; }
  bool IsXml() const;

  // The parsed XML; CComError when the part is not well-formed or nests too deeply.
  pugi::xml_document& Xml();
  // Records that the XML changed, so that saving serialises it.
  void MarkDirty() {
    m_dirty = true;
    m_generation = NextGeneration();
  }
  // Names the XML's state, unique across all parts, so that an index over the XML knows
  // when to rebuild: it changes with every edit and with new bytes.
  std::uint64_t Generation() const { return m_generation; }
  bool IsDirty() const { return m_dirty; }
  // The bytes to save: the original ones unless the XML changed.
  const std::string& Bytes();
  // Replaces the content (drops any parsed XML).
  void SetBytes(std::string bytes);
  // New name and content type; only the package calls this, keeping both in step.
  void Rename(std::string name, std::string contentType) {
    m_name = std::move(name);
    m_contentType = std::move(contentType);
  }
  // The size of the bytes; for a part not yet inflated, what the archive says.
  std::uint64_t SizeHint() const;
  // What to write: an unchanged part straight from its archive, else its bytes.
  SZipSource Source();

  // Deepest element nesting accepted in a part.
  static constexpr int kMaxDepth = 512;
  // Tags and attributes of one part, counted as its "<" and "=" before it is parsed:
  // the parsed tree takes about 64 bytes for each.
  static constexpr std::size_t kMaxMarkup = 2'000'000;

private:
  // CComError when bytes hold more markup than kMaxMarkup.
  void CheckMarkup(std::string_view bytes) const;
  std::string Serialised() const;

  CPackage* m_package;
  std::string m_name;
  std::string m_contentType;
  std::string m_bytes;
  std::string m_storage;  // the text an in-place parse points into; outlives m_xml
  std::unique_ptr<pugi::xml_document> m_xml;
  std::string m_deflated;  // the last saved form of changed XML
  CZipArchive* m_archive = nullptr;  // where the original bytes are, if anywhere
  std::size_t m_member = 0;
  bool m_loaded = true;
  bool m_changed = false;  // the bytes differ from the archive's
  bool m_dirty = false;
  std::uint64_t m_generation = NextGeneration();

  static std::uint64_t NextGeneration();
};

// Appends xml as parts are saved: unindented, after a standalone declaration unless
// the document has its own.
void SerialiseXml(const pugi::xml_document& xml, pugi::xml_writer& writer);
void SerialiseXml(const pugi::xml_document& xml, std::string& out);

// Parse options that keep a lone space in <w:t> and the declaration.
constexpr unsigned kXmlParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
