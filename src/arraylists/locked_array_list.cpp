// The locked lists: the one-shot fill and the reading members, forwarded to the inner list.
#include "quorvel/arraylists/locked_array_list.h"

#include <type_traits>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

// Marks an initialiser as running, so that caller code it calls cannot start a second one whose
// content the first would then add to after the list was locked.
template <class Derived, class Inner>
class LockedArrayList<Derived, Inner>::FillGuard {
 public:
  explicit FillGuard(bool& filling) noexcept : filling_(filling) { filling_ = true; }
  ~FillGuard() { filling_ = false; }
  FillGuard(const FillGuard&) = delete;
  FillGuard& operator=(const FillGuard&) = delete;

 private:
  bool& filling_;
};

template <class Derived, class Inner>
LockedArrayList<Derived, Inner>::LockedArrayList() : inner_(make<Inner>()), reader_view_(*this) {}

template <class Derived, class Inner>
LockedArrayList<Derived, Inner>::~LockedArrayList() = default;

template <class Derived, class Inner>
Unknown* LockedArrayList<Derived, Inner>::find_view(const Guid& iid) noexcept {
  return iid == IArrayReader::iid ? &reader_view_ : nullptr;
}

template <class Derived, class Inner>
void LockedArrayList<Derived, Inner>::begin_fill() {
  once_.check_not_initialized(this);
  if (filling_) raise(Failure::InvalidState, sender());
}

template <class Derived, class Inner>
void LockedArrayList<Derived, Inner>::finish() {
  // Giving back the spare slots only saves memory: without memory to move into, they stay.
  try {
    inner_->Shrink(-1);
  } catch (const Error& e) {
    if (e.number() != static_cast<std::int32_t>(RuntimeError::OutOfMemory)) throw;
  }
  once_.mark_initialized();
}

template <class Derived, class Inner>
void LockedArrayList<Derived, Inner>::FromArray(Variant& Values) {
  begin_fill();
  FillGuard guard(filling_);
  inner_->SetArray(Values);
  finish();
}

template <class Derived, class Inner>
template <class Source>
void LockedArrayList<Derived, Inner>::fill_from(Source& source, std::int32_t lower, std::int32_t upper) {
  using Arg = std::remove_cvref_t<typename Inner::Arg>;
  // 64-bit, so that an upper bound of the largest Long ends the loop.
  for (std::int64_t i = lower; i <= upper; ++i) {
    inner_->AddItem(detail::convert_argument<Arg>(source.get_Item(static_cast<std::int32_t>(i))));
  }
}

template <class Derived, class Inner>
void LockedArrayList<Derived, Inner>::FromArrayList(Ref<IArrayList> ArrayList) {
  begin_fill();
  if (!ArrayList) raise_runtime_error(RuntimeError::ObjectNotSet);
  FillGuard guard(filling_);
  if (ArrayList->get_VarType() == kVarType) {
    inner_->SetArray(ArrayList->GetArray());
  } else {
    const std::int32_t lower = ArrayList->get_LowerBound();
    fill_from(*ArrayList, lower, ArrayList->get_UpperBound());
  }
  finish();
}

template <class Derived, class Inner>
void LockedArrayList<Derived, Inner>::FromArrayReader(Ref<IArrayReader> ArrayReader) {
  begin_fill();
  if (!ArrayReader) raise_runtime_error(RuntimeError::ObjectNotSet);
  FillGuard guard(filling_);
  const std::int32_t lower = ArrayReader->get_LowerBound();
  const std::int32_t upper = ArrayReader->get_UpperBound();
  if (ArrayReader->get_VarType() == kVarType) {
    inner_->SetArray(ArrayReader->GetArray());
  } else {
    fill_from(*ArrayReader, lower, upper);
  }
  finish();
}

template <class Derived, class Inner>
Ref<IArrayList> LockedArrayList<Derived, Inner>::Copy(const Variant& m, const Variant& n) {
  return inner_->Copy(m, n).template query<IArrayList>();
}

template <class Derived, class Inner>
std::int32_t LockedArrayList<Derived, Inner>::get_Count() {
  return inner_->get_Count();
}

template <class Derived, class Inner>
bool LockedArrayList<Derived, Inner>::Find(const Variant& Value, std::int32_t& retIndex) {
  using Arg = std::remove_cvref_t<typename Inner::Arg>;
  return inner_->Find(detail::convert_argument<Arg>(Value), retIndex);
}

template <class Derived, class Inner>
auto LockedArrayList<Derived, Inner>::GetArray() -> ArrayOf<Element> {
  return inner_->GetArray();
}

template <class Derived, class Inner>
auto LockedArrayList<Derived, Inner>::get_Item(std::int32_t Index) -> Result {
  return inner_->get_Item(Index);
}

template <class Derived, class Inner>
std::int32_t LockedArrayList<Derived, Inner>::get_LowerBound() {
  return inner_->get_LowerBound();
}

template <class Derived, class Inner>
std::int32_t LockedArrayList<Derived, Inner>::get_UpperBound() {
  return inner_->get_UpperBound();
}

template <class Derived, class Inner>
std::int32_t LockedArrayList<Derived, Inner>::get_VarType() {
  return kVarType;
}

namespace {

// The own interface of locked list class `C`, in type-library order; Item is the default member.
template <class C>
ClassInfo describe_locked_list() {
  return describe_class<C, IArrayInitializer, IArrayReader>(
      ClassFlags::None, {method<&C::Copy>("Copy", 1, opt("m"), opt("n")), get<&C::get_Count>("Count", 2),
                         method<&C::Find>("Find", 3, "Value", "retIndex"), method<&C::GetArray>("GetArray", 4),
                         get<&C::get_Item>("Item", 0, "Index"), get<&C::get_LowerBound>("LowerBound", 5),
                         get<&C::get_UpperBound>("UpperBound", 6), get<&C::get_VarType>("VarType", 7)});
}

}  // namespace

#define QUORVEL_LOCKED_LIST(C, Inner)                         \
  template class LockedArrayList<C, Inner>;                   \
  template class LockedReaderView<LockedArrayList<C, Inner>>; \
  const ClassInfo& C::describe() {                            \
    static const ClassInfo info = describe_locked_list<C>();  \
    return info;                                              \
  }

QUORVEL_LOCKED_LIST(LockedArrayList_Boolean, ArrayList_Boolean)
QUORVEL_LOCKED_LIST(LockedArrayList_Byte, ArrayList_Byte)
QUORVEL_LOCKED_LIST(LockedArrayList_Double, ArrayList_Double)
QUORVEL_LOCKED_LIST(LockedArrayList_Integer, ArrayList_Integer)
QUORVEL_LOCKED_LIST(LockedArrayList_Long, ArrayList_Long)
QUORVEL_LOCKED_LIST(LockedArrayList_Single, ArrayList_Single)
QUORVEL_LOCKED_LIST(LockedArrayList_String, ArrayList_String)

#undef QUORVEL_LOCKED_LIST

}  // namespace quorvel
