// The component entry points: class factories over creation by class id, the unload query over
// the live-object count, and registration as a small text record per library in a directory.
#include "quorvel/component.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <system_error>

#include "quorvel/platform/ascii_case.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"
#include "last_error.h"

using namespace quorvel;
namespace fs = std::filesystem;

struct qv_factory_s {
  Guid clsid;
};

namespace {

std::atomic<std::int64_t> live_factories{0};

constexpr std::int32_t kClassNotRegistered = 429, kFileAccess = 75, kLoadFailed = 48, kBadArgument = 5;

qv_status fail(std::int32_t number, const char16_t* why) noexcept { return capi::record_failure(number, why); }

bool ends_with(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

fs::path records_directory(const char* directory) {
  if (directory) return fs::path(directory);
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return fs::path(data) / "quorvel" / "components";
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : ".") / ".local" / "share" / "quorvel" / "components";
}

std::string record_name() {
  const LibraryManifest& m = library_manifest();
  return std::string(m.name) + "-" + std::to_string(m.major) + "." + std::to_string(m.minor) + ".component";
}

// The file this code was loaded from.
std::string library_file() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&qv_register_server), &info) || !info.dli_fname) return {};
  std::error_code ec;
  const fs::path canonical = fs::canonical(info.dli_fname, ec);
  return ec ? std::string(info.dli_fname) : canonical.string();
}

}  // namespace

extern "C" {

qv_status qv_get_class_object(const char* clsid, qv_factory* out) {
  if (!clsid || !out) return fail(kBadArgument, u"null argument");
  *out = nullptr;
  Guid id;
  if (!Guid::parse(clsid, id)) return fail(kBadArgument, u"malformed class id");
  try {
    for (const ClassInfo* c : type_library().classes) {
      if (c->creatable() && c->clsid == id) {
        *out = new qv_factory_s{id};
        ++live_factories;
        return QV_OK;
      }
    }
  } catch (...) {
    return fail(static_cast<std::int32_t>(RuntimeError::OutOfMemory), u"no memory");
  }
  return fail(kClassNotRegistered, u"no such class");
}

qv_status qv_factory_create(qv_factory factory, qv_object* out) {
  if (!factory || !out) return fail(kBadArgument, u"null argument");
  const std::string text = factory->clsid.to_string();
  return qv_create_by_clsid(text.c_str(), out);
}

qv_status qv_factory_release(qv_factory factory) {
  if (!factory) return QV_OK;
  delete factory;
  --live_factories;
  return QV_OK;
}

int qv_can_unload_now(void) { return Object::live_count() == 0 && live_factories.load() == 0 ? 1 : 0; }

qv_status qv_register_server(const char* directory) {
  try {
    const fs::path dir = records_directory(directory);
    const std::string file = library_file();
    if (file.empty()) return fail(kFileAccess, u"library file unknown");
    std::ostringstream record;
    record << "library " << file << "\n";
    const LibraryManifest& m = library_manifest();
    for (const ClassInfo* c : type_library().classes) {
      if (c->creatable()) record << "class " << m.name << "." << c->name << " " << c->clsid.to_string() << "\n";
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path target = dir / record_name(), partial = dir / (record_name() + ".partial");
    {
      std::ofstream out(partial, std::ios::trunc);
      out << record.str();
      if (!out.flush()) return fail(kFileAccess, u"cannot write");
    }
    fs::rename(partial, target, ec);  // readers see the old record or the new one, never half
    if (ec) {
      fs::remove(partial, ec);
      return fail(kFileAccess, u"cannot write");
    }
    return QV_OK;
  } catch (...) {
    return fail(kFileAccess, u"cannot write");
  }
}

qv_status qv_unregister_server(const char* directory) {
  try {
    std::error_code ec;
    fs::remove(records_directory(directory) / record_name(), ec);
    return ec ? fail(kFileAccess, u"cannot remove") : QV_OK;
  } catch (...) {
    return fail(kFileAccess, u"cannot remove");
  }
}

qv_status qv_create_registered(const char* directory, const char* name, qv_object* out) {
  if (!name || !out) return fail(kBadArgument, u"null argument");
  *out = nullptr;
  std::string library, clsid;
  try {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(records_directory(directory), ec)) {
      if (!ends_with(entry.path().string(), ".component")) continue;
      std::ifstream in(entry.path());
      std::string line, file;
      while (std::getline(in, line) && clsid.empty()) {
        if (line.rfind("library ", 0) == 0) file = line.substr(8);
        if (line.rfind("class ", 0) != 0) continue;
        const std::size_t space = line.find(' ', 6);
        if (space == std::string::npos) continue;
        const std::string progid = line.substr(6, space - 6), id = line.substr(space + 1);
        if (same_ignoring_ascii_case(progid, name) || same_ignoring_ascii_case(id, name)) clsid = id, library = file;
      }
      if (!clsid.empty()) break;
    }
  } catch (...) {
    return fail(kFileAccess, u"cannot read the records");
  }
  if (clsid.empty() || library.empty()) return fail(kClassNotRegistered, u"not registered");
  // Loading the file that is loaded already hands back the same copy; it stays loaded.
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return fail(kLoadFailed, u"cannot load");
  using GetFactory = qv_status (*)(const char*, qv_factory*);
  using Create = qv_status (*)(qv_factory, qv_object*);
  using Release = qv_status (*)(qv_factory);
  auto get = reinterpret_cast<GetFactory>(dlsym(handle, "qv_get_class_object"));
  auto create = reinterpret_cast<Create>(dlsym(handle, "qv_factory_create"));
  auto release = reinterpret_cast<Release>(dlsym(handle, "qv_factory_release"));
  if (!get || !create || !release) return fail(kLoadFailed, u"not a component library");
  qv_factory factory = nullptr;
  if (const qv_status s = get(clsid.c_str(), &factory)) return s;
  const qv_status s = create(factory, out);
  release(factory);
  return s;
}

}  // extern "C"
