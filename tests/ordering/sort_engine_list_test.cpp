// The list variant of the sort engine, driven through a list that logs every access.
#include "quorvel/ordering/sort_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/frame/error_catalogue.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using testing_support::FnComparer;
using testing_support::sign_of;
using testing_support::sorted_texts;

// An `IArrayList` over a vector of Variants that logs "get i", "let i" and "set i".
class LoggingList final : public ObjectImpl<IArrayList> {
 public:
  static constexpr const char* type_name = "TestLoggingList";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0201}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<LoggingList, IArrayList>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit LoggingList(std::vector<Variant> items) : items(std::move(items)) {}

  Variant get_Item(std::int32_t Index) override {
    note("get", Index);
    return items[checked(Index)];
  }
  void put_Item(std::int32_t Index, const Variant& Value) override {
    note("let", Index);
    items[checked(Index)] = Value.default_value();
  }
  void putref_Item(std::int32_t Index, const Variant& Value) override {
    note("set", Index);
    items[checked(Index)] = Variant(Value.to_object());
  }
  std::int32_t get_Count() override { return static_cast<std::int32_t>(items.size()); }

  // Not used by a sort.
  void SetArray(const Variant&) override { unused(); }
  Variant GetArray() override { unused(); }
  Ref<IArrayList> Copy(const Variant&, const Variant&) override { unused(); }
  void put_ShrinkFactor(float) override { unused(); }
  float get_ShrinkFactor() override { unused(); }
  std::int32_t get_LowerBound() override { unused(); }
  std::int32_t get_UpperBound() override { unused(); }
  void put_GrowLength(std::int32_t) override { unused(); }
  std::int32_t get_GrowLength() override { unused(); }
  void Shrink(std::int32_t) override { unused(); }
  void EraseArray() override { unused(); }
  void SetCount(std::int32_t, bool) override { unused(); }
  void AddItem(const Variant&) override { unused(); }
  void RemoveItem(std::int32_t, bool) override { unused(); }
  bool Find(const Variant&, std::int32_t&) override { unused(); }
  std::int32_t get_VarType() override { unused(); }
  Ref<IArrayList> CreateNew() override { unused(); }
  void Sort(std::int32_t, std::int32_t, Ref<IComparer>) override { unused(); }

  std::vector<Variant> items;
  std::vector<std::string> log;

 private:
  std::size_t checked(std::int32_t index) {
    if (index < 0 || index >= get_Count()) raise(Failure::InvalidArgument, as_unknown(this));
    return static_cast<std::size_t>(index);
  }
  void note(const char* what, std::int32_t index) { log.push_back(std::string(what) + " " + std::to_string(index)); }
  [[noreturn]] static void unused() { raise_runtime_error(RuntimeError::InvalidProcedureCall); }
};

std::vector<Variant> longs(std::initializer_list<std::int32_t> values) {
  std::vector<Variant> out;
  for (auto v : values) out.emplace_back(v);
  return out;
}

std::vector<std::int32_t> longs_of(const LoggingList& list) {
  std::vector<std::int32_t> out;
  for (const Variant& v : list.items) out.push_back(v.to_long());
  return out;
}

TEST(QuickSortList, SortsThroughItemWithAndWithoutComparer) {
  auto plain = make<LoggingList>(longs({4, 1, 3, 1, 2}));
  make<QuickSort>()->SortList(*plain, 0, 4, nullptr);
  EXPECT_EQ(longs_of(*plain), (std::vector<std::int32_t>{1, 1, 2, 3, 4}));

  auto reversed = make<LoggingList>(longs({4, 1, 3, 1, 2}));
  auto descending = make<FnComparer>([](const Variant& a, const Variant& b) { return sign_of(b.to_long() - a.to_long()); });
  make<QuickSort>()->SortList(*reversed, 1, 4, descending.get());
  EXPECT_EQ(longs_of(*reversed), (std::vector<std::int32_t>{4, 3, 2, 1, 1}));
}

