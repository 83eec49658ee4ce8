// Reading the text of a panel resource file into its parsed form.
#pragma once

#include <QByteArray>
#include <memory>

#include "toolkit/panels/resource_defs.h"

// Parses resource file text; `path` only names the file in error messages.
std::shared_ptr<const ResourceFile> parseResourceText(const QByteArray& text, const QString& path,
                                                      ResourceError& error);
