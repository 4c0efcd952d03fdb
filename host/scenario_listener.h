// A listener object the host provides to scenario files: attached to an object's events, it
// records every event it hears with its arguments, and can be told to assign to an argument or
// to raise when it hears a given event.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <utility>
#include <string>
#include <vector>

#include "json_document.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/events.h"
#include "value_codec.h"

namespace quorvel::host {

/// Answers by name every event of one event interface. Object arguments are recorded by
/// identity only, without a reference: the log must not keep alive, or form a cycle with, the
/// very objects whose events it records.
class ScenarioListener final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "ScenarioListener";
  static constexpr Guid iid{"{30D49FB1-5595-484F-B1B3-ADB1C02CF69C}"};

  /// Listens to the events of `events` (at most eight).
  explicit ScenarioListener(const InterfaceInfo& events);
  const ClassInfo& class_info() const noexcept override { return info_; }

  /// One argument as it arrived (by-reference arguments read through).
  struct Argument {
    Variant value;                     // for anything but an object
    bool object = false;
    const Object* identity = nullptr;  // for an object; null for Nothing; never followed
    std::string class_name;            // for an object, taken while it was alive
    std::string text;                  // how a failure message shows it
  };
  struct Heard {
    std::string event;
    std::vector<Argument> args;
  };
  /// What to do on hearing an event: assign `value` to argument `index`, or raise.
  struct Action {
    enum class Kind : std::uint8_t { Assign, Raise } kind = Kind::Assign;
    std::int32_t index = 0;
    Variant value;
    std::int32_t number = 0;
    String description;
  };

  /// The event of that name (any case), or null.
  const MemberInfo* find_event(std::u16string_view name) const noexcept;
  /// Sets (or with no action, clears) what happens each time `event` is heard.
  void on(DispId event, std::optional<Action> action);
  /// The events heard since the last call, oldest first.
  std::vector<Heard> take_heard() { return std::exchange(heard_, {}); }

  /// The object and attachment it listens on, for `unlisten`.
  const Object* source = nullptr;
  EventCookie cookie = 0;

 private:
  template <std::size_t N>
  static void answer(Unknown& self, std::span<Variant> args, Variant& result);
  void hear(std::size_t slot, std::span<Variant> args);

  ClassInfo info_;
  std::vector<Heard> heard_;
  std::map<DispId, Action> actions_;
};

/// The listener steps (see docs/scenario-format.md): listen, unlisten, on, heard.
void step_listen(const Json& s, Variables& vars);
void step_unlisten(const Json& s, Variables& vars);
void step_on(const Json& s, Variables& vars);
void step_heard(const Json& s, Variables& vars);

}  // namespace quorvel::host
