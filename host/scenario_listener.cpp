// The scenario listener and its steps. Everything a step reads from the file is checked before
// the step changes anything, so a malformed step leaves the listener's log and actions alone.
#include "scenario_listener.h"

#include <array>
#include <optional>

#include "expectation.h"
#include "quorvel/platform/ascii_case.h"
#include "quorvel/platform/error.h"
#include "step_runner.h"

namespace quorvel::host {

namespace {

constexpr std::size_t kMaxEvents = 8;

}  // namespace

template <std::size_t N>
void ScenarioListener::answer(Unknown& self, std::span<Variant> args, Variant&) {
  static_cast<ScenarioListener&>(self.identity()).hear(N, args);
}

ScenarioListener::ScenarioListener(const InterfaceInfo& events) {
  static constexpr std::array<Invoker, kMaxEvents> kAnswers{&answer<0>, &answer<1>, &answer<2>, &answer<3>,
                                                            &answer<4>, &answer<5>, &answer<6>, &answer<7>};
  std::vector<MemberInfo> members;
  for (std::size_t i = 0; i < events.members().size() && i < kMaxEvents; ++i) {
    MemberInfo m = events.members()[i];
    m.invoke = kAnswers[i];
    members.push_back(std::move(m));
  }
  info_.name = type_name;
  info_.own_storage = std::make_shared<const InterfaceInfo>(std::string("_") + type_name, iid, std::move(members));
  info_.own = info_.own_storage.get();
}

const MemberInfo* ScenarioListener::find_event(std::u16string_view name) const noexcept {
  const DispId id = info_.own->find_id(name);
  return id < 0 ? nullptr : info_.own->find(id, MemberKind::Method);
}

void ScenarioListener::on(DispId event, std::optional<Action> action) {
  if (action) {
    actions_[event] = std::move(*action);
  } else {
    actions_.erase(event);
  }
}

void ScenarioListener::hear(std::size_t slot, std::span<Variant> args) {
  const MemberInfo& m = info_.own->members()[slot];
  Heard heard{m.name, {}};
  for (const Variant& a : args) {
    Argument arg;
    arg.text = value_text(a);
    if (a.is_object()) {
      arg.object = true;
      arg.identity = a.if_object() ? &a.if_object()->identity() : nullptr;
      if (arg.identity) arg.class_name = arg.identity->class_info().name;
    } else {
      arg.value = a.copy_ind();
    }
    heard.args.push_back(std::move(arg));
  }
  heard_.push_back(std::move(heard));
  const auto it = actions_.find(m.id);
  if (it == actions_.end()) return;
  const Action& action = it->second;
  if (action.kind == Action::Kind::Raise) raise_error(action.number, String(u"ScenarioListener"), action.description);
  if (static_cast<std::size_t>(action.index) < args.size()) args[static_cast<std::size_t>(action.index)].assign(action.value);
}

namespace {

ScenarioListener& listener_in(Variables& vars, const Json& name) {
  const Variant& held = existing_variable(vars, name);
  Unknown* p = held.is_object() ? held.if_object() : nullptr;
  auto* listener = p ? dynamic_cast<ScenarioListener*>(&p->identity()) : nullptr;
  if (!listener) throw Malformed("variable " + one_line(name.get<std::string>()) + " holds no listener made by \"listen\"");
  return *listener;
}

Unknown& object_in(Variables& vars, const Json& name) {
  const Variant& held = existing_variable(vars, name);
  Unknown* p = held.is_object() ? held.if_object() : nullptr;
  if (!p) throw StepFailed("expected an object, got " + value_text(held));
  return *p;
}

// One expected argument of a heard event: an object by identity or class, Nothing, or a value.
struct ArgumentWanted {
  enum class Form : std::uint8_t { Object, Class, Value } form = Form::Value;
  const Object* identity = nullptr;  // Object: null for Nothing
  std::string class_name;
  std::optional<Expectation> value;
  std::string text;

  static ArgumentWanted parse(const Json& j, Variables& vars) {
    ArgumentWanted w;
    w.text = echo(j, 60);
    if (j.is_object() && j.size() == 1 && (j.contains("Obj") || j.contains("Nothing"))) {
      w.form = Form::Object;
      if (j.contains("Obj")) {
        const Variant& held = existing_variable(vars, j["Obj"]);
        Unknown* p = held.is_object() ? held.if_object() : nullptr;
        w.identity = p ? &p->identity() : nullptr;
      }
    } else if (j.is_object() && j.size() == 1 && j.contains("Class")) {
      w.form = Form::Class;
      w.class_name = text_field(j["Class"], "a class name");
    } else {
      w.value = Expectation::parse(j, vars, false);
    }
    return w;
  }

