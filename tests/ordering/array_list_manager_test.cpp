// The sequence algorithms on the library's lists (typed route) and on a caller's list known only
// by its member names (literal route, through the late-bound adapter): the same answers, and
// exactly the reads and calls a caller sees.
#include "quorvel/ordering/array_list_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"

namespace quorvel {
namespace {

using test_support::error_of;
using Manager = test_support::LiveCountCheck;
using Longs = std::vector<std::int32_t>;

// The list members by name only (no IArrayList among its C++ bases), forwarded to a library list;
// logs the members asked for (an Item read as "Item(2)") and runs `on_item` before each Item read.
class CallerList final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestCallerList";
  static constexpr Guid iid{"{3C9A1F0E-5B7D-4C2A-8E61-0F4D2B9A7C11}"};
  using QuorvelSelf = CallerList;
  QUORVEL_CLASS_INFO(describe_class<CallerList>(ClassFlags::None, {QUORVEL_MEMBER_ENTRIES(QUORVEL_IARRAYLIST_MEMBERS)}))
  CallerList(Ref<IArrayList> inner, std::string* log, std::function<void()> on_item)
      : inner_(std::move(inner)), log_(log), on_item_(std::move(on_item)) {}
#define TEST_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name) params {                    \
    note(#Name QUORVEL_LEADING_COMMA args);                  \
    return inner_->QUORVEL_CPP_NAME(kind, Name) args;        \
  }
  QUORVEL_IARRAYLIST_MEMBERS(TEST_FORWARD_)
#undef TEST_FORWARD_

 private:
  template <class... A>
  void note(const char* name, const A&... args) {
    std::string entry = name;
    if constexpr (sizeof...(A) == 1 && (std::is_same_v<A, std::int32_t> && ...))
      entry += "(" + std::to_string(args...) + ")";
    if (entry.starts_with("Item(") && on_item_) on_item_();
    if (log_) *log_ += (log_->empty() ? "" : " ") + entry;
  }
  Ref<IArrayList> inner_;
  std::string* log_;
  std::function<void()> on_item_;
};

Ref<IArrayList> longs(const Longs& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list.query<IArrayList>();
}
// `inner` as a caller's list, converted as any object argument is.
Ref<IArrayList> caller(Ref<IArrayList> inner, std::string* log = nullptr, std::function<void()> on_item = nullptr) {
  return interface_cast<IArrayList>(Variant(make<CallerList>(std::move(inner), log, std::move(on_item))));
}
Longs longs_of(IArrayList& list) {
  Longs out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i).to_long());
  return out;
}

// What the manager answers about `list`: the search for `value`, the monotonicity check (run twice,
// so that a flag left unwritten shows) and the runs collapsed into a new list; then the list's count.
std::string answers(ArrayList_Manager& m, const Ref<IArrayList>& list, const Variant& value, std::int16_t direction,
                    const Ref<IComparer>& order = nullptr) {
  std::int32_t at = -1;
  std::int16_t trend = 7;
  bool strict = false, strict_too = true;
  std::string out = m.LogarithmicSearch(list, value, at, direction, order) ? "at " : "near ";
  out += std::to_string(at) + (m.CheckMonotonity(list, trend, strict, order) ? ", monotonic " : ", not monotonic ");
  m.CheckMonotonity(list, trend, strict_too, order);
  out += std::to_string(trend) + (strict != strict_too ? " unwritten" : strict ? " strict" : "") + ", runs";
  const Ref<IArrayList> runs = m.Reducate(list, false);
  for (std::int32_t i = 0; i < runs->get_Count(); ++i) out += " " + runs->get_Item(i).to_string().to_utf8();
  return out + " of " + std::to_string(list->get_Count());
}

