#include "quorvel/text/string_dictionary.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "quorvel/platform/array.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);
constexpr std::int32_t kAlreadyInitialized = static_cast<std::int32_t>(0x80040003u);

Ref<StringDictionary> from_pairs(std::vector<KeyValueString> pairs, std::int32_t mode = 0) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_pairs(pairs, mode);
  return d;
}

Ref<StringDictionary> from_text(std::u16string_view text) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_text(String(text));
  return d;
}

Variant strings(std::initializer_list<Variant> items) {
  Array a(VarKind::Variant, 0, static_cast<std::int32_t>(items.size()));
  std::int32_t i = 0;
  for (const Variant& v : items) a.put(i++, v);
  return Variant(std::move(a));
}

Ref<StringDictionary> from_keys(Variant keys, std::int32_t mode = 0) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_keys(keys, mode);
  return d;
}

// Keys, values and the mode, as one text for comparing dictionaries.
std::string contents(StringDictionary& d) {
  std::string text = d.ToString().to_utf8() + " |";
  const Variant keys = d.Keys();
  for (const Variant& k : keys.if_array()->elements<Variant>()) text += " " + k.to_string().to_utf8();
  return text;
}

TEST(StringDictionary, PairsByCompareMode) {
  auto binary = from_pairs({{u"a", u"1"}, {u"B", u"2"}});
  EXPECT_EQ(binary->get_Count(), 2);
  EXPECT_FALSE(binary->HasKey(u"b").to_boolean());
  EXPECT_EQ(binary->get_Item(u"B").view(), u"2");
  EXPECT_TRUE(from_pairs({{u"a", u"1"}, {u"B", u"2"}}, 1)->HasKey(u"b").to_boolean());
  EXPECT_EQ(from_pairs({{u"a", u"1"}, {u"A", u"2"}})->get_Count(), 2);
  EXPECT_RAISES(from_pairs({{u"a", u"1"}, {u"A", u"2"}}, 1), 457);
  EXPECT_EQ(from_pairs({})->ToString().view(), u"qvsd  0");
  EXPECT_EQ(from_pairs({}, 1)->ToString().view(), u"qvsd  1");
}

TEST(StringDictionary, KeysWithEmptyValues) {
  auto d = from_keys(strings({Variant(u"x"), Variant(u"y")}));
  EXPECT_EQ(d->ToString().view(), u"qvsd  0 7800: 7900:");
  EXPECT_EQ(d->get_Item(u"y").view(), u"");

  // Other kinds are keys by their text form, so 1 and "1" are one key.
  auto numbers = from_keys(strings({Variant(1), Variant(2.5), Variant(true), Variant(test_support::token(Variant(u"t")))}));
  EXPECT_EQ(contents(*numbers), "qvsd  0 3100: 32002E003500: 5400720075006500: 7400: | 1 2.5 True t");
  EXPECT_RAISES(from_keys(strings({Variant(1), Variant(u"1")})), 457);
  EXPECT_EQ(from_keys(Variant(Array(VarKind::String)), 1)->ToString().view(), u"qvsd  1");
}

