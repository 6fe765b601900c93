#pragma once
// The application folder's own files: the point, path and program files the
// operator's work lives in, every settings file and the folder's own
// records. A file the operator names for an export is never one of them.

#include <string_view>

namespace korvel::program {

// True for a bare file name that names one of the folder's own files:
// every *.dat and *.ini file, the plotter exports and the job log. Case is
// ignored, as a folder may come from a system that ignores it.
bool IsFolderOwnFile(std::string_view name);

// Throws UserError (zh + en, naming the file) when IsFolderOwnFile(name).
void CheckNotFolderOwnFile(std::string_view name);

} // namespace korvel::program
