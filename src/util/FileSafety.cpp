#include "util/FileSafety.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace FileSafety {

namespace {

constexpr int kMaxLinks = 40;     // as the kernel allows when it resolves a path
constexpr int kMaxDepth = 64;     // folder levels a copy goes down
constexpr int kMaxAttempts = 100;  // names tried before an exclusive create gives up

bool TrustedLink(const struct stat& info) { return info.st_uid == ::geteuid() || info.st_uid == 0; }

// openat with a new random name after stem; the name chosen goes to created.
int CreateExclusiveAt(int folder, const std::string& stem, mode_t mode, std::string& created) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    unsigned char random[6];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
    std::string name = stem;
    for (unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) {
      created = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool CopyBytes(int in, int out) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, buffer, static_cast<size_t>(n))) return false;
  }
}

struct SCopy {
  bool (*fault)() = nullptr;
  std::vector<fs::path> created;  // in the order made, so that undoing runs backwards

  bool Undo() {
    const int saved = errno;
    std::error_code ignored;
    for (auto it = created.rbegin(); it != created.rend(); ++it) fs::remove(*it, ignored);
    created.clear();
    errno = saved;
    return false;
  }
};

// Copies the open regular file in over name in folder to: a new file beside it renamed
// over it, so that a failure leaves what was there.
bool CopyFile(int in, const struct stat& info, int to, const std::string& name, const fs::path& toPath,
              SCopy& copy) {
  if (copy.fault && copy.fault()) {
    errno = EIO;
    return false;
  }
  struct stat existing {};
  const bool exists = ::fstatat(to, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && !S_ISREG(existing.st_mode)) {
    errno = S_ISDIR(existing.st_mode) ? EISDIR : EEXIST;
    return false;
  }
  std::string temporary;
  // The source's permissions less the umask and without set-user or set-group id.
  const int out = CreateExclusiveAt(to, "." + name + ".folio-", info.st_mode & 0777, temporary);
  if (out < 0) return false;
  bool ok = CopyBytes(in, out);
  ok = ::close(out) == 0 && ok;
  if (ok && ::renameat(to, temporary.c_str(), to, name.c_str()) == 0) {
    if (!exists) copy.created.push_back(toPath);
    return true;
  }
  const int saved = errno;
  ::unlinkat(to, temporary.c_str(), 0);
  errno = saved;
  return false;
}

// Opens name in folder to as a folder, making it when missing; never through a link.
int OpenOrMakeFolder(int to, const std::string& name, const struct stat& info, const fs::path& toPath,
                     SCopy& copy) {
  if (::mkdirat(to, name.c_str(), (info.st_mode & 0777) | S_IRWXU) == 0) copy.created.push_back(toPath);
  else if (errno != EEXIST) return -1;
  return ::openat(to, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool CopyOpened(int in, const struct stat& info, int to, const std::string& name, const fs::path& toPath,
                int depth, SCopy& copy);

// Copies entry name of folder from, unless it is a link, a pipe, a socket or a device.
bool CopyEntry(int from, const char* name, int to, const fs::path& toPath, int depth, SCopy& copy) {
  struct stat info {};
  if (::fstatat(from, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) return true;
  const int in = ::openat(from, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return false;
  struct stat opened {};
  // Swapped for something else since it was looked at: not what was listed.
  const bool same = ::fstat(in, &opened) == 0 && opened.st_ino == info.st_ino && opened.st_dev == info.st_dev;
  const bool ok = same ? CopyOpened(in, opened, to, name, toPath, depth, copy) : (errno = EAGAIN, false);
  ::close(in);
  return ok;
}

bool CopyFolder(int in, const struct stat& info, int to, const std::string& name, const fs::path& toPath,
                int depth, SCopy& copy) {
  if (depth >= kMaxDepth) {
    errno = ELOOP;
    return false;
  }
  const int out = OpenOrMakeFolder(to, name, info, toPath, copy);
  if (out < 0) return false;
  // The whole listing first: the copy must not see what it adds itself.
  std::vector<std::string> names;
  const int listing = ::dup(in);
  DIR* folder = listing < 0 ? nullptr : ::fdopendir(listing);
  if (!folder) {
    if (listing >= 0) ::close(listing);
    ::close(out);
    return false;
  }
  ::rewinddir(folder);
  errno = 0;
  while (const dirent* entry = ::readdir(folder)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  }
  bool ok = errno == 0;
  ::closedir(folder);
  for (size_t i = 0; ok && i < names.size(); ++i)
    ok = CopyEntry(in, names[i].c_str(), out, toPath / names[i], depth + 1, copy);
  const int saved = errno;
  ::close(out);
  errno = saved;
  return ok;
}

bool CopyOpened(int in, const struct stat& info, int to, const std::string& name, const fs::path& toPath,
                int depth, SCopy& copy) {
  if (S_ISREG(info.st_mode)) return CopyFile(in, info, to, name, toPath, copy);
  if (S_ISDIR(info.st_mode)) return CopyFolder(in, info, to, name, toPath, depth, copy);
  return true;
}

}  // namespace

SWriteTarget ResolveWriteTarget(const fs::path& path) {
  SWriteTarget target;
  target.path = path;
  if (path.empty()) {
    target.refusal = "no file name was given";
    return target;
  }
  for (int links = 0;; ++links) {
    if (::lstat(target.path.c_str(), &target.info) != 0) {
      if (errno != ENOENT) target.refusal = std::strerror(errno);
      return target;
    }
    if (!S_ISLNK(target.info.st_mode)) break;
    if (links == kMaxLinks) {
      target.refusal = std::strerror(ELOOP);
      return target;
    }
    if (!TrustedLink(target.info)) {
      target.refusal = "it is a link that belongs to another user";
      return target;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(target.path, ec);
    if (ec) {
      target.refusal = ec.message();
      return target;
    }
    target.path = next.is_absolute() ? next : target.path.parent_path() / next;
  }
  target.exists = true;
  if (!S_ISREG(target.info.st_mode)) target.refusal = "it is not a regular file";
  else if ((target.info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
    target.refusal = "it is read-only";
  return target;
}

int CreateExclusiveFile(const fs::path& folder, const std::string& prefix, mode_t mode, fs::path& created) {
  std::string name;
  const int fd = CreateExclusiveAt(AT_FDCWD, (folder.empty() ? fs::path(prefix) : folder / prefix).string(), mode, name);
  if (fd >= 0) created = name;
  return fd;
}

bool CopyTree(const fs::path& from, const fs::path& to, bool followFrom, bool (*fault)()) {
  SCopy copy;
  copy.fault = fault;
  fs::path target = to.lexically_normal();
  if (!target.has_filename()) target = target.parent_path();
  struct stat info {};
  if (::fstatat(AT_FDCWD, from.c_str(), &info, followFrom ? 0 : AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) return true;
  const int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followFrom ? 0 : O_NOFOLLOW));
  if (in < 0) return false;
  const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int out = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool ok = out >= 0 && ::fstat(in, &info) == 0 &&
            CopyOpened(in, info, out, target.filename().string(), target, 0, copy);
  if (!ok) copy.Undo();
  const int saved = errno;
  if (out >= 0) ::close(out);
  ::close(in);
  errno = saved;
  return ok;
}

}  // namespace FileSafety
