// The entry objects: the collection helper's guarded calls and text form, the conversion object,
// and all of them (with the locale id set and the string holder) under failing allocations and
// under caller code (formatters, default values, destructors) that changes them mid-call.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "quorvel/entry/collection_helper.h"
#include "quorvel/entry/constructors.h"
#include "quorvel/entry/quorvel_app.h"
#include "quorvel/entry/type_cast.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/text/lcids.h"
#include "quorvel/text/string_container.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using fault::Meddler;
using EntryObjects = test_support::LiveCountCheck;

Ref<Collection> of(std::vector<Variant> values) {
  auto c = make<Collection>();
  for (const Variant& v : values) c->Add(v);
  return c;
}

TEST_F(EntryObjects, GuardedOperationsReportFailureAndLeaveFoundAlone) {
  auto helper = new_collection_helper();
  auto c = make<Collection>();
  Variant item = 1, key = u"k", missing_key = u"nope", found = u"before", position = 2, object_key = u"o";
  EXPECT_TRUE(helper->TryAdd(c, item, key));
  EXPECT_FALSE(helper->TryAdd(c, item, key));
  EXPECT_FALSE(helper->TryAdd(nullptr, item, key));
  EXPECT_FALSE(helper->TryRemove(c, missing_key));
  EXPECT_FALSE(helper->TryRemove(nullptr, key));
  EXPECT_FALSE(helper->HasItem(c, position, found));
  EXPECT_FALSE(helper->HasItem(nullptr, key, found));
  EXPECT_TRUE(identical(found, Variant(u"before")));
  EXPECT_TRUE(helper->HasItem(c, key, found));
  EXPECT_TRUE(identical(found, Variant(1)));

  const Ref<Unknown> kept = test_support::token(5);
  c->Add(Variant(kept), u"o");
  Ref<Unknown> got;
  EXPECT_TRUE(helper->HasItemObj(c, object_key, got));
  EXPECT_TRUE(got.same(kept));
  EXPECT_FALSE(helper->HasItemObj(c, key, got)) << "a number is no object";
  EXPECT_TRUE(got.same(kept));
  EXPECT_TRUE(helper->HasItem(c, object_key, found));
  EXPECT_EQ(found.if_object(), kept.get()) << "an object item arrives as the reference";
  EXPECT_EQ(c->Count(), 2);
}

TEST_F(EntryObjects, CollectionByKeepsArrayOrderAndTakesAnUnallocatedArrayAsEmpty) {
  auto helper = new_collection_helper();
  ArrayOf<Variant> values(5, 3), none;
  values.at(5) = u"a";
  values.at(6) = 1;
  auto c = helper->CollectionBy(values);
  ASSERT_EQ(c->Count(), 3);
  EXPECT_TRUE(identical(c->at(1), Variant(u"a")) && identical(c->at(2), Variant(1)) && c->at(3).is_empty());
  EXPECT_EQ(helper->CollectionBy(none)->Count(), 0);
}

