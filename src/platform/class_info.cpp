// Member lookup tables of an interface description, built once when the description is made.
#include "quorvel/platform/class_info.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

std::string fold(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

int kind_slot(MemberKind k) noexcept {
  switch (k) {
    case MemberKind::Method: return 0;
    case MemberKind::Get: return 1;
    case MemberKind::Let: return 2;
    case MemberKind::Set: return 3;
  }
  return 0;
}

}  // namespace

std::size_t MemberInfo::required_count() const noexcept {
  std::size_t n = 0;
  for (const ParamInfo& p : params) n += p.optional ? 0 : 1;
  return n;
}

InterfaceInfo::InterfaceInfo(std::string name, Guid iid, std::vector<MemberInfo> members, const char* help)
    : name_(std::move(name)), iid_(iid), members_(std::move(members)), help_(help) {
  for (std::size_t i = 0; i < members_.size(); ++i) {
    const MemberInfo& m = members_[i];
    if (m.id < 0 || m.id > 4096) {
      std::fprintf(stderr, "quorvel: %s.%s has dispatch id %d outside 0..4096\n", name_.c_str(), m.name, m.id);
      std::abort();
    }
    const auto id = static_cast<std::size_t>(m.id);
    if (id >= by_id_.size()) by_id_.resize(id + 1, {-1, -1, -1, -1});
    auto& slot = by_id_[id][static_cast<std::size_t>(kind_slot(m.kind))];
    if (slot != -1) {
      std::fprintf(stderr, "quorvel: %s has two %s entries with dispatch id %d\n", name_.c_str(), m.name, m.id);
      std::abort();
    }
    slot = static_cast<std::int16_t>(i);
  }
  build_name_table();
}

namespace {

// FNV-1a over the folded name; folding and hashing happen in one pass on lookup.
constexpr std::uint32_t kFnvBasis = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

std::uint32_t hash_folded(std::string_view folded) noexcept {
  std::uint32_t h = kFnvBasis;
  for (char c : folded) h = (h ^ static_cast<unsigned char>(c)) * kFnvPrime;
  return h;
}

}  // namespace

// An ASCII unit folded to lower case.
static unsigned fold_unit(char16_t c) noexcept { return (c >= u'A' && c <= u'Z') ? c + 32u : c; }

// A folded stored name against a caller's name, folding as it goes: names are short, so a plain
// loop beats building a folded copy and calling memcmp.
static bool same_name(const std::string& stored, std::u16string_view name) noexcept {
  if (stored.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (static_cast<unsigned char>(stored[i]) != fold_unit(name[i])) return false;
  }
  return true;
}

void InterfaceInfo::build_name_table() {
  std::vector<std::pair<std::string, DispId>> names;
  for (const MemberInfo& m : members_) {
    std::string folded = fold(m.name);
    auto it = std::find_if(names.begin(), names.end(), [&](const auto& e) { return e.first == folded; });
    if (it == names.end()) {
      names.emplace_back(std::move(folded), m.id);
    } else if (it->second != m.id) {
      std::fprintf(stderr, "quorvel: %s.%s has two dispatch ids\n", name_.c_str(), m.name);
      std::abort();
    }
  }
  std::size_t size = 8;
  while (size < names.size() * 2) size *= 2;
  by_name_.assign(size, NameSlot{});
  name_mask_ = size - 1;
  for (auto& [folded, id] : names) {
    const std::uint32_t h = hash_folded(folded);
    std::size_t at = h & (size - 1);
    while (by_name_[at].id >= 0) at = (at + 1) & (size - 1);
    by_name_[at] = NameSlot{h, id, std::move(folded)};
  }
}

DispId InterfaceInfo::find_id(std::u16string_view name) const noexcept {
  if (by_name_.empty()) return -1;
  std::uint32_t h = kFnvBasis;
  for (char16_t c : name) {
    if (c > 0x7F || c == 0) return -1;  // member names are plain ASCII
    h = (h ^ fold_unit(c)) * kFnvPrime;
  }
  const NameSlot* slots = by_name_.data();
  for (std::size_t at = h & name_mask_;; at = (at + 1) & name_mask_) {
    const NameSlot& slot = slots[at];
    if (slot.id < 0) return -1;
    if (slot.hash == h && same_name(slot.folded, name)) return slot.id;
  }
}

bool InterfaceInfo::has_id(DispId id) const noexcept {
  if (id < 0 || static_cast<std::size_t>(id) >= by_id_.size()) return false;
  for (std::int16_t index : by_id_[static_cast<std::size_t>(id)]) {
    if (index >= 0) return true;
  }
  return false;
}

}  // namespace quorvel
