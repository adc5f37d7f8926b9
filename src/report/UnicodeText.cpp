#include "report/UnicodeText.h"

#include <bit>

#include "folio/util/TextFile.h"
#include "html/HTMLChars.h"
#include "platform/fs/CSafeFileWriter.h"

bool ReadReportText(const CStr& path, CStr& text, bool* hadMark) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  if (hadMark) *hadMark = TextFile::DetectEncoding(bytes) == TextFile::EEncoding::eUtf16Le;
  text = TextFile::Decode(bytes);
  std::u16string& units = text.Str();
  const char16_t* zero = folio_html::FindChar(units.data(), units.data() + units.size(), u'\0');
  units.resize(zero - units.data());
  return true;
}

namespace {
constexpr size_t kFlushAt = 1 << 16;
}

CBasic_OFStream::CBasic_OFStream(const CStr& path) : m_writer(std::make_unique<CSafeFileWriter>(path)) {
  m_buffer = "\xFF\xFE";
}

CBasic_OFStream::CBasic_OFStream() = default;

CBasic_OFStream::~CBasic_OFStream() = default;

bool CBasic_OFStream::Good() const { return !m_writer || m_writer->Good(); }

std::u16string_view CBasic_OFStream::Kept() const {
  static_assert(std::endian::native == std::endian::little, "kept bytes are read as UTF-16 in place");
  return {reinterpret_cast<const char16_t*>(m_buffer.data()), m_buffer.size() / 2};
}

CBasic_OFStream& CBasic_OFStream::operator<<(std::u16string_view text) {
  if constexpr (std::endian::native == std::endian::little) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    // A text as large as the buffer goes to the file as it is, not through a copy.
    if (m_writer && bytes.size() >= kFlushAt) {
      Flush();
      m_writer->Write(bytes);
      return *this;
    }
    m_buffer.append(bytes);
  } else {
    for (char16_t c : text) {
      m_buffer += static_cast<char>(c & 0xFF);
      m_buffer += static_cast<char>(c >> 8);
    }
  }
  if (m_writer && m_buffer.size() >= kFlushAt) Flush();
  return *this;
}

void CBasic_OFStream::Flush() {
  m_writer->Write(m_buffer);
  m_buffer.clear();
}

bool CBasic_OFStream::Close() {
  if (!m_writer) return true;
  Flush();
  return m_writer->Commit();
}
