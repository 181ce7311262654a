// Run-time loading of the library: LoadLibrary/GetProcAddress on Windows,
// dlopen/dlsym elsewhere.
#include "library_loader.h"

#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

#if defined(_WIN32)

LibraryLoader::~LibraryLoader() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

bool LibraryLoader::Load() {
  module_ = LoadLibraryA("TolvaricModeSupport.DLL");
  if (module_ == nullptr) {
    snprintf(error_, sizeof error_, "cannot load TolvaricModeSupport.DLL (error %lu)",
             GetLastError());
    return false;
  }
  return true;
}

void* LibraryLoader::Find(const char* exportName) {
  void* address = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), exportName));
  if (address == nullptr) {
    snprintf(error_, sizeof error_, "TolvaricModeSupport.DLL has no export %s", exportName);
  }
  return address;
}

#else

LibraryLoader::~LibraryLoader() {
  if (module_ != nullptr) dlclose(module_);
}

bool LibraryLoader::Load() {
  // The library sits beside the demo host.
  char path[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  char* lastSlash = length > 0 ? strrchr(path, '/') : nullptr;
  if (lastSlash != nullptr) {
    snprintf(lastSlash + 1, sizeof path - static_cast<size_t>(lastSlash + 1 - path),
             "libTolvaricModeSupport.so");
  } else {
    snprintf(path, sizeof path, "libTolvaricModeSupport.so");
  }
  module_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    // Installed: bin/tmsinfo finds lib/ through its run path.
    module_ = dlopen("libTolvaricModeSupport.so", RTLD_NOW | RTLD_LOCAL);
  }
  if (module_ == nullptr) {
    // dlerror names the file it tried.
    snprintf(error_, sizeof error_, "cannot load the library: %s", dlerror());
    return false;
  }
  return true;
}

void* LibraryLoader::Find(const char* exportName) {
  void* address = dlsym(module_, exportName);
  if (address == nullptr) {
    snprintf(error_, sizeof error_, "libTolvaricModeSupport.so has no export %s", exportName);
  }
  return address;
}

#endif
