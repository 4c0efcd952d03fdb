#include "quorvel/quorvel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "quorvel/platform/object.h"
#include "quorvel/platform/registry.h"

namespace {

qv_variant long_value(std::int32_t n) {
  qv_variant v{};
  v.kind = QV_LONG;
  v.value.lng = n;
  return v;
}

std::string last_description() {
  char* text = nullptr;
  qv_last_error(nullptr, nullptr, &text);
  std::string out = text ? text : "";
  qv_free(text);
  return out;
}

struct List {
  qv_object handle = nullptr;
  List() { EXPECT_EQ(qv_create("Quorvel.ArrayList_Long", &handle), QV_OK); }
  ~List() { EXPECT_EQ(qv_release(handle), QV_OK); }
  std::int32_t count() {
    qv_variant r;
    EXPECT_EQ(qv_invoke_by_name(handle, "Count", QV_GET, nullptr, 0, &r), QV_OK);
    return r.value.lng;
  }
};

TEST(CInterface, CallsByIdAndByNameAndWritesBackByReference) {
  List list;
  std::int32_t add = -1;
  ASSERT_EQ(qv_get_dispid(list.handle, "additem", &add), QV_OK);
  for (std::int32_t n : {4, 8, 6}) {
    qv_variant arg = long_value(n);
    ASSERT_EQ(qv_invoke(list.handle, add, QV_METHOD, &arg, 1, nullptr), QV_OK);
  }
  std::int32_t index = -1;
  qv_variant args[2] = {long_value(6), {}};
  args[1].kind = QV_LONG | QV_BYREF;
  args[1].value.ref = &index;
  qv_variant found;
  ASSERT_EQ(qv_invoke_by_name(list.handle, "Find", QV_METHOD, args, 2, &found), QV_OK);
  EXPECT_EQ(found.kind, QV_BOOLEAN);
  EXPECT_EQ(found.value.boolean, -1);
  EXPECT_EQ(index, 2);

  // An array result is owned by the caller's variant.
  qv_variant array;
  ASSERT_EQ(qv_invoke_by_name(list.handle, "GetArray", QV_METHOD | QV_GET, nullptr, 0, &array), QV_OK);
  ASSERT_EQ(array.kind, QV_LONG | QV_ARRAY);
  std::int32_t lower = -1, count = -1;
  ASSERT_EQ(qv_array_bounds(array.value.arr, &lower, &count), QV_OK);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(qv_variant_clear(&array), QV_OK);
}

TEST(CInterface, StringsKeepEveryCodeUnitAndConvertToUtf8) {
  const std::uint16_t units[] = {u'a', 0xD800, 0, u'b'};  // a lone surrogate and a NUL
  qv_string s = nullptr;
  ASSERT_EQ(qv_string_from_utf16(units, 4, &s), QV_OK);
  const std::uint16_t* back = nullptr;
  std::size_t length = 0;
  ASSERT_EQ(qv_string_units(s, &back, &length), QV_OK);
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(back[1], 0xD800);
  char* text = nullptr;
  ASSERT_EQ(qv_string_to_utf8(s, &text), QV_OK);
  EXPECT_EQ(std::string(text, 7), std::string("a\xEF\xBF\xBD\0b", 7));
  qv_free(text);

  // A list of strings takes it as an argument and hands a copy back.
  qv_object list = nullptr;
  ASSERT_EQ(qv_create("Quorvel.ArrayList_String", &list), QV_OK);
  qv_variant arg{};
  arg.kind = QV_STRING;
  arg.value.str = s;  // owned by the variant from here on
  ASSERT_EQ(qv_invoke_by_name(list, "AddItem", QV_METHOD, &arg, 1, nullptr), QV_OK);
  qv_variant zero = long_value(0), item;
  ASSERT_EQ(qv_invoke_by_name(list, "Item", QV_GET, &zero, 1, &item), QV_OK);
  ASSERT_EQ(qv_string_units(item.value.str, &back, &length), QV_OK);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(qv_variant_clear(&item), QV_OK);
  EXPECT_EQ(qv_variant_clear(&arg), QV_OK);
  EXPECT_EQ(qv_release(list), QV_OK);
}

TEST(CInterface, LibraryErrorsComeBackAsNumberSourceAndDescription) {
  List list;
  qv_variant arg = long_value(5), result;
  const qv_status s = qv_invoke_by_name(list.handle, "Item", QV_GET, &arg, 1, &result);
  EXPECT_EQ(s, static_cast<std::int32_t>(0x80040001u));
  std::int32_t number = 0;
  char* source = nullptr;
  ASSERT_EQ(qv_last_error(&number, &source, nullptr), QV_OK);
  EXPECT_EQ(number, s);
  EXPECT_STREQ(source, "ArrayList_Long");
  qv_free(source);
  EXPECT_EQ(result.kind, QV_EMPTY);

  const char* names[] = {"Colour"};
  std::int32_t sort = 0;
  ASSERT_EQ(qv_get_dispid(list.handle, "Sort", &sort), QV_OK);
  EXPECT_EQ(qv_invoke_named(list.handle, sort, QV_METHOD, &arg, 1, names, 1, nullptr), 448);
  EXPECT_EQ(last_description(), "Named argument not found: ArrayList_Long.Sort(Colour)");
  qv_object none = list.handle;
  EXPECT_EQ(qv_create("Quorvel.NoSuchClass", &none), 429);
  EXPECT_EQ(none, nullptr);
}

// Bad input is refused by status, never by a crash or an exception.
TEST(CInterface, BadInputIsAnErrorNotACrash) {
  List list;
  qv_variant good = long_value(1);
  qv_variant bad_kind = long_value(1);
  bad_kind.kind = 6;  // no such kind
  qv_variant byref_null{};
  byref_null.kind = QV_LONG | QV_BYREF;
  qv_variant array_null{};
  array_null.kind = QV_LONG | QV_ARRAY;
  qv_variant dirty = long_value(1);
  dirty.reserved[1] = 7;
  qv_variant loop{};
  loop.kind = QV_VARIANT | QV_BYREF;
  loop.value.ref = &loop;
  const qv_object low_handle = reinterpret_cast<qv_object>(std::uintptr_t{16});
  const qv_object odd_handle = reinterpret_cast<qv_object>(reinterpret_cast<std::uintptr_t>(list.handle) + 1);
  struct Row {
    const char* name;
    qv_object object;
    int kinds;
    qv_variant* args;
    std::size_t count;
    qv_status expected;
  } rows[] = {
      {"null object", nullptr, QV_METHOD, &good, 1, 91},
      {"handle in the first page", low_handle, QV_METHOD, &good, 1, 5},
      {"misaligned handle", odd_handle, QV_METHOD, &good, 1, 5},
      {"no member kind", list.handle, 0, &good, 1, 5},
      {"unknown member kind", list.handle, 16, &good, 1, 5},
      {"count without arguments", list.handle, QV_METHOD, nullptr, 2, 5},
      {"unknown kind word", list.handle, QV_METHOD, &bad_kind, 1, 5},
      {"by-reference to nothing", list.handle, QV_METHOD, &byref_null, 1, 5},
      {"array without storage", list.handle, QV_METHOD, &array_null, 1, 5},
      {"reserved words set", list.handle, QV_METHOD, &dirty, 1, 5},
      {"by-reference loop", list.handle, QV_METHOD, &loop, 1, 5},
      {"well formed", list.handle, QV_METHOD, &good, 1, QV_OK},
  };
  std::int32_t add = 0;
  ASSERT_EQ(qv_get_dispid(list.handle, "AddItem", &add), QV_OK);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    qv_variant result = long_value(7);  // overwritten, not cleared: a refused or failed call leaves Empty
    EXPECT_EQ(qv_invoke(row.object, add, row.kinds, row.args, row.count, &result), row.expected);
    EXPECT_EQ(result.kind, QV_EMPTY);
  }
  qv_variant two[2] = {long_value(1), long_value(2)};
  EXPECT_EQ(qv_invoke(list.handle, add, QV_METHOD, two, 2, &two[1]), 450);
  EXPECT_EQ(two[1].kind, QV_EMPTY) << "a result that is an argument is emptied before the call";
  EXPECT_EQ(qv_invoke_by_name(list.handle, nullptr, QV_GET, nullptr, 0, nullptr), 5);
  EXPECT_EQ(qv_create(nullptr, nullptr), 5);
  qv_object none = list.handle;
  EXPECT_EQ(qv_create_by_clsid("{not a guid}", &none), 5);
  EXPECT_EQ(none, nullptr);

