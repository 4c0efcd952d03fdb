// The library's manifest: its name, version and locale, and every class and interface it
// publishes. Adding a class to the library is its declaration, its description and a line here.
#include "quorvel/arraylists/array_list_boolean.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_integer.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_single.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/arraylists/interface_classes.h"
#include "quorvel/arraylists/locked_array_list.h"
#include "quorvel/containers/box_variant.h"
#include "quorvel/containers/cls_hash_id_ix.h"
#include "quorvel/containers/cls_list.h"
#include "quorvel/containers/cls_stack.h"
#include "quorvel/containers/stack_variant.h"
#include "quorvel/entry/collection_helper.h"
#include "quorvel/entry/constructors.h"
#include "quorvel/entry/quorvel_app.h"
#include "quorvel/entry/type_cast.h"
#include "quorvel/frame/array_initializer.h"
#include "quorvel/frame/cls_debug.h"
#include "quorvel/frame/unary_long_test.h"
#include "quorvel/locks/binary_file.h"
#include "quorvel/locks/callback_interfaces.h"
#include "quorvel/locks/cls_event_pump.h"
#include "quorvel/locks/data_arrays.h"
#include "quorvel/locks/late_bound_notifier.h"
#include "quorvel/locks/lock_state.h"
#include "quorvel/ordering/array_list_manager.h"
#include "quorvel/ordering/comparer_interface_classes.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/registry.h"
#include "quorvel/text/lcid.h"
#include "quorvel/text/lcids.h"
#include "quorvel/text/const_string_container.h"
#include "quorvel/text/dictionary_reader.h"
#include "quorvel/text/key_value_string.h"
#include "quorvel/text/string_container.h"
#include "quorvel/text/string_container_interface_class.h"
#include "quorvel/text/string_dictionary.h"

namespace quorvel {

namespace {

using DescribeClass = const ClassInfo& (*)();
using DescribeInterface = const InterfaceInfo& (*)();

constexpr DescribeClass kClasses[] = {
    // the runtime's keyed collection, which the library hands out and takes
    &Collection::describe,
    &clsDebug::describe,
    &ArrayList_Boolean::describe,
    &ArrayList_Byte::describe,
    &ArrayList_Double::describe,
    &ArrayList_Integer::describe,
    &ArrayList_Long::describe,
    &ArrayList_Object::describe,
    &ArrayList_Single::describe,
    &ArrayList_String::describe,
    &ArrayList_Value::describe,
    &ArrayList_Variant::describe,
    &LockedArrayList_Boolean::describe,
    &LockedArrayList_Byte::describe,
    &LockedArrayList_Double::describe,
    &LockedArrayList_Integer::describe,
    &LockedArrayList_Long::describe,
    &LockedArrayList_Single::describe,
    &LockedArrayList_String::describe,
    &ArrayList_Manager::describe,
    &DefaultComparer::describe,
    &BinaryModeComparer::describe,
    &TextModeComparer::describe,
    &clsList::describe,
    &clsStack::describe,
    &Stack_Variant::describe,
    &Box_Variant::describe,
    &clsHashIdIx::describe,
    // locale ids and the entry objects
    &LCID::describe,
    &LCIDs::describe,
    &Constructors::describe,
    &TypeCast::describe,
    &CollectionHelper::describe,
    &QuorvelApp::describe,
    // strings and dictionaries
    &StringContainer::describe,
    &ConstStringContainer::describe,
    &StringDictionary::describe,
    &IStringContainerClass::describe,
    &IDictionaryReaderClass::describe,
    // interfaces published as classes
    &IArrayListClass::describe,
    &IFormatterClass::describe,
    &IArrayReaderClass::describe,
    &IArrayList2Class::describe,
    &IArrayInitializerClass::describe,
    &IComparerClass::describe,
    &IFindComparerClass::describe,
    &IrefStringComparerClass::describe,
    &IUnaryLongTestClass::describe,
    // locks, notifiers and the shared callback contracts
    &LockState::describe,
    &LockHandle::describe,
    &LateBoundNotifier::describe,
    &clsEventPump::describe,
    &ILockStateClass::describe,
    &ILockHandleClass::describe,
    &ILockCallbackClass::describe,
    &IUnaryStringTestClass::describe,
    &INotifyCallbackClass::describe,
    &IAsyncCallbackClass::describe,
    &IAllJobDoneCallbackClass::describe,
    &IStateHandleClass::describe,
    &ILongIndexerClass::describe,
    &IBinaryFileClass::describe,
};

constexpr DescribeInterface kInterfaces[] = {
    &IArrayList::interface_info, &IArrayReader::interface_info,  &IArrayList2::interface_info,
    &IFormatter::interface_info, &IComparer::interface_info,     &IFindComparer::interface_info,
    &IrefStringComparer::interface_info, &IArrayInitializer::interface_info, &IUnaryLongTest::interface_info,
    // locks, notifiers and the shared callback contracts
    &ILockState::interface_info, &ILockHandle::interface_info, &ILockCallback::interface_info,
    &ILockStateEvents::interface_info, &ILateBoundNotifierEvents::interface_info, &IclsEventPumpEvents::interface_info,
    &IUnaryStringTest::interface_info, &INotifyCallback::interface_info, &IAsyncCallback::interface_info,
    &IAllJobDoneCallback::interface_info, &IStateHandle::interface_info, &ILongIndexer::interface_info,
    &IBinaryFile::interface_info,
    &IStringContainer::interface_info, &IDictionaryReader::interface_info,
};

constexpr const EnumInfo& (*kEnums[])() = {&list_mode_info};

constexpr const RecordInfo& (*kRecords[])() = {
    &ByteDataArray::record_info, &StringDataArray::record_info, &StringDataArrays::record_info,
    &KeyValueString::record_info,
};

}  // namespace

const LibraryManifest& library_manifest() noexcept {
  static const LibraryManifest manifest{"Quorvel", 5, 24, 0x409, kClasses, kInterfaces, kEnums, kRecords};
  return manifest;
}

}  // namespace quorvel
