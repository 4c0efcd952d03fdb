#include "quorvel/containers/cls_hash_id_ix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
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

// A C++ condition: passes values above `floor`, counting its calls; raises when `floor` is INT_MIN.
class Above final : public ObjectImpl<IUnaryLongTest> {
 public:
  static constexpr const char* type_name = "TestAbove";
  static constexpr Guid iid{"{90EB2A62-8086-4901-AE0A-BF19C4789436}"};
  TEST_CLASS_INFO(describe_class<Above, IUnaryLongTest>(ClassFlags::None, {}))
  explicit Above(std::int32_t floor) : floor_(floor) {}
  bool Test(std::int32_t Value) override {
    ++calls;
    if (floor_ == INT_MIN) raise_runtime_error(RuntimeError::Overflow);
    return Value > floor_;
  }
  int calls = 0;

 private:
  std::int32_t floor_;
};

// A condition known only by its member names: reached through late binding.
class NamedTest final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestNamedCondition";
  static constexpr Guid iid{"{3C1D0B1E-52A4-4E0B-9F3E-7A1C0D2E4B61}"};
  TEST_CLASS_INFO(describe_class<NamedTest>(ClassFlags::None, {method<&NamedTest::Test>("Test", 1, "Value")}))
  Variant Test(std::int32_t Value) { return Variant(static_cast<std::int32_t>(Value == 300 ? -1 : 0)); }
};

std::vector<std::int32_t> all_of(clsHashIdIx& h, std::int32_t id) {
  ArrayOf<std::int32_t> got;
  std::int32_t n = -1;
  h.LookupIx4Id(id, got, n);
  if (n == 0) return {};
  return {got.items().begin(), got.items().begin() + n};
}

// Sharing a bucket shows in slot order: removing the first of (7,1), (7,2), (7,3), (other,9)
// moves the other id's pair into the hole when both ids share the bucket, else (7,3).
TEST_F(HashLive, BucketsComeFromThePrimeTableAndNegativeIdsFoldOntoPositive) {
  struct Row {
    std::int32_t size;  // 0: the default table
    std::int32_t buckets;
  } rows[] = {{0, 1000}, {1, 53}, {63, 53}, {64, 97}, {1000, 769}, {1024, 1543}, {INT32_C(1) << 20, 1572869}};
  for (const Row& row : rows) {
    for (std::int32_t other : {-7, 7 + row.buckets, -7 - row.buckets, 8, 7 + row.buckets / 2}) {
      SCOPED_TRACE(std::to_string(row.size) + " " + std::to_string(other));
      auto h = make<clsHashIdIx>();
      if (row.size) h->put_lTableSize(row.size);
      for (std::int32_t ix : {1, 2, 3}) h->InsertIdIx(7, ix);
      h->InsertIdIx(other, 9);
      h->RemoveIx4Id(7, 1);
      const bool shared = other == -7 || other == 7 + row.buckets || other == -7 - row.buckets;
      EXPECT_EQ(all_of(*h, 7), shared ? (std::vector<std::int32_t>{2, 3}) : (std::vector<std::int32_t>{3, 2}));
    }
  }
}

TEST_F(HashLive, SizesBelowOneAreRefused) {
  auto h = make<clsHashIdIx>();
  EXPECT_RAISES(h->put_lTableSize(0), error_number::kInvalidArgument);
  EXPECT_RAISES(h->put_lTableSize(INT_MIN), error_number::kInvalidArgument);
  EXPECT_RAISES(h->put_lSlotSizeIncrement(0), error_number::kInvalidArgument);
  h->InsertIdIx(1, 1);
  h->InsertIdIx(1, 1);  // stored once, and the sizing phase is over
  EXPECT_EQ(all_of(*h, 1).size(), 1u);
  EXPECT_RAISES(h->put_lSlotSizeIncrement(5), 1001, "Let lSlotSizeIncrement/1", "clsHashIdIx");
}