  qv_array a = nullptr;
  EXPECT_EQ(qv_array_create(QV_LONG, 0, -1, &a), 5);
  EXPECT_EQ(qv_array_create(QV_LONG, 0x7FFFFFFF, 2, &a), 6);
  EXPECT_EQ(qv_array_create(QV_EMPTY, 0, 1, &a), 5);
  EXPECT_EQ(qv_array_create(QV_LONG | QV_ARRAY, 0, 1, &a), 5);
  ASSERT_EQ(qv_array_create(QV_LONG, -3, 7, &a), QV_OK);
  qv_variant element;
  EXPECT_EQ(qv_array_get(a, 4, &element), 9);
  qv_variant text{};
  ASSERT_EQ(qv_string_from_utf8("x", 1, &text.value.str), QV_OK);
  text.kind = QV_STRING;
  EXPECT_EQ(qv_array_put(a, 3, &text), 13);
  EXPECT_EQ(qv_variant_clear(&text), QV_OK);
  qv_array_free(a);

  EXPECT_EQ(qv_string_from_utf8(nullptr, 3, nullptr), 5);
  EXPECT_EQ(qv_release(nullptr), QV_OK);
  EXPECT_EQ(qv_variant_clear(&bad_kind), 5);
}

// Every class a host may make or reach is made or reached through C, and answers a dispatch-id
// lookup of a name it does not have with an error, not a crash.
TEST(CInterface, ReachesEveryCreatableAndGlobalClass) {
  int reached = 0;
  for (const quorvel::ClassInfo* c : quorvel::type_library().classes) {
    if (!c->creatable() && !c->global()) continue;
    SCOPED_TRACE(c->name);
    qv_object o = nullptr;
    const std::string progid = std::string("Quorvel.") + c->name;
    ASSERT_EQ(c->global() ? qv_global(c->name, &o) : qv_create(progid.c_str(), &o), QV_OK) << last_description();
    std::int32_t id = 0;
    EXPECT_NE(qv_get_dispid(o, "NoSuchMember", &id), QV_OK);
    EXPECT_EQ(qv_release(o), QV_OK);
    ++reached;
  }
  EXPECT_GT(reached, 20);
}

TEST(CInterface, UnloadQueryFollowsLiveObjects) {
  const std::int64_t before = quorvel::Object::live_count();
  {
    List list;
    EXPECT_EQ(quorvel::Object::live_count(), before + 1);
    EXPECT_EQ(qv_addref(list.handle), QV_OK);
    EXPECT_EQ(qv_release(list.handle), QV_OK);
    EXPECT_EQ(list.count(), 0);
  }
  EXPECT_EQ(quorvel::Object::live_count(), before);
}

}  // namespace
