#pragma once
#include <algorithm>
#include <memory>

#include "folio/util/CStr.h"

class CSafeFileWriter;

// Reports and templates as UTF-16LE text with the byte-order mark.

// Reads a file as text: after the mark UTF-16LE, otherwise UTF-8 or Latin-1 as the
// bytes say; the text ends at the first zero character. hadMark tells which it was.
bool ReadReportText(const CStr& path, CStr& text, bool* hadMark = nullptr);

// Writes UTF-16LE text, mark first. The file is replaced only by Close, so a failure at
// any point leaves an existing file as it was.
class CBasic_OFStream {
public:
  explicit CBasic_OFStream(const CStr& path);
  // Keeps the text in memory, without the mark, for the caller to place.
  CBasic_OFStream();
  ~CBasic_OFStream();
  bool Good() const;
  CBasic_OFStream& operator<<(std::u16string_view text);
  // Puts the written text in place; false when anything failed (the file is untouched).
  bool Close();
  // What a stream kept in memory: its text, and the same as UTF-16LE bytes.
  std::u16string_view Kept() const;
  std::string_view KeptBytes() const { return m_buffer; }
  // Drops what was kept from byte size on.
  void Truncate(std::size_t size) { m_buffer.resize(std::min(size, m_buffer.size())); }

private:
  void Flush();

  std::unique_ptr<CSafeFileWriter> m_writer;
  std::string m_buffer;
};
