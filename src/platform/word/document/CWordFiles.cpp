#include "platform/word/document/CWordFiles.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/com/CComError.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/word/document/CLibreOffice.h"
#include "platform/word/zip/CFileBytes.h"

namespace fs = std::filesystem;

namespace {

std::string LowerExtension(const fs::path& path) {
  std::string ext = path.extension().string();
  for (auto& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

// A private temporary folder removed on scope exit.
struct STempFolder {
  CPrivateFolder folder;
  fs::path path;
  STempFolder() {
    if (folder.Path().IsEmpty()) throw CComError(E_FAIL, u"no private temporary folder can be made");
    path = fs::path(folder.Path().ToUtf8()).parent_path();
  }
};

// Each LibreOffice conversion costs seconds, and a report run opens the same template
// copy on every pass and saves each merged report twice. Conversions are remembered as
// what they are, a function of their input: the same bytes in the same direction give
// the same bytes out. A saved document is never opened from what was saved, only from
// what converting the file gives, so every check of a saved file stays honest.
class CConversionMemo {
public:
  std::optional<std::string> Find(std::string_view target, std::string_view input) {
    const std::lock_guard lock(m_mutex);
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(), [&](const SEntry& e) {
      return e.target == target && e.input == input;
    });
    if (entry == m_entries.end()) return std::nullopt;
    // The template is converted on every pass: what is used stays, what was used once goes.
    std::rotate(m_entries.begin(), entry, entry + 1);
    return m_entries.front().output;
  }

  void Remember(std::string target, std::string input, std::string output) {
    if (input.size() + output.size() > kMaxEntryBytes) return;
    const std::lock_guard lock(m_mutex);
    m_entries.push_front(SEntry{std::move(target), std::move(input), std::move(output)});
    if (m_entries.size() > kMaxEntries) m_entries.pop_back();
  }

private:
  static constexpr std::size_t kMaxEntries = 4;
  static constexpr std::size_t kMaxEntryBytes = 64u << 20;
  struct SEntry {
    std::string target;  // LibreOffice's filter
    std::string input;
    std::string output;
  };
  std::mutex m_mutex;
  std::deque<SEntry> m_entries;
};

CConversionMemo& Conversions() {
  static CConversionMemo memo;
  return memo;
}

// Converts bytes to the filter's format; LibreOffice, which names its output after its
// input, sees them as inputName in a private folder, made only when no earlier
// conversion of the same bytes is known.
std::string Convert(std::string bytes, const std::string& inputName, const std::string& filter) {
  if (std::optional<std::string> known = Conversions().Find(filter, bytes)) return std::move(*known);
  const STempFolder temp;
  const fs::path input = temp.path / inputName;
  CWordFiles::WriteAll(input, bytes);
  std::string output = CWordFiles::ReadAll(CLibreOffice::Convert(input, temp.path, filter));
  Conversions().Remember(filter, std::move(bytes), output);
  return output;
}

}  // namespace

fs::path CWordFiles::PathFromText(const CStr& text) { return fs::path(text.ToUtf8()); }

std::string CWordFiles::ReadAll(const fs::path& path) {
  std::optional<std::string> bytes = CFileBytes::Read(path);
  if (!bytes) throw CComError(HRESULT_FILE_NOT_FOUND, CStr::FromUtf8("the file \"" + path.string() + "\" cannot be opened"));
  return std::move(*bytes);
}

void CWordFiles::WriteAll(const fs::path& path, const std::string& bytes) {
  CSafeFileWriter out(CStr::FromUtf8(path.string()));
  out.Write(bytes);
  if (!out.Commit())
    throw CComError(E_ACCESSDENIED, CStr::FromUtf8("the file \"" + path.string() + "\" cannot be written: ") + out.GetError());
}

std::shared_ptr<CWordDocument> CWordFiles::Load(const fs::path& path) {
  std::error_code error;
  auto file = fs::is_directory(path, error) ? nullptr : CFileBytes::Open(path);
  if (!file)
    throw CComError(HRESULT_FILE_NOT_FOUND, CStr::FromUtf8("the file \"" + path.string() + "\" cannot be opened"));
  const std::string_view bytes = file->Bytes();
  if (bytes.starts_with("PK\x03\x04")) return CWordDocument::Open(bytes, file, fs::absolute(path));
  // A package's name on a file that is no package means damage, not a format to convert.
  const std::string extension = LowerExtension(path);
  if (extension == ".docx" || extension == ".docm" || extension == ".dotx" || extension == ".dotm")
    throw CComError(HRESULT_INVALID_DATA, CStr::FromUtf8("the file \"" + path.string() +
                                                         "\" is damaged: a Word document of this kind is a zip package, "
                                                         "and this file is none"));
  std::string package = Convert(std::string(bytes), "source" + extension, "docx:MS Word 2007 XML");
  return CWordDocument::FromBytes(std::move(package), fs::absolute(path));
}

void CWordFiles::Save(CWordDocument& doc, const fs::path& path, long fileFormat) {
  const std::string ext = LowerExtension(path);
  std::string target = "docx";
  if (fileFormat == 0 || (fileFormat < 0 && ext == ".doc")) target = "doc:MS Word 97";
  else if (fileFormat == 17 || (fileFormat < 0 && ext == ".pdf")) target = "pdf";
  else if (fileFormat < 0 && ext == ".rtf") target = "rtf";
  if (target == "docx") {
    doc.SaveToFile(path);
    return;
  }
  WriteAll(path, Convert(doc.SaveBytes(), "document.docx", target));
}
