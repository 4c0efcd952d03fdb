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
    std::string folded = fold(m.name);
    auto it = std::find_if(by_name_.begin(), by_name_.end(), [&](const auto& e) { return e.first == folded; });
    if (it == by_name_.end()) {
      by_name_.emplace_back(std::move(folded), m.id);
    } else if (it->second != m.id) {
      std::fprintf(stderr, "quorvel: %s.%s has two dispatch ids\n", name_.c_str(), m.name);
      std::abort();
    }
  }
  std::sort(by_name_.begin(), by_name_.end());
}

DispId InterfaceInfo::find_id(std::u16string_view name) const noexcept {
  char folded[64];
  if (name.size() >= sizeof folded) return -1;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c > 0x7F || c == 0) return -1;  // member names are plain ASCII
    folded[i] = static_cast<char>(c);
  }
  const std::string_view key(folded, name.size());
  auto it = std::lower_bound(by_name_.begin(), by_name_.end(), key,
                             [](const auto& e, std::string_view k) { return std::string_view(e.first) < k; });
  if (it == by_name_.end() || it->first != key) return -1;
  return it->second;
}

const MemberInfo* InterfaceInfo::find(DispId id, MemberKind kinds) const noexcept {
  if (id < 0 || static_cast<std::size_t>(id) >= by_id_.size()) return nullptr;
  const auto& slots = by_id_[static_cast<std::size_t>(id)];
  for (MemberKind k : {MemberKind::Method, MemberKind::Get, MemberKind::Let, MemberKind::Set}) {
    if (!has_kind(kinds, k)) continue;
    const std::int16_t index = slots[static_cast<std::size_t>(kind_slot(k))];
    if (index >= 0) return &members_[static_cast<std::size_t>(index)];
  }
  return nullptr;
}

bool InterfaceInfo::has_id(DispId id) const noexcept {
  if (id < 0 || static_cast<std::size_t>(id) >= by_id_.size()) return false;
  for (std::int16_t index : by_id_[static_cast<std::size_t>(id)]) {
    if (index >= 0) return true;
  }
  return false;
}

}  // namespace quorvel
