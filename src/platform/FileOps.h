#pragma once
#include <string>
#include <string_view>

namespace platform {

// File operations of the program. Every file it writes goes to a temporary name in the destination folder,
// is flushed and then renamed into place, so a crash, a full disk or a pulled card never leaves a half file
// under the real name. Failures are reported by the result only (errno tells the cause).

// One folder level (the parent must exist). True when the folder was made or already is a folder.
bool CreateFolder(const std::string& strPath);
// The folder and every missing folder above it. True when the path is a folder at the end.
bool CreateFolders(const std::string& strPath);

// Copies a regular file. bFailIfExists: an existing destination is kept and the copy fails. The copy keeps
// the source's permission bits and modification time. A failed copy leaves nothing behind.
bool CopyFileAtomic(const std::string& strSource, const std::string& strDest, bool bFailIfExists);

// Replaces (or creates) a file with the given bytes; a read-only file stays as it is and gives false.
bool WriteFileAtomic(const std::string& strPath, std::string_view bytes);

// Deletes a file (never a folder; a symbolic link itself, not its target).
bool DeleteFile(const std::string& strPath);

// Both are separate regular files with the same size and the same content. Symbolic links and two names
// of the same file (hard links, or one file reached through two paths) give false, so that a file is never
// deleted in the belief that a copy of it exists elsewhere.
bool FilesIdentical(const std::string& strA, const std::string& strB);

}  // namespace platform
