// The one per-thread state of the platform layer: the user's locale and keyed slots for the
// per-thread instances that the platform and the library create on first use.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

/// A locale id (0x409 is English, United States).
using Lcid = std::uint32_t;

/// Per-thread state, reached only through `this_thread_context()`, so tests can see and reset it
/// and nothing else is thread-local by accident.
class ThreadContext {
 public:
  /// The user's locale for conversions and text comparison on this thread; default 0x409.
  Lcid lcid = 0x409;

  /// The thread's instance of `T`, default-constructed on first use and destroyed with the
  /// thread (or by `reset()`). Each `T` is one slot.
  template <class T>
  T& slot() {
    const std::size_t id = slot_id<T>();
    if (id >= slots_.size()) slots_.resize(id + 1);
    if (!slots_[id]) slots_[id] = std::make_unique<Holder<T>>();
    return static_cast<Holder<T>&>(*slots_[id]).value;
  }

  /// Drops every slot and restores the default locale (slots are released newest first).
  void reset() noexcept;

  ~ThreadContext();

 private:
  struct HolderBase {
    virtual ~HolderBase() = default;
  };
  template <class T>
  struct Holder final : HolderBase {
    T value{};
  };
  static std::size_t next_slot_id() noexcept;
  template <class T>
  static std::size_t slot_id() noexcept {
    static const std::size_t id = next_slot_id();
    return id;
  }
  std::vector<std::unique_ptr<HolderBase>> slots_;
};

/// The calling thread's context.
ThreadContext& this_thread_context() noexcept;

}  // namespace quorvel
