#pragma once
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <istream>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// Paths, files, folders, unique names and companion folders. Path texts are UTF-16;
// they become native paths (UTF-8 on POSIX) only where the file system is asked.
namespace SystemUtils {

// Which separators a path function recognises and adds. Windows style recognises
// "/", "\" and ":" and adds "\"; POSIX style recognises and adds "/" only.
enum class EPathStyle { eWindows, ePosix };
#if defined(_WIN32)
inline constexpr EPathStyle kNativePathStyle = EPathStyle::eWindows;
#else
inline constexpr EPathStyle kNativePathStyle = EPathStyle::ePosix;
#endif

// Shell file operation codes of FileOperationWithCompanion.
enum EFileOperation { eMove = 1, eCopy = 2, eDelete = 3 };

// The file-system path for a text path, and back (undecodable bytes become U+FFFD).
FOLIO_API std::filesystem::path ToFsPath(const CStr& path);
FOLIO_API CStr FromFsPath(const std::filesystem::path& path);
// std::fopen for a text path; null with errno set on failure. The caller closes it.
FOLIO_API std::FILE* OpenFile(const CStr& path, const char* mode);

// Text after the last separator; the whole path without one; empty after a final one.
FOLIO_API CStr GetFileName(const CStr& path, EPathStyle style = kNativePathStyle);
// Text before the last separator less trailing separators, plus one when asked; empty
// when there is no separator or it is the first character.
FOLIO_API CStr GetFolder(const CStr& path, bool addSeparator = false,
                         EPathStyle style = kNativePathStyle);
// The path up to its last "." anywhere (folders included); the whole path without one.
FOLIO_API CStr RemoveExtension(const CStr& path);
// The companion folder of a document: the path less the extension of its file name,
// plus "_files". Unlike RemoveExtension, a dot in a folder's name is left alone.
FOLIO_API CStr GetCompanionFolder(const CStr& path, EPathStyle style = kNativePathStyle);
// The path with a separator appended unless it is empty or already ends with one.
FOLIO_API CStr AddTrailingSeparator(const CStr& path, EPathStyle style = kNativePathStyle);
// The extension with its dot, as the Windows shell finds it: the last "." not followed
// by a separator or a space; empty when there is none.
FOLIO_API CStr GetExtension(const CStr& path, EPathStyle style = kNativePathStyle);
// The file name less its extension.
FOLIO_API CStr GetBaseName(const CStr& path, EPathStyle style = kNativePathStyle);
// Makes path absolute and normal in place; false (path unchanged) when that fails.
FOLIO_API bool QualifyPath(CStr& path);
// The absolute, normal form of path (not checked against the disk); empty for empty.
FOLIO_API CStr GetFullPath(const CStr& path);

// Whether a file or folder exists at path, or matches it when its last component holds
// "*" or "?"; false for an empty path.
FOLIO_API bool PathExists(const CStr& path);
// Size of an open file, its position kept; -1 when it cannot be measured. Throws EBase
// "Unable to reset file location" when the position cannot be restored.
FOLIO_API long long GetFileSize(std::FILE* file);
FOLIO_API long long GetFileSize(std::wistream& stream);
FOLIO_API long long GetFileSize(std::istream& stream);
// Size of the file at path; 0 when it cannot be opened (or is a folder).
FOLIO_API long long GetFileSize(const CStr& path);

// Creates the folder and every missing parent; true when it exists afterwards and was
// created by this call or before. On failure what this call created is removed.
FOLIO_API bool CreateFolder(const CStr& folder);

// Queries the temporary folder in the way of GetTempPathW: asked with length 0 it gives
// the length needed (terminating zero included); with room, the characters written.
using TempPathQuery = std::function<unsigned long(unsigned long length, char16_t* buffer)>;
using NarrowTempPathQuery = std::function<unsigned long(unsigned long length, char* buffer)>;
// The user's temporary folder, with its final separator; EBase when it cannot be found.
FOLIO_API CStr GetTempFolder();
// The folder that query reports; EBase "Unable to determine Windows temporary directory"
// when it reports 0 in either call.
FOLIO_API CStr GetTempFolderHelper(const TempPathQuery& query);
// The same for a narrow query, whose result is widened byte by byte.
FOLIO_API CStr GetTempFolderHelper(const NarrowTempPathQuery& query);

// The local time now, with the time zone settings read afresh.
FOLIO_API std::tm LocalTimeNow();

// prefix + local "YYYY-MM-DD hh-mm-ss" [+ "_n"] + extension, the first that does not
// exist. Nothing is created.
FOLIO_API CStr MakeUniqueFileName(const CStr& prefix, const CStr& extension);
// The same with the time given.
FOLIO_API CStr MakeUniqueFileName(const CStr& prefix, const CStr& extension,
                                  const std::tm& localTime);

// Whether a file can be written at path (isFile) or in the folder path, by the rules
// the report writer keeps: a read-only file, anything but a regular file and a link of
// another user's are not writable. Never truncates or deletes an existing file, probes
// a folder under an unguessable name created exclusively, and leaves nothing behind.
FOLIO_API bool TestWriteAccess(bool isFile, const CStr& path);

// Moves, copies or deletes a file together with its companion folder
// (GetCompanionFolder) when that exists. Like the silent shell operation it replaces,
// an existing destination file is overwritten and an existing destination folder is
// merged into (files of the same name overwritten, each in one step, others kept);
// missing destination folders are created. Links inside the companion folder, and the
// companion folder itself when it is a link, are never followed: a copy skips them, a
// move takes the links as they are. False for a missing source, a file onto a folder
// (or the other way round), a link in the destination's way, a copy or move onto
// itself or into itself, or any failure on the way (a failed copy removes what it
// created; a failed move may leave part of the work done, as the shell does).
FOLIO_API bool FileOperationWithCompanion(const CStr& from, const CStr& to, int operation);

// The text for a common-dialog extended error code; "Unknown error code" otherwise.
FOLIO_API CStr GetCommonDialogErrorText(unsigned long code);

}  // namespace SystemUtils
