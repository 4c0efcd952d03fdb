#include "quorvel/containers/cls_hash_id_ix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using HashLive = test_support::LiveCountCheck;
using Hash = Ref<clsHashIdIx>;

// A condition known only by its member names: passes values above `floor`, counting its calls;
// raises when `floor` is INT_MIN.
class Above final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestAbove";
  static constexpr Guid iid{"{90EB2A62-8086-4901-AE0A-BF19C4789436}"};
  QUORVEL_CLASS_INFO(describe_class<Above>(ClassFlags::None, {method<&Above::Test>("Test", 1, "Value")}))
  explicit Above(std::int32_t limit) : floor(limit) {}
  Variant Test(std::int32_t Value) {
    ++calls;
    if (floor == INT_MIN) raise_runtime_error(RuntimeError::Overflow);
    return Variant(static_cast<std::int32_t>(Value > floor ? -1 : 0));
  }
  const std::int32_t floor;
  int calls = 0;
};

std::vector<std::int32_t> all_of(clsHashIdIx& h, std::int32_t id) {
  ArrayOf<std::int32_t> got;
  std::int32_t n = -1;
  h.LookupIx4Id(id, got, n);
  if (n == 0) return {};
  return {got.items().begin(), got.items().begin() + n};
}

// Random runs against a plain model (buckets of pair lists, a removal moving the bucket's last pair
// into the hole), so that an id put in the wrong bucket shows in the order of its indexes. The ids
// are those that mark free slots and blocks in other buckets, and ids sharing a bucket with them
// (negative ones too). Few indexes keep buckets in their cell or in pooled blocks, many grow them
// past the pool; the growth policy switches halfway, applying to later growth.
TEST_F(HashLive, RandomRunsMatchAListPerBucket) {
  // The table size asked for (0: the default), the buckets it gives, the slot increment, the
  // growth policy, the number of indexes.
  const std::tuple<std::int32_t, std::int32_t, std::int32_t, bool, std::uint32_t> rows[] = {
      {0, 1000, 10, false, 4},  {1, 53, 1, false, 4},    {63, 53, 100, false, 4},        {64, 97, 1, true, 4},
      {1000, 769, 1, false, 90}, {1024, 1543, 3, true, 90}, {INT32_C(1) << 20, 1572869, 10, false, 4}};
  for (const auto& [size, n, increment, spare, indexes] : rows) {
    SCOPED_TRACE(size);
    auto h = make<clsHashIdIx>();
    if (size) h->put_lTableSize(size);
    h->put_lSlotSizeIncrement(increment);
    h->put_SpareSlots(spare);
    const std::int32_t ids[] = {0, 1, 2, n, -n, 2 * n, n + 1, -n - 2, 2 * n + 1, 7, INT_MIN, INT_MAX};
    std::map<std::int64_t, std::vector<std::pair<std::int32_t, std::int32_t>>> model;  // by bucket
    const auto drop = [](auto& pairs, auto at) {  // the last pair fills the hole
      *at = pairs.back();
      pairs.pop_back();
    };
    std::mt19937 random(7);
    for (int step = 0; step < 4000; ++step) {
      if (step == 2000) h->put_SpareSlots(!spare);
      const std::int32_t id = ids[random() % std::size(ids)];
      const auto ix = static_cast<std::int32_t>(random() % indexes) - 1;
      auto& pairs = model[(id < 0 ? -std::int64_t{id} : id) % n];
      auto at = std::find(pairs.begin(), pairs.end(), std::pair{id, ix});
      const auto what = random() % 100;
      if (what < 60) {
        h->InsertIdIx(id, ix);
        if (at == pairs.end()) pairs.emplace_back(id, ix);
      } else if (what < 99) {
        h->RemoveIx4Id(id, ix);
        if (at != pairs.end()) drop(pairs, at);
      } else {
        h->RemoveAllIx4Id(id);
        const auto is_id = [id](const auto& p) { return p.first == id; };
        while ((at = std::find_if(pairs.begin(), pairs.end(), is_id)) != pairs.end()) drop(pairs, at);
      }
      std::vector<std::int32_t> expected;
      for (const auto& p : pairs) {
        if (p.first == id) expected.push_back(p.second);
      }
      ASSERT_EQ(all_of(*h, id), expected) << "step " << step;
      ASSERT_EQ(h->bFindIdIx(id, ix), std::count(pairs.begin(), pairs.end(), std::pair{id, ix}) == 1);
      std::int32_t first = 99;
      ASSERT_EQ(h->TryFindFirstIx(id, first), !expected.empty());
      ASSERT_EQ(first, expected.empty() ? 99 : expected.front());
    }
  }
}

