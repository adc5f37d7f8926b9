#include "platform/word/zip/CZipWriter.h"

#include <fcntl.h>
#include <unistd.h>
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "platform/com/CComError.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/word/zip/CZipArchive.h"

namespace {

// Already compressed formats gain nothing from deflate.
bool IsStoredAsIs(std::string_view name) {
  static constexpr std::string_view kStored[] = {".png", ".jpg", ".jpeg", ".gif", ".zip"};
  return std::any_of(std::begin(kStored), std::end(kStored), [&](std::string_view ext) {
    if (name.size() < ext.size()) return false;
    const std::string_view tail = name.substr(name.size() - ext.size());
    return std::equal(tail.begin(), tail.end(), ext.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
  });
}

void Put(std::string& out, std::uint64_t v, int width) {
  for (int i = 0; i < width; ++i, v >>= 8) out += static_cast<char>(v & 0xFF);
}

// 1980-01-01 00:00 in DOS form, so that equal documents give equal bytes.
constexpr std::uint16_t kDosTime = 0, kDosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint16_t kUtf8Names = 1 << 11;

struct SWritten {
  std::string_view name;
  std::uint32_t crc;
  std::uint64_t compressedSize, size, offset;
  std::uint16_t method;
};

// The fixed part shared by local headers and directory entries, from the version needed on.
void PutCommon(std::string& out, const SWritten& w) {
  Put(out, 20, 2);  // version needed: deflate
  Put(out, kUtf8Names, 2);
  Put(out, w.method, 2);
  Put(out, kDosTime, 2);
  Put(out, kDosDate, 2);
  Put(out, w.crc, 4);
  Put(out, w.compressedSize, 4);
  Put(out, w.size, 4);
  Put(out, w.name.size(), 2);
  Put(out, 0, 2);  // extra field length
}

// Writes the archive through sink, which takes each piece once, in order.
void WriteArchive(const std::vector<SZipSource>& entries, const std::function<void(std::string_view)>& sink) {
  std::vector<SWritten> written;
  std::uint64_t offset = 0;
  std::string header, compressed;
  for (const SZipSource& entry : entries) {
    SWritten w{entry.name, 0, 0, 0, offset, 0};
    std::string_view data;
    if (entry.copyFrom) {
      const SZipMember& member = entry.copyFrom->Members()[entry.copyMember];
      data = entry.copyFrom->Verified(entry.copyMember);
      w = {entry.name, member.crc, data.size(), member.size, offset, member.method};
    } else if (entry.deflated) {
      data = entry.data;
      w = {entry.name, entry.crc, data.size(), entry.size, offset, 8};
    } else {
      w.size = entry.data.size();
      if (IsStoredAsIs(entry.name)) {
        w.crc = CZipArchive::Crc32(entry.data);
        data = entry.data;
      } else {
        CZipWriter::Deflate(entry.data, compressed, w.crc);
        data = compressed;
        w.method = 8;
      }
      w.compressedSize = data.size();
    }
    if (w.size > 0xFFFFFFFEu || w.compressedSize > 0xFFFFFFFEu)
      throw CComError(E_FAIL, u"a zip member is larger than 4 GiB");
    header.clear();
    Put(header, 0x04034b50, 4);
    PutCommon(header, w);
    header += entry.name;
    sink(header);
    sink(data);
    offset += header.size() + data.size();
    if (offset > 0xFFFFFFFEu) throw CComError(E_FAIL, u"the zip archive would be larger than 4 GiB");
    written.push_back(w);
  }
  std::string directory;
  for (const SWritten& w : written) {
    Put(directory, 0x02014b50, 4);
    Put(directory, 20, 2);  // made by: MS-DOS attributes
    PutCommon(directory, w);
    Put(directory, 0, 2);  // comment length
    Put(directory, 0, 2);  // disk
    Put(directory, 0, 2);  // internal attributes
    Put(directory, 0, 4);  // external attributes
    Put(directory, w.offset, 4);
    directory += w.name;
  }
  if (written.size() > 0xFFFE) throw CComError(E_FAIL, u"the zip archive would have too many members");
  const std::uint64_t directorySize = directory.size();
  Put(directory, 0x06054b50, 4);
  Put(directory, 0, 4);  // disk numbers
  Put(directory, written.size(), 2);
  Put(directory, written.size(), 2);
  Put(directory, directorySize, 4);
  Put(directory, offset, 4);
  Put(directory, 0, 2);  // comment length
  sink(directory);
}

}  // namespace

struct CDeflater::SState {
  isal_zstream stream;
  std::unique_ptr<std::uint8_t[]> level{new std::uint8_t[ISAL_DEF_LVL1_SMALL]};
  std::string pending;  // small pieces, gathered so the compressor sees large ones
  std::string out;
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
};

namespace {
constexpr std::size_t kFeedSize = 64u << 10;
}

CDeflater::CDeflater() : m_state(std::make_unique<SState>()) {
  isal_deflate_init(&m_state->stream);
  m_state->stream.level = 1;
  m_state->stream.level_buf = m_state->level.get();
  m_state->stream.level_buf_size = ISAL_DEF_LVL1_SMALL;
  m_state->stream.gzip_flag = IGZIP_DEFLATE;
  m_state->pending.reserve(kFeedSize);
}

CDeflater::~CDeflater() = default;

void CDeflater::Add(std::string_view bytes) {
  SState& s = *m_state;
  if (s.pending.size() + bytes.size() <= kFeedSize) {
    s.pending += bytes;
    return;
  }
  Feed(s.pending, false);
  s.pending.clear();
  if (bytes.size() >= kFeedSize) Feed(bytes, false);
  else s.pending = bytes;
}

void CDeflater::Feed(std::string_view bytes, bool last) {
  SState& s = *m_state;
  s.size += bytes.size();
  if (s.size > 0xFFFFFFFEu) throw CComError(E_FAIL, u"a zip member is larger than 4 GiB");
  s.crc = CZipArchive::Crc32(bytes, s.crc);
  s.stream.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(bytes.data()));
  s.stream.avail_in = static_cast<std::uint32_t>(bytes.size());
  s.stream.end_of_stream = last ? 1 : 0;
  std::uint8_t chunk[16u << 10];
  do {
    s.stream.next_out = chunk;
    s.stream.avail_out = sizeof chunk;
    if (isal_deflate(&s.stream) != COMP_OK) throw CComError(E_FAIL, u"a zip member cannot be compressed");
    s.out.append(reinterpret_cast<const char*>(chunk), sizeof chunk - s.stream.avail_out);
  } while (s.stream.avail_in > 0 || (last && s.stream.internal_state.state != ZSTATE_END));
}

