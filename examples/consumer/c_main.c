/* The smallest C use of an installed Quorvel: create a list, add to it, count. */
#include <quorvel/quorvel.h>
#include <stdio.h>

int main(void) {
  qv_object list = NULL;
  qv_variant item, count;
  if (qv_create("Quorvel.ArrayList_Long", &list)) return 1;
  qv_variant_init(&item);
  item.kind = QV_LONG;
  item.value.lng = 42;
  if (qv_invoke_by_name(list, "AddItem", QV_METHOD, &item, 1, NULL)) return 1;
  if (qv_invoke_by_name(list, "Count", QV_GET, NULL, 0, &count)) return 1;
  printf("count: %ld\n", (long)count.value.lng);
  qv_release(list);
  return count.value.lng == 1 ? 0 : 1;
}
