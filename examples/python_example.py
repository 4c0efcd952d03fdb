import quorvel

lst = quorvel.create("Quorvel.ArrayList_Long")
for n in (5, 3, 9):
    lst.AddItem(n)
lst.Sort(Comparer=quorvel.create("Quorvel.DefaultComparer"))  # keyword = named argument
idx = quorvel.Ref(-1)                                          # a by-reference argument
assert lst.Find(9, idx) and idx.value == 2
assert (lst.Count, lst[0], lst.Item(1), list(lst)) == (3, 3, 5, [3, 5, 9])
lst.GrowLength = 10                                            # a property by assignment
try:
    lst.Item(5)
except quorvel.Error as e:
    print(hex(e.number & 0xFFFFFFFF), e.source)                # 0x80040001 ArrayList_Long
print(lst.ToString())                                          # 3 5 9
assert "AddItem(Value: Long)" in lst.__doc__                   # what help(lst) shows


class Descending:                                              # a Python object as the comparer
    def Compare(self, a, b):
        return (a < b) - (a > b)


lst.Sort(Comparer=Descending())
print(list(lst))                                               # [9, 5, 3]

notifier = quorvel.create("Quorvel.LateBoundNotifier")        # events to a Python callable
connection = quorvel.connect(notifier, "OnNotify", lambda sender, args: print("heard", args))
notifier.NotifyClients(notifier, "hello")                      # heard hello
connection.disconnect()
