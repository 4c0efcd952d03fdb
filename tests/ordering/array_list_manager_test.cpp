// The sequence algorithms on the library's lists (typed route) and on a caller's own list and
// comparer (literal route): the same answers, and exactly the reads and calls a caller sees.
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
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using Manager = test_support::LiveCountCheck;
using Longs = std::vector<std::int32_t>;
constexpr std::int32_t kInvalid = error_number::kInvalidArgument;

// A caller's list forwarding to a library list, logging what it is asked ("Item(2)", "let Item");
// `on_item` runs before each Item read.
class CallerList final : public ObjectImpl<IArrayList> {
 public:
  static constexpr const char* type_name = "TestCallerList";
  static constexpr Guid iid{"{3C9A1F0E-5B7D-4C2A-8E61-0F4D2B9A7C11}"};
  TEST_CLASS_INFO(describe_class<CallerList, IArrayList>(ClassFlags::None, {}))
  explicit CallerList(Ref<IArrayList> inner) : inner_(std::move(inner)) {}
#define TEST_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name)                             \
  params override {                                          \
    note(#kind, #Name QUORVEL_LEADING_COMMA args);           \
    return inner_->QUORVEL_CPP_NAME(kind, Name) args;        \
  }
  QUORVEL_IARRAYLIST_MEMBERS(TEST_FORWARD_)
#undef TEST_FORWARD_
  std::string log;
  std::function<void()> on_item;

 private:
  template <class... A>
  void note(std::string kind, const char* name, const A&... args) {
    log += (log.empty() ? "" : " ") + (kind == "let" || kind == "set" ? kind + " " : "") + name;
    if constexpr (sizeof...(A) == 1 && (std::is_same_v<A, std::int32_t> && ...)) {
      log += "(" + std::to_string(args...) + ")";
      if (kind == "get" && on_item) on_item();
    }
  }
  Ref<IArrayList> inner_;
};

Ref<IArrayList> longs(const Longs& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list.query<IArrayList>();
}
Ref<IArrayList> caller(Ref<IArrayList> inner) { return make<CallerList>(std::move(inner)).query<IArrayList>(); }
CallerList& log_of(const Ref<IArrayList>& list) { return static_cast<CallerList&>(list->identity()); }
Longs longs_of(IArrayList& list) {
  Longs out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i).to_long());
  return out;
}

// The default order, logging the items it is given.
Ref<IComparer> logging_order(std::string& log) {
  return test_support::comparer([&log](const Variant& a, const Variant& b) {
    log += (log.empty() ? "" : " ") + a.to_string().to_utf8();
    return CompareVariants(a, b, CompareMode::Binary);
  });
}
TEST_F(Manager, LogarithmicSearchTheSameOnEveryRoute) {
  struct Row {
    const char* name;
    Longs items;
    std::int32_t value;
    std::int16_t direction;
    bool found;
    std::int32_t index;
    const char* compared;
  };
  const Row rows[] = {
      {"hit", {1, 3, 5, 7}, 5, 1, true, 2, "5"},
      {"miss between", {1, 3, 5, 7}, 4, 1, false, 1, "5 1 3"},
      {"below all", {1, 3, 5, 7}, 0, 1, false, 0, "5 1"},
      {"above all", {1, 3, 5, 7}, 9, 5, false, 3, "5 7"},
      {"descending miss", {7, 5, 3, 1}, 4, -1, false, 1, "3 7 5"},
      {"descending hit", {7, 5, 3, 1}, 5, -3, true, 1, "3 7 5"},
      {"empty", {}, 4, 1, false, 0, ""},
      {"midpoint ties to even", {10, 20, 30, 40, 50, 60}, 20, 1, true, 1, "30 10 20"},
  };
  auto m = make<ArrayList_Manager>();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string compared;
    std::int32_t at[3] = {-1, -1, -1};
    const bool found[3] = {
        m->LogarithmicSearch(longs(row.items), Variant(row.value), at[0], row.direction),
        m->LogarithmicSearch(longs(row.items), Variant(row.value), at[1], row.direction, make<BinaryModeComparer>()),
        m->LogarithmicSearch(caller(longs(row.items)), Variant(row.value), at[2], row.direction,
                             logging_order(compared))};
    for (int route = 0; route < 3; ++route) {
      EXPECT_EQ(found[route], row.found) << route;
      EXPECT_EQ(at[route], row.index) << route;
    }
    EXPECT_EQ(compared, row.compared);
  }
}

