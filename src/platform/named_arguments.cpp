// Named arguments are put in their parameter's place and the call goes through the positional
// `invoke`, which fills what is still left out.
#include "quorvel/platform/named_arguments.h"

#include <array>
#include <string>
#include <vector>

#include "quorvel/platform/error.h"
#include "argument_scratch.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

namespace {

char16_t fold(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool same_name(std::string_view declared, std::u16string_view given) noexcept {
  if (declared.size() != given.size()) return false;
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (fold(static_cast<char16_t>(static_cast<unsigned char>(declared[i]))) != fold(given[i])) return false;
  }
  return true;
}

// The description of the interface `view` answers to, as `invoke` reads it; null when it has none
// (and `invoke` then raises the proper error).
const InterfaceInfo* interface_of(Unknown& view) noexcept {
  Object& object = view.identity();
  return &view == static_cast<Unknown*>(&object) ? object.described_class().own : object.interface_of(&view);
}

[[noreturn, gnu::cold]] void raise_named(RuntimeError error, Unknown& target, const MemberInfo& m,
                                         std::u16string_view name, const char* why) {
  std::u16string text = runtime_error_description(error);
  const auto ascii = [&text](std::string_view s) { text.append(s.begin(), s.end()); };
  ascii(": ");
  ascii(target.identity().described_class().name);
  text += u'.';
  ascii(m.name);
  text += u'(';
  text += name.substr(0, 128);
  text += u')';
  ascii(why);
  raise_error(static_cast<std::int32_t>(error), library_name(), String(text));
}

Variant call_placed(Unknown& target, const MemberInfo& m, DispId id, MemberKind kinds, std::span<Variant> args,
                    std::span<const std::u16string_view> names) {
  const std::size_t n = m.params.size(), positional = args.size() - names.size();
  // Names only reach declared parameters: a call that also overflows them by position is wrong.
  if (positional > n) raise_runtime_error(RuntimeError::WrongArgumentCount);
  detail::ArgumentScratch scratch;
  const std::span<Variant> full = scratch.take(n);
  std::array<bool, 64> placed{};
  if (n > placed.size()) raise_runtime_error(RuntimeError::WrongArgumentCount);
  for (std::size_t i = 0; i < positional; ++i) {
    full[i] = args[i];
    placed[i] = true;
  }
  for (std::size_t j = 0; j < names.size(); ++j) {
    std::size_t k = 0;
    while (k < n && !same_name(m.params[k].name, names[j])) ++k;
    if (k == n) raise_named(RuntimeError::NamedArgumentNotFound, target, m, names[j], "");
    if (placed[k]) {
      raise_named(RuntimeError::InvalidProcedureCall, target, m, names[j],
                  k < positional ? " is also given by position" : " is named twice");
    }
    full[k] = args[positional + j];
    placed[k] = true;
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (!placed[k]) full[k] = Variant::missing();
  }
  return invoke(target, id, kinds, full);
}

}  // namespace

Variant invoke_named(Unknown& target, DispId id, MemberKind kinds, std::span<Variant> args,
                     std::span<const std::u16string_view> names) {
  if (names.empty()) return invoke(target, id, kinds, args);
  if (names.size() > args.size()) raise_runtime_error(RuntimeError::WrongArgumentCount);
  const InterfaceInfo* info = interface_of(target);
  const MemberInfo* m = info ? info->find(id, kinds) : nullptr;
  if (!m) return invoke(target, id, kinds, args);  // raises the missing member's own error
  Ref<Unknown> keep(&target);  // a member may drop the caller's last other reference
  return call_placed(target, *m, id, kinds, args, names);
}

Variant invoke_named(Unknown& target, std::u16string_view member, MemberKind kinds, std::span<Variant> args,
                     std::span<const std::u16string_view> names) {
  if (names.empty()) return invoke(target, member, kinds, args);
  return invoke_named(target, get_dispid(target, member), kinds, args, names);
}

}  // namespace quorvel
