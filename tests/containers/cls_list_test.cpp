#include "quorvel/containers/cls_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using ClsListLive = test_support::LiveCountCheck;

Ref<clsList> list_of(std::vector<std::int32_t> values) {
  auto l = make<clsList>();
  for (std::int32_t v : values) l->AppendElem(Variant(v));
  return l;
}

Ref<clsList> eight_nine() { return list_of({8, 9}); }

// The elements as text; objects as "object" or "Nothing".
std::string text(clsList& l) {
  std::string out;
  for (std::int32_t i = 1; i <= l.get_lSize(); ++i) {
    const Variant v = l.get_vElem(i);
    out += (i > 1 ? " " : "") + (v.is_object() ? (v.if_object() ? "object" : "Nothing") : v.to_string().to_utf8());
  }
  return out;
}

// Each row starts from "1 2 3 4 5"; a member that raises leaves the list as `after` says. An
// object is held by reference unless it has a default value, which is taken instead.
TEST_F(ClsListLive, MembersReshapeTheListOrRefuse) {
  constexpr const char* kSame = "1 2 3 4 5";
  struct Row {
    const char* name;
    std::function<void(clsList&)> run;
    const char* after;
    std::int32_t number = 0;
    const char* message = nullptr;  // checked where given
  } rows[] = {
      // reading outside, the empty list's message, appending more than one, removing to the end or
      // past it, concatenating itself and popping: in the scenario file
      {"write at INT_MIN", [](clsList& l) { l.put_vElem(INT_MIN, Variant(0)); }, kSame, 9, "clsList bound error <1!"},
      {"pop at 6", [](clsList& l) { l.vPopElemAt(6); }, kSame, 9, "clsList bound error >Size!"},
      {"exchange with INT_MAX", [](clsList& l) { l.XchgElems(1, INT_MAX); }, kSame, 9, "clsList bound error >Size!"},
      {"remove 2,2", [](clsList& l) { l.RemoveElemsAt(2, 2); }, "1 4 5"},
      {"remove INT_MAX", [](clsList& l) { l.RemoveElemsAt(2, INT_MAX); }, kSame, 1001, "RemoveItemsAt/2"},
      {"remove count below -1", [](clsList& l) { l.RemoveElemsAt(2, -2); }, kSame, 1001, "RemoveItemsAt/2"},
      {"remove at 0", [](clsList& l) { l.RemoveElemsAt(0, 1); }, kSame, 9, "clsList bound error <1!"},
      {"insert inside", [](clsList& l) { l.InsertElemsAt(2, eight_nine()); }, "1 8 9 2 3 4 5"},
      {"insert at the end", [](clsList& l) { l.InsertElemsAt(6, eight_nine()); }, "1 2 3 4 5 8 9"},
      {"insert past the end", [](clsList& l) { l.InsertElemsAt(7, list_of({8})); }, kSame, 1001, "InsertItemsAt/1"},
      {"insert at 0", [](clsList& l) { l.InsertElemsAt(0, list_of({8})); }, kSame, 9, "clsList bound error <1!"},
      {"insert nothing anywhere", [](clsList& l) { l.InsertElemsAt(INT_MIN, make<clsList>()); }, kSame},
      {"insert itself", [](clsList& l) { l.InsertElemsAt(2, Ref<clsList>(&l)); }, "1 1 2 3 4 5 2 3 4 5"},
      {"set inside", [](clsList& l) { l.SetElemsAt(2, eight_nine()); }, "1 8 9 4 5"},
      // read before written, and what was written before the end stays
      {"set itself from 2", [](clsList& l) { l.SetElemsAt(2, Ref<clsList>(&l)); }, "1 1 2 3 4", 9,
       "clsList bound error >Size!"},
      {"reverse", [](clsList& l) { l.Reverse(); }, "5 4 3 2 1"},
      {"append negative", [](clsList& l) { l.AppendElem(Variant(0), -2); }, "1 2 3"},
      {"append below none", [](clsList& l) { l.AppendElem(Variant(0), -6); }, kSame, 9},
      {"append past a Long", [](clsList& l) { l.AppendElem(Variant(0), INT_MAX); }, kSame, 6},
      {"append an object", [](clsList& l) { l.AppendElem(Variant(Ref<Unknown>(make<clsList>())), 2); },
       "1 2 3 4 5 object object"},
      {"write a default value", [](clsList& l) { l.put_vElem(1, Variant(test_support::token(Variant(u"v")))); },
       "v 2 3 4 5"},
      {"write a reference to a value", [](clsList& l) { l.putref_vElem(2, Variant(4)); }, kSame, 424},
      {"write a reference to Nothing", [](clsList& l) { l.putref_vElem(2, Variant::nothing()); }, "1 Nothing 3 4 5"},
      {"size down", [](clsList& l) { l.put_lSize(2); }, "1 2"},
      {"size up", [](clsList& l) { l.put_lSize(6); }, "1 2 3 4 5 "},
      {"size below 0", [](clsList& l) { l.put_lSize(-1); }, kSame, 9},
      {"size beyond memory", [](clsList& l) { l.put_lSize(INT_MAX); }, kSame, 7},
      {"concatenate Nothing", [](clsList& l) { l.ConcatList(nullptr); }, kSame, 91},
      {"insert Nothing", [](clsList& l) { l.InsertElemsAt(1, nullptr); }, kSame, 91},
      {"set Nothing", [](clsList& l) { l.SetElemsAt(1, nullptr); }, kSame, 91},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto l = list_of({1, 2, 3, 4, 5});
    const test_support::Raised got = test_support::raised([&] { row.run(*l); });
    EXPECT_EQ(got.number, row.number);
    if (row.message) {
      EXPECT_EQ(got.description, row.message);
    }
    EXPECT_EQ(text(*l), row.after);
  }
}

TEST_F(ClsListLive, GrowingMembersSurviveEveryAllocationFailure) {
  const std::function<void(Ref<clsList>&)> runs[] = {
      [](Ref<clsList>& l) { l->AppendElem(Variant(Array(VarKind::Long, 0, 2)), 3); },
      [](Ref<clsList>& l) { l->AppendElem(Variant(u"nine")); },  // eight fill the storage: it grows
      [](Ref<clsList>& l) { l->ConcatList(l); },
      [](Ref<clsList>& l) { l->InsertElemsAt(2, l); },
      [](Ref<clsList>& l) { l->put_lSize(40); },
  };
  auto eight = [] { return list_of({1, 2, 3, 4, 5, 6, 7, 8}); };
  auto size = [](Ref<clsList>& l) { return std::to_string(l->get_lSize()); };
  for (const auto& run : runs) EXPECT_GT(fault::expect_fault_tolerant(eight, run, size), 0);
}

TEST_F(ClsListLive, CallerCodeThatChangesTheListFindsItWhole) {
  auto make_list = [](fault::Meddler::Plan& plan) {
    auto l = list_of({1, 2, 3});
    plan.action = [raw = l.get()] { raw->Clear(); };
    l->putref_vElem(2, fault::meddler(plan, Variant(5)));
    return l;
  };
  auto run = [](Ref<clsList>& l) {
    l->Reverse();
    l->ConcatList(l);
    l->RemoveElemsAt(1, -1);
  };
  EXPECT_GT(fault::walk_meddling(make_list, run, [](Ref<clsList>& l) { EXPECT_GE(l->get_lSize(), 0); }), 1);
}

}  // namespace
}  // namespace quorvel