TEST_F(Manager, BoundsAreWrittenBackAndBadInputRaisesInOrder) {
  auto m = make<ArrayList_Manager>();
  auto list = caller(longs({1, 3, 5, 7}));
  Variant lo = Variant::missing(), hi = Variant::missing();
  std::int32_t at = -1;
  EXPECT_TRUE(m->LogarithmicSearch(list, Variant(7), at, 1, nullptr, lo, hi));
  EXPECT_TRUE(identical(lo, Variant(0)) && identical(hi, Variant(3)));
  EXPECT_EQ(log_of(list).log, "LowerBound UpperBound Item(2) Item(3)");

  // Direction 0, a text upper bound, a missing comparer and an empty sort are in the scenario file.
  Variant text(u"x"), far(9), zero(0);
  Ref<IArrayList> none;
  const std::pair<std::function<void()>, std::int32_t> rows[] = {
      {[&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, text); }, 13},
      {[&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, far, far); }, kInvalid},
      {[&] { m->LogarithmicSearch(none, Variant(1), at, 1); }, 91},
      {[&] { m->LogarithmicSearch(none, Variant(1), at, 1, nullptr, far, zero); }, 0},
      {[&] { m->LogarithmicSearch(longs({1}), Variant(Array(ArrayOf<std::int32_t>(0, 1))), at, 1); }, 13},
      {[&] { m->QuickSort(none, 0, 0); }, 91},
      {[&] { m->Reducate(none, true); }, 91},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(error_of(rows[i].first), rows[i].second) << "row " << i;
}

TEST_F(Manager, CheckMonotonityTheSameOnEveryRoute) {
  struct Row {
    Longs items;
    bool monotonic;
    std::int16_t direction;
    bool strict;
  };
  const Row rows[] = {{{1, 2, 2, 3}, true, 1, false}, {{3, 2, 1}, true, -1, true}, {{2, 2, 2}, true, 0, false},
                      {{1, 3, 2}, false, 0, false},   {{}, true, 0, true},         {{9}, true, 0, true},
                      {{1, 1, 2, 1}, false, 0, false}};
  auto m = make<ArrayList_Manager>();
  std::string compared;
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.items));
    for (const Ref<IArrayList>& list : {longs(row.items), caller(longs(row.items))}) {
      for (const Ref<IComparer>& order :
           {Ref<IComparer>(), Ref<IComparer>(make<DefaultComparer>()), logging_order(compared)}) {
        std::int16_t direction = 7;
        bool strict = !row.strict;
        EXPECT_EQ(m->CheckMonotonity(list, direction, strict, order), row.monotonic);
        EXPECT_EQ(direction, row.direction);
        EXPECT_EQ(strict, row.strict);
      }
    }
  }
  auto list = caller(longs({1, 2, 3}));
  std::int16_t direction = 0;
  m->CheckMonotonity(list, direction, omitted<bool>(), make<TextModeComparer>());
  EXPECT_EQ(log_of(list).log, "Count LowerBound Item(0) Item(1) UpperBound Item(1) Item(2)");
}

TEST_F(Manager, ReducateCollapsesAdjacentRunsInPlaceOrIntoANewList) {
  auto m = make<ArrayList_Manager>();
  for (bool by_caller : {false, true}) {
    SCOPED_TRACE(by_caller);
    auto wrap = [&](Ref<IArrayList> l) { return by_caller ? caller(std::move(l)) : l; };
    Ref<IArrayList> input = wrap(longs({1, 1, 2, 2, 2, 3, 1}));
    Ref<IArrayList> fresh = m->Reducate(input, false);
    EXPECT_EQ(longs_of(*fresh), (Longs{1, 2, 3, 1}));
    EXPECT_EQ(fresh->identity().class_info().name, std::string("ArrayList_Long"));
    EXPECT_TRUE(m->Reducate(input, true).same(input));
    EXPECT_EQ(longs_of(*input), (Longs{1, 2, 3, 1}));
    EXPECT_EQ(m->Reducate(wrap(longs({})), false)->get_Count(), 0);
  }
  // Objects by identity, not by their equal default values.
  auto a = test_support::token(Variant(1)), b = test_support::token(Variant(1));
  auto objects = make<ArrayList_Object>();
  for (const auto& o : {a, a, b, b, a}) objects->AddItem(o);
  EXPECT_EQ(m->Reducate(objects.query<IArrayList>(), false)->get_Count(), 3);
  // Values by the binary relation =: Null cannot be tested (removals before it stay); NaN equals nothing.
  auto values = make<ArrayList_Variant>();
  for (const Variant& v : {Variant(1), Variant(1.0), Variant(u"a"), Variant(u"A"), Variant::null()}) values->AddItem(v);
  EXPECT_EQ(error_of([&] { m->Reducate(values.query<IArrayList>(), true); }), 94);
  EXPECT_EQ(values->get_Count(), 4);
  auto doubles = make<ArrayList_Double>();
  for (double d : {0.0, -0.0, std::nan(""), std::nan("")}) doubles->AddItem(d);
  EXPECT_EQ(m->Reducate(doubles.query<IArrayList>(), false)->get_Count(), 3);
  const Longs runs{1, 1, 2, 3, 3, 3, 4};
  fault::expect_fault_tolerant([&] { return longs(runs); }, [&](Ref<IArrayList>& l) { m->Reducate(l, false); },
                               [](Ref<IArrayList>& l) { return testing::PrintToString(longs_of(*l)); });
}

