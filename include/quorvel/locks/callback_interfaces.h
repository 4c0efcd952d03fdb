// Contracts published for components built on the library to share; the library calls none of
// them. Each is also published as a class (not creatable) whose members do nothing.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

#define QUORVEL_IUNARYSTRINGTEST_MEMBERS(X) X(method, bool, Test, 0, (const String& Value), (Value), ("Value"))

/// A condition on one String; `Test` is the default member.
class IUnaryStringTest : public Unknown {
 public:
  static constexpr const char* type_name = "IUnaryStringTest";
  static constexpr Guid iid{"{3DE980C5-65F9-49FB-B916-F53327906616}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_IUNARYSTRINGTEST_MEMBERS)
};

#define QUORVEL_INOTIFYCALLBACK_MEMBERS(X) \
  X(method, void, OnCallback, 1, (const Variant& Id, Ref<Unknown> sender), (Id, sender), (opt("Id"), opt("sender")))

/// Told of something, with an optional identifier and an optional sender.
class INotifyCallback : public Unknown {
 public:
  static constexpr const char* type_name = "INotifyCallback";
  static constexpr Guid iid{"{704A2110-180B-4F10-803D-C6B64FE83052}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_INOTIFYCALLBACK_MEMBERS)
};

#define QUORVEL_ISTATEHANDLE_MEMBERS(X)                   \
  X(get, String, ErrorDescription, 1, (), (), ())         \
  X(get, std::int32_t, ErrorNumber, 2, (), (), ())        \
  X(get, bool, Succeeded, 3, (), (), ())                  \
  X(get, Ref<Unknown>, Object, 4, (), (), ())

/// The outcome of some operation: its error, whether it succeeded, and the object it concerns.
class IStateHandle : public Unknown {
 public:
  static constexpr const char* type_name = "IStateHandle";
  static constexpr Guid iid{"{739853D6-E5D9-4375-9067-15A114A4221D}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_ISTATEHANDLE_MEMBERS)
};

#define QUORVEL_IASYNCCALLBACK_MEMBERS(X) X(method, void, Op, 1, (Ref<IStateHandle> Handle), (Handle), ("Handle"))

/// Receives the state handle of a finished operation.
class IAsyncCallback : public Unknown {
 public:
  static constexpr const char* type_name = "IAsyncCallback";
  static constexpr Guid iid{"{CB054222-B006-4FAD-BDB3-23463502DA94}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_IASYNCCALLBACK_MEMBERS)
};

#define QUORVEL_IALLJOBDONECALLBACK_MEMBERS(X) X(method, void, Op, 1, (Variant & Value), (Value), (opt("Value")))

/// Told that all jobs are done, with an optional value it may change (by reference).
class IAllJobDoneCallback : public Unknown {
 public:
  static constexpr const char* type_name = "IAllJobDoneCallback";
  static constexpr Guid iid{"{04C17837-F44A-453A-BF24-3D23FAB3E472}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_IALLJOBDONECALLBACK_MEMBERS)
};

#define QUORVEL_ILONGINDEXER_MEMBERS(X)                                                                  \
  X(get, std::int32_t, LowerBound, 1, (), (), ())                                                       \
  X(get, std::int32_t, UpperBound, 2, (), (), ())                                                       \
  X(let, void, Item, 3, (std::int32_t Index, std::int32_t Value), (Index, Value), ("Index", "Value")) \
  X(get, std::int32_t, Item, 3, (std::int32_t Index), (Index), ("Index"))                               \
  X(get, std::int32_t, Count, 4, (), (), ())

/// Longs reached by index between `LowerBound` and `UpperBound`.
class ILongIndexer : public Unknown {
 public:
  static constexpr const char* type_name = "ILongIndexer";
  static constexpr Guid iid{"{F40A5856-C66E-4BD2-9BFE-45176B95B593}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILONGINDEXER_MEMBERS)
};

QUORVEL_INERT_CLASS(IUnaryStringTestClass, IUnaryStringTest, QUORVEL_IUNARYSTRINGTEST_MEMBERS,
                    "{0F447021-6FCA-4312-8216-295F8C57ECCF}");
QUORVEL_INERT_CLASS(INotifyCallbackClass, INotifyCallback, QUORVEL_INOTIFYCALLBACK_MEMBERS,
                    "{4B21A0FF-4F00-41BB-91FA-0C932431D243}");
QUORVEL_INERT_CLASS(IStateHandleClass, IStateHandle, QUORVEL_ISTATEHANDLE_MEMBERS, "{69380793-B2F9-4D17-ABFF-C1D624B7020F}");
QUORVEL_INERT_CLASS(IAsyncCallbackClass, IAsyncCallback, QUORVEL_IASYNCCALLBACK_MEMBERS,
                    "{6136914E-9B3E-428C-A6EC-23DE203EE7C7}");
QUORVEL_INERT_CLASS(IAllJobDoneCallbackClass, IAllJobDoneCallback, QUORVEL_IALLJOBDONECALLBACK_MEMBERS,
                    "{BDCF16DE-F877-41DD-98C6-F97768859C30}");
QUORVEL_INERT_CLASS(ILongIndexerClass, ILongIndexer, QUORVEL_ILONGINDEXER_MEMBERS, "{B3A4C738-372D-4035-8846-2DBB9817EF7D}");

}  // namespace quorvel
