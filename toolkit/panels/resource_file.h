// The panel resource file: where a bare file name is found, and the cache that parses each
// file once (again only when the file changes on disk).
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "toolkit/panels/resource_defs.h"

// Where `name` is read from: a name with a directory is taken as it stands; a bare name
// is QUORVEL_UIR when that is set, else the first existing file next to the executable,
// in the installed data directory, then in the source tree. Empty when none exists;
// `error` then names the places tried.
QString resolveResourcePath(const char* name, ResourceError& error);

// The parsed file at `path`, parsed at most once per version of the file on disk.
std::shared_ptr<const ResourceFile> loadResourceFile(const QString& path, ResourceError& error);

// Where resolveResourcePath last found `name`; empty before it first did.
std::string lastResolvedPath(const char* name);
