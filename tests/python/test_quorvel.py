import gc
import pydoc
import sys
import weakref

import pytest

import quorvel


def variant_list():
    return quorvel.create("Quorvel.ArrayList_Variant")


@pytest.mark.parametrize(
    "value",
    [0, -(2**31), 2**31 - 1, 1.5, "text", "a\ud800b", True, False, None, quorvel.Empty, [1, "x", [2.5]]],
    ids=["zero", "long min", "long max", "float", "str", "lone surrogate", "true", "false", "none", "empty",
         "nested list"],
)
def test_values_round_trip_through_a_variant_list(value):
    lst = variant_list()
    lst.AddItem(value)
    back = lst.Item(0)
    assert back == value and type(back) is type(value)


def test_integers_beyond_long_become_doubles_and_beyond_64_bits_raise():
    lst = variant_list()
    lst.AddItem(2**40)
    assert lst.Item(0) == 2.0**40 and isinstance(lst.Item(0), float)
    with pytest.raises(quorvel.Error) as raised:
        lst.AddItem(2**70)
    assert raised.value.number == 6


def test_typed_array_comes_back_as_a_list():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    for n in (5, 3, 9):
        lst.AddItem(n)
    assert lst.GetArray() == [5, 3, 9]
    assert list(lst) == [5, 3, 9]
    assert (lst[0], lst(1), lst.Count) == (5, 3, 3)


def test_library_errors_carry_number_source_and_description():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    with pytest.raises(quorvel.Error) as raised:
        lst.Item(5)
    assert (raised.value.number & 0xFFFFFFFF, raised.value.source) == (0x80040001, "ArrayList_Long")
    with pytest.raises(quorvel.Error) as raised:
        quorvel.create("Quorvel.NoSuchClass")
    assert raised.value.number == 429


@pytest.mark.parametrize(
    "bad, error",
    [(object(), TypeError), (b"bytes", TypeError), ({1: 2}, TypeError)],
    ids=["object", "bytes", "dict"],
)
def test_values_without_a_variant_form_raise_type_error(bad, error):
    with pytest.raises(error):
        variant_list().AddItem(bad)


def test_recursive_list_is_an_error_not_a_crash():
    loop = []
    loop.append(loop)
    with pytest.raises(quorvel.Error) as raised:
        variant_list().AddItem(loop)
    assert raised.value.number == 28


def test_keyword_arguments_are_named_arguments():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    for n in (2, 10, 1, 0):
        lst.AddItem(n)
    lst.Sort(n=2, m=0)
    assert list(lst) == [1, 2, 10, 0]
    lst.Sort(Comparer=quorvel.create("Quorvel.DefaultComparer"))
    assert list(lst) == [0, 1, 2, 10]
    with pytest.raises(quorvel.Error) as raised:
        lst.Sort(colour=1)
    assert raised.value.number == 448 and "Named argument not found" in raised.value.description


def test_by_reference_argument_writes_back_into_a_ref():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    lst.AddItem(4)
    lst.AddItem(8)
    idx = quorvel.Ref(-1)
    assert lst.Find(8, idx) is True
    assert idx.value == 1


def test_properties_assign_by_attribute_and_dir_lists_members():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    lst.GrowLength = 7
    assert lst.GrowLength == 7
    with pytest.raises(quorvel.Error):
        lst.GrowLength = "many"
    assert {"AddItem", "Count", "Item", "Sort"} <= set(dir(lst))
    with pytest.raises(AttributeError):
        lst.NoSuchMember


def test_objects_outlive_the_module_reference():
    lst = quorvel.create("Quorvel.ArrayList_String")
    lst.AddItem("kept")
    name = "quorvel"
    module = sys.modules.pop(name)
    del module
    gc.collect()
    assert lst.Item(0) == "kept"
    sys.modules[name] = quorvel


def test_every_class_is_listed_and_every_creatable_one_made():
    classes = quorvel.classes()
    assert classes["QuorvelApp"] == "global" and classes["LockedArrayList_Long"] == "made by the library"
    for name, reach in classes.items():
        if reach == "creatable":
            obj = quorvel.create("Quorvel." + name)
            assert name in repr(obj) and obj.__doc__


def test_globals_and_object_identity():
    assert quorvel.debug() == quorvel.debug()
    box = quorvel.create("Quorvel.Box_Variant")
    lst = quorvel.create("Quorvel.ArrayList_Long")
    box.Value = lst
    assert box.Value == lst


class Calls:
    """A Python object handed to the library: its methods are called back by name."""

    def __init__(self, fail=None):
        self.fail, self.seen = fail, []

    def Compare(self, a, b):
        if self.fail:
            raise self.fail
        return (a < b) - (a > b)  # descending

    def Test(self, value):
        return value % 2 == 0

    def Format(self, value):
        return f"<{value}>"

    def OnLock(self, sender):
        self.seen.append(("lock", sender.AsILockState.Locked))

    def OnUnlock(self, sender):
        self.seen.append(("unlock", sender.AsILockState.Locked))


def long_list(*items):
    lst = quorvel.create("Quorvel.ArrayList_Long")
    for n in items:
        lst.AddItem(n)
    return lst


