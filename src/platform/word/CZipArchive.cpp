#include "platform/word/CZipArchive.h"

#include <zip.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "platform/com/CComError.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8(what));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// Already compressed formats gain nothing from deflate.
bool IsStoredAsIs(std::string_view name) {
  static constexpr std::string_view kStored[] = {".png", ".jpg", ".jpeg", ".gif", ".zip"};
  const std::string lower = LowerAscii(name);
  return std::any_of(std::begin(kStored), std::end(kStored),
                     [&](std::string_view ext) { return lower.ends_with(ext); });
}

}  // namespace

bool CZipArchive::IsSafeName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.back() == '/') return false;
  if (name.find('\\') != std::string_view::npos || name.find('\0') != std::string_view::npos) return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return false;
    start = end + 1;
  }
  return true;
}

std::vector<SZipEntry> CZipArchive::Read(const std::string& bytes, const SZipLimits& limits) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) Fail("the document cannot be read as a zip archive");
  std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &error));
  if (!archive) {
    zip_source_free(source);
    std::string why = zip_error_strerror(&error);
    zip_error_fini(&error);
    Fail("the document is not a valid zip archive (" + why + ")");
  }
  zip_error_fini(&error);

  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  if (count < 0 || static_cast<std::uint64_t>(count) > limits.maxEntries)
    Fail("the document has " + std::to_string(count) + " zip entries, more than the limit of " +
         std::to_string(limits.maxEntries));

  std::vector<SZipEntry> entries;
  std::set<std::string> seen;
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive.get(), i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
      Fail("zip entry " + std::to_string(i) + " cannot be read");
    const std::string name = stat.name;
    if (!name.empty() && name.back() == '/') continue;  // folder entry
    if (!IsSafeName(name)) Fail("the zip entry \"" + name + "\" has an unsafe name");
    if (!seen.insert(LowerAscii(name)).second) Fail("the zip entry \"" + name + "\" appears twice");
    const std::uint64_t compressed = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;

    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive.get(), i, 0));
    if (!file) Fail("the zip entry \"" + name + "\" cannot be opened (" + zip_strerror(archive.get()) + ")");
    SZipEntry entry{name, {}};
    // The stored size is only a hint: it may lie, so it is capped, and the data is read
    // straight into the entry, growing it when the hint was short.
    size_t filled = 0;
    std::uint64_t hint = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    hint = std::min({hint, std::max<std::uint64_t>(compressed, 1) * limits.maxRatio, std::uint64_t{16} << 20});
    entry.data.resize(static_cast<size_t>(hint) + 1);
    for (;;) {
      if (filled == entry.data.size()) entry.data.resize(entry.data.size() * 2);
      const zip_int64_t got = zip_fread(file.get(), entry.data.data() + filled, entry.data.size() - filled);
      if (got < 0) Fail("the zip entry \"" + name + "\" is damaged (" + zip_file_strerror(file.get()) + ")");
      if (got == 0) break;
      filled += static_cast<size_t>(got);
      total += static_cast<std::uint64_t>(got);
      if (filled > limits.maxEntrySize)
        Fail("the zip entry \"" + name + "\" inflates beyond the limit of " + std::to_string(limits.maxEntrySize) + " bytes");
      if (total > limits.maxTotalSize)
        Fail("the zip entries inflate beyond the total limit of " + std::to_string(limits.maxTotalSize) + " bytes");
      if (filled > limits.ratioGrace && filled > limits.maxRatio * std::max<std::uint64_t>(compressed, 1))
        Fail("the zip entry \"" + name + "\" inflates more than " + std::to_string(limits.maxRatio) +
             " times its compressed size");
    }
    entry.data.resize(filled);
    if (entry.data.capacity() - filled > (1u << 20)) entry.data.shrink_to_fit();
    entries.push_back(std::move(entry));
  }
  return entries;
}

namespace {

// Adds the members to an open archive and closes it; CComError on failure.
void AddAndClose(zip_t* archive, const std::vector<SZipSource>& entries, const std::function<void()>& onFailure) {
  auto fail = [&](const std::string& what) {
    zip_discard(archive);
    onFailure();
    throw CComError(E_FAIL, CStr::FromUtf8(what));
  };
  for (const SZipSource& entry : entries) {
    const std::string name(entry.name);
    zip_source_t* data = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
    if (!data) fail("cannot add \"" + name + "\"");
    const zip_int64_t index = zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(data);
      fail("cannot add \"" + name + "\"");
    }
    // The fastest deflate level: documents are saved often and XML still shrinks well.
    zip_set_file_compression(archive, index, IsStoredAsIs(name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1);
    // 1980-01-01 00:00 in DOS form, so that equal documents give equal bytes.
    zip_file_set_dostime(archive, index, 0, (0 << 9) | (1 << 5) | 1, 0);
  }
  if (zip_close(archive) != 0) fail(std::string("cannot write the zip archive (") + zip_strerror(archive) + ")");
}

}  // namespace

void CZipArchive::WriteFile(const std::string& path, const std::vector<SZipSource>& entries) {
  int error = 0;
  // libzip writes a temporary file beside path and renames it on success.
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw CComError(E_ACCESSDENIED, CStr::FromUtf8("the file \"" + path + "\" cannot be written"));
  AddAndClose(archive, entries, [] {});
}

std::string CZipArchive::Write(const std::vector<SZipSource>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!target) throw CComError(E_OUTOFMEMORY);
  zip_source_keep(target);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (!archive) {
    zip_source_free(target);
    throw CComError(E_FAIL, u"the zip archive cannot be created");
  }
  AddAndClose(archive, entries, [&] { zip_source_free(target); });

  std::string bytes;
  zip_stat_t stat;
  if (zip_source_stat(target, &stat) == 0 && zip_source_open(target) == 0) {
    bytes.resize(stat.size);
    const zip_int64_t got = zip_source_read(target, bytes.data(), bytes.size());
    zip_source_close(target);
    bytes.resize(got < 0 ? 0 : static_cast<size_t>(got));
  }
  zip_source_free(target);
  if (bytes.empty()) throw CComError(E_FAIL, u"the zip archive came out empty");
  return bytes;
}
