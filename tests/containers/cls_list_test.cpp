#include "quorvel/containers/cls_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
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

std::string text(clsList& l) {
  std::string out;
  for (std::int32_t i = 1; i <= l.get_lSize(); ++i) out += (i > 1 ? " " : "") + l.get_vElem(i).to_string().to_utf8();
  return out;
}

TEST_F(ClsListLive, PositionsOutsideTheListRaiseTheThreeMessages) {
  auto empty = make<clsList>();
  auto l = list_of({1, 2});
  struct Row {
    clsList* list;
    std::int32_t ix;
    const char* message;
  } rows[] = {{empty.get(), 1, "clsList bound error!"},
              {l.get(), 0, "clsList bound error <1!"},
              {l.get(), INT_MIN, "clsList bound error <1!"},
              {l.get(), 3, "clsList bound error >Size!"},
              {l.get(), INT_MAX, "clsList bound error >Size!"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.ix);
    EXPECT_RAISES(row.list->get_vElem(row.ix), 9, row.message);
    EXPECT_RAISES(row.list->put_vElem(row.ix, Variant(5)), 9, row.message);
    EXPECT_RAISES(row.list->vPopElemAt(row.ix), 9, row.message);
    EXPECT_RAISES(row.list->XchgElems(1, row.ix), 9, row.message);
  }
  EXPECT_EQ(text(*l), "1 2");
}

