// The sequence algorithms on the library's lists (typed route) and on a caller's own list and
// comparer (literal route): same answers, and exactly the reads and calls a caller can observe.
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
#include "quorvel/arraylists/locked_array_list.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using Manager = test_support::LiveCountCheck;
constexpr std::int32_t kInvalid = error_number::kInvalidArgument;

// A caller's list: forwards every member to a library list and logs the reads a caller sees
// ("Item(2)", "UpperBound", ...). `on_item` runs before each Item read.
class CallerList final : public ObjectImpl<IArrayList> {
 public:
  static constexpr const char* type_name = "TestCallerList";
  static constexpr Guid iid{"{3C9A1F0E-5B7D-4C2A-8E61-0F4D2B9A7C11}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<CallerList, IArrayList>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  explicit CallerList(Ref<IArrayList> inner) : inner_(std::move(inner)) {}

#define TEST_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name) params override {             \
    note(#kind, #Name QUORVEL_LEADING_COMMA args);             \
    return inner_->QUORVEL_CPP_NAME(kind, Name) args;          \
  }
  QUORVEL_IARRAYLIST_MEMBERS(TEST_FORWARD_)
#undef TEST_FORWARD_

  std::string log;
  std::function<void(std::int32_t)> on_item;

 private:
  template <class... A>
  void note(const char* kind, const char* name, const A&... args) {
    log += log.empty() ? "" : " ";
    if (std::string(kind) == "let" || std::string(kind) == "set") log += std::string(kind) + " ";
    log += name;
    if constexpr (sizeof...(A) == 1) {
      if constexpr ((std::is_same_v<A, std::int32_t> && ...)) {
        log += "(" + std::to_string(args...) + ")";
        if (std::string(kind) == "get" && on_item) on_item(args...);
      }
    }
  }
  Ref<IArrayList> inner_;
};

Ref<IArrayList> longs(const std::vector<std::int32_t>& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list.query<IArrayList>();
}

Ref<CallerList> caller_list(Ref<IArrayList> inner) { return make<CallerList>(std::move(inner)); }
Ref<IArrayList> as_list(const Ref<CallerList>& list) { return Ref<IArrayList>(list.get()); }

std::vector<std::int32_t> longs_of(IArrayList& list) {
  std::vector<std::int32_t> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i).to_long());
  return out;
}

// A comparer in the default order that logs which item it was given.
Ref<test_support::Fn> logging_order(std::string& log) {
  return test_support::comparer([&log](const Variant& a, const Variant& b) {
    log += (log.empty() ? "" : " ") + a.to_string().to_utf8();
    return CompareVariants(a, b, CompareMode::Binary);
  });
}

// A key comparer: the item's Long against a key given as text, logging the items it saw.
class KeyOrder final : public ObjectImpl<IFindComparer> {
 public:
  static constexpr const char* type_name = "TestKeyOrder";
  static constexpr Guid iid{"{8E2B4D6F-0A1C-4E3B-9D5F-7A6C8B0E2D13}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<KeyOrder, IFindComparer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int16_t Compare(const Variant& ArrayElement, const Variant& Find) override {
    log += (log.empty() ? "" : " ") + ArrayElement.to_string().to_utf8();
    return CompareVariants(ArrayElement, Variant(Find.to_long()), CompareMode::Binary);
  }
  std::string log;
};

TEST_F(Manager, LogarithmicSearchTheSameOnEveryRoute) {
  struct Row {
    const char* name;
    std::vector<std::int32_t> items;
    std::int32_t value;
    std::int16_t direction;
    bool found;
    std::int32_t index;
    const char* compared;  // the items the comparer saw, in order
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
  Ref<ArrayList_Manager> m = make<ArrayList_Manager>();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // Typed route: a library list without a comparer, and with the library's binary comparer.
    for (Ref<IComparer> order : {Ref<IComparer>(), Ref<IComparer>(make<BinaryModeComparer>())}) {
      std::int32_t at = -1;
      EXPECT_EQ(m->LogarithmicSearch(longs(row.items), Variant(row.value), at, row.direction, order), row.found);
      EXPECT_EQ(at, row.index);
    }
    // Literal route: the caller's comparer sees the items in the bisection's order.
    std::string compared;
    auto list = caller_list(longs(row.items));
    std::int32_t at = -1;
    EXPECT_EQ(m->LogarithmicSearch(as_list(list), Variant(row.value), at, row.direction, logging_order(compared)),
              row.found);
    EXPECT_EQ(at, row.index);
    EXPECT_EQ(compared, row.compared);
    // The key comparer sees the same.
    auto finder = make<KeyOrder>();
    EXPECT_EQ(m->LogarithmicSearchEx(longs(row.items), Variant(row.value), at, row.direction, finder), row.found);
    EXPECT_EQ(finder->log, row.compared);
  }
}

