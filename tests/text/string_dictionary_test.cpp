#include "quorvel/text/string_dictionary.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "quorvel/platform/array.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);

Ref<StringDictionary> from_pairs(std::vector<KeyValueString> pairs, std::int32_t mode = 0) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_pairs(pairs, mode);
  return d;
}

Ref<StringDictionary> from_keys(Variant keys, std::int32_t mode = 0) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_keys(keys, mode);
  return d;
}

Ref<StringDictionary> from_text(std::u16string_view text) {
  Ref<StringDictionary> d = make<StringDictionary>();
  d->init_from_text(String(text));
  return d;
}

Variant list(std::initializer_list<Variant> items) {
  Array a(VarKind::Variant, 0, static_cast<std::int32_t>(items.size()));
  std::int32_t i = 0;
  for (const Variant& v : items) a.put(i++, v);
  return Variant(std::move(a));
}

// The text form, then the keys as Keys gives them: one text to compare dictionaries by.
std::string contents(StringDictionary& d) {
  std::string text = d.ToString().to_utf8() + " |";
  const Variant keys = d.Keys();
  for (const Variant& k : keys.if_array()->elements<Variant>()) text += " " + k.to_string().to_utf8();
  return text;
}

// Every row is a dictionary a caller could try to make: the error it raises, or what it holds.
TEST(StringDictionary, MakingFromPairsKeysAndText) {
  const std::u16string huge = u"qvsd 0 " + std::u16string(400000, u'A') + u":";
  struct Row {
    const char* name;
    std::function<Ref<StringDictionary>()> make;
    std::int32_t number;
    const char* description_or_contents;
  } rows[] = {
      {"pairs, binary", [] { return from_pairs({{u"a", u"1"}, {u"A", u"2"}}); }, 0, "qvsd  0 6100:3100 4100:3200 | a A"},
      {"pairs differing in case, text", [] { return from_pairs({{u"a", u"1"}, {u"A", u"2"}}, 1); }, 457, nullptr},
      {"records from lower bound 1", [] {
         const KeyValueString items[] = {{u"b", u"2"}, {u"a", u"1"}};
         Ref<StringDictionary> d = make<StringDictionary>();
         d->init_from_pairs(RecordArray<KeyValueString>::from(items, 1), 1);
         return d;
       }, 0, "qvsd  1 6200:3200 6100:3100 | b a"},
      {"keys", [] { return from_keys(list({Variant(u"x"), Variant(u"y")})); }, 0, "qvsd  0 7800: 7900: | x y"},
      {"keys of other kinds by their text",
       [] { return from_keys(list({Variant(2.5), Variant(true), Variant(test_support::token(Variant(u"t")))})); }, 0,
       "qvsd  0 32002E003500: 5400720075006500: 7400: | 2.5 True t"},
      {"1 and \"1\" are one key", [] { return from_keys(list({Variant(1), Variant(u"1")})); }, 457, nullptr},
      {"unallocated keys", [] { return from_keys(Variant(Array(VarKind::String)), 1); }, 0, "qvsd  1 |"},
      {"keys not an array", [] { return from_keys(Variant(u"x")); }, 13, nullptr},
      {"a Null key", [] { return from_keys(list({Variant::null()})); }, 94, nullptr},
      {"empty text", [] { return from_text(u""); }, kInvalidArgument, "Malformed data"},
      {"blanks only", [] { return from_text(u"     "); }, kInvalidArgument, "Malformed data"},
      {"quotes only: two empty tokens", [] { return from_text(u"\"\"\"\""); }, kInvalidArgument, "Invalid data type"},
      {"a lone tag", [] { return from_text(u"qvsd"); }, kInvalidArgument, "Malformed data"},
      {"other tag", [] { return from_text(u"abcd 0"); }, kInvalidArgument, "Invalid data type"},
      {"longer tag", [] { return from_text(u"  qvsdX    1  "); }, 0, "qvsd  1 |"},
      {"mode is no number", [] { return from_text(u"qvsd x"); }, 13, nullptr},
      {"mode overflows a Long", [] { return from_text(u"qvsd 99999999999"); }, 6, nullptr},
      {"entry without a colon", [] { return from_text(u"qvsd 0 4100"); }, kInvalidArgument, "Malformed data"},
      {"odd hexadecimal length", [] { return from_text(u"qvsd 0 410:"); }, kInvalidArgument, "Malformed data"},
      {"bad pair in the value", [] { return from_text(u"qvsd 0 4100:ZZ00"); }, 13, nullptr},
      {"parts after the second ignored", [] { return from_text(u"qvsd 0 4100:4200:zz"); }, 0, "qvsd  0 4100:4200 | A"},
      {"lower-case digits", [] { return from_text(u"qvsd 0 e900:"); }, 0, "qvsd  0 E900: | \xC3\xA9"},
      {"lone surrogate key, NUL value", [] { return from_text(u"qvsd 0 00D8:0000"); }, 0, "qvsd  0 00D8:0000 | \xEF\xBF\xBD"},
      {"keys differing in case, text", [] { return from_text(u"qvsd 1 6100: 4100:"); }, 457, nullptr},
      {"huge token", [&] { return from_text(huge); }, 0, nullptr},
  };
  ErrorReporter::this_thread();  // the thread's, made on the first raise: not the dictionary's
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::int64_t live = Object::live_count();
    Ref<StringDictionary> made;
    const auto got = test_support::raised([&] { made = row.make(); });
    if (row.number != 0) {
      const auto description = row.description_or_contents ? std::optional<std::string_view>(row.description_or_contents) : std::nullopt;
      EXPECT_TRUE(test_support::raised_as(got, row.number, description));
      EXPECT_EQ(Object::live_count(), live) << "the half-built dictionary is dropped";
    } else {
      ASSERT_TRUE(made) << got.description;
      if (row.description_or_contents) {
        EXPECT_EQ(contents(*made), row.description_or_contents);
      }
    }
  }
}

TEST(StringDictionary, InitialisedOnceAlsoByReading) {
  const std::function<void(StringDictionary&)> steps[] = {
      [](StringDictionary& d) { d.init_from_pairs(RecordArray<KeyValueString>(), 0); },
      [](StringDictionary& d) {
        Variant keys = list({Variant(u"k")});
        d.init_from_keys(keys, 0);
      },
      [](StringDictionary& d) { d.init_from_text(u"qvsd 1"); },
      [](StringDictionary& d) { d.HasKey(u"x"); },
      [](StringDictionary& d) { (void)d.ToString(); },
  };
  for (const auto& first : steps) {
    auto d = make<StringDictionary>();
    first(*d);
    const std::string before = contents(*d);
    for (int second = 0; second < 3; ++second) {
      EXPECT_RAISES(steps[second](*d), static_cast<std::int32_t>(0x80040003u), "Object already initialized!");
    }
    EXPECT_EQ(contents(*d), before);
  }
  auto failed = make<StringDictionary>();
  EXPECT_RAISES(failed->init_from_text(u"qvsd 0 6100: 6100:"), 457);
  EXPECT_EQ(&failed->init_from_text(u"qvsd 0 :"), failed.get()) << "a failed initialiser leaves it open";
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
    ASSERT_EQ(contents(*copy), contents(*original));
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
