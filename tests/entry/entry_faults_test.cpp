// The entry objects and the string holder under failing allocations and under caller code
// (formatters, default values, destructors) that changes them in the middle of a call.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quorvel/entry/collection_helper.h"
#include "quorvel/entry/quorvel_app.h"
#include "quorvel/entry/type_cast.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/text/lcids.h"
#include "quorvel/text/string_container.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"

namespace quorvel {
namespace {

using fault::Meddler;

// The object under test and a caller's variable the call writes to.
struct Subject {
  Variant object;
  Variant a;
};

template <class C>
C& as(const Variant& v) {
  return *class_cast<C>(v.if_object());
}

// Everything observable of a value; for a collection, also that a walk meets Count items.
std::string text(const Variant& v) {
  if (const Array* array = v.if_array()) return "array of " + std::to_string(array->count());
  Unknown* p = v.if_object();
  if (!p) return v.is_object() ? "Nothing" : v.to_string().to_utf8();
  auto join = [](const auto& items, std::int32_t count) {
    std::string out;
    std::int32_t walked = 0;
    for (const Variant& item : items) {
      out += text(item) + ",";
      ++walked;
    }
    EXPECT_EQ(walked, count);
    return out;
  };
  if (auto* c = class_cast<Collection>(p)) return join(*c, c->Count());
  if (auto* ids = class_cast<LCIDs>(p)) return join(*ids, ids->get_Count());
  return has_default_member(*p) ? "#" + v.default_value().to_string().to_utf8() : "object";
}

Subject ids() {
  auto set = make<LCIDs>();
  set->Add(1033);
  set->Add(1038);
  return {Variant(set), {}};
}

Subject items(std::vector<Variant> values, Variant a = {}) {
  auto c = make<Collection>();
  for (const Variant& v : values) c->Add(v);
  return {Variant(c), std::move(a)};
}

Ref<Collection> collection(Subject& s) { return Ref<Collection>(&as<Collection>(s.object)); }

String to_string(Subject& s, Variant m, Variant n, Ref<IFormatter> formatter) {
  Variant d = Variant::missing();
  return new_collection_helper()->ToString(collection(s), m, n, formatter, d);
}

TEST(EntryFaults, EveryAllocationFailureRaisesSevenAndChangesNothing) {
  const Variant none = Variant::missing();
  const Variant object = Variant(test_support::token(u"b c"));
  auto app = [] { return Subject{Variant(make<QuorvelApp>()), Variant(u"old")}; };
  // The guarded operations answer False instead of raising: here only memory can run out.
  auto must = [](bool done) {
    if (!done) raise_runtime_error(RuntimeError::OutOfMemory);
  };
  const struct {
    const char* name;
    std::function<Subject()> make;
    std::function<void(Subject&)> run;
  } rows[] = {
      {"LCIDs.Add a value", ids, [](Subject& s) { as<LCIDs>(s.object).Add(2057); }},
      {"LCIDs.Add an object", ids, [](Subject& s) { as<LCIDs>(s.object).Add(Variant(new_lcid(1031))); }},
      {"LCIDs.Remove by key", ids, [](Subject& s) { Variant k = u"1033#"; as<LCIDs>(s.object).Remove(k); }},
      {"LCIDs.Clear", ids, [](Subject& s) { as<LCIDs>(s.object).Clear(); }},
      {"TryAdd", [&] { return items({u"a", 2, object}); },
       [&](Subject& s) {
         Variant item = u"new";
         must(new_collection_helper()->TryAdd(collection(s), item, Variant(u"k")));
       }},
      {"TryRemove", [&] { return items({u"a", 2, object}); },
       [&](Subject& s) {
         Variant at = 1;
         must(new_collection_helper()->TryRemove(collection(s), at));
       }},
      {"ToString", [&] { return items({u"a", 2, object}); },
       [&](Subject& s) { s.a = Variant(to_string(s, none, none, nullptr)); }},
      {"ToString of a range, formatted", [&] { return items({u"a", 2, object}); },
       [&](Subject& s) {
         s.a = Variant(to_string(s, 2, 3, test_support::formatter([](const Variant& v) { return v; })));
       }},
      {"VLet of an array", app,
       [](Subject& s) {
         Variant array(Array(VarKind::Variant, 0, 3));
         as<QuorvelApp>(s.object).VLet(s.a, array);
       }},
      {"StringContainer.Value let late-bound",
       [] { return Subject{Variant(StringContainer::holding(u"old")), 12345}; },
       [](Subject& s) { invoke(s.object, u"Value", MemberKind::Let, std::span<Variant>(&s.a, 1)); }},
      {"TypeCast.ToLCID", [] { return Subject{Variant(new_type_cast()), {}}; },
       [](Subject& s) { s.a = Variant(as<TypeCast>(s.object).ToLCID(u" 1049 ")); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_GT(fault::expect_fault_tolerant(row.make, row.run,
                                           [](Subject& s) { return text(s.object) + " | " + text(s.a); }),
              0);
  }
}

// `act` at the plan's chosen call-out; what it raises stays inside (it may run in a destructor).
void strike(Meddler::Plan& plan, std::function<void()> act) {
  plan.action = [act = std::move(act)] { (void)fault::outcome_of(act); };
}

TEST(EntryFaults, CallerCodeChangingTheObjectFindsItWhole) {
  const Variant none = Variant::missing();
  // A collection of `values` that `act` changes at the chosen call-out.
  auto on_items = [](std::vector<Variant> values, std::function<void(Collection&)> act) {
    return [=](Subject& s, Meddler::Plan& plan) {
      s = items(values);
      strike(plan, [c = collection(s).get(), act] { act(*c); });
    };
  };
  auto formatter = [](Meddler::Plan& plan) { return interface_cast<IFormatter>(fault::meddler(plan, Variant())); };
  const struct {
    const char* name;
    std::function<void(Subject&, Meddler::Plan&)> make;  // fills the subject in place
    std::function<void(Subject&, Meddler::Plan&)> run;
  } rows[] = {
      {"ToString, the formatter adding an item", on_items({1, 2, 3}, [](Collection& c) { c.Add(Variant(4)); }),
       [&](Subject& s, Meddler::Plan& plan) { to_string(s, none, none, formatter(plan)); }},
      {"ToString of a range, the formatter removing an item", on_items({1, 2, 3}, [](Collection& c) { c.Remove(1); }),
       [&](Subject& s, Meddler::Plan& plan) { to_string(s, 1, 3, formatter(plan)); }},
      {"ToString, a default value emptying the collection",
       [](Subject& s, Meddler::Plan& plan) {
         s = items({fault::meddler(plan, u"a"), fault::meddler(plan, u"b"), u"c"});
         strike(plan, [c = collection(s).get()] {
           while (c->Count() > 0) c->Remove(1);
         });
       },
       [&](Subject& s, Meddler::Plan&) { to_string(s, none, none, nullptr); }},
      {"TryAdd under a key whose default value adds it first",
       on_items({1}, [](Collection& c) { c.Add(Variant(0), Variant(u"k")); }),
       [](Subject& s, Meddler::Plan& plan) {
         Variant item = 2;
         new_collection_helper()->TryAdd(collection(s), item, fault::meddler(plan, u"k"));
       }},
      {"TryRemove at a position whose default value removes it", on_items({1, 2}, [](Collection& c) { c.Remove(2); }),
       [](Subject& s, Meddler::Plan& plan) {
         Variant at = fault::meddler(plan, 2);
         new_collection_helper()->TryRemove(collection(s), at);
       }},
      {"HasItem replacing a Found whose destructor writes Found",
       [](Subject& s, Meddler::Plan& plan) {
         s = items({1, 2}, fault::meddler(plan, u"found"));
         strike(plan, [&a = s.a] { a = Variant(u"written"); });
       },
       [](Subject& s, Meddler::Plan&) {
         Variant at = 2;
         new_collection_helper()->HasItem(collection(s), at, s.a);
       }},
      {"VLet over an object whose destructor writes the target",
       [](Subject& s, Meddler::Plan& plan) {
         s = {Variant(make<QuorvelApp>()), fault::meddler(plan, u"old")};
         strike(plan, [&a = s.a] { a = Variant(u"written"); });
       },
       [](Subject& s, Meddler::Plan&) {
         Variant b = u"new";
         as<QuorvelApp>(s.object).VLet(s.a, b);
       }},
      {"VLet of an object over one whose destructor reads the target",
       [](Subject& s, Meddler::Plan& plan) {
         s = {Variant(make<QuorvelApp>()), fault::meddler(plan, u"old")};
         strike(plan, [&a = s.a] { (void)text(a); });
       },
       [](Subject& s, Meddler::Plan& plan) {
         std::vector<Variant> args{Variant::by_ref(s.a), fault::meddler(plan, u"new")};
         invoke(s.object, u"VLet", MemberKind::Method, args);
       }},
      {"StringContainer.Value let of a value that lets Value",
       [](Subject& s, Meddler::Plan& plan) {
         s = {Variant(StringContainer::holding(u"old")), {}};
         strike(plan, [c = &as<StringContainer>(s.object)] { c->put_Value(u"written"); });
       },
       [](Subject& s, Meddler::Plan& plan) {
         std::vector<Variant> args{fault::meddler(plan, u"new")};
         invoke(s.object, u"Value", MemberKind::Let, args);
       }},
      {"LCIDs.Item and Remove at a key whose default value clears the set",
       [](Subject& s, Meddler::Plan& plan) {
         s = ids();
         strike(plan, [set = &as<LCIDs>(s.object)] { set->Clear(); });
       },
       [](Subject& s, Meddler::Plan& plan) {
         Variant key = fault::meddler(plan, u"1038#");
         as<LCIDs>(s.object).Item(key);
         as<LCIDs>(s.object).Remove(key);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_GT(fault::walk_meddling(
                  [&](Meddler::Plan& plan) {
                    auto s = std::make_unique<Subject>();  // where the actions find it
                    row.make(*s, plan);
                    return std::make_pair(std::move(s), &plan);
                  },
                  [&](auto& subject) { row.run(*subject.first, *subject.second); },
                  [](auto& subject) { (void)(text(subject.first->object) + text(subject.first->a)); }),
              0);
  }
}

}  // namespace
}  // namespace quorvel
