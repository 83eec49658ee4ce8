// What `quorvel --help` prints: the commands, the options, the fields set names and the
// exit statuses.
#pragma once

#include <string>

std::string helpText();
