// The identity base: the process-wide count of live objects and the mapping between interface
// pointers and interface descriptions.
#include "quorvel/platform/object.h"

#include "quorvel/platform/class_info.h"

namespace quorvel {

namespace {
std::atomic<std::int64_t> g_live{0};
}

Object::Object() noexcept { g_live.fetch_add(1, std::memory_order_relaxed); }
Object::~Object() { g_live.fetch_sub(1, std::memory_order_relaxed); }

std::int64_t Object::live_count() noexcept { return g_live.load(std::memory_order_relaxed); }

Unknown* Object::interface_for(const InterfaceInfo& info) noexcept {
  // An interface class (one whose own interface is a published interface) is reached through
  // its implementation of that interface, so look for the interface first.
  if (Unknown* found = find_interface(info.iid())) return found;
  if (&info == described_class().own) return static_cast<Unknown*>(this);
  return nullptr;
}

const InterfaceInfo* Object::interface_of(const Unknown* view) noexcept {
  const ClassInfo& c = described_class();
  if (view == static_cast<const Unknown*>(this)) return c.own;
  for (const InterfaceInfo* i : c.implements) {
    if (find_interface(i->iid()) == view) return i;
  }
  return nullptr;
}

}  // namespace quorvel
