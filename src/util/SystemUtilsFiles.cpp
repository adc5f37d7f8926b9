// Files: existence, sizes, the temporary folder, unique names and write probes.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "folio/util/EBase.h"
#include "folio/util/SystemUtils.h"
#include "util/FileSafety.h"
#include "util/SystemUtilsDetail.h"

namespace SystemUtils {

std::filesystem::path ToFsPath(const CStr& path) {
#if defined(_WIN32)
  return std::filesystem::path(path.Str());
#else
  return std::filesystem::path(path.ToUtf8());
#endif
}

CStr FromFsPath(const std::filesystem::path& path) {
#if defined(_WIN32)
  return CStr(path.u16string());
#else
  return CStr::FromUtf8(path.native());
#endif
}

std::FILE* OpenFile(const CStr& path, const char* mode) {
#if defined(_WIN32)
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(ToFsPath(path).c_str(), wideMode.c_str());
#else
  return std::fopen(ToFsPath(path).c_str(), mode);
#endif
}

namespace {

struct SFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

template <typename Stream>
long long StreamSize(Stream& stream) {
  if (stream.fail()) return -1;
  const std::ios_base::iostate state = stream.rdstate();
  const auto position = stream.tellg();
  if (position == decltype(position)(-1)) {
    stream.clear(state);
    return -1;
  }
  stream.seekg(0, std::ios_base::end);
  if (stream.fail()) {
    stream.clear(state);
    return -1;
  }
  const auto end = stream.tellg();
  stream.seekg(position);
  if (stream.fail()) throw EBase(u"GetFileSize", u"Unable to reset file location");
  stream.clear(state);
  return end == decltype(end)(-1) ? -1 : static_cast<long long>(end);
}

}  // namespace

CStr PathExistsQueryText(const CStr& path, EPathStyle style) {
  if (style == EPathStyle::eWindows && path.EndsWith(u"\\"))
    return path.Left(path.GetLength() - 1);
  return path;
}

bool MatchesFilePattern(std::u16string_view name, std::u16string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starPattern = std::u16string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::u16string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool PathExists(const CStr& path) {
  if (path.IsEmpty()) return false;
  const CStr query = PathExistsQueryText(path, kNativePathStyle);
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(ToFsPath(query), error)))
    return true;
  // Like a file search, a pattern in the last component finds any entry it matches.
  const CStr pattern = GetFileName(query);
  if (pattern.Find(u"*") == CStr::npos && pattern.Find(u"?") == CStr::npos) return false;
  const CStr folder = query.Left(query.GetLength() - pattern.GetLength());
  const std::filesystem::path searched = folder.IsEmpty() ? "." : ToFsPath(folder);
  for (const auto& entry : std::filesystem::directory_iterator(searched, error)) {
    if (MatchesFilePattern(FromFsPath(entry.path().filename()).View(), pattern.View())) return true;
  }
  return false;
}

long long GetFileSize(std::FILE* file) {
  if (!file) return -1;
  const long position = std::ftell(file);
  if (position < 0) return -1;
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  if (std::fseek(file, position, SEEK_SET) != 0)
    throw EBase(u"GetFileSize", u"Unable to reset file location");
  return size;
}

long long GetFileSize(std::wistream& stream) { return StreamSize(stream); }

long long GetFileSize(std::istream& stream) { return StreamSize(stream); }

long long GetFileSize(const CStr& path) {
  std::error_code error;
  // A folder opens for reading on POSIX but not on Windows; it has no size here either.
  if (std::filesystem::is_directory(ToFsPath(path), error)) return 0;
  const FilePtr file(OpenFile(path, "rb"));
  if (!file) return 0;
  return GetFileSize(file.get());
}

unsigned long NativeTempPathQuery(unsigned long length, char16_t* buffer) {
  const char* variable = std::getenv("TMPDIR");
  CStr folder = CStr::FromUtf8(variable && *variable ? variable : "/tmp");
  folder = AddTrailingSeparator(folder, kNativePathStyle);
  const auto needed = static_cast<unsigned long>(folder.GetLength());
  if (length <= needed || !buffer) return needed + 1;
  folder.Str().copy(buffer, needed);
  buffer[needed] = u'\0';
  return needed;
}

CStr GetTempFolder() { return GetTempFolderHelper(TempPathQuery(NativeTempPathQuery)); }

namespace {

template <typename Char, typename Query>
std::basic_string<Char> AskTempPath(const Query& query) {
  const unsigned long needed = query(0, nullptr);
  if (needed == 0)
    throw EBase(u"GetTempFolderHelper", u"Unable to determine Windows temporary directory");
  std::vector<Char> buffer(needed + 1, Char(0));
  const unsigned long written = query(needed + 1, buffer.data());
  if (written == 0)
    throw EBase(u"GetTempFolderHelper", u"Unable to determine Windows temporary directory");
  return std::basic_string<Char>(buffer.data());
}

}  // namespace

CStr GetTempFolderHelper(const TempPathQuery& query) {
  return CStr(AskTempPath<char16_t>(query));
}

CStr GetTempFolderHelper(const NarrowTempPathQuery& query) {
  return CStr::FromLatin1(AskTempPath<char>(query));
}

CStr MakeUniqueFileName(const CStr& prefix, const CStr& extension, const std::tm& localTime) {
  const CStr stem = CStr::DoStringFormat(u"%s%04d-%02d-%02d %02d-%02d-%02d", prefix,
                                         localTime.tm_year + 1900, localTime.tm_mon + 1,
                                         localTime.tm_mday, localTime.tm_hour,
                                         localTime.tm_min, localTime.tm_sec);
  CStr candidate = stem + extension;
  for (unsigned long n = 1; PathExists(candidate); ++n)
    candidate = CStr::DoStringFormat(u"%s_%lu%s", stem, n, extension);
  return candidate;
}

std::tm LocalTimeNow() {
  std::tm local{};
  const std::time_t now = std::time(nullptr);
#if defined(_WIN32)
  _tzset();
  localtime_s(&local, &now);
#else
  tzset();
  localtime_r(&now, &local);
#endif
  return local;
}

CStr MakeUniqueFileName(const CStr& prefix, const CStr& extension) {
  return MakeUniqueFileName(prefix, extension, LocalTimeNow());
}

bool TestWriteAccess(bool isFile, const CStr& path) {
  if (path.IsEmpty()) return false;
  std::filesystem::path folder = ToFsPath(path);
  if (isFile) {
    const FileSafety::SWriteTarget target = FileSafety::ResolveWriteTarget(folder);
    if (!target.refusal.empty()) return false;
    if (target.exists) {
      // Opened for writing, never truncated; what the safe writer replaces is this file.
      const int fd = ::open(target.path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
      return fd >= 0 && ::close(fd) == 0;
    }
    folder = target.path.parent_path();
    if (folder.empty()) folder = ".";
  }
  // A new file can be made there: tried under a name nobody can guess or have prepared.
  std::filesystem::path probe;
  const int fd = FileSafety::CreateExclusiveFile(folder, ".folio-probe-", 0600, probe);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace SystemUtils
