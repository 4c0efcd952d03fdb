// `quorvel classes` and `quorvel describe`: the type library, read from the class descriptions,
// printed as a table or as IDL-like text.
#pragma once

#include <cstdio>
#include <string_view>

namespace quorvel::host {

/// One line per class: name, program id ("-" when not creatable), class id, and how it is
/// reached (creatable, global, or handed out by the library).
void print_classes(std::FILE* out);

/// The class, interface, enumeration or record called `name` (case ignored) as IDL-like text:
/// a class with its interfaces, its own members in slot order and its events. False when no
/// such name exists.
bool print_description(std::string_view name, std::FILE* out);

/// The whole type library: enumerations, records, interfaces and classes.
void print_type_library(std::FILE* out);

}  // namespace quorvel::host
