// The panel resource file: where a bare file name is found, and the cache that parses each
// file once (again only when the file changes on disk).
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "toolkit/panels/resource_defs.h"

// Where `name` is read from: a name with a directory is taken as it stands; a bare name
// is QUORVEL_UIR when that is set, else the first existing file of
// resourceFileCandidates for the running program. Empty when none exists; `error` then
// names the places tried.
QString resolveResourcePath(const char* name, ResourceError& error);

// The places a bare `name` is looked for by a program in `programFolder`, in order: beside
// the program; in the data folder of the installation it stands in (a program in a folder
// "bin" finds ../share/quorvel, so an installed tree may be moved); in the data folder it
// was built to be installed to. Only a program inside the build tree it was built in also
// looks in that tree's source folder: a copied or installed program never takes a file
// from a build tree, wherever that tree stands.
QStringList resourceFileCandidates(const QString& name, const QString& programFolder);

// The parsed file at `path`, parsed at most once per version of the file on disk.
std::shared_ptr<const ResourceFile> loadResourceFile(const QString& path, ResourceError& error);

// Where resolveResourcePath last found `name`; empty before it first did.
std::string lastResolvedPath(const char* name);