TEST_F(Manager, SearchBoundsAreWrittenBackAndCheckedInOrder) {
  auto m = make<ArrayList_Manager>();
  auto list = caller_list(longs({1, 3, 5, 7}));
  Variant lo = Variant::missing();
  Variant hi = Variant::missing();
  std::int32_t at = -1;
  EXPECT_TRUE(m->LogarithmicSearch(as_list(list), Variant(7), at, 1, nullptr, lo, hi));
  EXPECT_TRUE(identical(lo, Variant(0)));
  EXPECT_TRUE(identical(hi, Variant(3)));
  EXPECT_EQ(list->log, "LowerBound UpperBound Item(2) Item(3)");

  struct Row {
    const char* name;
    std::function<void()> call;
    std::int32_t error;
  };
  Variant text(u"x");
  Variant far(9);
  Variant zero(0);
  Ref<IArrayList> none;
  const Row rows[] = {
      {"direction 0", [&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 0); }, kInvalid},
      {"no key comparer before direction", [&] { m->LogarithmicSearchEx(longs({1}), Variant(1), at, 0, nullptr); },
       kInvalid},
      {"m not a number", [&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, text); }, 13},
      {"range beyond the list", [&] { m->LogarithmicSearch(longs({1}), Variant(1), at, 1, nullptr, far, far); },
       kInvalid},
      {"Nothing list", [&] { m->LogarithmicSearch(none, Variant(1), at, 1); }, 91},
      {"Nothing list, empty range", [&] { m->LogarithmicSearch(none, Variant(1), at, 1, nullptr, far, zero); }, 0},
      {"array as value", [&] { m->LogarithmicSearch(longs({1}), Variant(Array(ArrayOf<std::int32_t>(0, 1))), at, 1); },
       13},
      {"Nothing to check", [&] { std::int16_t d; m->CheckMonotonity(none, d); }, kInvalid},
      {"Nothing to sort", [&] { m->QuickSort(none, 0, 0); }, 91},
      {"Nothing to reduce", [&] { m->Reducate(none, true); }, 91},
      {"empty sort reads the middle", [&] { m->QuickSort(longs({}), 0, -1); }, kInvalid},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(error_of(row.call), row.error);
  }
}

TEST_F(Manager, CheckMonotonityTheSameOnEveryRoute) {
  struct Row {
    std::vector<std::int32_t> items;
    bool monotonic;
    std::int16_t direction;
    bool strict;
  };
  const Row rows[] = {{{1, 2, 2, 3}, true, 1, false}, {{3, 2, 1}, true, -1, true}, {{2, 2, 2}, true, 0, false},
                      {{5, 5}, true, 0, false},       {{1, 3, 2}, false, 0, false}, {{}, true, 0, true},
                      {{9}, true, 0, true},           {{1, 1, 2}, true, 1, false},  {{1, 1, 2, 1}, false, 0, false}};
  auto m = make<ArrayList_Manager>();
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.items));
    std::string compared;
    const Ref<IArrayList> lists[] = {longs(row.items), as_list(caller_list(longs(row.items)))};
    const Ref<IComparer> orders[] = {nullptr, make<DefaultComparer>(), logging_order(compared)};
    for (const Ref<IArrayList>& list : lists) {
      for (const Ref<IComparer>& order : orders) {
        std::int16_t direction = 7;
        bool strict = false;
        EXPECT_EQ(m->CheckMonotonity(list, direction, strict, order), row.monotonic);
        EXPECT_EQ(direction, row.direction);
        EXPECT_EQ(strict, row.strict);
      }
    }
  }
  auto list = caller_list(longs({1, 2, 3}));
  std::int16_t direction = 0;
  m->CheckMonotonity(as_list(list), direction, omitted<bool>(), make<TextModeComparer>());
  EXPECT_EQ(list->log, "Count LowerBound Item(0) Item(1) UpperBound Item(1) Item(2)");
}

