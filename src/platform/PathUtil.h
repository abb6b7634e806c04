#pragma once
#include <string>
#include <string_view>

namespace platform {

// Joins a folder and a name with the path separator ("a" + "b" = "a/b";
// an empty folder gives the name alone; no doubled separator).
std::string JoinPath(std::string_view strFolder, std::string_view strName);

// The folder part of a path (without the last separator) and the last element.
std::string FolderOf(std::string_view strPath);
std::string FileNameOf(std::string_view strPath);

// The folder holding the running executable; empty when it cannot be found.
std::string ExecutableDir();

// The current working directory; empty when it cannot be read.
std::string CurrentDir();

// Blanks (space, tab, CR, LF) removed at both ends.
std::string Trim(std::string_view strText);

}  // namespace platform