TEST_F(HashLive, RemovalFillsTheHoleFromTheEnd) {
  struct Row {
    const char* name;
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    std::function<void(clsHashIdIx&)> remove;
    std::int32_t id;
    std::vector<std::int32_t> left;
  } rows[] = {
      // the first of a run moving its last into the hole: in the bucket test above
      {"absent pair", {{5, 1}}, [](clsHashIdIx& h) { h.RemoveIx4Id(5, 9); }, 5, {1}},
      {"all of one id", {{5, 1}, {5, 2}}, [](clsHashIdIx& h) { h.RemoveAllIx4Id(5); }, 5, {}},
      {"all, keeping others", {{5, 1}, {1005, 2}, {5, 3}}, [](clsHashIdIx& h) { h.RemoveAllIx4Id(5); }, 1005, {2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto h = make<clsHashIdIx>();
    for (const auto& p : row.pairs) h->InsertIdIx(p.first, p.second);
    row.remove(*h);
    EXPECT_EQ(all_of(*h, row.id), row.left);
  }
}

TEST_F(HashLive, BothGrowthPoliciesKeepEveryPair) {
  for (bool spare : {false, true}) {
    SCOPED_TRACE(spare);
    auto h = make<clsHashIdIx>();
    h->put_lSlotSizeIncrement(1);
    h->InsertIdIx(3, 0);  // a bucket of capacity 1, grown under the spare rule from here
    h->put_SpareSlots(spare);
    std::vector<std::int32_t> expected{0};
    for (std::int32_t i = 1; i < 200; ++i) {
      h->InsertIdIx(3 + 1000 * (i % 3), i);
      if (i % 3 == 0) expected.push_back(i);
    }
    EXPECT_EQ(all_of(*h, 3), expected);
  }
}

// Random runs against a plain model (53 buckets of pair lists, a removal moving the bucket's
// last pair into the hole), over the ids that mark free slots and blocks in other buckets.
TEST_F(HashLive, RandomRunsMatchAListPerBucket) {
  const std::int32_t ids[] = {0, 1, 2, 53, -53, 106, 54, -55, 107, 7, INT_MIN, INT_MAX};
  struct Row {
    std::int32_t increment;
    bool spare;
  } rows[] = {{1, false}, {10, false}, {100, false}, {1, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.increment) + (row.spare ? " spare" : ""));
    auto h = make<clsHashIdIx>();
    h->put_lTableSize(1);
    h->put_lSlotSizeIncrement(row.increment);
    h->put_SpareSlots(row.spare);
    std::vector<std::pair<std::int32_t, std::int32_t>> model[53];
    auto bucket = [&](std::int32_t id) -> auto& { return model[static_cast<std::uint32_t>(std::abs(std::int64_t{id}) % 53)]; };
    std::mt19937 random(7);
    for (int step = 0; step < 4000; ++step) {
      const std::int32_t id = ids[random() % std::size(ids)];
      const auto ix = static_cast<std::int32_t>(random() % 4) - 1;
      auto& pairs = bucket(id);
      const auto at = std::find(pairs.begin(), pairs.end(), std::pair{id, ix});
      if (random() % 3 != 0) {
        h->InsertIdIx(id, ix);
        if (at == pairs.end()) pairs.emplace_back(id, ix);
      } else {
        h->RemoveIx4Id(id, ix);
        if (at != pairs.end()) *at = pairs.back(), pairs.pop_back();
      }
      std::vector<std::int32_t> expected;
      for (const auto& p : pairs) {
        if (p.first == id) expected.push_back(p.second);
      }
      ASSERT_EQ(all_of(*h, id), expected) << "step " << step;
      std::int32_t first = 99;
      ASSERT_EQ(h->TryFindFirstIx(id, first), !expected.empty());
      ASSERT_EQ(first, expected.empty() ? 99 : expected.front());
    }
  }
}

TEST_F(HashLive, InsertsAndLookupsSurviveEveryAllocationFailure) {
  auto make_hash = [] {
    auto h = make<clsHashIdIx>();
    h->put_lSlotSizeIncrement(100);  // blocks above the pooled sizes: each growth allocates
    for (std::int32_t i = 0; i < 100; ++i) h->InsertIdIx(5, i);
    return h;
  };
  auto state = [](Ref<clsHashIdIx>& h) {
    std::string out;
    for (std::int32_t ix : all_of(*h, 5)) out += std::to_string(ix) + " ";
    return out + std::to_string(h->FindFirstIxDefault(6, -1));
  };
  auto fresh = [] {  // a third pair needs the first block, from the first chunk
    auto h = make<clsHashIdIx>();
    h->InsertIdIx(6, 0);
    h->InsertIdIx(6, 1);
    return h;
  };
  using Hash = Ref<clsHashIdIx>;
  const std::pair<std::function<Hash()>, std::function<void(Hash&)>> runs[] = {
      {make_hash, [](Hash& h) { h->InsertIdIx(5, 1000); }},
      {fresh, [](Hash& h) { h->InsertIdIx(6, 2); }},
      {make_hash, [](Hash& h) { EXPECT_TRUE(h->colLookupIx4Id(5)); }},
  };
  for (const auto& [setup, run] : runs) EXPECT_GT(fault::expect_fault_tolerant(setup, run, state), 0);
}

TEST_F(HashLive, ArrayLookupsFollowTheirBufferRules) {
  auto h = make<clsHashIdIx>();
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

TEST_F(HashLive, FirstIndexLookupsAndConditions) {
  auto h = make<clsHashIdIx>();
  std::int32_t ix = -1;
  EXPECT_FALSE(h->colLookupIx4Id(7));  // other ids in the bucket and the found collection: in the scenario file
  for (std::int32_t ix : {100, 200, 300}) h->InsertIdIx(7, ix);
  auto above = make<Above>(150);
  EXPECT_TRUE(h->TryFindFirstIxIf(above, 7, ix));
  EXPECT_EQ(ix, 200);
  EXPECT_EQ(above->calls, 2);
  EXPECT_FALSE(h->TryFindFirstIxIf(make<Above>(300), 7, ix));
  EXPECT_EQ(ix, 200);
  EXPECT_RAISES(h->TryFindFirstIxIf(make<Above>(INT_MIN), 7, ix), 6);
  EXPECT_RAISES(h->TryFindFirstIxIf(nullptr, 7, ix), 91);
  EXPECT_FALSE(h->TryFindFirstIxIf(nullptr, 8, ix));
  Variant args[] = {Variant(Ref<Unknown>(make<NamedTest>())), Variant(7), Variant::by_ref(ix)};
  EXPECT_TRUE(invoke(*h, u"TryFindFirstIxIf", MemberKind::Method, args).to_boolean());
  EXPECT_EQ(ix, 300);
  Variant plain[] = {Variant(Ref<Unknown>(make<clsHashIdIx>())), Variant(7), Variant::by_ref(ix)};
  EXPECT_RAISES(invoke(*h, u"TryFindFirstIxIf", MemberKind::Method, plain), 13);  // no Test member
  h->TearDown();
  EXPECT_FALSE(h->TryFindFirstIx(7, ix));
  EXPECT_RAISES(h->InsertIdIx(7, 1), error_number::kInvalidState);
}

}  // namespace
}  // namespace quorvel