// Every row is a dictionary a caller could try to make: its error, or what it holds.
TEST(StringDictionary, BadInput) {
  const std::u16string huge_text = u"qvsd 0 " + std::u16string(400000, u'A') + u":";
  struct Row {
    const char* name;
    std::function<Ref<StringDictionary>()> make;
    std::int32_t number;
    const char* description_or_contents;
  } rows[] = {
      {"empty text", [] { return from_text(u""); }, kInvalidArgument, "Malformed data"},
      {"blanks only", [] { return from_text(u"     "); }, kInvalidArgument, "Malformed data"},
      {"quotes only", [] { return from_text(u"\"\"\"\""); }, kInvalidArgument, "Invalid data type"},
      {"a lone quote", [] { return from_text(u"\""); }, kInvalidArgument, "Malformed data"},
      {"a lone tag", [] { return from_text(u"qvsd"); }, kInvalidArgument, "Malformed data"},
      {"other tag", [] { return from_text(u"abcd 0"); }, kInvalidArgument, "Invalid data type"},
      {"tag in other case", [] { return from_text(u"QVSD 0"); }, kInvalidArgument, "Invalid data type"},
      {"longer tag accepted", [] { return from_text(u"qvsdX 0"); }, 0, "qvsd  0 |"},
      {"mode is no number", [] { return from_text(u"qvsd x"); }, 13, nullptr},
      {"mode overflows a Long", [] { return from_text(u"qvsd 99999999999"); }, 6, nullptr},
      {"mode 2 kept", [] { return from_text(u"qvsd 2 4100:"); }, 0, "qvsd  2 4100: | A"},
      {"negative mode kept", [] { return from_text(u"qvsd -3"); }, 0, "qvsd -3 |"},
      {"entry without a colon", [] { return from_text(u"qvsd 0 4100"); }, kInvalidArgument, "Malformed data"},
      {"odd hexadecimal length", [] { return from_text(u"qvsd 0 410:"); }, kInvalidArgument, "Malformed data"},
      {"two digits only", [] { return from_text(u"qvsd 0 41:"); }, kInvalidArgument, "Malformed data"},
      {"bad pair", [] { return from_text(u"qvsd 0 4X00:"); }, 13, nullptr},
      {"bad pair in the value", [] { return from_text(u"qvsd 0 4100:ZZ00"); }, 13, nullptr},
      {"parts after the second ignored", [] { return from_text(u"qvsd 0 4100:4200:zz"); }, 0, "qvsd  0 4100:4200 | A"},
      {"empty key and value", [] { return from_text(u"qvsd 0 :"); }, 0, "qvsd  0 : | "},
      {"lower-case digits", [] { return from_text(u"qvsd 0 e900:"); }, 0, "qvsd  0 E900: | \xC3\xA9"},
      {"lone surrogate and NUL", [] { return from_text(u"qvsd 0 00D8:0000"); }, 0, "qvsd  0 00D8:0000 | \xEF\xBF\xBD"},
      {"keys differing in case, binary", [] { return from_text(u"qvsd 0 6100: 4100:"); }, 0, "qvsd  0 6100: 4100: | a A"},
      {"keys differing in case, text", [] { return from_text(u"qvsd 1 6100: 4100:"); }, 457, nullptr},
      {"repeated key", [] { return from_text(u"qvsd 0 6100:3100 6100:3200"); }, 457, nullptr},
      {"huge token", [&] { return from_text(huge_text); }, 0, nullptr},
      {"keys not an array", [] { return from_keys(Variant(u"x")); }, 13, nullptr},
      {"a Null key", [] { return from_keys(strings({Variant::null()})); }, 94, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::int64_t live = Object::live_count();
    Ref<StringDictionary> made;
    const auto got = test_support::raised([&] { made = row.make(); });
    if (row.number != 0) {
      EXPECT_TRUE(test_support::raised_as(got, row.number,
                                          row.description_or_contents ? std::optional<std::string_view>(row.description_or_contents)
                                                                      : std::nullopt));
      EXPECT_EQ(Object::live_count(), live) << "the half-built dictionary is dropped";
    } else if (row.description_or_contents != nullptr) {
      ASSERT_TRUE(made);
      EXPECT_EQ(contents(*made), row.description_or_contents);
    } else {
      ASSERT_TRUE(made);
      EXPECT_EQ(made->get_Count(), 1);
    }
  }
}

TEST(StringDictionary, InitialisersRunOnce) {
  Variant keys = strings({Variant(u"k")});
  const std::function<void(StringDictionary&)> initialisers[] = {
      [](StringDictionary& d) { d.init_from_pairs({}, 0); },
      [&](StringDictionary& d) { d.init_from_keys(keys, 0); },
      [](StringDictionary& d) { d.init_from_text(u"qvsd 1"); },
      [](StringDictionary& d) { d.HasKey(u"x"); },  // makes the store on demand
      [](StringDictionary& d) { (void)d.ToString(); },
  };
  for (std::size_t first = 0; first < std::size(initialisers); ++first) {
    for (std::size_t second = 0; second < 3; ++second) {
      SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second));
      auto d = make<StringDictionary>();
      initialisers[first](*d);
      const std::string before = contents(*d);
      EXPECT_RAISES(initialisers[second](*d), kAlreadyInitialized, "Object already initialized!");
      EXPECT_EQ(contents(*d), before);
    }
  }
  auto failed = make<StringDictionary>();
  EXPECT_RAISES(failed->init_from_text(u"qvsd 0 6100: 6100:"), 457);
  failed->init_from_text(u"qvsd 0 6100:");  // a failed initialiser leaves it open
  EXPECT_EQ(failed->get_Count(), 1);
}

