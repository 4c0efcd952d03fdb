// The locked lists: filled once and read-only after, and what they ask of a source while filling.
#include "quorvel/arraylists/locked_array_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"

namespace quorvel::list_tests {
namespace {

using LockedList = LiveCountCheck;
using Longs = std::vector<std::int32_t>;

Variant variants(std::vector<Variant> values) { return Variant(Array(array_of(0, values))); }
template <class T>
Ref<Unknown> any(const Ref<T>& object) {
  return Ref<Unknown>(as_unknown(object.get()));
}

// A caller's reader: a library list's reader that logs the members asked for; `on_item` runs at
// each Item read.
class LoggingReader final : public ObjectImpl<IArrayReader> {
 public:
  static constexpr const char* type_name = "TestLoggingReader";
  static constexpr Guid iid{"{6A0D6E5B-1F0B-4E29-9E3B-7C1A52E4D101}"};
  QUORVEL_CLASS_INFO(describe_class<LoggingReader, IArrayReader>(ClassFlags::None, {}))
  explicit LoggingReader(Ref<IArrayReader> inner) : inner_(std::move(inner)) {}
#define TEST_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name)                             \
  params override {                                          \
    calls += std::string(calls.empty() ? "" : " ") + #Name;  \
    if constexpr (std::string_view(#Name) == "Item")         \
      if (on_item) on_item();                                \
    return inner_->QUORVEL_CPP_NAME(kind, Name) args;        \
  }
  QUORVEL_IARRAYREADER_MEMBERS(TEST_FORWARD_)
#undef TEST_FORWARD_
  std::string calls;
  std::function<void()> on_item;

 private:
  Ref<IArrayReader> inner_;
};

TEST_F(LockedList, FillsOnceAndTheEdgeCasesOfEachInitialiserAlsoWithoutMemory) {
  // The element path swallows a failed conversion: initialised and empty.
  auto swallowed = make_locked_list<LockedArrayList_Long>(variants({Variant(1), Variant(u"x"), Variant(3)}));
  EXPECT_EQ(swallowed->get_Count(), 0);
  Variant again = variants({Variant(1)});
  EXPECT_RAISES(swallowed->FromArray(again), kInvalidState, "Object already initialized!", "LockedArrayList_Long");

  // Same kind: a copy, independent of its source afterwards.
  auto source = list_of<ArrayList_Long>({4, 5});
  auto copied = make_locked_list<LockedArrayList_Long>();
  copied->FromArrayList(source.query<IArrayList>());
  source->put_Item(0, 40);
  EXPECT_EQ(items(*copied), (Longs{4, 5}));

  // Another kind, item by item: a failed fill leaves the list open, keeping what it added.
  auto longs = make_locked_list<LockedArrayList_Long>();
  EXPECT_RAISES(longs->FromArrayList(list_of<ArrayList_Variant>({Variant(1), Variant(u"x")}).query<IArrayList>()), 13);
  longs->FromArrayList(list_of<ArrayList_Variant>({Variant(2)}).query<IArrayList>());
  EXPECT_EQ(items(*longs), (Longs{1, 2}));
  EXPECT_RAISES(longs->FromArrayList(source.query<IArrayList>()), kInvalidState);
  EXPECT_RAISES(make<LockedArrayList_Long>()->FromArrayList(nullptr), 91);
  Ref<IArrayList> copy = longs->Copy();
  copy->AddItem(Variant(3));  // an ordinary list of the inner kind
  EXPECT_EQ(copy->identity().class_info().name, std::string("ArrayList_Long"));
  EXPECT_EQ(longs->get_Count(), 2);

  Variant strings = variants({Variant(u"a"), Variant(2), Variant(u"c")});
  fault::expect_fault_tolerant([] { return make_locked_list<LockedArrayList_String>(); },
                               [&](Ref<LockedArrayList_String>& list) { list->FromArray(strings); },
                               [](Ref<LockedArrayList_String>& list) { return std::to_string(list->get_Count()); });
}

// Unfilled, each kind reads as an empty list; late-bound, FromArray is reached only through the
// initialiser's interface and Item is the default member.
TEST_F(LockedList, EachKindReadsAsEmptyUntilFilledThenOnlyReads) {
  struct Row {
    Ref<Unknown> list;
    std::int32_t var_type;
  };
  const Row rows[] = {{any(make<LockedArrayList_Boolean>()), 11}, {any(make<LockedArrayList_Byte>()), 17},
                      {any(make<LockedArrayList_Double>()), 5},   {any(make<LockedArrayList_Integer>()), 2},
                      {any(make<LockedArrayList_Long>()), 3},     {any(make<LockedArrayList_Single>()), 4},
                      {any(make<LockedArrayList_String>()), 8}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.var_type);
    Ref<IArrayReader> reader = row.list.query<IArrayReader>();
    ASSERT_TRUE(reader);
    EXPECT_FALSE(row.list.query<IArrayList>());
    EXPECT_FALSE(row.list->identity().class_info().creatable());
    EXPECT_EQ(reader->get_VarType(), row.var_type);
    EXPECT_EQ(reader->get_Count() + reader->get_LowerBound() + reader->get_UpperBound(), -1);
    std::int32_t at = -7;
    EXPECT_FALSE(reader->Find(Variant(1), at));
    EXPECT_RAISES(reader->get_Item(0), kInvalidArgument);
    EXPECT_FALSE(reader->GetArray().if_array()->allocated());

    std::vector<Variant> values{variants({Variant(1)})}, first{Variant(0)};
    EXPECT_RAISES(invoke(*row.list, u"FromArray", MemberKind::Method, values), 438);
    Unknown& initializer = *row.list.query<IArrayInitializer>();
    invoke(initializer, u"FromArray", MemberKind::Method, values);
    EXPECT_RAISES(invoke(initializer, u"FromArray", MemberKind::Method, values), kInvalidState);
    EXPECT_EQ(invoke(*row.list, DispId{0}, MemberKind::Get, first).var_type(), row.var_type);
  }
}

TEST_F(LockedList, AReaderIsAskedForItsBoundsFirstAndCannotStartASecondFill) {
  struct Row {
    Ref<IArrayReader> source;
    const char* calls;
  };
  const Row rows[] = {{list_of<ArrayList_Long>({1, 2}).query<IArrayReader>(), "LowerBound UpperBound VarType GetArray"},
                      {list_of<ArrayList_Variant>({Variant(1), Variant(2)}).query<IArrayReader>(),
                       "LowerBound UpperBound VarType Item Item"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.calls);
    auto reader = make<LoggingReader>(row.source);
    auto locked = make_locked_list<LockedArrayList_Long>();
    std::int32_t nested = 0;
    reader->on_item = [&] {
      Variant values = variants({Variant(9)});
      nested = error_of([&] { locked->FromArray(values); });
    };
    locked->FromArrayReader(Ref<IArrayReader>(reader.get()));
    EXPECT_EQ(reader->calls, row.calls);
    EXPECT_EQ(items(*locked), (Longs{1, 2}));
    EXPECT_EQ(nested, std::string_view(row.calls).ends_with("Item") ? kInvalidState : 0);
    reader->on_item = nullptr;
  }
}

}  // namespace
}  // namespace quorvel::list_tests