// The typed route against the literal one on random data of three kinds: identical answers.
TEST_F(Manager, TheTypedRouteAnswersAsTheLiteralOne) {
  std::mt19937 rng(7);
  auto m = make<ArrayList_Manager>();
  const Variant probes[] = {Variant(3), Variant(3.0),    Variant(u"b"),
                            Variant(),  Variant::null(), Variant(std::int16_t{5})};
  auto compare_routes = [&](Ref<IArrayList> typed) {
    auto literal = caller(typed);
    for (const Variant& probe : probes) {
      std::int32_t a = -1, b = -1;
      ASSERT_EQ(m->LogarithmicSearch(typed, probe, a, 1), m->LogarithmicSearch(literal, probe, b, 1));
      ASSERT_EQ(a, b);
    }
    std::int16_t da = 0, db = 0;
    bool sa = false, sb = false;
    ASSERT_EQ(m->CheckMonotonity(typed, da, sa), m->CheckMonotonity(literal, db, sb));
    ASSERT_TRUE(da == db && sa == sb);
    Ref<IArrayList> ra = m->Reducate(typed, false), rb = m->Reducate(literal, false);
    ASSERT_EQ(ra->get_Count(), rb->get_Count());
    for (std::int32_t i = 0; i < ra->get_Count(); ++i) ASSERT_TRUE(identical(ra->get_Item(i), rb->get_Item(i)));
  };
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    auto l = make<ArrayList_Long>();
    auto d = make<ArrayList_Double>();
    auto s = make<ArrayList_String>();
    for (int i = static_cast<int>(rng() % 30); i > 0; --i) {
      const auto x = static_cast<std::int32_t>(rng() % 12);
      l->AddItem(x);
      d->AddItem(x == 11 ? std::nan("") : x / 2.0);
      s->AddItem(String(std::u16string(1, static_cast<char16_t>(u'a' + x % 4))));
    }
    if (round % 2) l->Sort();
    compare_routes(l.query<IArrayList>());
    compare_routes(d.query<IArrayList>());
    compare_routes(s.query<IArrayList>());
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
    (void)error_of([&] { m->QuickSort(list, 0, 6, raising); });
    Longs held = longs_of(*list);
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (Longs{1, 3, 3, 5, 7, 8, 9})) << k;
    std::int16_t direction = 0;
    calls = 0;
    const std::int32_t error = error_of([&] { m->CheckMonotonity(list, direction, omitted<bool>(), raising); });
    EXPECT_EQ(error, calls == k ? 5 : 0) << k;
  }
  // A caller's list that loses its first element at its k-th Item read: an error or a clean stop.
  for (std::int32_t k = 1; k < 20; ++k) {
    auto inner = longs({1, 1, 2, 3, 3, 4});
    auto list = caller(inner);
    std::int32_t reads = 0, at = 0;
    log_of(list).on_item = [&] {
      if (++reads == k && inner->get_Count() > 0) inner->RemoveItem(0, true);
    };
    const std::int32_t error = error_of([&] { m->Reducate(list, true); });
    EXPECT_TRUE(error == 0 || error == kInvalid) << k << ": " << error;
    (void)error_of([&] { m->LogarithmicSearch(list, Variant(3), at, 1); });
    log_of(list).on_item = nullptr;
  }
}

}  // namespace
}  // namespace quorvel
