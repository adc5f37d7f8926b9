#pragma once
#include <vector>

#include "folio/util/SystemUtils.h"

// Pieces of SystemUtils kept apart from the file system so that both path styles can be
// tested on any platform.
namespace SystemUtils {

bool IsRecognisedSeparator(char16_t c, EPathStyle style);
bool IsSlash(char16_t c, EPathStyle style);
char16_t AddedSeparator(EPathStyle style);

// The text PathExists looks up: in Windows style one final "\" is dropped.
CStr PathExistsQueryText(const CStr& path, EPathStyle style);
// Whether a file name matches a search pattern: "*" any run of characters, "?" one.
bool MatchesFilePattern(std::u16string_view name, std::u16string_view pattern);

// The folders CreateFolder checks and creates for a full path, shortest first: the
// drive, share or root, then one more component each. Empty when the path cannot name
// a folder (no component; in Windows style a wildcard, a ":" past index 1, or a network
// path without a share).
std::vector<CStr> PlanFolderCreation(const CStr& fullPath, EPathStyle style);

// The temporary folder query of this platform, in the way of GetTempPathW.
unsigned long NativeTempPathQuery(unsigned long length, char16_t* buffer);

}  // namespace SystemUtils
