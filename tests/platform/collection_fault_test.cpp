// Collection under failing allocations and under caller code that changes it mid-call.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "quorvel/platform/collection.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"

namespace quorvel {
namespace {

using fault::Meddler;

// Items in order, and which of the keys used below are present.
std::string state(const Collection& c) {
  std::string text = std::to_string(c.Count()) + ":";
  for (const Variant& item : c) text += " " + (item.is_object() ? std::string("#") : item.to_string().to_utf8());
  for (const char16_t* key : {u"one", u"two", u"\u00c4rger", u"new", u"Neu\u00df"})
    text += c.contains(key) ? " +" : " -";
  return text;
}

Ref<Collection> filled() {
  Ref<Collection> c = make<Collection>();
  c->Add(Variant(1), Variant(u"one"));
  c->Add(Variant(u"text"));
  c->Add(Variant(2), Variant(u"two"));
  c->Add(Variant(3), Variant(u"\u00c4rger"));
  return c;
}

TEST(CollectionFaults, EveryAllocationFailureRaisesSevenAndChangesNothing) {
  const std::vector<std::pair<const char*, std::function<void(Collection&)>>> operations = {
      {"Add", [](Collection& c) { c.Add(Variant(u"more text")); }},
      {"Add with a key", [](Collection& c) { c.Add(Variant(4), Variant(u"Neu\u00df")); }},
      {"Add before a key", [](Collection& c) { c.Add(Variant(5), Variant(u"new"), Variant(u"\u00c4RGER")); }},
      {"Add after a position",
       [](Collection& c) { c.Add(Variant(6), Variant::missing(), Variant::missing(), Variant(1)); }},
      {"Remove by key", [](Collection& c) { c.Remove(Variant(u"\u00e4rger")); }},
      {"Remove by position", [](Collection& c) { c.Remove(Variant(1)); }},
      {"Item by key", [](Collection& c) { c.Item(Variant(u"TWO")); }},
      {"late-bound Add",
       [](Collection& c) {
         std::array args{Variant(7), Variant(u"new")};
         invoke(*as_unknown(&c), u"Add", MemberKind::Method, args);
       }},
  };
  for (const auto& op : operations) {
    SCOPED_TRACE(op.first);
    fault::expect_fault_tolerant(
        filled, [&](Ref<Collection>& c) { op.second(*c); }, [](Ref<Collection>& c) { return state(*c); });
  }
}

TEST(CollectionFaults, CallerCodeChangingTheCollectionLeavesItConsistent) {
  const std::vector<std::pair<const char*, std::function<void(Collection&, Meddler::Plan&)>>> actions = {
      {"add", [](Collection& c, Meddler::Plan&) { c.Add(Variant(8), Variant(u"new")); }},
      {"remove", [](Collection& c, Meddler::Plan&) { c.Remove(Variant(1)); }},
  };
  const std::vector<std::pair<const char*, std::function<void(Collection&, Meddler::Plan&)>>> calls = {
      {"Remove releasing an object", [](Collection& c, Meddler::Plan&) { c.Remove(Variant(u"one")); }},
      {"Remove at an object's default value",
       [](Collection& c, Meddler::Plan& p) { c.Remove(fault::meddler(p, Variant(2))); }},
      {"Add before an object's default value",
       [](Collection& c, Meddler::Plan& p) {
         c.Add(Variant(9), Variant::missing(), fault::meddler(p, Variant(u"two")));
       }},
  };
  for (const auto& action : actions) {
    for (const auto& call : calls) {
      SCOPED_TRACE(std::string(call.first) + " while caller code does " + action.first);
      fault::walk_meddling(
          [&](Meddler::Plan& plan) {
            Ref<Collection> c = make<Collection>();
            c->Add(fault::meddler(plan, Variant()), Variant(u"one"));
            c->Add(Variant(2), Variant(u"two"));
            plan.action = [&plan, raw = c.get(), &act = action.second] {
              (void)fault::outcome_of([&] { act(*raw, plan); });
            };
            return std::make_pair(c, &plan);
          },
          [&](auto& subject) { call.second(*subject.first, *subject.second); },
          [](auto& subject) {
            const Collection& c = *subject.first;
            std::int32_t walked = 0;
            for (auto it = c.begin(); it != c.end(); ++it) ++walked;
            EXPECT_EQ(walked, c.Count());
            for (std::int32_t i = 1; i <= c.Count(); ++i) (void)c.at(i);
          });
    }
  }
}

}  // namespace
}  // namespace quorvel
