// The registry: descriptions are collected at load time by the registrars and resolved on first
// use, when every description can be built (they may refer to each other).
#include "quorvel/platform/registry.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "quorvel/platform/error.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

namespace {

struct Pending {
  std::vector<const ClassInfo& (*)()> classes;
  std::vector<const InterfaceInfo& (*)()> interfaces;
  std::vector<const EnumInfo& (*)()> enums;
  std::vector<const RecordInfo& (*)()> records;
};

Pending& pending() noexcept {
  static Pending p;
  return p;
}

bool equal_folded(std::string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = static_cast<unsigned char>(a[i]);
    char16_t y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

[[noreturn]] void raise_cannot_create() {
  raise_error(429, library_name(), String(u"Cannot create the object: no such class"));
}

// The per-thread instances of the global classes.
struct GlobalObjects {
  std::vector<std::pair<const ClassInfo*, Ref<Object>>> instances;
};

}  // namespace

String library_name() {
  const char* name = library_manifest().name;
  return String(std::u16string(name, name + std::strlen(name)));
}

bool register_class(const ClassInfo& (*describe)()) noexcept {
  pending().classes.push_back(describe);
  return true;
}
bool register_interface(const InterfaceInfo& (*describe)()) noexcept {
  pending().interfaces.push_back(describe);
  return true;
}
bool register_enum(const EnumInfo& (*describe)()) noexcept {
  pending().enums.push_back(describe);
  return true;
}
bool register_record(const RecordInfo& (*describe)()) noexcept {
  pending().records.push_back(describe);
  return true;
}

const TypeLibrary& type_library() {
  static const TypeLibrary library = [] {
    const LibraryManifest& manifest = library_manifest();
    TypeLibrary lib;
    lib.name = manifest.name;
    lib.major = manifest.major;
    lib.minor = manifest.minor;
    lib.lcid = manifest.lcid;
    for (auto f : manifest.classes) lib.classes.push_back(&f());
    for (auto f : manifest.interfaces) lib.interfaces.push_back(&f());
    for (auto f : manifest.enums) lib.enums.push_back(&f());
    for (auto f : manifest.records) lib.records.push_back(&f());
    for (auto f : pending().classes) lib.classes.push_back(&f());
    for (auto f : pending().interfaces) lib.interfaces.push_back(&f());
    for (auto f : pending().enums) lib.enums.push_back(&f());
    for (auto f : pending().records) lib.records.push_back(&f());
    auto by_name = [](const auto* a, const auto* b) { return std::strcmp(a->name, b->name) < 0; };
    std::sort(lib.classes.begin(), lib.classes.end(), by_name);
    std::sort(lib.enums.begin(), lib.enums.end(), by_name);
    std::sort(lib.records.begin(), lib.records.end(), by_name);
    std::sort(lib.interfaces.begin(), lib.interfaces.end(),
              [](const InterfaceInfo* a, const InterfaceInfo* b) { return std::strcmp(a->name(), b->name()) < 0; });
    return lib;
  }();
  return library;
}

const ClassInfo* find_class(std::u16string_view name) noexcept {
  for (const ClassInfo* c : type_library().classes) {
    if (equal_folded(c->name, name)) return c;
  }
  return nullptr;
}

const InterfaceInfo* find_interface_info(std::u16string_view name) noexcept {
  for (const InterfaceInfo* i : type_library().interfaces) {
    if (equal_folded(i->name(), name)) return i;
  }
  if (const ClassInfo* c = find_class(name)) return c->own;
  return nullptr;
}

Ref<Object> create_object(std::u16string_view progid) {
  const std::string_view prefix = type_library().name;
  if (progid.size() <= prefix.size() + 1 || !equal_folded(prefix, progid.substr(0, prefix.size())) ||
      progid[prefix.size()] != u'.') {
    raise_cannot_create();
  }
  const ClassInfo* c = find_class(progid.substr(prefix.size() + 1));
  if (!c || !c->creatable() || !c->create) raise_cannot_create();
  return c->create();
}

Ref<Object> create_object(const Guid& clsid) {
  for (const ClassInfo* c : type_library().classes) {
    if (c->clsid == clsid && c->creatable() && c->create) return c->create();
  }
  raise_cannot_create();
}

Ref<Object> global_object(std::u16string_view name) {
  const ClassInfo* c = find_class(name);
  if (!c || !c->global() || !c->create) raise_cannot_create();
  auto& globals = this_thread_context().slot<GlobalObjects>().instances;
  for (auto& [info, instance] : globals) {
    if (info == c) return instance;
  }
  Ref<Object> made = c->create();
  globals.emplace_back(c, made);
  return made;
}

}  // namespace quorvel
