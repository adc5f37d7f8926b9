#include "platform/shell/Shell.h"

#include "folio/util/SystemUtils.h"

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

bool ShellExecute(const CStr& verb, const CStr& path) {
  // xdg-open has one action for both verbs: the file's default program.
  (void)verb;
  const std::string file = path.ToUtf8();
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(file.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  // xdg-open returns once it has handed the file over; reap it so no zombie remains.
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool PathIsRelative(const CStr& path) { return SystemUtils::ToFsPath(path).is_relative(); }

bool PathIsDirectory(const CStr& path) {
  std::error_code error;
  return std::filesystem::is_directory(SystemUtils::ToFsPath(path), error);
}