TEST(QuickSortList, OneItemIsReadForEachTestAndExchangedWithItself) {
  auto list = make<LoggingList>(longs({7}));
  make<QuickSort>()->SortList(*list, 0, 0, nullptr);
  // Pivot, two tests, then the exchange: read I, read J, write I, write J.
  EXPECT_EQ(list->log, (std::vector<std::string>{"get 0", "get 0", "get 0", "get 0", "get 0", "let 0", "let 0"}));
  EXPECT_EQ(longs_of(*list), std::vector<std::int32_t>{7});
}

TEST(QuickSortList, TheListsIndexCheckGuardsTheRange) {
  auto empty = make<LoggingList>(std::vector<Variant>{});
  const Error e = testing_support::caught([&] { make<QuickSort>()->SortList(*empty, 0, -1, nullptr); });
  EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040001u));
  EXPECT_EQ(e.source(), String(u"TestLoggingList"));
  EXPECT_EQ(empty->log, std::vector<std::string>{"get 0"});  // the middle of [0, -1] is 0

  auto two = make<LoggingList>(longs({2, 1}));
  make<QuickSort>()->SortList(*two, 1, 0, nullptr);
  EXPECT_EQ(two->log, std::vector<std::string>{"get 0"});  // m > n: the pivot only
  EXPECT_EQ(longs_of(*two), (std::vector<std::int32_t>{2, 1}));
}

TEST(QuickSortList, WritesByTheKindTest) {
  const std::int64_t lives = Object::live_count();
  {
    // Objects without a default value travel by reference (Item set)...
    Ref<FnComparer> a = make<FnComparer>(nullptr);
    Ref<FnComparer> b = make<FnComparer>(nullptr);
    auto objects = make<LoggingList>(std::vector<Variant>{Variant(b), Variant(a)});
    auto rank = [&](const Variant& v) { return v.if_object() == as_unknown(a.get()) ? 0 : 1; };
    auto by_identity = make<FnComparer>([&](const Variant& x, const Variant& y) { return sign_of(rank(x) - rank(y)); });
    make<QuickSort>()->SortList(*objects, 0, 1, by_identity.get());
    EXPECT_EQ(objects->items[0].if_object(), as_unknown(a.get()));
    EXPECT_EQ(objects->items[1].if_object(), as_unknown(b.get()));
    EXPECT_EQ(std::count(objects->log.begin(), objects->log.end(), "set 0"), 1);

    // ...objects with a default value as that value (Item let).
    auto valued = make<LoggingList>(std::vector<Variant>{Variant(make<testing_support::Valued>(5)), Variant(3)});
    make<QuickSort>()->SortList(*valued, 0, 1, nullptr);
    EXPECT_EQ(std::count_if(valued->log.begin(), valued->log.end(), [](const std::string& s) { return s[0] == 's'; }), 0);
    EXPECT_EQ(valued->items[0].raw_code(), Variant::code(VarKind::Long));
    EXPECT_EQ(valued->items[1].raw_code(), Variant::code(VarKind::Long));
    EXPECT_EQ(longs_of(*valued), (std::vector<std::int32_t>{3, 5}));
  }
  EXPECT_EQ(Object::live_count(), lives);
}

TEST(QuickSortList, RaisingComparerLosesNoItem) {
  const std::vector<Variant> input = longs({5, 3, 9, 3, 1, 7, 5, 2, 8, 0, 4, 6});
  for (long k = 1, number = 5; number == 5; ++k) {
    SCOPED_TRACE(testing::Message() << "raises at call " << k);
    auto list = make<LoggingList>(input);
    number = test_support::error_of([&] { make<QuickSort>()->SortList(*list, 0, 11, testing_support::raising_at(k).get()); });
    EXPECT_TRUE(number == 0 || number == 5) << number;
    ASSERT_EQ(sorted_texts(list->items), sorted_texts(input));
  }
}

}  // namespace
}  // namespace quorvel
