// Every state-changing member of the ten lists, early- and late-bound, with each of its
// allocations failing in turn; and the object-holding lists with caller code that changes the
// list at each of its call-outs.
#include "support/fault_injection.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_boolean.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_integer.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_single.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {
namespace {

using fault::Meddler;

// Element i of a list of kind `E`, as a Variant: distinct, and objects where the kind holds them.
template <class E>
Variant seed(int i) {
  const String text(std::u16string{static_cast<char16_t>(u'a' + i), u' ', u'x'});
  if constexpr (std::is_same_v<E, VariantBool>) return Variant(i % 2 == 0);
  if constexpr (std::is_same_v<E, String>) return Variant(text);
  if constexpr (std::is_same_v<E, Ref<Unknown>>) return Variant(list_tests::token(Variant(i)));
  if constexpr (std::is_same_v<E, Variant>) return i % 2 ? Variant(list_tests::token(Variant(i))) : Variant(text);
  return Variant(static_cast<std::int16_t>(i + 1));
}

// Everything a caller can see of a list.
std::string state(IArrayList& list) {
  std::string text = std::to_string(list.get_Count()) + "/" + std::to_string(list.get_GrowLength()) + ":";
  for (std::int32_t i = 0; i < list.get_Count(); ++i) {
    const Variant item = list.get_Item(i);
    if (!item.is_object()) {
      text += " " + item.to_string().to_utf8();
    } else {
      text += item.if_object() ? " #" + item.default_value().to_string().to_utf8() : " Nothing";
    }
  }
  return text;
}

String text_of(IArrayList& list, Ref<IFormatter> formatter) {
  return Ref<IArrayList>(&list).query<IArrayList2>()->ToString(formatter);
}

// A late-bound call; the arguments stay off the heap, which is the library's alone here.
template <std::size_t N>
Variant call(IArrayList& list, std::u16string_view name, std::array<Variant, N> args) {
  return invoke(*as_unknown(&list.identity()), name, MemberKind::Method | MemberKind::Let, args);
}

// Four items in six slots, with a grow length of 1: the third append grows the storage, and
// every removal gives slots back.
template <class L>
Ref<IArrayList> four() {
  Ref<IArrayList> list = make<L>().template query<IArrayList>();
  list->put_GrowLength(3);
  for (int i = 0; i < 4; ++i) list->AddItem(seed<typename L::Element>(i));
  list->put_GrowLength(1);
  return list;
}

struct Operation {
  const char* name;
  std::function<void(IArrayList&, bool objects)> run;
  std::function<void(IArrayList&)> prepare = [](IArrayList&) {};
};

// The members that change a list or build something from it, with valid arguments.
const std::vector<Operation>& operations() {
  static const std::vector<Operation> ops = {
      {"AddItem", [](IArrayList& l, bool) { l.AddItem(l.get_Item(0)); },
       [](IArrayList& l) { l.SetCount(6, true); }},  // full: the append grows
      {"RemoveItem", [](IArrayList& l, bool) { l.RemoveItem(0, true); }},
      {"RemoveItem unordered", [](IArrayList& l, bool) { l.RemoveItem(0, false); }},
      {"Item",
       [](IArrayList& l, bool objects) { objects ? l.putref_Item(1, l.get_Item(0)) : l.put_Item(1, l.get_Item(0)); }},
      {"SetCount up, kept", [](IArrayList& l, bool) { l.SetCount(10, true); }},
      {"SetCount up, fresh", [](IArrayList& l, bool) { l.SetCount(10, false); }},
      {"SetCount down", [](IArrayList& l, bool) { l.SetCount(1, true); }},
      {"Shrink", [](IArrayList& l, bool) { l.Shrink(1); }},
      {"EraseArray", [](IArrayList& l, bool) { l.EraseArray(); }},
      {"SetArray, own kind", [](IArrayList& l, bool) { l.SetArray(l.GetArray()); }},
      {"SetArray, elements",
       [](IArrayList& l, bool objects) {
         if (objects) return;  // the object list takes object arrays only
         Array values(VarKind::Variant, 0, 2);
         values.put(0, l.get_Item(2));
         values.put(1, l.get_Item(1));
         l.SetArray(Variant(values));
       }},
      {"Sort", [](IArrayList& l, bool) { l.Sort(0, 2, list_tests::ascending()); }},
      {"Copy", [](IArrayList& l, bool) { l.Copy(Variant(1), Variant(2)); }},
      {"CreateNew", [](IArrayList& l, bool) { l.CreateNew(); }},
      {"ToString", [](IArrayList& l, bool) { text_of(l, nullptr); }},
      {"late-bound AddItem", [](IArrayList& l, bool) { call(l, u"AddItem", std::array{l.get_Item(2)}); }},
      {"late-bound SetCount",
       [](IArrayList& l, bool) {
         call(l, u"SetCount", std::array{Variant(7), Variant(true)});
       }},
      {"late-bound Copy", [](IArrayList& l, bool) { call(l, u"Copy", std::array<Variant, 0>{}); }},
      {"late-bound ToString", [](IArrayList& l, bool) { call(l, u"ToString", std::array<Variant, 0>{}); }},
  };
  return ops;
}

template <class L>
class ListFaults : public ::testing::Test {};
using AllLists =
    ::testing::Types<ArrayList_Boolean, ArrayList_Byte, ArrayList_Integer, ArrayList_Long, ArrayList_Single,
                     ArrayList_Double, ArrayList_String, ArrayList_Object, ArrayList_Variant, ArrayList_Value>;
TYPED_TEST_SUITE(ListFaults, AllLists);

TYPED_TEST(ListFaults, EveryAllocationFailureRaisesSevenAndChangesNothing) {
  constexpr bool objects = std::is_same_v<typename TypeParam::Element, Ref<Unknown>>;
  long failed = 0;
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    const auto prepared = [&] {
      Ref<IArrayList> list = four<TypeParam>();
      op.prepare(*list);
      return list;
    };
    failed += fault::expect_fault_tolerant(
        prepared, [&](Ref<IArrayList>& l) { op.run(*l, objects); }, [](Ref<IArrayList>& l) { return state(*l); });
  }
  EXPECT_GT(failed, 20) << "allocations are not being failed";
}

