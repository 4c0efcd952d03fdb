import gc
import sys

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


def test_globals_and_object_identity():
    assert quorvel.debug() == quorvel.debug()
    box = quorvel.create("Quorvel.Box_Variant")
    lst = quorvel.create("Quorvel.ArrayList_Long")
    box.Value = lst
    assert box.Value == lst
