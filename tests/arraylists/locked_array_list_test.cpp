#include "quorvel/arraylists/locked_array_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/fault_injection.h"

namespace quorvel::list_tests {
namespace {

using LockedList = LiveCountCheck;
constexpr std::int32_t kAlready = error_number::kInvalidState;

template <class T>
Ref<Unknown> any(const Ref<T>& object) {
  return Ref<Unknown>(as_unknown(object.get()));
}

Variant variants(std::vector<Variant> values) { return Variant(Array(array_of(0, values))); }

// A caller's reader over a Variant list that logs which members it is asked for, and can run
// `during_item` at an Item read.
class LoggingReader final : public ObjectImpl<IArrayReader> {
 public:
  static constexpr const char* type_name = "TestLoggingReader";
  static constexpr Guid iid{"{6A0D6E5B-1F0B-4E29-9E3B-7C1A52E4D101}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<LoggingReader, IArrayReader>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  explicit LoggingReader(std::vector<Variant> values, std::int32_t kind) : kind_(kind) {
    for (const Variant& v : values) list_->AddItem(v);
  }
  Variant GetArray() override { return log("GetArray"), Variant(Array(list_->GetArray())); }
  Ref<IArrayList> Copy(const Variant&, const Variant&) override { return nullptr; }
  std::int32_t get_LowerBound() override { return log("LowerBound"), 0; }
  std::int32_t get_UpperBound() override { return log("UpperBound"), list_->get_UpperBound(); }
  std::int32_t get_Count() override { return list_->get_Count(); }
  Variant get_Item(std::int32_t Index) override {
    log("Item");
    if (during_item) during_item(Index);
    return list_->get_Item(Index);
  }
  bool Find(const Variant&, std::int32_t&) override { return false; }
  std::int32_t get_VarType() override { return log("VarType"), kind_; }

  std::string calls;
  std::function<void(std::int32_t)> during_item;

