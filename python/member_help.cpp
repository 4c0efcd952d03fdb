// help() text for a library object, written from the same description that late binding reads.
#include <algorithm>
#include <string>
#include <vector>

#include "module_support.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel::python {

namespace {

std::string type_text(const TypeDesc& t) {
  const auto kind = static_cast<VarKind>(t.code & kKindMask);
  const bool named = (kind == VarKind::Object || kind == VarKind::Record) && *t.type_name;
  std::string name = named ? t.type_name : kind_name(kind);
  if (t.code & kArrayFlag) name += "[]";
  return name;
}

// Name(Index: Long, [Optional: Variant], *Values: Variant[]) -> Long; a property without
// parameters reads as Name -> Long.
std::string signature(const MemberInfo& m, std::size_t shown) {
  std::string out = m.name;
  if (m.kind != MemberKind::Method && shown == 0) return out + " -> " + type_text(m.result);
  out += '(';
  for (std::size_t i = 0; i < shown; ++i) {
    const ParamInfo& p = m.params[i];
    // Appended piece by piece: g++ 12 warns falsely about `"literal" + std::string` under LTO.
    std::string one = m.vararg && i + 1 == m.params.size() ? "*" : "";
    one.append(p.name).append(": ").append(type_text(p.type));
    if (p.by_ref) one += " (by reference)";
    if (p.optional) one.insert(0, 1, '[').push_back(']');
    if (i) out += ", ";
    out += one;
  }
  out += ')';
  if (m.result.code != Variant::code(VarKind::Empty)) out += " -> " + type_text(m.result);
  return out;
}

void write_members(const InterfaceInfo& info, std::string& out) {
  std::vector<std::string> done;
  for (const MemberInfo& first : info.members()) {
    if (std::find(done.begin(), done.end(), first.name) != done.end()) continue;
    done.emplace_back(first.name);
    // A property's accessors share a name: one line shows the read signature and what it allows.
    const MemberInfo* shown = info.find(first.id, MemberKind::Method | MemberKind::Get);
    std::string kinds, help;
    for (const MemberInfo& m : info.members()) {
      if (m.id != first.id) continue;
      if (*m.help && help.empty()) help = m.help;
      if (m.kind == MemberKind::Get) kinds += kinds.empty() ? "get" : ", get";
      if (m.kind == MemberKind::Let) kinds += kinds.empty() ? "let" : ", let";
      if (m.kind == MemberKind::Set) kinds += kinds.empty() ? "set" : ", set";
    }
    const MemberInfo& m = shown ? *shown : first;
    // An assignment's value is its last parameter, not one of the property's own.
    const std::size_t params = shown ? m.params.size() : m.params.size() - (m.params.empty() ? 0 : 1);
    out += "  " + signature(m, params);
    if (m.kind != MemberKind::Method || !shown) out += "  [property: " + kinds + "]";
    if (first.id == 0) out += "  [default]";
    out += '\n';
    if (!help.empty()) out += "      " + help + '\n';
  }
}

}  // namespace

std::string member_help(Unknown& object) {
  const ClassInfo& c = object.identity().described_class();
  const InterfaceInfo& info = interface_info_of(object);
  std::string out = std::string(c.name) + (*c.help ? std::string(": ") + c.help : std::string()) + "\n\nMembers:\n";
  write_members(info, out);
  if (c.events) {
    out += "\nEvents (see quorvel.connect):\n";
    write_members(*c.events, out);
  }
  return out;
}

}  // namespace quorvel::python
