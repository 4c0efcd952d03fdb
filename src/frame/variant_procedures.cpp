// The Variant copy and assignment procedures. A copy is made in full before its destination is
// touched, so a failure leaves the destination as it was.
#include "quorvel/frame/variant_procedures.h"

#include <new>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

namespace {

struct CopyFault {
  int countdown = 0;
  std::int32_t code = 0;
};

// True when the test seam says this copy fails (it is off unless a test turned it on).
bool injected_failure(std::int32_t& code) noexcept {
  try {
    CopyFault& fault = this_thread_context().slot<CopyFault>();
    if (fault.countdown == 0 || --fault.countdown > 0) return false;
    code = fault.code;
    return true;
  } catch (...) {
    return false;
  }
}

// The platform status code of a failed copy.
std::int32_t status_of(const Error& e) noexcept {
  const std::int32_t n = e.number();
  if (n == static_cast<std::int32_t>(RuntimeError::OutOfMemory)) return copy_status::kOutOfMemory;
  if (n < 0) return n;
  if (n > 0 && n <= 0xFFFF) return static_cast<std::int32_t>(0x800A0000u | static_cast<std::uint32_t>(n));
  return copy_status::kFail;
}

void checked_copy(Variant& dest, const Variant& source) {
  const std::int32_t code = copy_variant_status(dest, source);
  if (code != copy_status::kOk) raise_copy_failure(u"OLEVariantCopyInd Failed : ", code);
}

}  // namespace

std::int32_t copy_variant_status(Variant& dest, const Variant& source) noexcept {
  try {
    std::int32_t code = 0;
    if (injected_failure(code)) return code;
    Variant copy = source.copy_ind();
    dest = std::move(copy);
    return copy_status::kOk;
  } catch (const std::bad_alloc&) {
    return copy_status::kOutOfMemory;
  } catch (const Error& e) {
    return status_of(e);
  } catch (...) {
    return copy_status::kFail;
  }
}

void CopyVariant(Variant& Dest, const Variant& Source) {
  const std::int32_t code = copy_variant_status(Dest, Source);
  if (code != copy_status::kOk) raise_copy_failure(u"CopyVariant.OLEVariantCopyInd Failed : ", code);
}

void SwapVariants(Variant& A, Variant& B) {
  // The second and third copies go to staging Variants, so a failure at any step leaves both as
  // they were; the commit that follows cannot fail.
  Variant temporary;
  checked_copy(temporary, A);
  Variant new_a;
  checked_copy(new_a, B);
  Variant new_b;
  checked_copy(new_b, temporary);
  A.swap(new_a);  // both are set before either old value goes
  B.swap(new_b);
}

bool TrySetObject(Variant& Target, const Variant& Source) noexcept {
  if (!Source.is_object()) return false;
  Target = Variant(Ref<Unknown>(Source.if_object()));
  return true;
}

Variant AssignVariant(Variant& Target, const Variant& Source) {
  Variant value = Source.is_object() ? Variant(Ref<Unknown>(Source.if_object())) : Source.copy_ind();
  Variant result = value;  // copied before `Target` changes: a copy that fails leaves it as it was
  Target = std::move(value);
  return result;
}

namespace detail {

void fail_variant_copy(int nth, std::int32_t code) noexcept {
  try {
    CopyFault& fault = this_thread_context().slot<CopyFault>();
    fault.countdown = nth < 0 ? 0 : nth;
    fault.code = code;
  } catch (...) {
  }
}

}  // namespace detail

}  // namespace quorvel