TEST_F(Manager, ReducateCollapsesAdjacentRunsInPlaceOrIntoANewList) {
  auto m = make<ArrayList_Manager>();
  for (bool caller : {false, true}) {
    SCOPED_TRACE(caller ? "caller's list" : "library list");
    auto wrap = [&](Ref<IArrayList> l) { return caller ? as_list(caller_list(std::move(l))) : l; };
    Ref<IArrayList> input = wrap(longs({1, 1, 2, 2, 2, 3, 1}));
    Ref<IArrayList> fresh = m->Reducate(input, false);
    EXPECT_EQ(longs_of(*fresh), (std::vector<std::int32_t>{1, 2, 3, 1}));
    EXPECT_EQ(longs_of(*input), (std::vector<std::int32_t>{1, 1, 2, 2, 2, 3, 1}));
    EXPECT_EQ(fresh->identity().class_info().name, std::string("ArrayList_Long"));
    Ref<IArrayList> same = m->Reducate(input, true);
    EXPECT_TRUE(same.same(input));
    EXPECT_EQ(longs_of(*input), (std::vector<std::int32_t>{1, 2, 3, 1}));
    EXPECT_EQ(longs_of(*m->Reducate(wrap(longs({})), false)), std::vector<std::int32_t>{});
  }
  // Objects by identity, not by their equal default values.
  auto a = test_support::token(Variant(1));
  auto b = test_support::token(Variant(1));
  auto objects = make<ArrayList_Object>();
  for (const auto& o : {a, a, b, b, a}) objects->AddItem(o);
  Ref<IArrayList> reduced = m->Reducate(objects.query<IArrayList>(), false);
  ASSERT_EQ(reduced->get_Count(), 3);
  EXPECT_TRUE(reduced->get_Item(1).to_object().same(b));
  // Values by the binary relation =: Null cannot be tested; NaN equals nothing.
  auto values = make<ArrayList_Variant>();
  for (const Variant& v : {Variant(1), Variant(1.0), Variant(u"a"), Variant(u"A"), Variant::null()}) values->AddItem(v);
  EXPECT_EQ(error_of([&] { m->Reducate(values.query<IArrayList>(), true); }), 94);
  EXPECT_EQ(values->get_Count(), 4);  // the removal before the error stays
  auto doubles = make<ArrayList_Double>();
  for (double d : {0.0, -0.0, std::nan(""), std::nan("")}) doubles->AddItem(d);
  EXPECT_EQ(m->Reducate(doubles.query<IArrayList>(), false)->get_Count(), 3);
}

TEST_F(Manager, QuickSortGoesThroughTheListsItem) {
  auto m = make<ArrayList_Manager>();
  auto list = caller_list(longs({3, 1, 2}));
  m->QuickSort(as_list(list), 0, 2);
  EXPECT_EQ(longs_of(*as_list(list)), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_NE(list->log.find("let Item"), std::string::npos);  // written back through Item
  auto one = longs({5, 4});
  m->QuickSort(one, 1, 1);
  EXPECT_EQ(longs_of(*one), (std::vector<std::int32_t>{5, 4}));
  // A locked list's copy is an ordinary list the manager can sort.
  auto locked = make_locked_list<LockedArrayList_Long>(Variant(Array(ArrayOf<std::int32_t>(0, 3))));
  m->QuickSort(locked->Copy(), 0, 2, make<DefaultComparer>());
}

// The typed route against the literal one on random data of several kinds: identical answers.
TEST_F(Manager, TheTypedRouteAnswersAsTheLiteralOne) {
  std::mt19937 rng(7);
  auto m = make<ArrayList_Manager>();
  auto compare_routes = [&](Ref<IArrayList> list, const std::vector<Variant>& probes) {
    auto literal = as_list(caller_list(list));
    for (const Variant& probe : probes) {
      std::int32_t a = -1, b = -1;
      ASSERT_EQ(m->LogarithmicSearch(list, probe, a, 1), m->LogarithmicSearch(literal, probe, b, 1));
      ASSERT_EQ(a, b);
    }
    std::int16_t da = 0, db = 0;
    bool sa = false, sb = false;
    ASSERT_EQ(m->CheckMonotonity(list, da, sa), m->CheckMonotonity(literal, db, sb));
    ASSERT_EQ(da, db);
    ASSERT_EQ(sa, sb);
    Ref<IArrayList> ra = m->Reducate(list, false);
    Ref<IArrayList> rb = m->Reducate(literal, false);
    ASSERT_EQ(ra->get_Count(), rb->get_Count());
    for (std::int32_t i = 0; i < ra->get_Count(); ++i) ASSERT_TRUE(identical(ra->get_Item(i), rb->get_Item(i)));
  };
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    auto l = make<ArrayList_Long>();
    auto d = make<ArrayList_Double>();
    auto s = make<ArrayList_String>();
    const int n = static_cast<int>(rng() % 30);
    for (int i = 0; i < n; ++i) {
      const auto x = static_cast<std::int32_t>(rng() % 12);
      l->AddItem(x);
      d->AddItem(x == 11 ? std::nan("") : x / 2.0);
      s->AddItem(String(std::u16string(1, static_cast<char16_t>(u'a' + x % 4))));
    }
    if (round % 2) l->Sort();
    const std::vector<Variant> probes{Variant(3), Variant(3.0), Variant(u"b"), Variant(), Variant::null(),
                                      Variant(static_cast<std::int16_t>(5))};
    compare_routes(l.query<IArrayList>(), probes);
    compare_routes(d.query<IArrayList>(), probes);
    compare_routes(s.query<IArrayList>(), probes);
  }
}