void CDeflater::Finish(std::string& out, std::uint32_t& crc, std::uint64_t& size) {
  Feed(m_state->pending, true);
  m_state->pending.clear();
  out = std::move(m_state->out);
  crc = m_state->crc;
  size = m_state->size;
}

void CZipWriter::Deflate(std::string_view bytes, std::string& out, std::uint32_t& crc) {
  CDeflater deflater;
  deflater.Add(bytes);
  std::uint64_t size = 0;
  deflater.Finish(out, crc, size);
}

std::string CZipWriter::ToBytes(const std::vector<SZipSource>& entries) {
  std::string bytes;
  WriteArchive(entries, [&](std::string_view piece) { bytes += piece; });
  return bytes;
}

void CZipWriter::ToFile(const std::string& path, const std::vector<SZipSource>& entries) {
  // Written the way every report is: nothing of the old document is lost until the new
  // one is whole on the disk.
  CSafeFileWriter out(CStr::FromUtf8(path));
  // Small pieces are gathered; large ones go straight from where they lie.
  std::string buffer;
  buffer.reserve(256u << 10);
  WriteArchive(entries, [&](std::string_view piece) {
    const bool large = piece.size() >= (8u << 10);
    if (large || buffer.size() + piece.size() > (256u << 10)) {
      if (!buffer.empty()) out.Write(buffer);
      buffer.clear();
    }
    if (large) out.Write(piece);
    else buffer += piece;
  });
  if (!buffer.empty()) out.Write(buffer);
  if (!out.Commit())
    throw CComError(E_ACCESSDENIED, CStr::FromUtf8("the file \"" + path + "\" cannot be written: ") + out.GetError());
}