def test_python_objects_serve_as_comparer_test_and_formatter():
    lst = long_list(2, 9, 4)
    lst.Sort(Comparer=Calls())
    assert list(lst) == [9, 4, 2]
    assert lst.ToString(Calls()) == "<9> <4> <2>"
    ix = quorvel.create("Quorvel.clsHashIdIx")
    for slot in (3, 8, 10):
        ix.InsertIdIx(7, slot)
    found = quorvel.Ref(0)
    assert ix.TryFindFirstIxIf(Calls(), 7, found) and found.value == 8
    box = quorvel.create("Quorvel.Box_Variant")
    mine = Calls()
    box.Value = mine
    assert box.Value is mine


@pytest.mark.parametrize("meddle", ["Clear", "AddItem", "RemoveItem"])
def test_comparer_that_changes_the_list_it_sorts_leaves_it_consistent(meddle):
    lst = long_list(*range(12))

    class Meddler(Calls):
        def Compare(self, a, b):
            if lst.Count > 1:
                {"Clear": lst.Clear, "AddItem": lambda: lst.AddItem(99),
                 "RemoveItem": lambda: lst.RemoveItem(0, True)}[meddle]()
            return super().Compare(a, b)

    try:
        lst.Sort(Comparer=Meddler())
    except quorvel.Error:
        pass  # a clean stop is as good as a finished sort
    items = list(lst)
    assert len(items) == lst.Count and set(items) <= set(range(12)) | {99}


def test_python_objects_in_a_list_are_searched_by_attribute():
    class Point:
        def __init__(self, x):
            self.x = x

    lst, points = variant_list(), [Point(3), Point(7)]
    for p in points:
        lst.AddItem(p)
    idx = quorvel.Ref(-1)
    assert lst.FindEx(7, "X", idx) is True and idx.value == 1 and lst.Item(1) is points[1]


@pytest.mark.parametrize(
    "raised, number, source, description",
    [(ValueError("no order"), 440, "Python", "ValueError: no order"),
     (quorvel.Error(-2147221503, "Mine", "my own"), -2147221503, "Mine", "my own")],
    ids=["other exception", "quorvel error"],
)
def test_exceptions_in_callbacks_come_back_through_the_library(raised, number, source, description):
    comparer = Calls(fail=raised)
    gone = weakref.ref(comparer)
    lst = long_list(1, 2)
    with pytest.raises(quorvel.Error) as caught:
        lst.Sort(Comparer=comparer)
    assert (caught.value.number, caught.value.source, caught.value.description) == (number, source, description)
    assert caught.value.__cause__ is raised and list(lst) == [1, 2]
    raised.__traceback__ = None  # its frames hold the comparer
    del comparer, caught
    gc.collect()
    assert gone() is None  # the library let go of its wrapper


def test_events_reach_python_callables_until_disconnected():
    notifier = quorvel.create("Quorvel.LateBoundNotifier")
    heard = []
    connection = quorvel.connect(notifier, "OnNotify", lambda sender, args: heard.append((sender, args)))
    notifier.NotifyClients(notifier, "one")
    assert heard == [(notifier, "one")]
    assert connection.disconnect() and not connection.disconnect()
    notifier.NotifyClients(notifier, "two")
    assert len(heard) == 1
    with pytest.raises(quorvel.Error) as raised:
        quorvel.connect(notifier, "OnMissing", print)
    assert raised.value.number == 438

    state, listener = quorvel.create("Quorvel.LockState"), Calls()
    with quorvel.connect(state, listener):
        state.AsILockState.LockHandle().UnlockHandle()
    state.AsILockState.LockHandle()
    assert listener.seen == [("lock", True), ("unlock", False)]


def test_listeners_assign_by_reference_event_arguments():
    def the_event(source, text, data):
        text.value, data.value = text.value + "!", [data.value, source.value.Count]

    pump = quorvel.create("Quorvel.clsEventPump")
    quorvel.connect(pump, "TheEvent", the_event)
    text, data = quorvel.Ref("hi"), quorvel.Ref(1)
    pump.Raise(quorvel.Ref(long_list(5)), text, data)
    assert (text.value, data.value) == ("hi!", [1, 1])

    def failing(source, text, data):
        data.value = "kept"
        raise KeyError("late")

    quorvel.connect(pump, "TheEvent", failing)
    with pytest.raises(quorvel.Error):
        pump.Raise(quorvel.Ref(long_list()), text, data)
    assert data.value == "kept"  # assigned before the raise, seen by the caller all the same


def test_help_shows_members_from_the_type_library():
    lst = long_list()
    text = pydoc.render_doc(lst)
    assert "AddItem(Value: Long)" in text and "Count -> Long  [property: get]" in text
    assert "OnNotify(sender: Object, Args: Variant)" in quorvel.create("Quorvel.LateBoundNotifier").__doc__


def test_classes_are_found_through_registration_records(tmp_path):
    quorvel.register(tmp_path)
    for name in ("quorvel.arraylist_long", "{C5E7EB59-47A2-42E1-A321-43D8AEE053A0}"):
        assert quorvel.create(name, registry=tmp_path).Count == 0
    quorvel.unregister(tmp_path)
    with pytest.raises(quorvel.Error) as raised:
        quorvel.create("Quorvel.ArrayList_Long", registry=tmp_path)
    assert raised.value.number == 429
