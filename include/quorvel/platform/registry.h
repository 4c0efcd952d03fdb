// The class registry and the type library: every described class and interface registers itself
// once; creation by program id and class id, the per-thread global objects, and the type library
// as data all come from it.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/record.h"

namespace quorvel {

/// An enumeration of the type library.
struct EnumInfo {
  const char* name = "";
  std::vector<std::pair<const char*, std::int32_t>> values;
};

/// What a library built on this runtime says of itself: its name (also the program id prefix,
/// "Name.Class"), version and locale, and every class, interface, enumeration and record it
/// publishes.
struct LibraryManifest {
  const char* name = "";
  int major = 0;
  int minor = 0;
  std::uint32_t lcid = 0;
  std::span<const ClassInfo& (*const)()> classes;
  std::span<const InterfaceInfo& (*const)()> interfaces;
  std::span<const EnumInfo& (*const)()> enums;
  std::span<const RecordInfo& (*const)()> records;
};

/// Defined by the library (once, at its top): its manifest. The registry reads it on first use
/// and, because the registry refers to it, a static link keeps every class it lists.
const LibraryManifest& library_manifest() noexcept;

/// The library's name as a String: the source of the errors it raises without a sender.
String library_name();

/// The type library: name, version and locale, and everything it describes.
struct TypeLibrary {
  const char* name = "";
  int major = 0;
  int minor = 0;
  std::uint32_t lcid = 0;
  std::vector<const ClassInfo*> classes;
  std::vector<const InterfaceInfo*> interfaces;
  std::vector<const EnumInfo*> enums;
  std::vector<const RecordInfo*> records;
};

/// Registration of a class, interface, enumeration or record that is not in the manifest (a
/// host's or a test's own), done once per description by a static registrar in its file.
bool register_class(const ClassInfo& (*describe)()) noexcept;
bool register_interface(const InterfaceInfo& (*describe)()) noexcept;
bool register_enum(const EnumInfo& (*describe)()) noexcept;
bool register_record(const RecordInfo& (*describe)()) noexcept;

/// The whole type library, sorted by name within each list.
const TypeLibrary& type_library();

/// The class registered under `name` ("ArrayList_Long"), or null.
const ClassInfo* find_class(std::u16string_view name) noexcept;
/// The interface registered under `name` ("IArrayList"), or null; classes' own interfaces are
/// found under the class name.
const InterfaceInfo* find_interface_info(std::u16string_view name) noexcept;

/// Creates a creatable class by program id (the library's name, a dot, the class name:
/// "Quorvel.ArrayList_Long"; case-insensitive).
/// Raises 429 when no creatable class has that id.
Ref<Object> create_object(std::u16string_view progid);
/// Creates a creatable class by class id. Raises 429 when no creatable class has that id.
Ref<Object> create_object(const Guid& clsid);
/// The calling thread's instance of a global class ("QuorvelApp"), created on first use.
/// Raises 429 when no global class has that name.
Ref<Object> global_object(std::u16string_view name);

}  // namespace quorvel

/// Registers the class `C` (which has `static const ClassInfo& describe()`) with the registry.
#define QUORVEL_REGISTER_CLASS(C) \
  [[maybe_unused]] static const bool quorvel_registered_##C = ::quorvel::register_class(&C::describe)
/// Registers the interface `I` (which has `static const InterfaceInfo& interface_info()`).
#define QUORVEL_REGISTER_INTERFACE(I) \
  [[maybe_unused]] static const bool quorvel_registered_##I = ::quorvel::register_interface(&I::interface_info)
