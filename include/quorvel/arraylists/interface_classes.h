// The list interfaces published as classes of their own: callers can create `IArrayList` and
// `IFormatter`; `IArrayReader`, `IArrayList2` and `IArrayInitializer` exist but are not creatable.
// Their members do nothing and give the default of their result kind (0, Empty, the empty string,
// Nothing, False).
#pragma once

#include "quorvel/frame/array_initializer.h"
#include "quorvel/frame/array_list_interfaces.h"

namespace quorvel {

/// The class "IArrayList" (creatable): an empty list that holds nothing and changes nothing.
QUORVEL_INERT_CLASS(IArrayListClass, IArrayList, QUORVEL_IARRAYLIST_MEMBERS, "{829DAA18-8A8B-4978-A4F8-34F174D1C15B}");
/// The class "IFormatter" (creatable): its `Format` gives Empty for every value.
QUORVEL_INERT_CLASS(IFormatterClass, IFormatter, QUORVEL_IFORMATTER_MEMBERS, "{A595E970-0D7E-4A2B-8EBA-A262A4B60696}");
/// The class "IArrayReader" (not creatable).
QUORVEL_INERT_CLASS(IArrayReaderClass, IArrayReader, QUORVEL_IARRAYREADER_MEMBERS, "{C5357F31-5381-43CB-80D1-27D5A8901672}");
/// The class "IArrayList2" (not creatable): its text form is the empty string.
QUORVEL_INERT_CLASS(IArrayList2Class, IArrayList2, QUORVEL_IARRAYLIST2_MEMBERS, "{9DE747DB-BCF3-4B98-805E-61CEC5C70B0C}");
/// The class "IArrayInitializer" (not creatable): its initialisers fill nothing.
QUORVEL_INERT_CLASS(IArrayInitializerClass, IArrayInitializer, QUORVEL_IARRAYINITIALIZER_MEMBERS,
                    "{E58E7E37-38FD-4B93-A9DE-C9034E4EC597}");

}  // namespace quorvel
