#pragma once
#include <filesystem>
#include <optional>

namespace FolioCli {

// Temporary copies of the user's pictures, handed to Folio in their place: a generator
// deletes the file it is given, and a user's own images are never touched. A copy is
// a second name (a hard link) for the user's file where one can be made, so Folio
// reads the picture where it is: Folio only reads and removes the files it is given.
// The copies live in one private folder that is removed with this object.
class CPictureCopies {
public:
  CPictureCopies() = default;
  ~CPictureCopies();
  CPictureCopies(const CPictureCopies&) = delete;
  CPictureCopies& operator=(const CPictureCopies&) = delete;

  // A fresh copy of original (same extension); nullopt when it cannot be made, or when
  // original is a link or no regular file.
  std::optional<std::filesystem::path> Copy(const std::filesystem::path& original);
  // The private folder, empty until the first copy.
  const std::filesystem::path& Folder() const { return m_folder; }

private:
  bool MakeFolder();

  std::filesystem::path m_folder;
  unsigned m_count = 0;
};

}  // namespace FolioCli
