// Path texts: pure string functions in either path style, and their qualified forms.
#include <system_error>

#include "folio/util/SystemUtils.h"
#include "util/SystemUtilsDetail.h"

namespace SystemUtils {

bool IsRecognisedSeparator(char16_t c, EPathStyle style) {
  if (style == EPathStyle::ePosix) return c == u'/';
  return c == u'/' || c == u'\\' || c == u':';
}

bool IsSlash(char16_t c, EPathStyle style) {
  if (style == EPathStyle::ePosix) return c == u'/';
  return c == u'/' || c == u'\\';
}

char16_t AddedSeparator(EPathStyle style) { return style == EPathStyle::ePosix ? u'/' : u'\\'; }

namespace {

CStr::size_type LastSeparator(const CStr& path, EPathStyle style) {
  for (CStr::size_type i = path.GetLength(); i > 0; --i) {
    if (IsRecognisedSeparator(path[i - 1], style)) return i - 1;
  }
  return CStr::npos;
}

}  // namespace

CStr GetFileName(const CStr& path, EPathStyle style) {
  const CStr::size_type last = LastSeparator(path, style);
  return last == CStr::npos ? path : path.Mid(last + 1);
}

CStr GetFolder(const CStr& path, bool addSeparator, EPathStyle style) {
  const CStr::size_type last = LastSeparator(path, style);
  if (last == CStr::npos || last == 0) return CStr();
  std::u16string folder(path.View().substr(0, last));
  while (!folder.empty() && IsSlash(folder.back(), style)) folder.pop_back();
  if (addSeparator) folder += AddedSeparator(style);
  return CStr(std::move(folder));
}

CStr RemoveExtension(const CStr& path) {
  const CStr::size_type dot = path.ReverseFind(u'.');
  return dot == CStr::npos ? path : path.Left(dot);
}

CStr GetCompanionFolder(const CStr& path, EPathStyle style) {
  // Only the file name loses its extension: a dot in a folder's name is not one.
  const CStr name = GetFileName(path, style);
  const CStr::size_type dot = name.ReverseFind(u'.');
  const CStr::size_type cut = dot == CStr::npos ? path.GetLength() : path.GetLength() - name.GetLength() + dot;
  return path.Left(cut) + u"_files";
}

CStr AddTrailingSeparator(const CStr& path, EPathStyle style) {
  if (path.IsEmpty() || IsSlash(path[path.GetLength() - 1], style)) return path;
  return path + AddedSeparator(style);
}

CStr GetExtension(const CStr& path, EPathStyle style) {
  // A dot counts only when no separator or space follows it, as the shell has it.
  CStr::size_type dot = CStr::npos;
  for (CStr::size_type i = 0; i < path.GetLength(); ++i) {
    const char16_t c = path[i];
    if (c == u'.') dot = i;
    else if (c == u' ' || IsRecognisedSeparator(c, style)) dot = CStr::npos;
  }
  return dot == CStr::npos ? CStr() : path.Mid(dot);
}

CStr GetBaseName(const CStr& path, EPathStyle style) {
  const CStr name = GetFileName(path, style);
  return name.Left(name.GetLength() - GetExtension(name, style).GetLength());
}

CStr GetFullPath(const CStr& path) {
  if (path.IsEmpty()) return CStr();
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(ToFsPath(path), error);
  if (error) return CStr();
  std::filesystem::path normal = absolute.lexically_normal();
  // Normalising "a/b/.." leaves "a/"; keep a final separator only where the caller wrote one.
  if (normal.has_relative_path() && !normal.has_filename() &&
      !IsSlash(path[path.GetLength() - 1], kNativePathStyle))
    normal = normal.parent_path();
  CStr full = FromFsPath(normal);
  return full;
}

bool QualifyPath(CStr& path) {
  CStr full = GetFullPath(path);
  if (full.IsEmpty()) return false;
  path = std::move(full);
  return true;
}

}  // namespace SystemUtils