TEST_F(Manager, EachAlgorithmOnBothRoutes) {
  struct Row {
    Longs items;
    std::int16_t direction;
    std::int32_t value;
    const char* reads;  // by the search on the caller's list, after its bounds
    const char* answers;
  };
  const Row rows[] = {
      {{1, 3, 5, 7}, 1, 5, " Item(2)", "at 2, monotonic 1 strict, runs 1 3 5 7 of 4"},
      {{1, 3, 5, 7}, 1, 4, " Item(2) Item(0) Item(1)", "near 1, monotonic 1 strict, runs 1 3 5 7 of 4"},
      {{1, 3, 5, 7}, 1, 0, " Item(2) Item(0)", "near 0, monotonic 1 strict, runs 1 3 5 7 of 4"},
      {{1, 3, 5, 7}, 5, 9, " Item(2) Item(3)", "near 3, monotonic 1 strict, runs 1 3 5 7 of 4"},
      {{7, 5, 3, 1}, -1, 4, " Item(2) Item(0) Item(1)", "near 1, monotonic -1 strict, runs 7 5 3 1 of 4"},
      {{7, 5, 3, 1}, -3, 5, " Item(2) Item(0) Item(1)", "at 1, monotonic -1 strict, runs 7 5 3 1 of 4"},
      {{}, 1, 4, "", "near 0, monotonic 0 strict, runs of 0"},
      {{9}, 1, 9, " Item(0)", "at 0, monotonic 0 strict, runs 9 of 1"},
      {{1, 2, 2, 3}, 1, 2, " Item(2)", "at 2, monotonic 1, runs 1 2 3 of 4"},
      {{2, 2, 2}, 1, 2, " Item(1)", "at 1, monotonic 0, runs 2 of 3"},
      {{1, 3, 2}, 1, 3, " Item(1)", "at 1, not monotonic 0, runs 1 3 2 of 3"},
      {{1, 1, 2, 2, 2, 1}, 1, 1, " Item(2) Item(0)", "at 0, not monotonic 0, runs 1 2 1 of 6"},
  };
  auto m = make<ArrayList_Manager>();
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(row.items) << ", value " << row.value);
    std::string log;
    for (const Ref<IArrayList>& list : {longs(row.items), caller(longs(row.items), &log)}) {
      EXPECT_EQ(answers(*m, list, Variant(row.value), row.direction), row.answers);
      const Longs runs = longs_of(*m->Reducate(list, false));
      EXPECT_TRUE(m->Reducate(list, true).same(list));
      EXPECT_EQ(longs_of(*list), runs);
    }
    // The search's reads, before those of the monotonicity check.
    EXPECT_EQ(log.substr(0, log.find(" Count")), "LowerBound UpperBound" + std::string(row.reads));
  }
  std::string log;
  std::int16_t trend = 0;
  m->CheckMonotonity(caller(longs({1, 2, 3}), &log), trend, omitted<bool>(), make<TextModeComparer>());
  EXPECT_EQ(log, "Count LowerBound Item(0) Item(1) UpperBound Item(1) Item(2)");
}

TEST_F(Manager, BoundsAreWrittenBackAndBadInputRaisesInOrder) {
  auto m = make<ArrayList_Manager>();
  Variant lo = Variant::missing(), hi = Variant::missing();
  std::int32_t at = -1;
  EXPECT_TRUE(m->LogarithmicSearch(longs({1, 3, 5, 7}), Variant(7), at, 1, nullptr, lo, hi));
  EXPECT_TRUE(identical(lo, Variant(0)) && identical(hi, Variant(3)));
  EXPECT_EQ(m->Reducate(caller(longs({1})), false)->identity().class_info().name, std::string("ArrayList_Long"));
  // Direction 0, a text upper bound, a missing comparer and an empty sort are in the scenario file.
  Variant text(u"x"), far(9), zero(0);
  Ref<IArrayList> none;
  std::vector<Variant> loose{Variant(make<CallerList>(longs({2, 1}), nullptr, nullptr)), Variant(0), Variant(1)};
  std::vector<Variant> partial{Variant(make<Collection>()), Variant(0), Variant(1)};  // not every list member
  const std::pair<std::function<void()>, std::int32_t> rows[] = {
      {[&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, text); }, 13},
      {[&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, far, far); }, error_number::kInvalidArgument},
      {[&] { m->LogarithmicSearch(none, Variant(1), at, 1); }, 91},
      {[&] { m->LogarithmicSearch(none, Variant(1), at, 1, nullptr, far, zero); }, 0},
      {[&] { m->LogarithmicSearch(longs({1}), Variant(Array(ArrayOf<std::int32_t>(0, 1))), at, 1); }, 13},
      {[&] { m->QuickSort(none, 0, 0); }, 91},
      {[&] { m->Reducate(none, true); }, 91},
      {[&] { invoke(*m, u"QuickSort", MemberKind::Method, loose); }, 0},
      {[&] { invoke(*m, u"QuickSort", MemberKind::Method, partial); }, 13},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(error_of(rows[i].first), rows[i].second) << "row " << i;
}