TEST_F(HashLive, SizingRefusalsConditionsAndTearDown) {
  auto h = make<clsHashIdIx>();
  EXPECT_RAISES(h->put_lTableSize(0), error_number::kInvalidArgument);
  EXPECT_RAISES(h->put_lTableSize(INT_MIN), error_number::kInvalidArgument);
  EXPECT_RAISES(h->put_lSlotSizeIncrement(0), error_number::kInvalidArgument);
  for (std::int32_t ix : {100, 200, 300}) h->InsertIdIx(7, ix);
  EXPECT_RAISES(h->put_lSlotSizeIncrement(5), 1001, "Let lSlotSizeIncrement/1", "clsHashIdIx");
  std::int32_t ix = -1;
  auto above = make<Above>(150);
  Variant args[] = {Variant(Ref<Unknown>(above)), Variant(7), Variant::by_ref(ix)};
  EXPECT_TRUE(invoke(*h, u"TryFindFirstIxIf", MemberKind::Method, args).to_boolean());
  EXPECT_EQ(ix, 200);
  EXPECT_EQ(above->calls, 2);
  auto condition = [](std::int32_t floor) { return IUnaryLongTest::late_bound(make<Above>(floor)); };
  EXPECT_FALSE(h->TryFindFirstIxIf(condition(300), 7, ix));
  EXPECT_EQ(ix, 200);
  EXPECT_RAISES(h->TryFindFirstIxIf(condition(INT_MIN), 7, ix), 6);
  EXPECT_RAISES(h->TryFindFirstIxIf(nullptr, 7, ix), 91);
  EXPECT_FALSE(h->TryFindFirstIxIf(nullptr, 8, ix));
  args[0] = Variant(Ref<Unknown>(make<clsHashIdIx>()));  // no Test member
  EXPECT_RAISES(invoke(*h, u"TryFindFirstIxIf", MemberKind::Method, args), 13);
  h->TearDown();
  EXPECT_FALSE(h->TryFindFirstIx(7, ix));
  EXPECT_RAISES(h->InsertIdIx(7, 1), error_number::kInvalidState);
}

TEST_F(HashLive, InsertsAndLookupsSurviveEveryAllocationFailure) {
  auto filled = [](std::int32_t increment, std::int32_t pairs) {
    return [=] {
      auto h = make<clsHashIdIx>();
      h->put_lSlotSizeIncrement(increment);
      for (std::int32_t i = 0; i < pairs; ++i) h->InsertIdIx(5, i);
      return h;
    };
  };
  const std::pair<std::function<Hash()>, std::function<void(Hash&)>> runs[] = {
      {filled(100, 100), [](Hash& h) { h->InsertIdIx(5, 1000); }},  // blocks beyond the pool
      {filled(10, 2), [](Hash& h) { h->InsertIdIx(5, 2); }},        // the first block, from the first chunk
      {filled(100, 100), [](Hash& h) { EXPECT_TRUE(h->colLookupIx4Id(5)); }},
  };
  auto state = [](Hash& h) { return testing::PrintToString(all_of(*h, 5)); };
  for (const auto& [setup, run] : runs) EXPECT_GT(fault::expect_fault_tolerant(setup, run, state), 0);
}

