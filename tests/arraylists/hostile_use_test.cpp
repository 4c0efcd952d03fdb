// Caller code that changes the list while one of its members runs: first a walk over every
// call-out of the members that make them, then the cases that once broke a list (a default value
// that empties it, a destructor that reads it while elements are released, a comparer that
// appends to it).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "support/fault_injection.h"

namespace quorvel::list_tests {
namespace {

using fault::Meddler;
using Longs = std::vector<std::int32_t>;

// The lists whose elements and arguments can be caller objects.
template <class L>
class ListMeddling : public ::testing::Test {};
using ObjectLists = ::testing::Types<ArrayList_Object, ArrayList_Variant, ArrayList_Value>;
TYPED_TEST_SUITE(ListMeddling, ObjectLists);

TYPED_TEST(ListMeddling, CallerCodeChangingTheListLeavesItConsistent) {
  using Step = std::pair<const char*, std::function<void(IArrayList&, Meddler::Plan&)>>;
  // What the caller code does to the list at its chosen call-out.
  const Step actions[] = {
      {"erase", [](IArrayList& l, Meddler::Plan&) { l.EraseArray(); }},
      {"append", [](IArrayList& l, Meddler::Plan& p) { l.AddItem(fault::meddler(p, Variant(9))); }},
      {"remove", [](IArrayList& l, Meddler::Plan&) { l.RemoveItem(0, true); }},
      {"shrink", [](IArrayList& l, Meddler::Plan&) { l.SetCount(1, true); }},
  };
  const Step calls[] = {
      {"Sort", [](IArrayList& l, Meddler::Plan& p) { l.Sort(0, l.get_UpperBound(), make<Meddler>(p, Variant())); }},
      {"ToString",
       [](IArrayList& l, Meddler::Plan& p) {
         Ref<IFormatter> formatter = make<Meddler>(p, Variant());
         Ref<IArrayList>(&l).query<IArrayList2>()->ToString(formatter);
       }},
      {"Find",
       [](IArrayList& l, Meddler::Plan& p) {
         std::int32_t at = 0;
         l.Find(fault::meddler(p, Variant(2)), at);
       }},
      {"Item",
       [](IArrayList& l, Meddler::Plan& p) {
         const Variant value = fault::meddler(p, Variant(5));
         l.get_VarType() == 9 ? l.putref_Item(1, value) : l.put_Item(1, value);
       }},
      {"RemoveItem", [](IArrayList& l, Meddler::Plan&) { l.RemoveItem(1, true); }},
      {"SetCount", [](IArrayList& l, Meddler::Plan&) { l.SetCount(0, false); }},
  };
  for (const auto& action : actions) {
    for (const auto& call : calls) {
      SCOPED_TRACE(std::string(call.first) + " while caller code does " + action.first);
      fault::walk_meddling(
          [&](Meddler::Plan& plan) {
            Ref<IArrayList> list = make<TypeParam>().template query<IArrayList>();
            list->put_GrowLength(2);
            for (int i = 0; i < 4; ++i) list->AddItem(fault::meddler(plan, Variant(4 - i)));
            plan.action = [&plan, l = list.get(), &act = action.second] {
              (void)fault::outcome_of([&] { act(*l, plan); });
            };
            return std::make_pair(list, &plan);
          },
          [&](auto& subject) { call.second(*subject.first, *subject.second); },
          [](auto& subject) {
            IArrayList& l = *subject.first;
            std::set<const Object*> seen;
            for (std::int32_t i = 0; i < l.get_Count(); ++i) {
              const Variant item = l.get_Item(i);  // raises if the count outruns the storage
              if (Unknown* o = item.if_object()) {
                EXPECT_TRUE(seen.insert(&o->identity()).second) << "held twice";
              }
            }
          });
    }
  }
}

class HostileUse : public LiveCountCheck {
 protected:
  Meddler::Plan plan_;
  Variant meddler(Variant value) { return fault::meddler(plan_, std::move(value)); }
  void at_first_call_out(std::function<void()> action) {
    plan_.calls = 0;
    plan_.strike = 1;
    plan_.action = std::move(action);
  }
  // Before the objects of a case are released: their release must not act any more.
  void TearDown() override {
    plan_.strike = 0;
    LiveCountCheck::TearDown();
  }
};

// Every argument is converted before the list is looked at: a let reads the value's default
// member before it may take the slot, and a range or a start is checked against the list or the
// buffer as they are once the argument is known.
TEST_F(HostileUse, AnArgumentWhoseDefaultValueChangesTheListIsCheckedAfterwards) {
  for (const bool value_list : {false, true}) {
    for (const bool through_view : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (value_list ? "Value" : "Variant") << (through_view ? " view" : ""));
      auto variants = list_of<ArrayList_Variant>({Variant(1), Variant(2)});
      auto values = list_of<ArrayList_Value>({Variant(1), Variant(2)});
      Ref<IArrayList> list = value_list ? values.query<IArrayList>() : variants.query<IArrayList>();
      at_first_call_out([&] { list->EraseArray(); });
      const Variant value = meddler(9);
      EXPECT_RAISES(through_view ? list->put_Item(1, value)
                    : value_list ? values->put_Item(1, value)
                                 : variants->put_Item(1, value),
                    kInvalidArgument);
      EXPECT_EQ(list->get_Count(), 0);
    }
  }
  const struct {
    const char* name;
    std::function<void(ArrayList_Long&, Variant&, Variant&)> call;
    std::int32_t raised;
  } rows[] = {
      {"Sort", [](ArrayList_Long& l, Variant& m, Variant& n) { l.Sort(m, n); }, kInvalidArgument},
      {"Copy", [](ArrayList_Long& l, Variant& m, Variant& n) { l.Copy(m, n); }, kInvalidArgument},
      {"IncrementAbove", [](ArrayList_Long& l, Variant& m, Variant& n) { l.IncrementAbove(0, m, n); }, 9},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<ArrayList_Long> list = list_of<ArrayList_Long>({3, 2, 1});
    at_first_call_out([&] { list->RemoveItem(0, true); });
    Variant m(0);
    Variant n = meddler(2);
    EXPECT_RAISES(row.call(*list, m, n), row.raised);
    EXPECT_EQ(items(*list), (Longs{2, 1}));
  }
  Ref<ArrayList_Byte> bytes = make<ArrayList_Byte>();
  ArrayOf<std::uint8_t> buffer = array_of<std::uint8_t>(1, {1, 2, 3, 4});
  at_first_call_out([&] { buffer.erase(); });
  Variant start = meddler(2);
  EXPECT_RAISES(bytes->AddRange(buffer, start, omitted<Variant>()), 9);
  EXPECT_EQ(bytes->get_Count(), 0);
}

// An element released by a member finds the list already without it.
TEST_F(HostileUse, ReleasedElementsSeeTheListWithoutThem) {
  const struct {
    const char* name;
    std::function<void(IArrayList&)> shrink;
    std::int32_t count_after;
    std::function<void(IArrayList&)> prepare = [](IArrayList&) {};
  } rows[] = {
      {"AddItem over a spare slot", [](IArrayList& l) { l.AddItem(l.get_Item(0)); }, 3,
       [](IArrayList& l) { l.SetCount(2, true); }},
      {"SetCount to 0", [](IArrayList& l) { l.SetCount(0, true); }, 0},
      {"SetCount within the capacity", [](IArrayList& l) { l.SetCount(1, true); }, 1},
      {"RemoveItem", [](IArrayList& l) { l.RemoveItem(0, true); }, 2},
      {"EraseArray", [](IArrayList& l) { l.EraseArray(); }, 0},
  };
  for (const bool objects : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.name) + (objects ? " (Object list)" : " (Variant list)"));
      Ref<IArrayList> list =
          objects ? make<ArrayList_Object>().query<IArrayList>() : make<ArrayList_Variant>().query<IArrayList>();
      list->put_GrowLength(1);
      for (int i = 0; i < 3; ++i) list->AddItem(meddler(i));
      row.prepare(*list);
      std::int32_t seen_count = -1;
      std::int32_t seen_capacity = -1;
      at_first_call_out([&] {
        seen_count = list->get_Count();
        auto* variants = dynamic_cast<ArrayListStore<Variant>*>(&list->identity());
        seen_capacity =
            variants ? variants->capacity() : dynamic_cast<ArrayListStore<Ref<Unknown>>&>(list->identity()).capacity();
      });
      row.shrink(*list);
      plan_.strike = 0;
      EXPECT_EQ(seen_count, row.count_after);
      EXPECT_LE(seen_count, seen_capacity);
    }
  }
}

