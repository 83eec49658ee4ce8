// quorvel report: the visit's report from the settings history, as plain text.
#pragma once

struct Invocation;

int runReport(const Invocation& invocation);
