// One function per verb, found through a table that also gives each verb's shape; the shape
// checks and the value parsing come before any call, so a malformed step changes nothing.
#include "step_runner.h"

#include <span>
#include <vector>

#include "expectation.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/named_arguments.h"
#include "quorvel/platform/registry.h"
#include "scenario_listener.h"

namespace quorvel::host {

namespace {

String member_name(const Json& j) { return String::from_utf8(text_field(j, "a member name")); }

// Arguments in call order; the named ones (`{"Named": [name, value]}`) come last, their names in
// `names` (kept as Strings so that the views in `named_views` stay valid).
struct Arguments {
  std::vector<Variant> values;
  std::vector<String> names;
  std::vector<std::u16string_view> named_views;
};

const Json* named_argument(const Json& a) {
  if (!a.is_object() || a.size() != 1 || !a.contains("Named")) return nullptr;
  const Json& pair = a["Named"];
  if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string()) {
    throw Malformed("a named argument is written {\"Named\": [name, value]}, got " + echo(a, 60));
  }
  return &pair;
}

Arguments arguments(const Json& j, Variables& vars) {
  if (!j.is_array()) throw Malformed("the arguments must be a JSON array, got " + echo(j, 60));
  Arguments args;
  args.values.reserve(j.size());
  for (const Json& a : j) {
    if (const Json* named = named_argument(a)) {
      args.names.push_back(String::from_utf8((*named)[0].get<std::string>()));
      args.values.push_back(value_from_json((*named)[1], vars, ValueUse::Argument));
    } else if (!args.names.empty()) {
      throw Malformed("a positional argument follows a named one: " + echo(a, 60));
    } else {
      args.values.push_back(value_from_json(a, vars, ValueUse::Argument));
    }
  }
  for (const String& name : args.names) args.named_views.push_back(name.view());
  return args;
}

void require(const Outcome& got, const Expectation& expected) {
  if (auto why = expected.mismatch(got)) throw StepFailed(*why);
}

// Calls the member named by step[2] on the object in variable step[1] with the arguments step[3]
// (and, for let and set, the assigned value last), as a late-bound client does.
Outcome call_member(const Json& step, MemberKind kinds, const Json* assigned, Variables& vars) {
  // A copy keeps the object alive even if a write-back replaces the variable during the call.
  const Variant target = existing_variable(vars, step[1]);
  const String name = member_name(step[2]);
  Arguments args = arguments(step[3], vars);
  if (assigned) {
    if (!args.names.empty()) throw Malformed("let and set take no named arguments");
    args.values.push_back(value_from_json(*assigned, vars, ValueUse::Argument));
  }
  std::span<Variant> values(args.values);
  if (args.names.empty()) return attempt([&] { return invoke(target, name.view(), kinds, values); });
  return attempt([&] {
    const Ref<Unknown> object = target.to_object();
    if (!object) raise_runtime_error(RuntimeError::ObjectNotSet);
    return invoke_named(*object, name.view(), kinds, values, args.named_views);
  });
}

void keep_object(const Outcome& got, const std::string& what, Variables& vars, const Json& into) {
  if (got.raised || !got.value.is_object()) throw StepFailed("expected " + what + ", got " + got.text());
  vars[text_field(into, "a variable name")] = got.value;
}

void step_new(const Json& s, Variables& vars) {
  const String progid = String::from_utf8(text_field(s[2], "a program id"));
  const Json& into = s[1];
  text_field(into, "a variable name");
  keep_object(attempt([&] { return Variant(create_object(progid.view())); }), "a new object", vars, into);
}

void step_newid(const Json& s, Variables& vars) {
  Guid clsid;
  if (!Guid::parse(text_field(s[2], "a class id"), clsid)) {
    throw Malformed("a class id is written {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}, got " + echo(s[2], 60));
  }
  text_field(s[1], "a variable name");
  keep_object(attempt([&] { return Variant(create_object(clsid)); }), "a new object", vars, s[1]);
}

void step_global(const Json& s, Variables& vars) {
  const String name = String::from_utf8(text_field(s[2], "a global object's name"));
  text_field(s[1], "a variable name");
  keep_object(attempt([&] { return Variant(global_object(name.view())); }), "the global object", vars, s[1]);
}

void step_as(const Json& s, Variables& vars) {
  const Variant& held = existing_variable(vars, s[1]);
  const std::string interface_name = one_line(text_field(s[2], "an interface name"));
  text_field(s[3], "a variable name");
  const InterfaceInfo* info = find_interface_info(String::from_utf8(s[2].get<std::string>()).view());
  if (!info) throw StepFailed("expected an interface named " + interface_name + ", got none in the type library");
  Unknown* p = held.is_object() ? held.if_object() : nullptr;
  if (!p) throw StepFailed("expected an object with interface " + interface_name + ", got " + value_text(held));
  Unknown* view = p->identity().interface_for(*info);
  if (!view) throw StepFailed("expected an object with interface " + interface_name + ", got " + value_text(held) + ", which lacks it");
  vars[s[3].get<std::string>()] = Variant(Ref<Unknown>(view));
}

void step_call(const Json& s, Variables& vars) {
  const Expectation expected = s.size() > 4 ? Expectation::parse(s[4], vars, true) : Expectation::no_error();
  require(call_member(s, MemberKind::Method | MemberKind::Get, nullptr, vars), expected);
}

void step_get(const Json& s, Variables& vars) {
  const Expectation expected = Expectation::parse(s[4], vars, true);
  require(call_member(s, MemberKind::Get, nullptr, vars), expected);
}

void step_let(const Json& s, Variables& vars) {
  const Expectation expected = s.size() > 5 ? Expectation::parse(s[5], vars, true) : Expectation::no_error();
  require(call_member(s, MemberKind::Let, &s[4], vars), expected);
}

void step_set(const Json& s, Variables& vars) {
  const Expectation expected = s.size() > 5 ? Expectation::parse(s[5], vars, true) : Expectation::no_error();
  require(call_member(s, MemberKind::Set, &s[4], vars), expected);
}

void step_getobj(const Json& s, Variables& vars) {
  text_field(s[4], "a variable name");
  keep_object(call_member(s, MemberKind::Method | MemberKind::Get, nullptr, vars), "an object", vars, s[4]);
}

void step_var(const Json& s, Variables& vars) {
  const std::string& name = text_field(s[1], "a variable name");
  Variant value = value_from_json(s[2], vars, ValueUse::Plain);
  vars[name] = std::move(value);
}

void step_check(const Json& s, Variables& vars) {
  const Variant& held = existing_variable(vars, s[1]);
  const Expectation expected = Expectation::parse(s[2], vars, false);
  Outcome got;
  got.value = held;
  require(got, expected);
}

// What a container holds, for a failure message: " (items: Long 5, Long 12)", or "" if unreadable.
std::string items_text(const Variant& target, std::int32_t base, const Outcome& count) {
  const std::int32_t* n = count.raised ? nullptr : count.value.if_long();
  if (!n || *n <= 0) return {};
  constexpr std::int32_t kShown = 8;
  std::string text = " (items: ";
  for (std::int32_t i = 0; i < *n && i < kShown; ++i) {
    std::vector<Variant> index{Variant(base + i)};
    const Outcome item = attempt([&] { return invoke(target, u"Item", MemberKind::Method | MemberKind::Get, index); });
    text += (i ? ", " : "") + item.text();
  }
  return text + (*n > kShown ? ", ...)" : ")");
}

void step_items(const Json& s, Variables& vars) {
  const Variant target = existing_variable(vars, s[1]);
  if (!s[2].is_array()) throw Malformed("the expected items must be a JSON array, got " + echo(s[2], 60));
  std::int32_t base = 0;
  if (s.size() == 4) {
    if (s[3] != Json("base1")) throw Malformed("the fourth element of \"items\" can only be \"base1\", got " + echo(s[3], 60));
    base = 1;
  }
  std::vector<Expectation> expected;
  for (const Json& e : s[2]) expected.push_back(Expectation::parse(e, vars, false));

  const auto count = static_cast<std::int32_t>(expected.size());
  const Outcome got_count = attempt([&] { return invoke(target, u"Count", MemberKind::Method | MemberKind::Get, {}); });
  if (!got_count.raised && same_value(got_count.value, Variant(count))) {
    for (std::int32_t i = 0; i < count; ++i) {
      std::vector<Variant> index{Variant(base + i)};
      const Outcome item = attempt([&] { return invoke(target, u"Item", MemberKind::Method | MemberKind::Get, index); });
      if (auto why = expected[static_cast<std::size_t>(i)].mismatch(item)) {
        throw StepFailed("Item(" + std::to_string(base + i) + "): " + *why);
      }
    }
    return;
  }
  throw StepFailed("Count: expected " + value_text(Variant(count)) + ", got " + got_count.text() +
                   items_text(target, base, got_count));
}

void step_same(const Json& s, Variables& vars) {
  const Variant& a = existing_variable(vars, s[1]);
  const Variant& b = existing_variable(vars, s[2]);
  Unknown* x = a.is_object() ? a.if_object() : nullptr;
  Unknown* y = b.is_object() ? b.if_object() : nullptr;
  const bool same = a.is_object() && b.is_object() && (x && y ? &x->identity() == &y->identity() : x == y);
  if (!same) throw StepFailed("expected the same object, got " + value_text(a) + " and " + value_text(b));
}

void step_release(const Json& s, Variables& vars) {
  existing_variable(vars, s[1]);
  vars.erase(s[1].get<std::string>());
}

struct Verb {
  std::string_view name;
  std::size_t min_size;  // elements of the step, verb included
  std::size_t max_size;
  std::string_view shape;
  void (*run)(const Json&, Variables&);
};

constexpr Verb kVerbs[] = {
    {"new", 3, 3, R"(["new", v, progid])", &step_new},
    {"newid", 3, 3, R"(["newid", v, "{class id}"])", &step_newid},
    {"global", 3, 3, R"(["global", v, name])", &step_global},
    {"as", 4, 4, R"(["as", v, interface, w])", &step_as},
    {"call", 4, 5, R"(["call", v, member, args, expect?])", &step_call},
    {"get", 5, 5, R"(["get", v, member, args, expect])", &step_get},
    {"let", 5, 6, R"(["let", v, member, args, value, expect?])", &step_let},
    {"set", 5, 6, R"(["set", v, member, args, value, expect?])", &step_set},
    {"getobj", 5, 5, R"(["getobj", v, member, args, w])", &step_getobj},
    {"var", 3, 3, R"(["var", w, value])", &step_var},
    {"check", 3, 3, R"(["check", w, expect])", &step_check},
    {"items", 3, 4, R"(["items", v, [expected...], "base1"?])", &step_items},
    {"same", 3, 3, R"(["same", a, b])", &step_same},
    {"release", 2, 2, R"(["release", v])", &step_release},
    {"listen", 3, 3, R"(["listen", v, w])", &step_listen},
    {"unlisten", 3, 3, R"(["unlisten", v, w])", &step_unlisten},
    {"on", 4, 4, R"(["on", w, event, action])", &step_on},
    {"heard", 3, 3, R"(["heard", w, [[event, argument...], ...]])", &step_heard},
};

}  // namespace

void run_step(const Json& step, Variables& vars) {
  if (!step.is_array() || step.empty() || !step[0].is_string()) {
    throw Malformed("a step is a JSON array beginning with its verb, got " + echo(step, 60));
  }
  const std::string& verb = step[0].get_ref<const std::string&>();
  for (const Verb& v : kVerbs) {
    if (v.name != verb) continue;
    if (step.size() < v.min_size || step.size() > v.max_size) {
      throw Malformed("\"" + verb + "\" is written " + std::string(v.shape) + ", got " + std::to_string(step.size()) +
                      " elements");
    }
    v.run(step, vars);
    return;
  }
  std::string known;
  for (const Verb& v : kVerbs) known.append(known.empty() ? "" : " ").append(v.name);
  throw Malformed("unknown verb \"" + one_line(verb) + "\" (known: " + known + ")");
}

}  // namespace quorvel::host
