#include "quorvel/text/string_dictionary.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "quorvel/platform/array.h"
#include "quorvel/text/dictionary_text.h"
#include "quorvel/text/keyed_store.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);
using Init = std::function<void(StringDictionary&)>;

Init pairs(std::vector<KeyValueString> items, std::int32_t mode = 0) {
  return [items = std::move(items), mode](StringDictionary& d) { d.init_from_pairs(items, mode); };
}

Variant list(std::initializer_list<Variant> items) {
  Array a(VarKind::Variant, 0, static_cast<std::int32_t>(items.size()));
  std::int32_t i = 0;
  for (const Variant& v : items) a.put(i++, v);
  return Variant(std::move(a));
}

Init keys(Variant held, std::int32_t mode = 0) {
  return [held, mode](StringDictionary& d) mutable { d.init_from_keys(held, mode); };
}

Init text(std::u16string_view form) {
  return [form](StringDictionary& d) { d.init_from_text(String(form)); };
}

// The text form, then the keys as Keys gives them: one text to compare dictionaries by.
std::string contents(StringDictionary& d) {
  std::string form = d.ToString().to_utf8() + " |";
  const Variant listed = d.Keys();
  for (const Variant& k : listed.if_array()->elements<Variant>()) form += " " + k.to_string().to_utf8();
  return form;
}

// The keys in order, each marked when the index cannot find it.
std::string listed(const KeyedStore& store) {
  std::string keys;
  for (const auto& e : store.entries()) keys += e.key.to_utf8() + (store.exists(e.key.view()) ? "," : "?,");
  return keys;
}

// Replays the platform's recorded adds and lookups: which keys collide in each mode.
TEST(KeyedStore, AnswersAsTheRecordedStore) {
  const auto data = test_support::load_test_data("keyed_store.json");
  for (const auto& scenario : data["scenarios"]) {
    SCOPED_TRACE(scenario["scenario"].get<std::string>());
    KeyedStore store(scenario["mode"].get<std::int32_t>());
    for (const auto& step : scenario["steps"]) {
      SCOPED_TRACE(step.dump());
      if (step.contains("add")) {
        const String key = String::from_utf8(step["add"].get<std::string>());
        EXPECT_EQ(test_support::error_of([&] { store.add(key, u"v"); }), step["accepted"].get<bool>() ? 0 : 457);
        EXPECT_EQ(store.count(), step["count_after"].get<std::int32_t>());
      } else if (step.contains("has")) {
        EXPECT_EQ(store.exists(String::from_utf8(step["has"].get<std::string>()).view()), step["found"].get<bool>());
      } else {
        std::string expected;
        for (const auto& k : step["keys"]) expected += k.get<std::string>() + ",";
        EXPECT_EQ(listed(store), expected);
      }
    }
  }
}

// Growing from 16 entries rebuilds the index: each allocation that fails must leave it whole.
TEST(KeyedStore, AddWithoutMemoryChangesNothing) {
  const auto make = [] {
    KeyedStore store;
    for (int i = 0; i < 16; ++i) store.add(String::from_utf8("k" + std::to_string(i)), u"v");
    return store;
  };
  const auto state = [](const KeyedStore& store) { return listed(store) + (store.exists(u"new") ? " new" : ""); };
  fault::expect_fault_tolerant(make, [](KeyedStore& store) { store.add(u"new", u"v"); }, state);
}

