// The package loader on the dynamic linker: dlopen, the package's exported entry points,
// and the bookkeeping that lets an unload take back what a package registered.
#include "host/designide/PackageLoader.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

#include "host/designide/DesignIntf.h"
#include "host/designide/Palette.h"
#include "host/rtl/Classes.h"

namespace {

struct TLoadedPackage {
  HMODULE Handle;
  std::string FileName;
  TPackageFinalizeProc Finalize;
};

std::vector<TLoadedPackage>& Loaded() {
  static std::vector<TLoadedPackage> loaded;
  return loaded;
}

struct TLibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};
using TLibrary = std::unique_ptr<void, TLibraryCloser>;

std::string LastDlError() {
  const char* e = dlerror();
  return e ? e : "unknown error";
}

// The end of the furthest part of the file that an ELF header of this class says it holds.
template <class Ehdr, class Phdr>
uint64_t ElfExtent(int Fd, uint64_t Size) {
  Ehdr header{};
  if (pread(Fd, &header, sizeof header, 0) != static_cast<ssize_t>(sizeof header)) return sizeof header;
  uint64_t extent = sizeof header;
  auto reach = [&](uint64_t Offset, uint64_t Length) { extent = std::max(extent, Offset + Length); };
  reach(header.e_phoff, uint64_t{header.e_phnum} * header.e_phentsize);
  if (header.e_shoff) reach(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize);
  if (header.e_phentsize != sizeof(Phdr) || header.e_phoff + uint64_t{header.e_phnum} * sizeof(Phdr) > Size)
    return extent;
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    Phdr segment{};
    if (pread(Fd, &segment, sizeof segment, static_cast<off_t>(header.e_phoff + i * sizeof(Phdr))) !=
        static_cast<ssize_t>(sizeof segment))
      return Size + 1;
    if (segment.p_type == PT_LOAD) reach(segment.p_offset, segment.p_filesz);
  }
  return extent;
}

// The dynamic linker maps a library's segments as its headers describe them; touching a part
// past the end of a cut-off file kills the process with SIGBUS. A library is checked whole first.
void CheckWholeLibrary(const std::string& FileName, const std::string& Path) {
  int fd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;  // dlopen names the reason
  struct stat info {};
  unsigned char ident[EI_NIDENT] = {};
  uint64_t extent = 0, size = 0;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      pread(fd, ident, sizeof ident, 0) == static_cast<ssize_t>(sizeof ident) &&
      std::memcmp(ident, ELFMAG, SELFMAG) == 0) {
    size = static_cast<uint64_t>(info.st_size);
    extent = ident[EI_CLASS] == ELFCLASS64 ? ElfExtent<Elf64_Ehdr, Elf64_Phdr>(fd, size)
                                           : ElfExtent<Elf32_Ehdr, Elf32_Phdr>(fd, size);
  }
  close(fd);
  if (extent > size)
    throw EPackageError(Format("Cannot load package '%s': the file is cut off (%d bytes of at least %d)",
                               {FileName, static_cast<long long>(size), static_cast<long long>(extent)}));
}

TLibrary OpenLibrary(const std::string& FileName) {
  // A bare name is a file in the working directory, not a library to search for.
  std::string path = FileName.find('/') == std::string::npos ? "./" + FileName : FileName;
  CheckWholeLibrary(FileName, path);
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) throw EPackageError(Format("Cannot load package '%s': %s", {FileName, LastDlError()}));
  return TLibrary(handle);
}

const link_map* LinkMapOf(void* handle) {
  link_map* map = nullptr;
  return dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 ? map : nullptr;
}

// True when Address lies in the library of that link map itself.
bool InLibrary(const void* Address, const link_map* Map) {
  Dl_info info;
  link_map* owner = nullptr;
  return Map && dladdr1(Address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) && owner == Map;
}

// An entry point the library itself exports; dlsym alone would also find one of a library
// it depends on.
template <class Proc>
Proc EntryPoint(void* handle, const char* Name, std::string& Reason) {
  dlerror();
  void* symbol = dlsym(handle, Name);
  if (!symbol) {
    Reason = LastDlError();
    return nullptr;
  }
  if (!InLibrary(symbol, LinkMapOf(handle))) {
    Reason = std::string("it exports no ") + Name + " of its own";
    return nullptr;
  }
  return reinterpret_cast<Proc>(symbol);
}

[[noreturn]] void NotAPackage(const std::string& FileName, const std::string& Reason) {
  throw EPackageError(Format("'%s' is not a package: %s", {FileName, Reason}));
}

const TPackageInfoTable& TableOf(void* handle, const std::string& FileName) {
  std::string reason;
  auto get = EntryPoint<TGetPackageInfoTableProc>(handle, "GetPackageInfoTable", reason);
  if (!get) NotAPackage(FileName, reason);
  const TPackageInfoTable* table = get();
  if (!table) NotAPackage(FileName, "it hands out no package table");
  return *table;
}

