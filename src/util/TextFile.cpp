#include "folio/util/TextFile.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <memory>
#include <system_error>

#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"

namespace TextFile {

namespace {

struct SFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

[[noreturn]] void Fail(const char16_t* function, const char16_t* action, const CStr& path,
                       int error) {
  const CStr reason = CStr::FromUtf8(std::generic_category().message(error));
  throw EBase(function, CStr::DoStringFormat(u"%s \"%s\": %s", action, path, reason));
}

bool IsAscii(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

EEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    return EEncoding::eUtf16Le;
  // Widening UTF-8 byte by byte would garble every accented letter.
  if (!IsAscii(bytes) && IsValidUtf8(bytes)) return EEncoding::eUtf8;
  return EEncoding::eLatin1;
}

CStr Decode(std::string_view bytes) {
  switch (DetectEncoding(bytes)) {
    case EEncoding::eUtf16Le: {
      const std::size_t units = (bytes.size() - 2) / 2;
      std::u16string text(units, u'\0');
      if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(text.data(), bytes.data() + 2, units * 2);
      } else {
        for (std::size_t k = 0; k < units; ++k)
          text[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * k]) |
                                          static_cast<unsigned char>(bytes[3 + 2 * k]) << 8);
      }
      if (bytes.size() % 2) text += u'\uFFFD';
      return CStr(std::move(text));
    }
    case EEncoding::eUtf8: {
      if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
      std::u16string text;
      AppendUtf16(bytes, text);
      return CStr(std::move(text));
    }
    case EEncoding::eLatin1:
      break;
  }
  return CStr::FromLatin1(bytes);
}

std::string EncodeUtf16(const CStr& text) {
  std::string bytes;
  bytes.reserve(2 + text.GetLength() * 2);
  bytes += "\xFF\xFE";
  for (char16_t unit : text.View()) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string ReadBytes(const CStr& path) {
  errno = 0;
  const FilePtr file(SystemUtils::OpenFile(path, "rb"));
  if (!file) Fail(u"TextFile::Read", u"Unable to open", path, errno);
  std::string bytes;
  char chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, count);
  // A folder opens on POSIX and fails on the first read.
  if (std::ferror(file.get())) Fail(u"TextFile::Read", u"Unable to read", path, errno);
  return bytes;
}

CStr Read(const CStr& path) { return Decode(ReadBytes(path)); }

void Write(const CStr& path, const CStr& text) {
  const std::string bytes = EncodeUtf16(text);
  errno = 0;
  FilePtr file(SystemUtils::OpenFile(path, "wb"));
  if (!file) Fail(u"TextFile::Write", u"Unable to create", path, errno);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    Fail(u"TextFile::Write", u"Unable to write", path, errno);
  if (std::fclose(file.release()) != 0) Fail(u"TextFile::Write", u"Unable to write", path, errno);
}

}  // namespace TextFile