// SetArray from a comparer of a running sort: the storage cannot grow, and the list must end up
// as it was whether the call fails (a full storage) or swallows a conversion failure.
TEST_F(HostileUse, SetArrayInsideASortOfTheSameListLeavesItAsItWas) {
  const struct {
    const char* name;
    std::vector<Variant> values;
    std::int32_t raised;
  } rows[] = {
      {"storage full", {Variant(7), Variant(8), Variant(9)}, 10},
      {"conversion fails", {Variant(7), Variant(u"x")}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<ArrayList_Long> list = make<ArrayList_Long>();
    list->put_GrowLength(5);
    for (std::int32_t v : {3, 1, 2}) list->AddItem(v);
    list->put_GrowLength(1);  // two spare slots; the next shrink would give one back
    const Variant values(Array(array_of(0, row.values)));
    std::int32_t raised = -1;
    Longs inside;
    auto comparer = list_tests::comparer([&](const Variant& a, const Variant& b) -> std::int16_t {
      if (raised < 0) {
        raised = error_of([&] { list->SetArray(values); });
        inside = items(*list);
      }
      return static_cast<std::int16_t>(var_compare(a, b, false));
    });
    list->Sort(Variant::missing(), Variant::missing(), comparer);
    EXPECT_EQ(raised, row.raised);
    EXPECT_EQ(inside, (Longs{3, 1, 2}));
    EXPECT_EQ(items(*list), (Longs{1, 2, 3}));
    EXPECT_EQ(list->capacity(), 5);
  }
}

}  // namespace
}  // namespace quorvel::list_tests
