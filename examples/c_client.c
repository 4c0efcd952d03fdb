/* A C program driving Quorvel late-bound: build a list, sort it, print it,
 * search it by reference, name an argument, and read an error back. Exits 0 when all went as
 * expected. */
#include <quorvel/quorvel.h>
#include <stdio.h>
#include <string.h>

static int failed(const char* what, qv_status status) {
  char* description = NULL;
  int32_t number = 0;
  qv_last_error(&number, NULL, &description);
  fprintf(stderr, "%s failed: error %ld: %s\n", what, (long)number, description ? description : "");
  qv_free(description);
  return status;
}

static qv_variant long_value(int32_t n) {
  qv_variant v;
  qv_variant_init(&v);
  v.kind = QV_LONG;
  v.value.lng = n;
  return v;
}

int main(void) {
  qv_object list = NULL;
  qv_variant args[2], result;
  char* text = NULL;
  int32_t index = -1, add_item = 0, i;
  const int32_t values[] = {5, 3, 9};
  qv_status s;

  if ((s = qv_create("Quorvel.ArrayList_Long", &list))) return failed("create", s);

  /* Look the id up once, call by it as often as needed. */
  if ((s = qv_get_dispid(list, "AddItem", &add_item))) return failed("AddItem id", s);
  for (i = 0; i < 3; ++i) {
    args[0] = long_value(values[i]);
    if ((s = qv_invoke(list, add_item, QV_METHOD, args, 1, NULL))) return failed("AddItem", s);
  }
  if ((s = qv_invoke_by_name(list, "Sort", QV_METHOD, NULL, 0, NULL))) return failed("Sort", s);
  args[0] = long_value(7);
  if ((s = qv_invoke(list, add_item, QV_METHOD, args, 1, NULL))) return failed("AddItem", s);

  if ((s = qv_invoke_by_name(list, "ToString", QV_METHOD, NULL, 0, &result))) return failed("ToString", s);
  qv_string_to_utf8(result.value.str, &text);
  printf("list: %s\n", text);
  if (strcmp(text, "3 5 9 7") != 0) return 1;
  qv_free(text);
  qv_variant_clear(&result);

  /* Find(9, retIndex): the index comes back through a by-reference Long. */
  args[0] = long_value(9);
  qv_variant_init(&args[1]);
  args[1].kind = QV_LONG | QV_BYREF;
  args[1].value.ref = &index;
  if ((s = qv_invoke_by_name(list, "Find", QV_METHOD, args, 2, &result))) return failed("Find", s);
  printf("Find(9): %s at %ld\n", result.value.boolean ? "True" : "False", (long)index);
  if (!result.value.boolean || index != 2) return 1;

  /* Sort(n:=1, m:=0) sorts the first two only. */
  {
    const char* names[] = {"n", "m"};
    int32_t sort = 0;
    qv_get_dispid(list, "Sort", &sort);
    args[0] = long_value(1);
    args[1] = long_value(0);
    if ((s = qv_invoke_named(list, sort, QV_METHOD, args, 2, names, 2, NULL))) return failed("Sort named", s);
  }

  /* Item(5) is out of range: the error carries the library's number. */
  args[0] = long_value(5);
  s = qv_invoke_by_name(list, "Item", QV_METHOD | QV_GET, args, 1, &result);
  printf("Item(5): error 0x%08lX\n", (unsigned long)(uint32_t)s);
  if (s != (int32_t)0x80040001u) return 1;

  qv_release(list);
  return 0;
}
