// Creates a list by program id, fills and sorts it late-bound, and prints its text form.
#include <cstdio>
#include <vector>

#include <quorvel/platform/error.h>
#include <quorvel/platform/late_binding.h>
#include <quorvel/platform/registry.h>

int main() {
  using namespace quorvel;
  try {
    Ref<Object> list = create_object(u"Quorvel.ArrayList_Long");
    for (std::int32_t n : {5, 3, 9}) {
      std::vector<Variant> args{n};
      invoke(*list, u"AddItem", MemberKind::Method, args);
    }
    invoke(*list, u"Sort", MemberKind::Method, {});
    const String text = invoke(*list, u"ToString", MemberKind::Method, {}).to_string();
    std::printf("%s\n", text.to_utf8().c_str());
    return text == String(u"3 5 9") ? 0 : 1;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
