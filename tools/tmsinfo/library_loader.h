// Loads the library by name at run time and finds its exports, as a host does.
#pragma once

class LibraryLoader {
 public:
  LibraryLoader() = default;
  ~LibraryLoader();
  LibraryLoader(const LibraryLoader&) = delete;
  LibraryLoader& operator=(const LibraryLoader&) = delete;

  // Loads TolvaricModeSupport.DLL (Windows) or libTolvaricModeSupport.so
  // from the demo host's own folder. On failure, error() says why.
  bool Load();
  // The address of an export, or null (error() then names it).
  void* Find(const char* exportName);
  const char* error() const { return error_; }

 private:
  void* module_ = nullptr;
  char error_[512] = {};
};
