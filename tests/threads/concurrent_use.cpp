// Several threads use the library at once, each with its own objects. Built with ThreadSanitizer
// (the tsan preset) this shows that nothing is shared by accident: class descriptions, the type
// library, the global objects, collators and locale data are made on first use, and the threads
// start together so that first use happens on all of them at the same moment.
#include <gtest/gtest.h>

#include <array>
#include <barrier>
#include <string>
#include <thread>
#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/locale.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {
namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 20;

Variant call(const Variant& target, std::u16string_view name, std::vector<Variant> args = {}) {
  return invoke(target, name, MemberKind::Method | MemberKind::Get, args);
}

// One round of everything a thread may do; throws std::string naming the first thing that went
// wrong.
void one_round(int thread, void* own_debug[2]) {
  auto expect = [](bool ok, const char* what) {
    if (!ok) throw std::string(what);
  };
  // Late-bound: a list by program id, filled with text that converts, sorted by a comparer that
  // is itself created by program id.
  Variant list(create_object(u"Quorvel.ArrayList_Long"));
  for (int v : {5, 3, 9, thread}) call(list, u"AddItem", {Variant(String(std::u16string(1, u'0' + v)))});
  call(list, u"Sort", {Variant::missing(), Variant::missing(), Variant(create_object(u"Quorvel.DefaultComparer"))});
  expect(call(list, u"ToString").to_string().view() == std::u16string(1, u'0' + thread) + u" 3 5 9", "late-bound sort");
  const DispId item = get_dispid(*list.if_object(), u"item");
  std::vector<Variant> at0{Variant(0)};
  expect(invoke(*list.if_object(), item, MemberKind::Method | MemberKind::Get, at0).to_long() == thread,
         "late binding by dispatch id");

  // Early-bound.
  Ref<ArrayList_Long> early = make<ArrayList_Long>();
  for (std::int32_t v : {7, 2, 4}) early->AddItem(v + thread);
  early->Sort(Variant::missing(), Variant::missing(), make<BinaryModeComparer>());
  expect(early->get_Item(0) == 2 + thread && early->get_Item(2) == 7 + thread, "early-bound sort");

  // Text order through the collator of this thread's locale.
  Ref<ArrayList_String> words = make<ArrayList_String>();
  for (const char16_t* w : {u"pear", u"Apple", u"\u00E4pfel", u"banana"}) words->AddItem(String(w));
  words->Sort(Variant::missing(), Variant::missing(), make<TextModeComparer>());
  expect(words->get_Item(0).view() == u"\u00E4pfel" && words->get_Item(3).view() == u"pear", "text order");

  // Errors raised and caught: the list's own and the binding's.
  const auto number_of = [](auto f) {
    try {
      f();
    } catch (const Error& e) {
      return e.number();
    }
    return 0;
  };
  expect(number_of([&] { early->get_Item(5); }) == -2147221503, "list error");
  expect(number_of([&] { call(list, u"NoSuchMember"); }) == 438, "binding error");

  // The global object: one per thread, the same on every call from that thread.
  Variant debug(global_object(u"clsDebug"));
  Variant trace = call(debug, u"colTraceObj");
  if (!own_debug[0]) {
    own_debug[0] = debug.if_object();
    own_debug[1] = trace.if_object();
  }
  expect(debug.if_object() == own_debug[0] && trace.if_object() == own_debug[1], "global object per thread");
  expect(call(debug, u"sComponentName").to_string().view() == u"Quorvel", "clsDebug name");

  // The type library, walked by name.
  expect(find_class(u"arraylist_string") != nullptr && !type_library().interfaces.empty(), "type library");

  // The thread's locale decides the decimal separator.
  expect(Variant(1.5).to_string().view() == (thread % 2 ? u"1,5" : u"1.5"), "locale per thread");
}

TEST(ConcurrentUse, ThreadsKeepTheirOwnStateAndShareNothingByAccident) {
  std::barrier start(kThreads);
  std::array<std::string, kThreads> failures;
  std::array<std::array<void*, 2>, kThreads> debug_objects{};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      if (t % 2) set_user_locale(0x407);
      start.arrive_and_wait();
      try {
        for (int round = 0; round < kRounds; ++round) one_round(t, debug_objects[static_cast<std::size_t>(t)].data());
      } catch (const std::string& what) {
        failures[static_cast<std::size_t>(t)] = what;
      } catch (const std::exception& e) {
        failures[static_cast<std::size_t>(t)] = e.what();
      }
      // Still alive here, so no two threads can be handed the same address.
      start.arrive_and_wait();
      this_thread_context().reset();
    });
  }
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    SCOPED_TRACE("thread " + std::to_string(t));
    EXPECT_EQ(failures[static_cast<std::size_t>(t)], "");
    for (int u = 0; u < t; ++u)
      EXPECT_NE(debug_objects[static_cast<std::size_t>(t)][0], debug_objects[static_cast<std::size_t>(u)][0]);
  }
}

}  // namespace
}  // namespace quorvel
