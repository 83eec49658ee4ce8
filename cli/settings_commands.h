// identify, settings and set: the instrument's serial number, its settings block field by
// field, and a change of named fields written and read back.
#pragma once

struct Invocation;

int runIdentify(const Invocation& invocation);
int runSettings(const Invocation& invocation);
int runSet(const Invocation& invocation);