  bool met_by(const ScenarioListener::Argument& a) const {
    switch (form) {
      case Form::Object:
        return a.object && a.identity == identity;
      case Form::Class:
        return a.object && a.identity && same_ignoring_ascii_case(a.class_name, class_name);
      case Form::Value:
        break;
    }
    Outcome got;
    got.value = a.value;
    return !a.object && !value->mismatch(got);
  }
};

std::string heard_text(const std::vector<ScenarioListener::Heard>& heard) {
  if (heard.empty()) return "nothing";
  std::string text;
  for (const auto& h : heard) {
    text += (text.empty() ? "" : ", ") + h.event + "(";
    for (std::size_t i = 0; i < h.args.size(); ++i) text += (i ? ", " : "") + h.args[i].text;
    text += ")";
  }
  return text;
}

}  // namespace

void step_listen(const Json& s, Variables& vars) {
  Unknown& source = object_in(vars, s[1]);
  const std::string& into = text_field(s[2], "a variable name");
  const InterfaceInfo* events = source.identity().class_info().events;
  if (!events) throw StepFailed("expected an object that raises events, got one of class " +
                                std::string(source.identity().class_info().name));
  const Ref<ScenarioListener> listener = make<ScenarioListener>(*events);
  const Outcome got = attempt([&] {
    listener->cookie = attach_listener(&source, Ref<Unknown>(as_unknown(listener.get())));
    return Variant();
  });
  if (got.raised) throw StepFailed("expected to attach a listener, got " + got.text());
  listener->source = &source.identity();
  vars[into] = Variant(Ref<Unknown>(as_unknown(listener.get())));
}

void step_unlisten(const Json& s, Variables& vars) {
  Unknown& source = object_in(vars, s[1]);
  ScenarioListener& listener = listener_in(vars, s[2]);
  if (listener.source != &source.identity() || !detach_listener(&source, listener.cookie)) {
    throw StepFailed("expected the listener to be attached to that object, got it detached");
  }
}

void step_on(const Json& s, Variables& vars) {
  ScenarioListener& listener = listener_in(vars, s[1]);
  const std::string& event = text_field(s[2], "an event name");
  const MemberInfo* m = listener.find_event(String::from_utf8(event).view());
  if (!m) throw Malformed("the listener hears no event named " + one_line(event));
  const Json& a = s[3];
  if (a == Json("quiet")) return listener.on(m->id, std::nullopt);
  ScenarioListener::Action action;
  if (a.is_object() && a.size() == 1 && a.contains("Assign") && a["Assign"].is_array() && a["Assign"].size() == 2) {
    action.index = int32_field(a["Assign"][0], "an argument index");
    if (action.index < 0 || static_cast<std::size_t>(action.index) >= m->params.size()) {
      throw Malformed(event + " has " + std::to_string(m->params.size()) + " arguments, got index " +
                      std::to_string(action.index));
    }
    action.value = value_from_json(a["Assign"][1], vars, ValueUse::Plain);
  } else if (a.is_object() && a.size() == 1 && a.contains("Err") && a["Err"].is_array() && !a["Err"].empty() &&
             a["Err"].size() <= 2) {
    action.kind = ScenarioListener::Action::Kind::Raise;
    action.number = int32_field(a["Err"][0], "an error number");
    if (a["Err"].size() == 2) action.description = String::from_utf8(text_field(a["Err"][1], "an error description"));
  } else {
    throw Malformed(R"(an action is {"Assign": [index, value]}, {"Err": [number, "description"?]} or "quiet", got )" +
                    echo(a, 60));
  }
  listener.on(m->id, std::move(action));
}

void step_heard(const Json& s, Variables& vars) {
  ScenarioListener& listener = listener_in(vars, s[1]);
  if (!s[2].is_array()) throw Malformed("the events heard are a JSON array, got " + echo(s[2], 60));
  struct EventWanted {
    std::string event;
    std::vector<ArgumentWanted> args;
  };
  std::vector<EventWanted> wanted;
  for (const Json& e : s[2]) {
    if (!e.is_array() || e.empty() || !e[0].is_string()) {
      throw Malformed("an event heard is written [event, argument...], got " + echo(e, 60));
    }
    EventWanted w{e[0].get<std::string>(), {}};
    for (std::size_t i = 1; i < e.size(); ++i) w.args.push_back(ArgumentWanted::parse(e[i], vars));
    wanted.push_back(std::move(w));
  }
  const std::vector<ScenarioListener::Heard> heard = listener.take_heard();
  bool met = heard.size() == wanted.size();
  for (std::size_t i = 0; met && i < heard.size(); ++i) {
    met = same_ignoring_ascii_case(heard[i].event, wanted[i].event) && heard[i].args.size() == wanted[i].args.size();
    for (std::size_t k = 0; met && k < heard[i].args.size(); ++k) met = wanted[i].args[k].met_by(heard[i].args[k]);
  }
  if (!met) throw StepFailed("expected to have heard " + echo(s[2], 200) + ", got " + heard_text(heard));
}

}  // namespace quorvel::host