TEST(StringDictionary, ReadingMembers) {
  auto d = from_pairs({{u"k", u"v"}, {u"a", u"b"}});
  const Variant has = d->HasKey(u"k");
  EXPECT_EQ(has.type_code(), Variant::code(VarKind::Boolean));
  EXPECT_RAISES(d->get_Item(u"K"), kInvalidArgument, "");
  auto fresh = make<StringDictionary>();
  EXPECT_EQ(fresh->get_Count(), 0);
  const Variant keys = fresh->Keys();
  ASSERT_NE(keys.if_array(), nullptr);
  EXPECT_TRUE(keys.if_array()->allocated());
  EXPECT_EQ(keys.if_array()->count(), 0);
  EXPECT_EQ(keys.if_array()->lower_bound(), 0);
}

TEST(StringDictionary, ReaderViewLateBound) {
  auto d = from_pairs({{u"12", u"twelve"}, {u"x", u"y"}});
  Ref<IDictionaryReader> reader = Ref<StringDictionary>(d).query<IDictionaryReader>();
  ASSERT_TRUE(reader);
  Variant twelve[] = {Variant(12)};
  EXPECT_EQ(invoke(*reader, u"Item", MemberKind::Get, twelve).to_string().view(), u"twelve");
  const Variant has = invoke(*reader, u"HasKey", MemberKind::Method, twelve);
  EXPECT_EQ(has.type_code(), Variant::code(VarKind::Boolean));
  EXPECT_TRUE(has.to_boolean());
  EXPECT_EQ(invoke(*reader, u"ToString", MemberKind::Method, {}).type_code(), Variant::code(VarKind::String));
  EXPECT_EQ(invoke(*reader, u"Count", MemberKind::Get, {}).to_long(), 2);
  const Variant keys = invoke(*reader, u"Keys", MemberKind::Method, {});
  ASSERT_NE(keys.if_array(), nullptr);
  EXPECT_EQ(keys.if_array()->lower_bound(), 0);
  EXPECT_EQ(keys.if_array()->get(1).to_string().view(), u"x");
  Unknown& own = *as_unknown(d.get());
  Variant missing[] = {Variant(u"none")};
  EXPECT_RAISES(invoke(own, u"Item", MemberKind::Get, missing), kInvalidArgument, "");
  EXPECT_RAISES(invoke(own, u"Keys", MemberKind::Method, {}), 438);

  auto inert = make<IDictionaryReaderClass>();
  EXPECT_EQ(inert->get_Count(), 0);
  EXPECT_TRUE(inert->Keys().is_empty());
  EXPECT_TRUE(inert->HasKey(Variant(u"x")).is_empty());
}

// Any dictionary written must read back with the same keys, order, values and mode.
TEST(StringDictionary, RoundTripWhateverTheStringsHold) {
  std::mt19937 random(13);
  const char16_t alphabet[] = {u' ', u':', u'"', u'a', u'A', u'\0', u'\u00E9', u'\u4E2D', u'\xD800', u'\xDFFF', u'\xFFFF', u'0'};
  const auto any_string = [&] {
    std::u16string s(random() % 6, u' ');
    for (char16_t& c : s) c = alphabet[random() % std::size(alphabet)];
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    const std::int32_t mode = static_cast<std::int32_t>(random() % 4) - 1;
    std::vector<KeyValueString> pairs;
    KeyedStore unique(mode);
    for (int n = static_cast<int>(random() % 8); n > 0; --n) {
      String key(any_string());
      if (unique.exists(key.view())) continue;
      unique.add(key, u"");
      pairs.push_back({key, String(any_string())});
    }
    auto original = from_pairs(pairs, mode);
    auto copy = from_text(original->ToString().view());
    ASSERT_EQ(copy->ToString().view(), original->ToString().view());
    ASSERT_EQ(copy->get_Count(), static_cast<std::int32_t>(pairs.size()));
    for (const KeyValueString& pair : pairs) ASSERT_EQ(copy->get_Item(pair.Key), pair.Value);
  }
}

TEST(StringDictionary, ParseWithoutMemoryLeavesNothingBehind) {
  fault::expect_fault_tolerant([] { return make<StringDictionary>(); },
                               [](Ref<StringDictionary>& d) { d->init_from_text(u"qvsd 1 6100:6200 6300: 20002000:3A00"); },
                               [](const Ref<StringDictionary>& d) { return std::to_string(d->get_Count()); });
}

}  // namespace
}  // namespace quorvel
