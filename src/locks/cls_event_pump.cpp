// The event pump.
#include "quorvel/locks/cls_event_pump.h"

#include <array>

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IclsEventPumpEvents, QUORVEL_IEVENTPUMPEVENTS_MEMBERS)

const ClassInfo& clsEventPump::describe() {
  static const ClassInfo info = describe_class<clsEventPump>(
      ClassFlags::Creatable,
      {debug_id_entry<clsEventPump>(1), tear_down_entry<clsEventPump>(2),
       with_help(method<&clsEventPump::Raise>("Raise", 3, "objSource", "sSource", "vData"),
                 "Raises TheEvent with the caller's variables, by reference")},
      "Raises TheEvent for every Raise call", &IclsEventPumpEvents::interface_info());
  return info;
}

void clsEventPump::Raise(Ref<Unknown>& objSource, String& sSource, Variant& vData) {
  if (events_.size() == 0) return;
  // An object variable cannot be referred to by a Variant: listeners share this one, and the
  // caller's variable takes what it holds at the end, however the raise ends.
  Variant source(objSource);
  struct WriteBack {
    Variant& from;
    Ref<Unknown>& to;
    bool settled = false;
    ~WriteBack() {
      if (!settled && from.is_object()) to = Ref<Unknown>(from.if_object());
    }
  } write_back{source, objSource};
  std::array<Variant, 3> args{Variant::by_ref(source), Variant::by_ref(sSource), Variant::by_ref(vData)};
  events_.raise(u"TheEvent", args);
  write_back.settled = true;
  if (!source.is_object()) raise_runtime_error(RuntimeError::TypeMismatch);
  objSource = Ref<Unknown>(source.if_object());
}

}  // namespace quorvel
