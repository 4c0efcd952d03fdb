"""Run by hand: lst.Item(0) on a library list against a small Python class wrapping a list
(obj.get(0)), and lst.AddItem(i) against pylist.append(i). Prints ns per call and the ratios.

    PYTHONPATH=build/bench/python /usr/bin/python3 bench/python_item_bench.py
"""
import timeit

import quorvel


class Wrapper:
    def __init__(self, items):
        self.items = items

    def get(self, i):
        return self.items[i]


def best_ns(stmt, setup_globals, number=200_000, repeat=7):
    times = timeit.repeat(stmt, globals=setup_globals, number=number, repeat=repeat)
    return min(times) / number * 1e9


def main():
    lst = quorvel.create("Quorvel.ArrayList_Long")
    lst.AddItem(42)
    obj = Wrapper([42])
    item = best_ns("lst.Item(0)", {"lst": lst})
    get = best_ns("obj.get(0)", {"obj": obj})
    print(f"lst.Item(0) {item:.0f} ns, obj.get(0) {get:.0f} ns, ratio {item / get:.2f} (target 3)")

    grow = quorvel.create("Quorvel.ArrayList_Long")
    pylist = []
    add = best_ns("grow.AddItem(7)", {"grow": grow}, number=100_000, repeat=3)
    append = best_ns("pylist.append(7)", {"pylist": pylist}, number=100_000, repeat=3)
    print(f"lst.AddItem(i) {add:.0f} ns, pylist.append(i) {append:.0f} ns, ratio {add / append:.2f}")


if __name__ == "__main__":
    main()
