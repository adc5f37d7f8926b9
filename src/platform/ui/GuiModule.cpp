#include "GuiModule.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using CreateFunction = IWindowing* (*)();

// Where this code lives: the shared library's path, or empty when it is part of a program.
std::filesystem::path OwnSharedLibrary() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&LoadGuiWindowing), &info) || !info.dli_fname) return {};
  const std::filesystem::path own = info.dli_fname;
  if (own.filename().string().rfind("libfolio.so", 0) != 0) return {};
  return own;
}

}  // namespace

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

std::shared_ptr<IWindowing> LoadGuiWindowing() {
  if (!HasDisplay()) return nullptr;
  const std::filesystem::path own = OwnSharedLibrary();
  if (own.empty()) return nullptr;
  const std::filesystem::path module = own.parent_path() / "libfolio_gui.so.0";
  // Never unloaded: the backend's code must outlive every window it made.
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) return nullptr;
  const auto create = reinterpret_cast<CreateFunction>(dlsym(handle, "FolioGui_CreateWindowing"));
  IWindowing* backend = create ? create() : nullptr;
  return std::shared_ptr<IWindowing>(backend);
}
