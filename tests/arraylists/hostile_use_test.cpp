// Caller code that changes the list while one of its members runs: a default value that empties
// it, a destructor that reads it while elements are released, a comparer that appends to it.
#include <gtest/gtest.h>

#include <functional>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "support/fault_injection.h"

namespace quorvel {
namespace {

using fault::Meddler;
using list_tests::kInvalidArgument;
using test_support::error_of;

class HostileUse : public list_tests::LiveCountCheck {
 protected:
  Meddler::Plan plan_;
  Variant meddler(Variant value) { return Variant(Ref<Unknown>(as_unknown(make<Meddler>(plan_, value).get()))); }
  void at_first_call_out(std::function<void()> action) {
    plan_.calls = 0;
    plan_.strike = 1;
    plan_.action = std::move(action);
  }
  // Before the objects of a case are released: their release must not act any more.
  void TearDown() override {
    plan_.strike = 0;
    list_tests::LiveCountCheck::TearDown();
  }
};

// Item let reads the value's default member before it may take the slot.
TEST_F(HostileUse, ItemLetWhoseDefaultValueEmptiesTheListRaisesTheIndexError) {
  for (const bool value_list : {false, true}) {
    for (const bool through_view : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (value_list ? "Value" : "Variant") << (through_view ? " view" : ""));
      auto variants = list_tests::list_of<ArrayList_Variant>({Variant(1), Variant(2)});
      auto values = list_tests::list_of<ArrayList_Value>({Variant(1), Variant(2)});
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

// Every argument is converted before the range is checked against the list as it then is.
TEST_F(HostileUse, RangeArgumentWhoseDefaultValueRemovesAnItemIsCheckedAfterwards) {
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
    Ref<ArrayList_Long> list = list_tests::list_of<ArrayList_Long>({3, 2, 1});
    at_first_call_out([&] { list->RemoveItem(0, true); });
    Variant m(0);
    Variant n = meddler(2);
    EXPECT_RAISES(row.call(*list, m, n), row.raised);
    EXPECT_EQ(list_tests::items(*list), (std::vector<std::int32_t>{2, 1}));
  }
}

TEST_F(HostileUse, AddRangeReadsTheBufferAfterConvertingStartIx) {
  Ref<ArrayList_Byte> list = make<ArrayList_Byte>();
  ArrayOf<std::uint8_t> buffer = list_tests::array_of<std::uint8_t>(1, {1, 2, 3, 4});
  at_first_call_out([&] { buffer.erase(); });
  Variant start = meddler(2);
  EXPECT_RAISES(list->AddRange(buffer, start, omitted<Variant>()), 9);
  EXPECT_EQ(list->get_Count(), 0);
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
    const Variant values(Array(list_tests::array_of(0, row.values)));
    std::int32_t raised = -1;
    std::vector<std::int32_t> inside;
    bool first = true;
    auto comparer = list_tests::comparer([&](const Variant& a, const Variant& b) -> std::int16_t {
      if (std::exchange(first, false)) {
        raised = error_of([&] { list->SetArray(values); });
        inside = list_tests::items(*list);
      }
      return static_cast<std::int16_t>(var_compare(a, b, false));
    });
    list->Sort(Variant::missing(), Variant::missing(), comparer);
    EXPECT_EQ(raised, row.raised);
    EXPECT_EQ(inside, (std::vector<std::int32_t>{3, 1, 2}));
    EXPECT_EQ(list_tests::items(*list), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(list->capacity(), 5);
  }
}

}  // namespace
}  // namespace quorvel