TEST(DictionaryTokens, SplitAsTheTextFormReadsThem) {
  struct Row {
    const char* name;
    std::u16string_view text;
    std::vector<std::u16string> tokens;
  } rows[] = {
      {"blanks only", u"    ", {}},
      {"trimmed, runs of blanks are one", u"  qvsd    1  ", {u"qvsd", u"1"}},
      {"quotes keep blanks", u"a \"b c\" d", {u"a", u"b c", u"d"}},
      {"empty quotes give an empty token", u"a \"\" b", {u"a", u"", u"b"}},
      {"a quote discards the token begun", u"ab\"cd\" e", {u"cd", u"e"}},
      {"after a closing quote a token starts at once", u"\"a\"b c", {u"a", u"b", u"c"}},
      {"unclosed quote dropped", u"a \"b c", {u"a"}},
      {"a lone quote", u"\"", {}},
      {"tabs and NULs are ordinary", std::u16string_view(u"a\tb\0 c", 6), {std::u16string(u"a\tb\0", 4), u"c"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DictionaryTokens tokens(row.text);
    std::vector<std::u16string> got;
    for (std::u16string_view token; tokens.next(token);) got.emplace_back(token);
    EXPECT_EQ(got, row.tokens);
  }
}

// Every row is a dictionary a caller could try to make: the error it raises, or what it holds.
// A failed initialiser must leave the dictionary open for another, and nothing may outlive it.
TEST(StringDictionary, MakingFromPairsKeysAndText) {
  const std::u16string huge = u"qvsd 0 " + std::u16string(400000, u'A') + u":";
  const KeyValueString records[] = {{u"b", u"2"}, {u"a", u"1"}};
  const char* duplicate = "This key is already associated with an element of this collection";
  struct Row {
    const char* name;
    Init init;
    std::int32_t number;
    const char* expected;  // the description raised, or the contents made (nullptr: not compared)
  } rows[] = {
      {"pairs, binary", pairs({{u"a", u"1"}, {u"A", u"2"}}), 0, "qvsd  0 6100:3100 4100:3200 | a A"},
      {"records from bound 1", [&](auto& d) { d.init_from_pairs(RecordArray<KeyValueString>::from(records, 1), 1); },
       0, "qvsd  1 6200:3200 6100:3100 | b a"},
      {"keys of other kinds by their text", keys(list({2.5, true, Variant(test_support::token(Variant(u"t")))})), 0,
       "qvsd  0 32002E003500: 5400720075006500: 7400: | 2.5 True t"},
      {"1 and \"1\" are one key", keys(list({1, u"1"})), 457, duplicate},
      {"unallocated keys", keys(Variant(Array(VarKind::String)), 1), 0, "qvsd  1 |"},
      {"a Null key", keys(list({Variant::null()})), 94, "Invalid use of Null"},
      {"quotes only: two empty tokens", text(u"\"\"\"\""), kInvalidArgument, "Invalid data type"},
      {"a lone tag", text(u"qvsd"), kInvalidArgument, "Malformed data"},
      {"other tag", text(u"abcd 0"), kInvalidArgument, "Invalid data type"},
      {"longer tag", text(u"  qvsdX    1  "), 0, "qvsd  1 |"},
      {"mode is no number", text(u"qvsd x"), 13, "Type mismatch"},
      {"mode overflows a Long", text(u"qvsd 99999999999"), 6, "Overflow"},
      {"entry without a colon", text(u"qvsd 0 4100"), kInvalidArgument, "Malformed data"},
      {"odd hexadecimal length", text(u"qvsd 0 410:"), kInvalidArgument, "Malformed data"},
      {"bad pair in the value", text(u"qvsd 0 4100:ZZ00"), 13, "Type mismatch"},
      {"parts after the second ignored", text(u"qvsd 0 4100:4200:zz"), 0, "qvsd  0 4100:4200 | A"},
      {"lower-case digits", text(u"qvsd 0 e900:"), 0, "qvsd  0 E900: | \xC3\xA9"},
      {"lone surrogate key, NUL value", text(u"qvsd 0 00D8:0000"), 0, "qvsd  0 00D8:0000 | \xEF\xBF\xBD"},
      {"keys differing in case, text", text(u"qvsd 1 6100: 4100:"), 457, duplicate},
      {"modes beyond 1 ignore case", text(u"qvsd 99 6100: 4100:"), 457, duplicate},
      {"negative modes do not", text(u"qvsd -1 6100: 4100:"), 0, "qvsd -1 6100: 4100: | a A"},
      {"huge token", text(huge), 0, nullptr},
      {"reading initialises it: HasKey", [](StringDictionary& d) { d.HasKey(u"x"); }, 0, "qvsd  0 |"},
      {"reading initialises it: ToString", [](StringDictionary& d) { (void)d.ToString(); }, 0, "qvsd  0 |"},
  };
  const Init initialisers[] = {pairs({}), keys(list({u"k"})), text(u"qvsd 1")};
  ErrorReporter::this_thread();  // the thread's, made on the first raise: not the dictionary's
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::int64_t live = Object::live_count();
    Ref<StringDictionary> d = make<StringDictionary>();
    const auto got = test_support::raised([&] { row.init(*d); });
    EXPECT_TRUE(test_support::raised_as(got, row.number, row.number ? row.expected : ""));
    if (row.number) {
      EXPECT_EQ(contents(d->init_from_text(u"qvsd 5")), "qvsd  5 |") << "a failed initialiser leaves it open";
    } else {
      for (const Init& again : initialisers) {
        EXPECT_RAISES(again(*d), static_cast<std::int32_t>(0x80040003u), "Object already initialized!");
      }
      EXPECT_TRUE(!row.expected || contents(*d) == row.expected) << contents(*d);
    }
    d = nullptr;
    EXPECT_EQ(Object::live_count(), live);
  }
}

// Any dictionary written must read back with the same keys, order, values and mode.
TEST(StringDictionary, RoundTripWhateverTheStringsHold) {
  std::mt19937 random(13);
  const char16_t alphabet[] = {u' ', u':', u'"', u'a', u'A', u'\0', u'\u00E9', u'\u4E2D', u'\xD800', u'\xFFFF'};
  const auto any_string = [&] {
    std::u16string s(random() % 6, u' ');
    for (char16_t& c : s) c = alphabet[random() % std::size(alphabet)];
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    const std::int32_t mode = static_cast<std::int32_t>(random() % 4) - 1;
    std::vector<KeyValueString> items;
    KeyedStore unique(mode);
    for (int n = static_cast<int>(random() % 8); n > 0; --n) {
      String key(any_string());
      if (unique.exists(key.view())) continue;
      unique.add(key, u"");
      items.push_back({key, String(any_string())});
    }
    auto original = make<StringDictionary>(), copy = make<StringDictionary>();
    copy->init_from_text(original->init_from_pairs(items, mode).ToString());
    ASSERT_EQ(contents(*copy), contents(*original));
  }
}

TEST(StringDictionary, ParseWithoutMemoryLeavesNothingBehind) {
  const auto parse = [](Ref<StringDictionary>& d) { d->init_from_text(u"qvsd 1 6100:6200 6300: 20002000:3A00"); };
  fault::expect_fault_tolerant([] { return make<StringDictionary>(); }, parse,
                               [](const Ref<StringDictionary>& d) { return std::to_string(d->get_Count()); });
}

}  // namespace
}  // namespace quorvel
