// `IStringContainer` published as a class (not creatable), whose members do nothing.
#pragma once

#include "quorvel/text/string_container.h"

namespace quorvel {

/// Equals and EqualsEx give False, Compare and Length 0, Value "", the hexadecimal forms Nothing.
QUORVEL_INERT_CLASS(IStringContainerClass, IStringContainer, QUORVEL_ISTRINGCONTAINER_MEMBERS,
                    "{5A0E7C3D-9B14-4F68-8E2A-C41D7B60F395}");

}  // namespace quorvel