// Takes back what a package put into the designer: its property editors, its palette
// entries, and the registered classes that live in the package itself.
void Withdraw(HMODULE Module) {
  const link_map* map = LinkMapOf(Module);
  for (const TPaletteEntry& e : Palette())
    if (e.Module == Module && InLibrary(e.ComponentClass, map)) UnRegisterClass(e.ComponentClass);
  UnregisterModuleComponents(Module);
  UnregisterModuleEditors(Module);
}

std::string BaseName(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::vector<std::string> LoadedLibraryNames() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        if (info->dlpi_name && *info->dlpi_name)
          static_cast<std::vector<std::string>*>(data)->push_back(BaseName(info->dlpi_name));
        return 0;
      },
      &names);
  return names;
}

}  // namespace

void CheckRequiredPackages(const TPackageInfoTable& Table) {
  std::vector<std::string> loaded = LoadedLibraryNames();
  for (std::string_view required : Table.Requires)
    if (std::find(loaded.begin(), loaded.end(), BaseName(required)) == loaded.end())
      throw EPackageError(Format("Package %s requires package %s, which is not loaded", {Table.Name, required}));
}

HMODULE LoadPackage(const std::string& FileName) {
  TLibrary library = OpenLibrary(FileName);
  HMODULE module = library.get();
  if (std::any_of(Loaded().begin(), Loaded().end(), [&](const auto& p) { return p.Handle == module; }))
    throw EPackageError(Format("Package '%s' is already loaded", {FileName}));
  const TPackageInfoTable& table = TableOf(module, FileName);
  std::string reason;
  auto initialize = EntryPoint<TPackageInitializeProc>(module, "Initialize", reason);
  if (!initialize) NotAPackage(FileName, reason);
  auto finalize = EntryPoint<TPackageFinalizeProc>(module, "Finalize", reason);
  if (!finalize) NotAPackage(FileName, reason);
  auto registerProc = EntryPoint<TPackageRegisterProc>(module, "Register", reason);  // run-time packages have none
  CheckRequiredPackages(table);

  TRegisteringModule registering(module);
  try {
    initialize();
  } catch (...) {
    Withdraw(module);
    throw;
  }
  try {
    if (registerProc) registerProc();
  } catch (...) {
    Withdraw(module);
    finalize();
    throw;
  }
  Loaded().push_back({module, FileName, finalize});
  static_cast<void>(library.release());  // the list of loaded packages holds the handle from here
  return module;
}

void UnloadPackage(HMODULE Module) {
  auto& loaded = Loaded();
  auto it = std::find_if(loaded.begin(), loaded.end(), [&](const auto& p) { return p.Handle == Module; });
  if (it == loaded.end()) throw EPackageError("The module is not a loaded package");
  TPackageFinalizeProc finalize = it->Finalize;
  loaded.erase(it);
  TLibrary library(Module);
  std::exception_ptr failure;
  {
    TRegisteringModule registering(Module);
    try {
      finalize();
    } catch (...) {  // the package is taken back all the same; its error is reported after
      failure = std::current_exception();
    }
  }
  Withdraw(Module);
  if (failure) std::rethrow_exception(failure);
}

std::vector<HMODULE> LoadedPackages() {
  std::vector<HMODULE> out;
  for (const auto& p : Loaded()) out.push_back(p.Handle);
  return out;
}

std::string PackageFileName(HMODULE Module) {
  for (const auto& p : Loaded())
    if (p.Handle == Module) return p.FileName;
  throw EPackageError("The module is not a loaded package");
}

TPackageInfo GetPackageInfo(const TPackageInfoTable& Table) {
  TPackageInfo info;
  info.Name = Table.Name;
  info.Description = Table.Description;
  info.Flags = Table.Flags;
  for (std::string_view r : Table.Requires) info.Requires.emplace_back(r);
  for (const TPackageUnitEntry& u : Table.Units) info.Units.push_back({std::string(u.Name), u.Flags});
  for (const TResourceEntry& r : Table.Resources) {
    info.Resources.push_back({r.Name, r.Type, r.Data.size()});
    if (SameText(r.Name, "description") && SameText(r.Type, "UTF16")) {
      std::u16string text(r.Data.size() / 2, u'\0');
      std::memcpy(text.data(), r.Data.data(), text.size() * 2);
      info.Description = Utf16ToUtf8(text);
    }
  }
  return info;
}

TPackageInfo ReadPackageInfo(const std::string& FileName) {
  TLibrary library = OpenLibrary(FileName);
  return GetPackageInfo(TableOf(library.get(), FileName));
}
