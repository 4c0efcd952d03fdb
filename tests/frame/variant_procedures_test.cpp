#include "quorvel/frame/variant_procedures.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/error.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

Array longs(std::int32_t lower, std::vector<std::int32_t> values) {
  ArrayOf<std::int32_t> a(lower, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) a.items()[i] = values[i];
  return a;
}

using CopyVariantLive = test_support::LiveCountCheck;

// What a by-reference source points at is copied, deeply: changing it afterwards changes nothing.
TEST_F(CopyVariantLive, CopiesEachWayOfHoldingAValueAndReleasesTheOldContent) {
  Ref<Collection> object = make<Collection>();
  Array nested(VarKind::Variant, 1, 2);
  nested.put(1, Variant(u"inner"));
  nested.put(2, Variant(longs(-1, {7, 8})));
  String text(u"before");
  Array array = longs(3, {1, 2});
  Variant inner(u"inside");
  Variant by_ref_inner = Variant::by_ref(inner);
  const struct {
    const char* name;
    Variant source;
    Variant expected{};  // Empty: the source itself
    std::function<void()> change_storage = [] {};
  } rows[] = {
      {"Empty", Variant()},
      {"Null", Variant::null()},
      {"Double", Variant(-0.0)},
      {"String", Variant(u"text")},
      {"Error", Variant::error(5)},
      {"Object", Variant(object)},
      {"Nothing", Variant::nothing()},
      {"array of Long from -1", Variant(longs(-1, {1, 2, 3}))},
      {"array of Variant with a nested array", Variant(nested)},
      {"by-reference String", Variant::by_ref(text), Variant(u"before"), [&] { text = String(u"after"); }},
      {"by-reference array", Variant::by_ref(array), Variant(longs(3, {1, 2})),
       [&] { array.put(3, Variant(std::int32_t{9})); }},
      {"by-reference Variant, twice over", Variant::by_ref(by_ref_inner), Variant(u"inside"),
       [&] { inner = Variant(u"changed"); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Variant dest(make<Collection>());  // old content: an object only dest holds
    const std::int64_t before = Object::live_count();
    CopyVariant(dest, row.source);
    EXPECT_EQ(Object::live_count(), before - 1);
    EXPECT_FALSE(dest.is_by_ref());
    row.change_storage();
    EXPECT_TRUE(identical(dest, row.expected.is_empty() ? row.source : row.expected));
  }
}

// SwapVariants, a self-exchange included, runs in every sort of Variants.
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
  EXPECT_RAISES(CopyVariant(dest, Variant(std::int32_t{1})), error_number::kVariantCopyFailed,
                "CopyVariant.OLEVariantCopyInd Failed : -2147024882", "Quorvel");
  EXPECT_EQ(*dest.if_string(), String(u"kept"));
  CopyVariant(dest, Variant(std::int32_t{1}));  // the fault was spent
  EXPECT_EQ(dest.to_long(), 1);
}

// TrySetObject sets objects only and leaves the target alone otherwise; AssignVariant sets
// objects and lets copies of everything else.
TEST(TrySetObjectAndAssignVariant, SetObjectsOrLetValues) {
  Ref<Collection> object = make<Collection>();
  Variant held(object);
  String text(u"by ref");
  const struct {
    const char* name;
    Variant source;
    bool is_object;
    Variant assigned;
  } rows[] = {
      {"object", Variant(object), true, Variant(object)},
      {"Nothing", Variant::nothing(), true, Variant::nothing()},
      {"by-reference Variant holding an object", Variant::by_ref(held), true, Variant(object)},
      {"Long", Variant(std::int32_t{7}), false, Variant(std::int32_t{7})},
      {"array", Variant(longs(0, {1})), false, Variant(longs(0, {1}))},
      {"by-reference String", Variant::by_ref(text), false, Variant(u"by ref")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Variant target(u"old");
    EXPECT_EQ(TrySetObject(target, row.source), row.is_object);
    EXPECT_TRUE(identical(target, row.is_object ? row.assigned : Variant(u"old")));
    Variant other(std::int32_t{1});
    EXPECT_TRUE(identical(AssignVariant(other, row.source), row.assigned));
    EXPECT_TRUE(identical(other, row.assigned));
  }
}

}  // namespace
}  // namespace quorvel
