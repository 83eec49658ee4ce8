// The table that binds the resource file's callback names to the program's functions.
#pragma once

#include <span>

#include "toolkit/panels/userint.h"

// Every callback the resource file may name, once each.
std::span<const CallbackBinding> callbackTable();
