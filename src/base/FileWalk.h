// Finding the files of one kind under folders given on a command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace trellisor {

// The files under roots, in order: a root that is not a folder is listed as given (whatever
// its name); a folder is walked recursively, its entries in byte order of their names, listing
// every entry that is not a folder and whose name ends in extension without regard to ASCII
// case (".dat" finds A.DAT and b.Dat). Symbolic links are followed, but a folder is walked
// once only (folders are told apart by device and inode), so a link back to a folder above
// cannot loop. A folder that cannot be read is listed itself, so that reading it as a file
// reports why. Fails, listing nothing, when a root does not exist.
Result<std::vector<std::string>> findFilesByExtension(const std::vector<std::string>& roots,
                                                      std::string_view extension);

}  // namespace trellisor
