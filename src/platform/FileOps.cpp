#include "platform/FileOps.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/PathUtil.h"

namespace platform {

namespace {

bool IsFolder(const std::string& strPath) {
    struct stat st {};
    return stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            if (w == 0) errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

void SyncFolder(const std::string& strFolder) {
    int dfd = ::open(strFolder.empty() ? "." : strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        ::close(dfd);
    }
}

// A temporary file next to the destination: ".name.XXXXXX" (hidden, and no longer matching the name's
// own wildcard searches such as "*.csv").
int CreateTemp(const std::string& strDest, std::string& strTemp) {
    std::string strFolder = FolderOf(strDest);
    std::string strName = FileNameOf(strDest);
    if (strName.empty()) {
        errno = EINVAL;
        return -1;
    }
    // Long names are shortened so that the temporary name stays within the file system's limit.
    if (strName.size() > 200) strName.resize(200);
    strTemp = JoinPath(strFolder, "." + strName + ".XXXXXX");
    return mkostemp(strTemp.data(), O_CLOEXEC);
}

// Moves the finished temporary file to its real name; with bNoReplace an existing file is never replaced.
bool Publish(const std::string& strTemp, const std::string& strDest, bool bNoReplace) {
    if (!bNoReplace) return ::rename(strTemp.c_str(), strDest.c_str()) == 0;
    if (renameat2(AT_FDCWD, strTemp.c_str(), AT_FDCWD, strDest.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace rename: check, then rename.
    struct stat st {};
    if (lstat(strDest.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(strTemp.c_str(), strDest.c_str()) == 0;
}

void Discard(int fd, const std::string& strTemp) {
    int saved = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(strTemp.c_str());
    errno = saved;
}

}  // namespace

bool CreateFolder(const std::string& strPath) {
    if (strPath.empty()) {
        errno = ENOENT;
        return false;
    }
    if (::mkdir(strPath.c_str(), 0777) == 0) return true;
    int saved = errno;
    if (saved == EEXIST && IsFolder(strPath)) return true;
    errno = saved;
    return false;
}

bool CreateFolders(const std::string& strPath) {
    if (strPath.empty()) {
        errno = ENOENT;
        return false;
    }
    if (IsFolder(strPath)) return true;
    std::string strParent = FolderOf(strPath);
    while (strParent.size() > 1 && strParent.back() == '/') strParent.pop_back();
    if (!strParent.empty() && strParent != strPath && !CreateFolders(strParent)) return false;
    return CreateFolder(strPath);
}

bool CopyFileAtomic(const std::string& strSource, const std::string& strDest, bool bFailIfExists) {
    // Non-blocking, so that a named pipe in place of a file is refused instead of waited on.
    int src = ::open(strSource.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (src < 0) return false;
    struct stat st {};
    if (fstat(src, &st) != 0 || !S_ISREG(st.st_mode)) {
        int saved = S_ISREG(st.st_mode) ? errno : EISDIR;
        ::close(src);
        errno = saved;
        return false;
    }
    struct stat dst {};
    if (stat(strDest.c_str(), &dst) == 0) {
        if (bFailIfExists || S_ISDIR(dst.st_mode)) {
            ::close(src);
            errno = S_ISDIR(dst.st_mode) ? EISDIR : EEXIST;
            return false;
        }
        if (access(strDest.c_str(), W_OK) != 0) {  // a read-only destination stays as it is
            ::close(src);
            errno = EACCES;
            return false;
        }
    }
    std::string strTemp;
    int out = CreateTemp(strDest, strTemp);
    if (out < 0) {
        ::close(src);
        return false;
    }
    std::vector<char> buf(1 << 16);
    bool bOk = true;
    while (bOk) {
        ssize_t n = ::read(src, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) bOk = false;
        if (n <= 0) break;
        bOk = WriteAll(out, buf.data(), static_cast<size_t>(n));
    }
    int saved = errno;
    ::close(src);
    errno = saved;
    if (bOk) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        bOk = fchmod(out, st.st_mode & 07777) == 0 && futimens(out, times) == 0 && fsync(out) == 0;
    }
    if (!bOk) {
        Discard(out, strTemp);
        return false;
    }
    if (::close(out) != 0 || !Publish(strTemp, strDest, bFailIfExists)) {
        Discard(-1, strTemp);
        return false;
    }
    SyncFolder(FolderOf(strDest));
    return true;
}

bool WriteFileAtomic(const std::string& strPath, std::string_view bytes) {
    struct stat st {};
    mode_t mode = 0644;
    if (stat(strPath.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if (access(strPath.c_str(), W_OK) != 0) {
            errno = EACCES;
            return false;
        }
        mode = st.st_mode & 07777;
    }
    std::string strTemp;
    int out = CreateTemp(strPath, strTemp);
    if (out < 0) return false;
    if (!WriteAll(out, bytes.data(), bytes.size()) || fchmod(out, mode) != 0 || fsync(out) != 0) {
        Discard(out, strTemp);
        return false;
    }
    if (::close(out) != 0 || !Publish(strTemp, strPath, false)) {
        Discard(-1, strTemp);
        return false;
    }
    SyncFolder(FolderOf(strPath));
    return true;
}

bool DeleteFile(const std::string& strPath) {
    if (strPath.empty()) {
        errno = ENOENT;
        return false;
    }
    return ::unlink(strPath.c_str()) == 0;
}

bool FilesIdentical(const std::string& strA, const std::string& strB) {
    // Symbolic links and two names of one file are no copy: deleting one of them could lose the only data.
    struct stat sa {};
    struct stat sb {};
    if (lstat(strA.c_str(), &sa) != 0 || lstat(strB.c_str(), &sb) != 0) return false;
    if (!S_ISREG(sa.st_mode) || !S_ISREG(sb.st_mode) || sa.st_size != sb.st_size) return false;
    if (sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino) return false;
    int fa = ::open(strA.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fa < 0) return false;
    int fb = ::open(strB.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fb < 0) {
        ::close(fa);
        return false;
    }
    std::vector<char> ba(1 << 16), bb(1 << 16);
    bool bSame = true;
    off_t nTotal = 0;
    while (bSame) {
        ssize_t na = ::read(fa, ba.data(), ba.size());
        if (na < 0 && errno == EINTR) continue;
        if (na < 0) {
            bSame = false;
            break;
        }
        // Read exactly as much from the second file.
        size_t nb = 0;
        while (nb < static_cast<size_t>(na)) {
            ssize_t r = ::read(fb, bb.data() + nb, static_cast<size_t>(na) - nb);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            nb += static_cast<size_t>(r);
        }
        if (nb != static_cast<size_t>(na) || std::memcmp(ba.data(), bb.data(), nb) != 0) bSame = false;
        if (na == 0) {
            // The end of the first file: the second must end here too (both may have changed since stat).
            char c;
            ssize_t r;
            do r = ::read(fb, &c, 1);
            while (r < 0 && errno == EINTR);
            bSame = bSame && r == 0 && nTotal == sa.st_size;
            break;
        }
        nTotal += na;
    }
    ::close(fa);
    ::close(fb);
    return bSame;
}

}  // namespace platform