TEST_F(Manager, HostileListsAndComparersStopCleanly) {
  auto m = make<ArrayList_Manager>();
  // A comparer raising at its k-th call, for every k: the error passes, no element is lost.
  for (long k = 1; k < 40; ++k) {
    SCOPED_TRACE(k);
    long calls = 0;
    auto raising = test_support::comparer([&](const Variant& a, const Variant& b) -> std::int16_t {
      if (++calls == k) raise_runtime_error(RuntimeError::InvalidProcedureCall);
      return CompareVariants(a, b, CompareMode::Binary);
    });
    auto list = longs({5, 3, 9, 1, 7, 3, 8});
    (void)error_of([&] { m->QuickSort(list, 0, 6, raising); });
    std::vector<std::int32_t> held = longs_of(*list);
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (std::vector<std::int32_t>{1, 3, 3, 5, 7, 8, 9}));
    calls = 0;
    std::int16_t direction = 0;
    (void)error_of([&] { m->CheckMonotonity(list, direction, omitted<bool>(), raising); });
  }
  // A caller's list that loses an element at its k-th Item read: an error or a clean stop.
  for (std::int32_t k = 1; k < 20; ++k) {
    SCOPED_TRACE(k);
    auto inner = longs({1, 1, 2, 3, 3, 4});
    auto list = caller_list(inner);
    std::int32_t reads = 0;
    list->on_item = [&](std::int32_t) {
      if (++reads == k && inner->get_Count() > 0) inner->RemoveItem(0, true);
    };
    const std::int32_t error = error_of([&] { m->Reducate(as_list(list), true); });
    EXPECT_TRUE(error == 0 || error == kInvalid) << error;
    std::int16_t direction = 0;
    std::int32_t at = 0;
    (void)error_of([&] { m->CheckMonotonity(as_list(list), direction); });
    (void)error_of([&] { m->LogarithmicSearch(as_list(list), Variant(3), at, 1); });
    list->on_item = nullptr;
  }
}

TEST_F(Manager, LateBoundByNameAndOutOfMemory) {
  Variant manager(Ref<Unknown>(as_unknown(create_object(u"Quorvel.ArrayList_Manager").get())));
  Variant list(Ref<Unknown>(as_unknown(longs({1, 3, 5, 7}).get())));
  std::int32_t at = -1;
  Variant lo;
  std::vector<Variant> args{list, Variant(3), Variant::by_ref(at), Variant(static_cast<std::int16_t>(1)),
                            Variant::missing(), Variant::by_ref(lo)};
  EXPECT_TRUE(identical(invoke(manager, u"LogarithmicSearch", MemberKind::Method, args), Variant(true)));
  EXPECT_EQ(at, 1);
  EXPECT_TRUE(lo.is_empty());  // an Empty m is no omission: it reads as 0 and is not written
  std::int16_t direction = 9;
  std::vector<Variant> check{list, Variant::by_ref(direction)};
  invoke(manager, u"CheckMonotonity", MemberKind::Method, check);
  EXPECT_EQ(direction, 1);

  auto m = make<ArrayList_Manager>();
  fault::expect_fault_tolerant([] { return longs({1, 1, 2, 3, 3, 3, 4}); },
                               [&](Ref<IArrayList>& l) { m->Reducate(l, false); },
                               [](Ref<IArrayList>& l) { return testing::PrintToString(longs_of(*l)); });
}

}  // namespace
}  // namespace quorvel
