#pragma once
// Rules for writing and copying files in folders that other people may write to,
// decided once for the safe writer, the write probe and the folder copies.
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

namespace FileSafety {

// Where a write to a path really lands.
struct SWriteTarget {
  std::filesystem::path path;  // the file to replace or create
  bool exists = false;
  struct stat info {};  // of the existing file
  std::string refusal;  // why the path may not be written; empty when it may
};

// The file that writing to path replaces or creates. A link is written through (the
// link stays, its target gets the new content) only while every link on the way belongs
// to this user or the superuser. A link of someone else's, anything but a regular file,
// and a file this user may not write or that is marked read-only (no write bit at all,
// which even the superuser respects here) are refused.
SWriteTarget ResolveWriteTarget(const std::filesystem::path& path);

// Creates and opens a new file "<prefix>XXXXXX" (six random letters) in folder: created
// exclusively and never through a link, with mode less the umask. The descriptor, or -1
// with errno set; created receives the path.
int CreateExclusiveFile(const std::filesystem::path& folder, const std::string& prefix, mode_t mode,
                        std::filesystem::path& created);

// Copies the file or folder from to to, merging into a folder that is there and
// replacing files of the same name, each in one step. Links inside from are skipped,
// never followed, and so are pipes, sockets and devices; from itself is followed only
// when followFrom is set. Nothing in to is written through a link: a link in the way
// fails the copy. A failed copy removes everything it created; false then.
// fault, when given, is asked before each file and fails the copy when it says so.
bool CopyTree(const std::filesystem::path& from, const std::filesystem::path& to, bool followFrom,
              bool (*fault)() = nullptr);

}  // namespace FileSafety
