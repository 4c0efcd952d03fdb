// Counted objects with interfaces: the identity base `Object`, the interface base `Unknown`, the
// implementation mixin `ObjectImpl` and the one-word counted reference `Ref<T>`.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "quorvel/platform/guid.h"
#include "quorvel/platform/memory.h"

namespace quorvel {

struct ClassInfo;
class InterfaceInfo;
class Object;

/// The base of every interface: counting and the way to the object behind it.
/// Interfaces are abstract classes deriving from `Unknown`; a class implements them through
/// `ObjectImpl`, which gives the one final definition of these members for all of them.
class Unknown {
 public:
  virtual void add_ref() const noexcept = 0;
  virtual void release() const noexcept = 0;
  /// The object itself: identity is sameness of this address, whatever interface is held.
  virtual Object& identity() noexcept = 0;
  /// The object's view as the interface `iid`, or null when it does not implement it (no count taken).
  virtual Unknown* find_interface(const Guid& iid) noexcept = 0;

 protected:
  ~Unknown() = default;
};

/// The identity of every counted object: holds the count and knows its class description.
class Object : public Unknown {
 public:
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  /// The class description (members, interfaces, ids) that drives late binding.
  virtual const ClassInfo& class_info() const noexcept = 0;
  /// `class_info()`, remembered after the first call (late binding asks on every call).
  const ClassInfo& described_class() const noexcept {
    if (!described_) described_ = &class_info();
    return *described_;
  }
  /// The view of this object that a call through `info` goes to (its own default interface
  /// when `info` is the class's own), or null.
  Unknown* interface_for(const InterfaceInfo& info) noexcept;
  /// Which interface description a pointer into this object answers to.
  const InterfaceInfo* interface_of(const Unknown* view) noexcept;

  /// Number of library objects alive in the process (constructed minus destroyed).
  static std::int64_t live_count() noexcept;

  // From the library's allocator, so that creating an object without memory raises 7.
  static void* operator new(std::size_t size) { return allocate_memory(size); }
  static void operator delete(void* block) noexcept { free_memory(block); }

 protected:
  /// Interfaces implemented by member views (`InterfaceView`) rather than by bases: a class
  /// whose own members would clash with an interface's (same name, other result) uses views.
  virtual Unknown* find_view(const Guid& iid) noexcept {
    (void)iid;
    return nullptr;
  }

  Object() noexcept;
  virtual ~Object();

  void retain() const noexcept { refs_.fetch_add(1, std::memory_order_relaxed); }
  void drop() const noexcept {
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 private:
  mutable std::atomic<std::int32_t> refs_{0};
  mutable const ClassInfo* described_ = nullptr;
};

/// An object that implements the interfaces `I...`; every class of ours and a caller's own
/// comparer or formatter derives from it. `Self` supplies `class_info()`.
template <class... I>
class ObjectImpl : public Object, public I... {
 public:
  void add_ref() const noexcept final { retain(); }
  void release() const noexcept final { drop(); }
  Object& identity() noexcept final { return *this; }
  Unknown* find_interface(const Guid& iid) noexcept final {
    Unknown* found = nullptr;
    ((found || !(iid == I::iid) ? void() : void(found = static_cast<I*>(this))), ...);
    return found ? found : find_view(iid);
  }
};

/// An interface implemented by a member of its object (so its member names cannot clash with the
/// object's own): counting and identity go to the object that holds it.
template <class I>
class InterfaceView : public I {
 public:
  explicit InterfaceView(Object& outer) noexcept : outer_(outer) {}
  InterfaceView(const InterfaceView&) = delete;
  InterfaceView& operator=(const InterfaceView&) = delete;
  void add_ref() const noexcept final { outer_.add_ref(); }
  void release() const noexcept final { outer_.release(); }
  Object& identity() noexcept final { return outer_; }
  Unknown* find_interface(const Guid& iid) noexcept final { return outer_.find_interface(iid); }

 protected:
  ~InterfaceView() = default;
  Object& outer_;
};

/// The `Unknown` view of any object or interface pointer (classes convert through `Object`).
template <class T>
Unknown* as_unknown(T* p) noexcept {
  if constexpr (std::is_base_of_v<Object, T>) {
    return static_cast<Unknown*>(static_cast<Object*>(p));
  } else {
    return static_cast<Unknown*>(p);
  }
}

/// A counted reference to an object or to one of its interfaces; null is Nothing.
/// One pointer wide; copying takes a reference, moving does not touch the count.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}  // NOLINT
  /// Takes a further reference to `p`.
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->add_ref();
  }
  Ref(const Ref& other) noexcept : Ref(other.p_) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) noexcept : Ref(static_cast<T*>(other.get())) {}  // NOLINT
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(Ref<U>&& other) noexcept : p_(static_cast<T*>(other.detach())) {}  // NOLINT
  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Ref() {
    if (p_) p_->release();
  }

  /// The one way to take over a pointer without adding a reference (its count is ours now).
  static Ref adopt(T* p) noexcept {
    Ref r;
    r.p_ = p;
    return r;
  }
  /// Gives up the pointer without releasing it.
  T* detach() noexcept { return std::exchange(p_, nullptr); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  /// The same object viewed as interface `U`, or Nothing when it lacks that interface.
  template <class U>
  Ref<U> query() const noexcept {
    if (!p_) return {};
    Unknown* found = as_unknown(p_)->find_interface(U::iid);
    return Ref<U>(static_cast<U*>(found));
  }

  /// Identity: both refer to the same object, whatever interfaces they hold.
  template <class U>
  bool same(const Ref<U>& other) const noexcept {
    if (!p_ || !other) return !p_ && !other;
    return &as_unknown(p_)->identity() == &as_unknown(other.get())->identity();
  }

 private:
  T* p_ = nullptr;
};

/// Creates a counted object: `make<ArrayList_Long>()`.
template <class T, class... A>
Ref<T> make(A&&... args) {
  return Ref<T>(new T(std::forward<A>(args)...));
}

}  // namespace quorvel