TEST_F(EntryObjects, TextForms) {
  auto helper = new_collection_helper();
  std::u16string seen;
  const Ref<IFormatter> bracket = test_support::formatter([&](const Variant& v) {
    seen += v.to_string().view();
    return Variant(String(u"(" + std::u16string(v.to_string().view()) + u")"));
  });
  // Items are read in runs: a number well past the first run, and a range ending inside one.
  std::vector<Variant> many(150, Variant(u"x"));
  many[99] = 7;
  std::u16string long_text = u"x";
  for (std::size_t i = 1; i < many.size(); ++i) long_text += i == 99 ? u" 7" : u" x";
  const Variant none = Variant::missing();
  struct Row {
    const char* name;
    std::vector<Variant> items;
    Variant m, n, delimiter;
    std::u16string expected;
    std::int32_t error = 0;
    Ref<IFormatter> formatter = nullptr;
  };
  std::vector<Row> rows = {
      {"default quotes empty and blank", {u"a", u"b c", u""}, none, none, none, u"a \"b c\" \"\""},
      {"from m", {u"a", u"b c", u""}, 2, none, none, u"\"b c\" \"\""},
      {"to n", {u"a", u"b c", u""}, none, 1, none, u"a"},
      {"m beyond n", {u"a"}, 2, 1, u",", u""},
      {"comma, range form", {u"x", u"y"}, 1, none, u",", u"x,y"},
      {"range quotes the delimiter", {u"p,q"}, 1, none, u",", u"\"p,q\""},
      {"whole form quotes only blanks", {u"p,q", u"r s"}, none, none, u",", u"p,q,\"r s\""},
      {"double quotes dropped inside quotes", {u"say \"hi\""}, none, none, none, u"\"say hi\""},
      {"empty collection", {}, none, none, u",", u""},
      {"only delimiters", {u","}, none, none, u",", u""},
      {"all leading and trailing one-unit runs", {u",,a", u"b,,"}, none, none, u",", u"a,b"},
      {"one longer delimiter at the start", {u"abx", u"y"}, none, none, u"ab", u"abxaby"},
      {"one longer delimiter at each end", {u"x", u"ab"}, none, none, u"ab", u"xab"},
      {"an overlapping delimiter takes whole runs", {u"x", u"----"}, none, none, u"--", u"x"},
      {"a self-overlapping delimiter", {u"x", u"a"}, none, none, u"aa", u"x"},
      {"a self-overlapping delimiter at the start", {u"a", u"x"}, none, none, u"aa", u"x"},
      {"numbers, Empty and Null", {1, 2.5, Variant(), Variant::null()}, none, none, u";", u"1;2.5;\"\""},
      {"a blank in any word of an item", {u"abcd", u"abcde f", u"abcdefg ", u"abc defg"}, none, none, u",",
       u"abcd,\"abcde f\",\"abcdefg \",\"abc defg\""},
      {"many items", many, none, none, none, long_text},
      {"many items to n", many, none, 100, none, long_text.substr(0, 199)},
      {"the formatter once per item, in order", {u"a", u"b"}, none, none, none, u"(a) (b)", 0, bracket},
      {"m below 1", {u"a"}, 0, none, none, u"", 9},
      {"n beyond Count", {u"a"}, 1, 2, none, u"", 9},
      {"an empty delimiter, before the range", {u"a"}, 1, 2, u"", u"", 5},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    String got;
    const auto run = [&] { got = helper->ToString(of(row.items), row.m, row.n, row.formatter, row.delimiter); };
    EXPECT_EQ(test_support::error_of(run), row.error);
    EXPECT_EQ(got.view(), row.expected);
  }
  EXPECT_EQ(seen, u"ab");
  EXPECT_RAISES(helper->ToString(nullptr), 91);
}

TEST_F(EntryObjects, TypeCastToArrayListKeepsListsAndRefusesTheRest) {
  auto cast = new_type_cast();
  Variant list(new_constructors()->new_ArrayList_String({}));
  EXPECT_EQ(&cast->ToArrayList(list)->identity(), &list.if_object()->identity());
  Variant nothing = Variant::nothing(), array(Array(VarKind::Long, 0, 1)), not_a_list(test_support::token(1));
  EXPECT_FALSE(cast->ToArrayList(nothing));
  EXPECT_RAISES(cast->ToArrayList(array), 13);
  EXPECT_RAISES(cast->ToArrayList(not_a_list), 13);
}

struct Subject {
  Variant object, a;  // the object under test and a caller's variable the call writes to
};

template <class C>
C& as(const Variant& v) { return *class_cast<C>(v.if_object()); }

// Everything observable of a value; for a collection, also that a walk meets Count items.
std::string text(const Variant& v) {
  if (const Array* array = v.if_array()) return "array of " + std::to_string(array->count());
  Unknown* p = v.if_object();
  if (!p) return v.is_object() ? "Nothing" : v.to_string().to_utf8();
  auto join = [](const auto& items, std::int32_t count) {
    EXPECT_EQ(std::distance(items.begin(), items.end()), count);
    std::string out;
    for (const Variant& item : items) out += text(item) + ",";
    return out;
  };
  if (auto* c = class_cast<Collection>(p)) return join(*c, c->Count());
  if (auto* ids = class_cast<LCIDs>(p)) return join(*ids, ids->get_Count());
  return has_default_member(*p) ? "#" + v.default_value().to_string().to_utf8() : "object";
}

Subject ids() {
  auto set = make<LCIDs>();
  for (const std::int32_t id : {1033, 1038}) set->Add(id);
  return {Variant(set), {}};
}

Subject items(std::vector<Variant> values, Variant a = {}) { return {Variant(of(std::move(values))), std::move(a)}; }