// The lists whose elements and arguments can be caller objects.
template <class L>
class ListMeddling : public ::testing::Test {};
using ObjectLists = ::testing::Types<ArrayList_Object, ArrayList_Variant, ArrayList_Value>;
TYPED_TEST_SUITE(ListMeddling, ObjectLists);

TYPED_TEST(ListMeddling, CallerCodeChangingTheListLeavesItConsistent) {
  // What the caller code does to the list at its chosen call-out.
  const std::array<std::pair<const char*, std::function<void(IArrayList&, Meddler::Plan&)>>, 4> actions{{
      {"erase", [](IArrayList& l, Meddler::Plan&) { l.EraseArray(); }},
      {"append", [](IArrayList& l, Meddler::Plan& p) { l.AddItem(fault::meddler(p, Variant(9))); }},
      {"remove", [](IArrayList& l, Meddler::Plan&) { l.RemoveItem(0, true); }},
      {"shrink", [](IArrayList& l, Meddler::Plan&) { l.SetCount(1, true); }},
  }};
  const std::array<std::pair<const char*, std::function<void(IArrayList&, Meddler::Plan&)>>, 6> calls{{
      {"Sort", [](IArrayList& l, Meddler::Plan& p) { l.Sort(0, l.get_UpperBound(), make<Meddler>(p, Variant())); }},
      {"ToString", [](IArrayList& l, Meddler::Plan& p) { text_of(l, make<Meddler>(p, Variant())); }},
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
  }};
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

}  // namespace
}  // namespace quorvel
