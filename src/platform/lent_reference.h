// A counted reference handed out for the length of one call without touching the count: the
// count is what makes copying an object argument cost more than the rest of a short call.
//
// While a loan is open, the object is held by one uncounted Variant (the lent one) and the
// lender's caller keeps the object alive. The first release of that object through any Variant
// on this thread settles the loan instead of counting down (only a Variant can hold the lent
// reference, and which of the object's holders gives up its count is immaterial). When the loan
// closes unsettled, the lender either forgets the lent Variant, if it still holds the object, or
// else counts the reference it lent, which someone now holds. Only this thread's releases settle
// a loan, so the lent Variant itself must not be moved to another thread and released there
// while the loan is open.
#pragma once

namespace quorvel {

class Unknown;

/// The object this thread has lent and not yet been paid back for; null when none.
extern constinit thread_local Unknown* t_lent_reference [[gnu::tls_model("initial-exec")]];

}  // namespace quorvel