Subject holder(Variant a = {}) { return {Variant(StringContainer::holding(u"old")), std::move(a)}; }
Subject app() { return {Variant(make<QuorvelApp>()), Variant(u"old")}; }

// The helper's calls on the subject's collection, by-reference arguments taken by value.
Ref<Collection> collection(Subject& s) { return Ref<Collection>(&as<Collection>(s.object)); }
bool try_add(Subject& s, Variant it, Variant key) { return new_collection_helper()->TryAdd(collection(s), it, key); }
bool try_remove(Subject& s, Variant at) { return new_collection_helper()->TryRemove(collection(s), at); }
bool has_item(Subject& s, Variant at) { return new_collection_helper()->HasItem(collection(s), at, s.a); }
void remove(Subject& s, Variant key) { as<LCIDs>(s.object).Remove(key); }
void fixed_text(Ref<Constructors> factory, String text) { factory->new_ConstStringContainer(text); }
Variant vlet(Subject& s, Variant b) { return as<QuorvelApp>(s.object).VLet(s.a, b); }
Variant call(Subject& s, std::u16string_view name, std::vector<Variant> args, MemberKind kind = MemberKind::Method) {
  return invoke(s.object, name, kind, args);
}

String to_string(Subject& s, Variant m = Variant::missing(), Variant n = Variant::missing(),
                 Ref<IFormatter> formatter = nullptr) {
  return new_collection_helper()->ToString(collection(s), m, n, formatter);
}

// The guarded operations answer False instead of raising: here only memory can run out.
void must(bool done) { if (!done) raise_runtime_error(RuntimeError::OutOfMemory); }

