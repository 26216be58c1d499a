// Builds a control table row from a member, so that the table's name is the member's name.
#pragma once

#include "shell/controls.h"

#define KAVERO_CONTROL(member) \
    ::kavero::shell::ControlEntry { #member, decltype(member)::kKind, &(member) }