TEST_F(ClsListLive, RangeMembersReshapeTheList) {
  struct Row {
    const char* name;
    std::function<void(clsList&)> run;
    const char* after;  // or the 1001 description
  } rows[] = {
      // removing to the end or past it, concatenating itself and popping: in the scenario file
      {"remove 2,2", [](clsList& l) { l.RemoveElemsAt(2, 2); }, "1 4 5"},
      {"remove none", [](clsList& l) { l.RemoveElemsAt(3, 0); }, "1 2 3 4 5"},
      {"remove too many", [](clsList& l) { l.RemoveElemsAt(4, 3); }, "RemoveItemsAt/2"},
      {"remove INT_MAX", [](clsList& l) { l.RemoveElemsAt(2, INT_MAX); }, "RemoveItemsAt/2"},
      {"remove count below -1", [](clsList& l) { l.RemoveElemsAt(2, -2); }, "RemoveItemsAt/2"},
      {"insert inside", [](clsList& l) { l.InsertElemsAt(2, eight_nine()); }, "1 8 9 2 3 4 5"},
      {"insert at the end", [](clsList& l) { l.InsertElemsAt(6, eight_nine()); }, "1 2 3 4 5 8 9"},
      {"insert past the end", [](clsList& l) { l.InsertElemsAt(7, list_of({8})); }, "InsertItemsAt/1"},
      {"insert nothing anywhere", [](clsList& l) { l.InsertElemsAt(INT_MIN, make<clsList>()); }, "1 2 3 4 5"},
      {"insert itself", [](clsList& l) { l.InsertElemsAt(2, Ref<clsList>(&l)); }, "1 1 2 3 4 5 2 3 4 5"},
      {"set inside", [](clsList& l) { l.SetElemsAt(2, eight_nine()); }, "1 8 9 4 5"},
      {"set itself", [](clsList& l) { l.SetElemsAt(1, Ref<clsList>(&l)); }, "1 2 3 4 5"},
      {"reverse", [](clsList& l) { l.Reverse(); }, "5 4 3 2 1"},
      {"append twice", [](clsList& l) { l.AppendElem(Variant(u"a"), 2); }, "1 2 3 4 5 a a"},
      {"append negative", [](clsList& l) { l.AppendElem(Variant(0), -2); }, "1 2 3"},
      {"size down", [](clsList& l) { l.put_lSize(2); }, "1 2"},
      {"size up", [](clsList& l) { l.put_lSize(6); }, "1 2 3 4 5 "},
      {"clear", [](clsList& l) { l.Clear(); }, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto l = list_of({1, 2, 3, 4, 5});
    const test_support::Raised got = test_support::raised([&] { row.run(*l); });
    if (got.number != 0) {
      EXPECT_TRUE(test_support::raised_as(got, 1001, row.after, "clsList"));
      EXPECT_EQ(text(*l), "1 2 3 4 5");
    } else {
      EXPECT_EQ(text(*l), row.after);
    }
  }
}

TEST_F(ClsListLive, RunsThatDoNotFitRaiseAndSizesThatCannotBeRaiseFirst) {
  auto l = list_of({1, 2, 3});
  EXPECT_RAISES(l->SetElemsAt(3, eight_nine()), 9, "clsList bound error >Size!");
  EXPECT_EQ(text(*l), "1 2 8");  // what was written stays
  EXPECT_RAISES(l->RemoveElemsAt(0, 1), 9, "clsList bound error <1!");
  EXPECT_RAISES(l->InsertElemsAt(0, list_of({1})), 9, "clsList bound error <1!");
  EXPECT_RAISES(l->put_lSize(-1), 9);
  EXPECT_RAISES(l->AppendElem(Variant(1), -4), 9);
  EXPECT_RAISES(l->AppendElem(Variant(1), INT_MAX), 6);  // the size would leave the Long range
  EXPECT_RAISES(make<clsList>()->AppendElem(Variant(1), INT_MAX), 7);
  EXPECT_RAISES(l->put_lSize(INT_MAX), 7);
  EXPECT_RAISES(l->ConcatList(nullptr), 91);
  EXPECT_RAISES(l->InsertElemsAt(1, nullptr), 91);
  EXPECT_RAISES(l->SetElemsAt(1, nullptr), 91);
  EXPECT_EQ(text(*l), "1 2 8");
}

TEST_F(ClsListLive, ObjectsAreHeldByReferenceUnlessTheyHaveADefaultValue) {
  auto l = make<clsList>();
  Ref<Unknown> plain = make<clsList>();
  l->AppendElem(Variant(plain), 3);
  for (std::int32_t i = 1; i <= 3; ++i) EXPECT_EQ(l->get_vElem(i).if_object(), plain.get());
  l->put_vElem(1, Variant(test_support::token(Variant(u"v"))));
  EXPECT_EQ(l->get_vElem(1).to_string().to_utf8(), "v");
  EXPECT_RAISES(l->putref_vElem(2, Variant(4)), 424);
  l->putref_vElem(2, Variant::nothing());
  EXPECT_TRUE(l->get_vElem(2).is_object());
}

TEST_F(ClsListLive, GrowingMembersSurviveEveryAllocationFailure) {
  const std::function<void(Ref<clsList>&)> runs[] = {
      [](Ref<clsList>& l) { l->AppendElem(Variant(Array(VarKind::Long, 0, 2)), 3); },
      [](Ref<clsList>& l) { l->ConcatList(l); },
      [](Ref<clsList>& l) { l->InsertElemsAt(2, l); },
      [](Ref<clsList>& l) { l->put_lSize(40); },
  };
  for (const auto& run : runs) {
    EXPECT_GT(fault::expect_fault_tolerant(
                  [] {
                    return list_of({1, 2, 3, 4, 5, 6, 7, 8});
                  },
                  run, [](Ref<clsList>& l) { return std::to_string(l->get_lSize()); }),
              0);
  }
}

TEST_F(ClsListLive, CallerCodeThatChangesTheListFindsItWhole) {
  const long calls = fault::walk_meddling(
      [](fault::Meddler::Plan& plan) {
        auto l = list_of({1, 2, 3});
        plan.action = [raw = l.get()] { raw->Clear(); };
        l->putref_vElem(2, fault::meddler(plan, Variant(5)));
        return l;
      },
      [](Ref<clsList>& l) {
        l->Reverse();
        l->ConcatList(l);
        l->RemoveElemsAt(1, -1);
      },
      [](Ref<clsList>& l) { EXPECT_GE(l->get_lSize(), 0); });
  EXPECT_GT(calls, 1);
}

}  // namespace
}  // namespace quorvel