TEST(EntryFaults, EveryAllocationFailureRaisesSevenAndChangesNothing) {
  const auto three = [] { return items({u"a", 2, Variant(test_support::token(u"b c"))}); };
  const Ref<IFormatter> identity = test_support::formatter([](const Variant& v) { return v; });
  const KeyValueString pairs[] = {{String(u"a"), String(u"1")}, {String(u"b"), String(u"2")}};
  RecordArray<KeyValueString> records = RecordArray<KeyValueString>::from(pairs);
  const std::vector<Variant> values{1, u"two", 3.5};
  const auto construct = [](Subject& s) { return as<QuorvelApp>(s.object).get_Construct(); };
  const struct {
    const char* name;
    std::function<Subject()> make;
    std::function<void(Subject&)> run;
  } rows[] = {
      {"LCIDs.Add a value", ids, [](Subject& s) { as<LCIDs>(s.object).Add(2057); }},
      {"LCIDs.Add an object", ids, [](Subject& s) { as<LCIDs>(s.object).Add(Variant(new_lcid(1031))); }},
      {"LCIDs.Remove by key", ids, [](Subject& s) { remove(s, u"1033#"); }},
      {"LCIDs.Clear", ids, [](Subject& s) { as<LCIDs>(s.object).Clear(); }},
      {"TryAdd", three, [&](Subject& s) { must(try_add(s, u"new", Variant(u"k"))); }},
      {"TryRemove", three, [&](Subject& s) { must(try_remove(s, 1)); }},
      {"ToString", three, [&](Subject& s) { s.a = Variant(to_string(s)); }},
      {"ToString of a range, formatted", three, [&](Subject& s) { s.a = Variant(to_string(s, 2, 3, identity)); }},
      {"VLet of an array", app, [](Subject& s) { vlet(s, Variant(Array(VarKind::Variant, 0, 3))); }},
      {"StringContainer.Value let late-bound", [] { return holder(12345); },
       [](Subject& s) { invoke(s.object, u"Value", MemberKind::Let, std::span<Variant>(&s.a, 1)); }},
      {"TypeCast.ToLCID", [] { return Subject{Variant(new_type_cast()), {}}; },
       [](Subject& s) { s.a = Variant(as<TypeCast>(s.object).ToLCID(u" 1049 ")); }},
      {"dictionary from pairs", app, [&](Subject& s) { construct(s)->new_ConstDictionary(records, 0); }},
      {"dictionary from text", app, [&](Subject& s) { construct(s)->ParseConstDictionary(u"qvsd  0 6100:3100"); }},
      {"string container", app, [&](Subject& s) { fixed_text(construct(s), u"fixed"); }},
      {"strings from an argument list", app, [&](Subject& s) { as<QuorvelApp>(s.object).ArrayOfStrings(values); }},
      {"the conversion object", app, [](Subject& s) { as<QuorvelApp>(s.object).get_Cast(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto state = [](Subject& s) { return text(s.object) + " | " + text(s.a); };
    EXPECT_GT(fault::expect_fault_tolerant(row.make, row.run, state), 0);
  }
}

TEST(EntryFaults, CallerCodeChangingTheObjectFindsItWhole) {
  using Plan = Meddler::Plan;
  auto formatter = [](Plan& plan) { return interface_cast<IFormatter>(fault::meddler(plan, Variant())); };
  auto app_meddled = [](Plan& plan) { return Subject{Variant(make<QuorvelApp>()), fault::meddler(plan, u"old")}; };
  auto write_a = [](Subject& s) { s.a = Variant(u"written"); };
  const struct {
    const char* name;
    std::function<Subject(Plan&)> make;
    std::function<void(Subject&)> act;  // at the chosen call-out; what it raises stays inside
    std::function<void(Subject&, Plan&)> run;
  } rows[] = {
      {"ToString, the formatter adding an item", [](Plan&) { return items({1, 2, 3}); },
       [](Subject& s) { collection(s)->Add(Variant(4)); },
       [&](Subject& s, Plan& plan) { to_string(s, Variant::missing(), Variant::missing(), formatter(plan)); }},
      {"ToString of a range, the formatter removing an item", [](Plan&) { return items({1, 2, 3}); },
       [](Subject& s) { collection(s)->Remove(1); },
       [&](Subject& s, Plan& plan) { to_string(s, 1, 3, formatter(plan)); }},
      {"ToString, a default value emptying the collection",
       [](Plan& plan) { return items({fault::meddler(plan, u"a"), fault::meddler(plan, u"b"), u"c"}); },
       [](Subject& s) { for (auto c = collection(s); c->Count() > 0;) c->Remove(1); },
       [&](Subject& s, Plan&) { to_string(s); }},
      {"TryAdd under a key whose default value adds it first", [](Plan&) { return items({1}); },
       [](Subject& s) { collection(s)->Add(Variant(0), Variant(u"k")); },
       [](Subject& s, Plan& plan) { try_add(s, 2, fault::meddler(plan, u"k")); }},
      {"TryRemove at a position whose default value removes it", [](Plan&) { return items({1, 2}); },
       [](Subject& s) { collection(s)->Remove(2); },
       [](Subject& s, Plan& plan) { try_remove(s, fault::meddler(plan, 2)); }},
      {"HasItem replacing a Found whose destructor writes Found",
       [](Plan& plan) { return items({1, 2}, fault::meddler(plan, u"found")); }, write_a,
       [](Subject& s, Plan&) { has_item(s, 2); }},
      {"VLet over an object whose destructor writes the target", app_meddled, write_a,
       [](Subject& s, Plan&) { vlet(s, u"new"); }},
      {"VLet of an object over one whose destructor reads the target", app_meddled,
       [](Subject& s) { (void)text(s.a); },
       [](Subject& s, Plan& plan) { call(s, u"VLet", {Variant::by_ref(s.a), fault::meddler(plan, u"new")}); }},
      {"StringContainer.Value let of a value that lets Value", [](Plan&) { return holder(); },
       [](Subject& s) { as<StringContainer>(s.object).put_Value(u"written"); },
       [](Subject& s, Plan& plan) { call(s, u"Value", {fault::meddler(plan, u"new")}, MemberKind::Let); }},
      {"LCIDs.Item and Remove at a key whose default value clears the set", [](Plan&) { return ids(); },
       [](Subject& s) { as<LCIDs>(s.object).Clear(); },
       [](Subject& s, Plan& plan) {
         Variant key = fault::meddler(plan, u"1038#");
         as<LCIDs>(s.object).Item(key);
         as<LCIDs>(s.object).Remove(key);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto make_subject = [&](Plan& plan) {
      auto s = std::make_unique<Subject>(row.make(plan));  // where the action finds it
      plan.action = [&row, &s = *s] { (void)fault::outcome_of([&] { row.act(s); }); };
      return std::make_pair(std::move(s), &plan);
    };
    const auto run = [&](auto& subject) { row.run(*subject.first, *subject.second); };
    const auto check = [](auto& subject) { (void)(text(subject.first->object) + text(subject.first->a)); };
    EXPECT_GT(fault::walk_meddling(make_subject, run, check), 0);
  }
}

}  // namespace
}  // namespace quorvel