 private:
  void log(const char* name) { calls += std::string(calls.empty() ? "" : " ") + name; }
  Ref<ArrayList_Variant> list_ = make<ArrayList_Variant>();
  std::int32_t kind_;
};

TEST_F(LockedList, FillsOnceAndTheEdgeCasesOfEachInitialiser) {
  // The element path swallows a failed conversion: initialised and empty.
  auto swallowed = make_locked_list<LockedArrayList_Long>(variants({Variant(1), Variant(u"x"), Variant(3)}));
  EXPECT_EQ(swallowed->get_Count(), 0);
  Variant again = variants({Variant(1)});
  EXPECT_RAISES(swallowed->FromArray(again), kAlready, "Object already initialized!", "LockedArrayList_Long");

  auto filled = make_locked_list<LockedArrayList_Long>(Variant(Array(array_of<std::int32_t>(0, {1, 2, 3}))));
  EXPECT_EQ(items(*filled), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(filled->get_UpperBound(), 2);
  Ref<IArrayInitializer> init = filled.query<IArrayInitializer>();
  EXPECT_RAISES(init->FromArrayList(list_of<ArrayList_Long>({9}).query<IArrayList>()), kAlready);
  EXPECT_EQ(filled->get_Count(), 3);

  // Same kind: a copy, independent of the source afterwards.
  auto source = list_of<ArrayList_Long>({4, 5});
  auto copied = make_locked_list<LockedArrayList_Long>();
  copied->FromArrayList(source.query<IArrayList>());
  source->put_Item(0, 40);
  EXPECT_EQ(items(*copied), (std::vector<std::int32_t>{4, 5}));

  // Another kind: item by item, 8.5 rounding half to even.
  auto mixed = list_of<ArrayList_Variant>({Variant(u"7"), Variant(8.5)});
  auto integers = make_locked_list<LockedArrayList_Integer>();
  integers->FromArrayList(mixed.query<IArrayList>());
  EXPECT_EQ(items(*integers), (std::vector<std::int16_t>{7, 8}));

  // A conversion error leaves the list open; what was added before it stays.
  auto longs = make_locked_list<LockedArrayList_Long>();
  EXPECT_RAISES(longs->FromArrayList(list_of<ArrayList_Variant>({Variant(1), Variant(u"x")}).query<IArrayList>()), 13);
  longs->FromArrayList(list_of<ArrayList_Variant>({Variant(2)}).query<IArrayList>());
  EXPECT_EQ(items(*longs), (std::vector<std::int32_t>{1, 2}));
  EXPECT_RAISES(longs->FromArrayList(nullptr), kAlready);
  EXPECT_RAISES(make<LockedArrayList_Long>()->FromArrayList(nullptr), 91);
}

TEST_F(LockedList, ReadsAsAnEmptyListUntilFilledAndKnowsItsKind) {
  struct Row {
    Ref<Unknown> list;
    std::int32_t var_type;
  };
  const Row rows[] = {{any(make<LockedArrayList_Boolean>()), 11}, {any(make<LockedArrayList_Byte>()), 17},
                      {any(make<LockedArrayList_Double>()), 5},   {any(make<LockedArrayList_Integer>()), 2},
                      {any(make<LockedArrayList_Long>()), 3},     {any(make<LockedArrayList_Single>()), 4},
                      {any(make<LockedArrayList_String>()), 8}};
  for (const Row& row : rows) {
    Ref<IArrayReader> reader = row.list.query<IArrayReader>();
    SCOPED_TRACE(row.var_type);
    ASSERT_TRUE(reader);
    EXPECT_FALSE(row.list.query<IArrayList>());  // read-only: no changing view
    EXPECT_EQ(reader->get_VarType(), row.var_type);
    EXPECT_EQ(reader->get_Count(), 0);
    EXPECT_EQ(reader->get_LowerBound(), 0);
    EXPECT_EQ(reader->get_UpperBound(), -1);
    std::int32_t at = -7;
    EXPECT_FALSE(reader->Find(Variant(1), at));
    EXPECT_EQ(at, -7);
    EXPECT_RAISES(reader->get_Item(0), kInvalidArgument);
    EXPECT_FALSE(reader->GetArray().if_array()->allocated());
    EXPECT_FALSE(row.list->identity().class_info().creatable());
  }
}

TEST_F(LockedList, ReadingMembersCopyAndFind) {
  auto strings = make_locked_list<LockedArrayList_String>(variants({Variant(u"a"), Variant(u"b")}));
  Ref<IArrayList> copy = strings->Copy();
  copy->AddItem(Variant(u"c"));
  EXPECT_EQ(copy->identity().class_info().name, std::string("ArrayList_String"));
  EXPECT_EQ(copy->get_Count(), 3);
  EXPECT_EQ(strings->get_Count(), 2);
  std::int32_t at = -1;
  EXPECT_TRUE(strings->Find(Variant(u"B"), at));  // ignoring case
  EXPECT_EQ(at, 1);

  auto longs = make_locked_list<LockedArrayList_Long>(variants({Variant(3), Variant(5)}));
  EXPECT_TRUE(longs->Find(Variant(u"5"), at));
  EXPECT_EQ(at, 1);
  EXPECT_RAISES(longs->Find(Variant(u"x"), at), 13);
  EXPECT_RAISES(longs->Copy(Variant(1), Variant(2)), kInvalidArgument);
  EXPECT_TRUE(identical(longs.query<IArrayReader>()->get_Item(1), Variant(5)));
}

TEST_F(LockedList, AReaderIsAskedForItsBoundsBeforeItsKind) {
  struct Row {
    const char* name;
    std::int32_t kind;
    const char* calls;
  };
  const Row rows[] = {{"same kind", 3, "LowerBound UpperBound VarType GetArray"},
                      {"other kind", 8, "LowerBound UpperBound VarType Item Item"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto reader = make<LoggingReader>(std::vector<Variant>{Variant(1), Variant(2)}, row.kind);
    auto locked = make_locked_list<LockedArrayList_Long>();
    locked->FromArrayReader(Ref<IArrayReader>(reader.get()));
    EXPECT_EQ(reader->calls, row.calls);
    EXPECT_EQ(items(*locked), (std::vector<std::int32_t>{1, 2}));
  }
}

TEST_F(LockedList, CallerCodeCannotStartASecondFillWhileOneRuns) {
  auto locked = make_locked_list<LockedArrayList_Long>();
  auto reader = make<LoggingReader>(std::vector<Variant>{Variant(1), Variant(2)}, 0);
  std::int32_t nested = 0;
  reader->during_item = [&](std::int32_t) {
    Variant values = variants({Variant(9)});
    nested = error_of([&] { locked->FromArray(values); });
  };
  locked->FromArrayReader(Ref<IArrayReader>(reader.get()));
  EXPECT_EQ(nested, kAlready);
  EXPECT_EQ(items(*locked), (std::vector<std::int32_t>{1, 2}));
  reader->during_item = nullptr;  // the reader no longer holds the list
}

TEST_F(LockedList, LateBoundByNameWithItemAsTheDefaultMember) {
  auto made = make_locked_list<LockedArrayList_Double>(variants({Variant(1.5), Variant(2.5)}));
  Variant list(Ref<Unknown>(as_unknown(made.get())));
  std::vector<Variant> none;
  std::vector<Variant> one{Variant(1)};
  EXPECT_TRUE(identical(invoke(list, u"Count", MemberKind::Get, none), Variant(2)));
  EXPECT_TRUE(identical(invoke(*as_unknown(made.get()), DispId{0}, MemberKind::Get, one), Variant(2.5)));
  std::vector<Variant> values{variants({Variant(1)})};
  EXPECT_EQ(error_of([&] { invoke(list, u"FromArray", MemberKind::Method, values); }), 438);  // not its own
  Ref<IArrayInitializer> init = made.query<IArrayInitializer>();
  EXPECT_EQ(error_of([&] { invoke(*init, u"FromArray", MemberKind::Method, values); }), kAlready);
  EXPECT_NE(error_of([] { create_object(u"Quorvel.LockedArrayList_Double"); }), 0);
}

TEST_F(LockedList, RunningOutOfMemoryLeavesTheListOpenAndAsItWas) {
  Variant values = variants({Variant(u"a"), Variant(2), Variant(u"c")});
  fault::expect_fault_tolerant(
      [] { return make_locked_list<LockedArrayList_String>(); },
      [&](Ref<LockedArrayList_String>& list) { list->FromArray(values); },
      [](Ref<LockedArrayList_String>& list) {
        std::string text;
        for (const String& s : items(*list)) text += s.to_utf8() + " ";
        return text;
      });
}

}  // namespace
}  // namespace quorvel::list_tests
