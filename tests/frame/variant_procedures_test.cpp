#include "quorvel/frame/variant_procedures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

struct Raised {
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

template <class F>
Raised failure_of(F&& f) {
  Raised out;
  try {
    f();
  } catch (const Error& e) {
    out = {e.number(), e.source().to_utf8(), e.description().to_utf8()};
  }
  return out;
}

Array longs(std::int32_t lower, std::vector<std::int32_t> values) {
  ArrayOf<std::int32_t> a(lower, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) a.items()[i] = values[i];
  return a;
}

TEST(CopyVariant, CopiesEachWayOfHoldingAValueAndReleasesTheOldContent) {
  const std::int64_t live = Object::live_count();
  {
    Ref<Collection> object = make<Collection>();
    Array nested(VarKind::Variant, 1, 2);
    nested.put(1, Variant(u"inner"));
    nested.put(2, Variant(longs(-1, {7, 8})));
    const std::pair<const char*, Variant> samples[] = {
        {"Empty", Variant()},
        {"Null", Variant::null()},
        {"Long", Variant(std::int32_t{70000})},
        {"Double", Variant(-0.0)},
        {"String", Variant(u"text")},
        {"Error", Variant::error(5)},
        {"Object", Variant(object)},
        {"Nothing", Variant::nothing()},
        {"array of Long from -1", Variant(longs(-1, {1, 2, 3}))},
        {"array of Variant with a nested array", Variant(nested)},
    };
    for (const auto& [name, source] : samples) {
      SCOPED_TRACE(name);
      Variant dest(make<Collection>());  // old content: an object only dest holds
      const std::int64_t before = Object::live_count();
      CopyVariant(dest, source);
      EXPECT_TRUE(identical(dest, source));
      EXPECT_EQ(Object::live_count(), before - 1);
    }
  }
  EXPECT_EQ(Object::live_count(), live);
}

TEST(CopyVariant, DereferencesAndCopiesDeeply) {
  String text(u"before");
  std::int32_t number = 5;
  Array array = longs(3, {1, 2});
  Variant inner(u"inside");
  Variant by_ref_inner = Variant::by_ref(inner);
  struct Row {
    const char* name;
    Variant source;
    std::function<void()> change_storage;
    Variant expected;
  };
  const Row rows[] = {
      {"by-reference String", Variant::by_ref(text), [&] { text = String(u"after"); }, Variant(u"before")},
      {"by-reference Long", Variant::by_ref(number), [&] { number = 6; }, Variant(std::int32_t{5})},
      {"by-reference array", Variant::by_ref(array), [&] { array.put(3, Variant(std::int32_t{9})); },
       Variant(longs(3, {1, 2}))},
      {"by-reference Variant, twice over", Variant::by_ref(by_ref_inner), [&] { inner = Variant(u"changed"); },
       Variant(u"inside")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Variant dest(std::int32_t{1});
    CopyVariant(dest, row.source);
    EXPECT_FALSE(dest.is_by_ref());
    row.change_storage();
    EXPECT_TRUE(identical(dest, row.expected));
  }

  // A plain array is copied, not shared.
  Variant source(longs(0, {1}));
  Variant dest;
  CopyVariant(dest, source);
  source.if_array()->put(0, Variant(std::int32_t{2}));
  EXPECT_EQ(dest.if_array()->get(0).to_long(), 1);
}

TEST(CopyVariant, SourceMayBeOrPointAtTheDestination) {
  Variant v(longs(0, {4, 5}));
  CopyVariant(v, v);
  EXPECT_TRUE(identical(v, Variant(longs(0, {4, 5}))));
  CopyVariant(v, Variant::by_ref(v));
  EXPECT_TRUE(identical(v, Variant(longs(0, {4, 5}))));
}

TEST(CopyVariant, AFailedCopyRaisesThroughTheReporterAndLeavesDestAlone) {
  Variant dest(u"kept");
  detail::fail_variant_copy(1, copy_status::kOutOfMemory);
  const Raised f = failure_of([&] { CopyVariant(dest, Variant(std::int32_t{1})); });
  EXPECT_EQ(f.number, error_number::kVariantCopyFailed);
  EXPECT_EQ(f.source, "Quorvel");
  EXPECT_EQ(f.description, "CopyVariant.OLEVariantCopyInd Failed : -2147024882");
  EXPECT_EQ(*dest.if_string(), String(u"kept"));
  CopyVariant(dest, Variant(std::int32_t{1}));  // the fault was spent
  EXPECT_EQ(dest.to_long(), 1);
}

TEST(SwapVariants, ExchangesAndDereferences) {
  Ref<Collection> object = make<Collection>();
  Variant a(u"left");
  Variant b(object);
  SwapVariants(a, b);
  EXPECT_TRUE(a.to_object().same(object));
  EXPECT_EQ(*b.if_string(), String(u"left"));

  std::int32_t storage = 7;
  Variant by_ref = Variant::by_ref(storage);
  Variant plain(longs(1, {1, 2}));
  SwapVariants(by_ref, plain);
  EXPECT_FALSE(by_ref.is_by_ref());
  EXPECT_TRUE(identical(by_ref, Variant(longs(1, {1, 2}))));
  EXPECT_TRUE(identical(plain, Variant(std::int32_t{7})));
  EXPECT_EQ(storage, 7);

  SwapVariants(a, a);
  EXPECT_TRUE(a.to_object().same(object));
}

TEST(SwapVariants, EachOfTheThreeCopiesIsCheckedAndAFailureChangesNothing) {
  for (int step = 1; step <= 3; ++step) {
    SCOPED_TRACE(step);
    Variant a(u"a");
    Variant b(std::int32_t{2});
    detail::fail_variant_copy(step, copy_status::kFail);
    const Raised f = failure_of([&] { SwapVariants(a, b); });
    EXPECT_EQ(f.number, error_number::kVariantCopyFailed);
    EXPECT_EQ(f.description, "OLEVariantCopyInd Failed : -2147467259");
    EXPECT_EQ(*a.if_string(), String(u"a"));
    EXPECT_EQ(*b.if_long(), 2);
  }
  detail::fail_variant_copy(0, 0);
}

TEST(TrySetObject, SetsObjectReferencesOnly) {
  Ref<Collection> object = make<Collection>();
  Variant held(object);
  struct Row {
    const char* name;
    Variant source;
    bool set;
  };
  const Row rows[] = {
      {"object", Variant(object), true},
      {"Nothing", Variant::nothing(), true},
      {"by-reference Variant holding an object", Variant::by_ref(held), true},
      {"Long", Variant(std::int32_t{7}), false},
      {"array", Variant(longs(0, {1})), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Variant target(u"old");
    EXPECT_EQ(TrySetObject(target, row.source), row.set);
    if (row.set) {
      EXPECT_TRUE(target.is_object());
      EXPECT_EQ(target.if_object(), row.source.if_object());
    } else {
      EXPECT_EQ(*target.if_string(), String(u"old"));
    }
  }
}

TEST(AssignVariant, SetsObjectsAndLetsCopiesOfValues) {
  Ref<Collection> object = make<Collection>();
  String text(u"by ref");
  struct Row {
    const char* name;
    Variant source, expected;  // `expected`: what the target and the result then hold
  };
  const Row rows[] = {
      {"Nothing is set", Variant::nothing(), Variant::nothing()},
      {"a value is let", Variant(std::int32_t{7}), Variant(std::int32_t{7})},
      {"an object is set", Variant(object), Variant(object)},
      {"a reference is let as its value", Variant::by_ref(text), Variant(u"by ref")},
  };
  Variant target(std::int32_t{1});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Variant result = AssignVariant(target, row.source);
    EXPECT_TRUE(identical(target, row.expected));
    EXPECT_TRUE(identical(result, row.expected));
  }
}

}  // namespace
}  // namespace quorvel