TEST_F(Manager, ReducateComparesObjectsByIdentityAndValuesByEquality) {
  auto m = make<ArrayList_Manager>();
  auto a = test_support::token(Variant(1)), b = test_support::token(Variant(1));
  auto objects = make<ArrayList_Object>();
  for (const auto& o : {a, a, b, b, a}) objects->AddItem(o);
  EXPECT_EQ(m->Reducate(objects.query<IArrayList>(), false)->get_Count(), 3);
  // Null cannot be tested (removals before it stay); NaN equals nothing.
  auto values = make<ArrayList_Variant>();
  for (const Variant& v : {Variant(1), Variant(1.0), Variant(u"a"), Variant(u"A"), Variant::null()}) values->AddItem(v);
  EXPECT_EQ(error_of([&] { m->Reducate(values.query<IArrayList>(), true); }), 94);
  EXPECT_EQ(values->get_Count(), 4);
  auto doubles = make<ArrayList_Double>();
  for (double d : {0.0, -0.0, std::nan(""), std::nan("")}) doubles->AddItem(d);
  EXPECT_EQ(m->Reducate(doubles.query<IArrayList>(), false)->get_Count(), 3);
  fault::expect_fault_tolerant([&] { return longs({1, 1, 2, 3, 3, 3, 4}); },
                               [&](Ref<IArrayList>& l) { m->Reducate(l, false); },
                               [](Ref<IArrayList>& l) { return testing::PrintToString(longs_of(*l)); });
}

// The typed route against the literal one (the same list as a caller's) on random data of three
// kinds, in the library's orders and in text order.
TEST_F(Manager, TheTypedRouteAnswersAsTheLiteralOne) {
  std::mt19937 rng(7);
  auto m = make<ArrayList_Manager>();
  const Ref<IComparer> orders[] = {nullptr, make<DefaultComparer>(), make<TextModeComparer>()};
  const Variant probes[] = {Variant(3), Variant(3.0), Variant(u"b"), Variant(u"B"), Variant::null(), Variant()};
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    auto l = make<ArrayList_Long>();
    auto d = make<ArrayList_Double>();
    auto s = make<ArrayList_String>();
    for (int i = round ? static_cast<int>(rng() % 30) : 0; i > 0; --i) {
      const auto x = static_cast<std::int32_t>(rng() % 12);
      l->AddItem(x);
      d->AddItem(x == 11 ? std::nan("") : x / 2.0);
      s->AddItem(String(std::u16string(1, static_cast<char16_t>((x % 3 ? u'a' : u'A') + x % 4))));
    }
    if (round % 2) l->Sort();
    for (const Ref<IArrayList>& typed : {l.query<IArrayList>(), d.query<IArrayList>(), s.query<IArrayList>()}) {
      for (const Variant& probe : probes) {
        for (const Ref<IComparer>& order : orders) {
          ASSERT_EQ(answers(*m, typed, probe, 1, order), answers(*m, caller(typed), probe, 1, order));
        }
      }
    }
  }
}

TEST_F(Manager, HostileListsAndComparersStopCleanly) {
  auto m = make<ArrayList_Manager>();
  // A comparer raising at its k-th call, for every k: the error passes, no element is lost.
  for (long k = 1; k < 40; ++k) {
    long calls = 0;
    auto raising = test_support::comparer([&](const Variant& a, const Variant& b) -> std::int16_t {
      if (++calls == k) raise_runtime_error(RuntimeError::InvalidProcedureCall);
      return CompareVariants(a, b, CompareMode::Binary);
    });
    auto list = caller(longs({5, 3, 9, 1, 7, 3, 8}));
    const bool sorted = error_of([&] { m->QuickSort(list, 0, 6, raising); }) == 0;
    const Longs held = longs_of(*list), input{5, 3, 9, 1, 7, 3, 8};
    EXPECT_TRUE(!sorted || std::is_sorted(held.begin(), held.end())) << k;
    EXPECT_TRUE(std::is_permutation(held.begin(), held.end(), input.begin(), input.end())) << k;
    std::int16_t trend = 0;
    calls = 0;
    const std::int32_t error = error_of([&] { m->CheckMonotonity(list, trend, omitted<bool>(), raising); });
    EXPECT_EQ(error, calls == k ? 5 : 0) << k;
  }
  // A caller's list that loses its first element at its k-th Item read: an error or a clean stop.
  for (std::int32_t k = 1; k < 20; ++k) {
    auto inner = longs({1, 1, 2, 3, 3, 4});
    std::int32_t reads = 0, at = 0;
    auto list = caller(inner, nullptr, [&] {
      if (++reads == k && inner->get_Count() > 0) inner->RemoveItem(0, true);
    });
    const std::int32_t error = error_of([&] { m->Reducate(list, true); });
    EXPECT_TRUE(error == 0 || error == error_number::kInvalidArgument) << k << ": " << error;
    (void)error_of([&] { m->LogarithmicSearch(list, Variant(3), at, 1); });
  }
}

}  // namespace
}  // namespace quorvel
