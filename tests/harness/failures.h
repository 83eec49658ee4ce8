// Where the harness reports what the operator could not do (a hidden panel, an unknown
// control). The harness itself knows nothing of a test framework: the test runner installs
// a handler that fails the running test, a benchmark one that prints the failure.
#pragma once

#include <functional>
#include <source_location>
#include <string>

// `file` and `line` name the harness step that missed.
using HarnessFailureHandler =
    std::function<void(const char* file, int line, const std::string& text)>;

// Replaces the handler; an empty one sends failures to stderr.
void setHarnessFailureHandler(HarnessFailureHandler handler);
void reportHarnessFailure(const std::string& text,
                          std::source_location where = std::source_location::current());