// A late-bound lookup writes its by-reference arguments back also when it raises. Walked with a
// failed allocation at every k, and with a count variable that is caller code (read for its
// default value, released by the write-back) emptying the hash, raising or assigning to itself.
TEST_F(HashLive, LateBoundLookupWritesBackThroughFailures) {
  struct Caller {
    Hash h = make<clsHashIdIx>();
    Variant buf = Variant(Array(VarKind::Long, 0, 1));
    Variant count;
  };
  auto filled = [](Variant count) {
    auto c = std::make_unique<Caller>();
    for (std::int32_t i = 0; i < 3; ++i) c->h->InsertIdIx(5, i);
    c->count = std::move(count);
    return c;
  };
  auto lookup = [](std::unique_ptr<Caller>& c) {
    Variant args[] = {Variant(5), Variant::by_ref(c->buf), Variant::by_ref(c->count)};
    invoke(*c->h, u"LookupIx4Id", MemberKind::Method, args);
  };
  auto state = [](std::unique_ptr<Caller>& c) {
    const Array& a = *c->buf.if_array();
    return std::to_string(a.lower_bound()) + "+" + std::to_string(a.count()) + " n=" + std::to_string(c->count.to_long());
  };
  EXPECT_GT(fault::expect_fault_tolerant([&] { return filled(Variant(0)); }, lookup, state), 0);

  // Call-out 1 reads the count's default value; later ones are its release, which must not raise.
  const std::pair<const char*, std::function<void(Caller&, long)>> actions[] = {
      {"empty the hash", [](Caller& c, long) { c.h->RemoveAllIx4Id(5); }},
      {"raise", [](Caller&, long call) { call == 1 ? raise_runtime_error(RuntimeError::InvalidProcedureCall) : void(); }},
      {"assign to the count", [](Caller& c, long) { c.count = Variant(7); }},
  };
  for (const auto& [name, act] : actions) {
    SCOPED_TRACE(name);
    auto meddled = [&, &act = act](fault::Meddler::Plan& plan) {
      auto c = filled(fault::meddler(plan, Variant(0)));
      plan.action = [&plan, raw = c.get(), &act] { act(*raw, plan.calls); };
      return c;
    };
    auto check = [](std::unique_ptr<Caller>& c) {
      const std::size_t left = all_of(*c->h, 5).size();
      EXPECT_TRUE(left == 0 || left == 3) << left;
      ASSERT_NE(c->buf.if_array(), nullptr);
      if (const std::int32_t* n = c->count.if_long()) {
        EXPECT_TRUE(*n == 0 || *n == 3 || *n == 7) << *n;
      }
    };
    EXPECT_GT(fault::walk_meddling(meddled, lookup, check), 0);
  }
}

TEST_F(HashLive, ArrayLookupsFollowTheirBufferRules) {
  auto h = make<clsHashIdIx>();
  h->InsertIdIx(0, 5);  // id 0 marks the free slots of every bucket but its own
  h->RemoveIx4Id(0, 5);
  EXPECT_TRUE(all_of(*h, 0).empty());
  h->InsertIdIx(5, 50);
  h->InsertIdIx(1005, 99);
  h->InsertIdIx(5, 51);
  ArrayOf<std::int32_t> buffer(7, 2);
  std::int32_t n = -1;
  auto shape = [&n](const ArrayOf<std::int32_t>& a) {
    return std::to_string(a.lower_bound()) + "+" + std::to_string(a.count()) + " n=" + std::to_string(n);
  };
  h->LookupIx4Id(6, buffer, n);  // empty bucket: untouched
  EXPECT_EQ(shape(buffer), "7+2 n=0");
  h->LookupIx4Id(2005, buffer, n);  // bucket 5 without a match: one element
  EXPECT_EQ(shape(buffer), "1+1 n=0");
  h->LookupIx4Id(5, buffer, n, false);
  EXPECT_EQ(shape(buffer), "1+3 n=2");
  ArrayOf<std::int32_t> reused(1, 100);
  reused.items()[2] = 42;
  h->LookupIx4IdExLB1(5, reused, n);
  EXPECT_EQ(reused.count(), 100);
  EXPECT_EQ(reused.items()[0] + reused.items()[1] + reused.items()[2], 50 + 51 + 42);
  ArrayOf<std::int32_t> unallocated;
  EXPECT_RAISES(h->LookupIx4IdExLB1(5, unallocated, n), 9);
  h->LookupIx4IdExLB1(6, unallocated, n);  // no match: the buffer is never looked at
  ArrayOf<std::int32_t> small(-3, 1);
  h->LookupIx4IdExLB1(5, small, n);
  EXPECT_EQ(shape(small), "1+3 n=2");
}

}  // namespace
}  // namespace quorvel
