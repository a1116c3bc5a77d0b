// Path lists read in chunks with a bound on the line length, so that /dev/zero or a binary file ends
// the run with a message instead of growing without end.
#include "cli/path_list.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace kordel::cli {
namespace {

// Splits chunks into lines; stops at the first line over the bound.
class LineSplitter {
public:
    LineSplitter(PathList& list, std::string name, const PathSink& onPath)
        : m_list(list), m_name(std::move(name)), m_onPath(onPath) {}

    bool Feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                if (!EndLine()) return false;
            } else if (m_line.size() == kMaxListLine) {
                m_list.ok = false;
                m_list.error = "\"" + m_name + "\" is not a list of paths: line " + std::to_string(m_number + 1) +
                               " is longer than " + std::to_string(kMaxListLine) + " bytes.";
                return false;
            } else {
                m_line += data[i];
            }
        }
        return true;
    }
    void Finish() {
        if (!m_line.empty()) EndLine();
    }

private:
    bool EndLine() {
        ++m_number;
        if (!m_line.empty() && m_line.back() == '\r') m_line.pop_back();
        if (!m_line.empty() && !m_onPath(m_line)) m_stopped = true;
        m_line.clear();
        return !m_stopped;
    }

    PathList& m_list;
    std::string m_name;
    const PathSink& m_onPath;
    std::string m_line;
    std::size_t m_number = 0;
    bool m_stopped = false;
};

PathList Refused(const std::string& message) {
    PathList list;
    list.ok = false;
    list.error = message;
    return list;
}

}  // namespace

PathList ReadPathList(std::istream& in, const PathSink& onPath, const std::string& name) {
    PathList list;
    LineSplitter splitter(list, name, onPath);
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        if (!splitter.Feed(buffer, static_cast<std::size_t>(in.gcount()))) return list;
    }
    splitter.Finish();
    return list;
}

#ifdef _WIN32
// The C runtime's names for the POSIX calls below (after the stream reader, whose in.read they would hit).
#define open _open
#define read _read
#define close _close
#define fstat _fstat
#define stat _stat
#ifndef S_ISDIR
#define S_ISDIR(m) (((m) & _S_IFMT) == _S_IFDIR)
#endif
#ifndef S_ISREG
#define S_ISREG(m) (((m) & _S_IFMT) == _S_IFREG)
#endif
#ifndef S_ISFIFO
#define S_ISFIFO(m) (((m) & _S_IFMT) == _S_IFIFO)
#endif
#endif

PathList ReadPathListFile(const std::string& path, const PathSink& onPath) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_BINARY);
    if (fd < 0) return Refused("Could not open \"" + path + "\" for reading.");
    struct stat info {};
    PathList list;
    if (::fstat(fd, &info) != 0) {
        list = Refused("Could not open \"" + path + "\" for reading.");
    } else if (S_ISDIR(info.st_mode)) {
        list = Refused("\"" + path + "\" is a folder, not a list of paths.");
    } else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        list = Refused("\"" + path + "\" is not a list of paths (neither a file nor a pipe).");
    } else {
        LineSplitter splitter(list, path, onPath);
        char buffer[64 * 1024];
        for (;;) {
            const auto got = ::read(fd, buffer, static_cast<unsigned>(sizeof buffer));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                list = Refused("Could not read \"" + path + "\": " + std::strerror(errno));
                break;
            }
            if (got == 0) {
                splitter.Finish();
                break;
            }
            if (!splitter.Feed(buffer, static_cast<std::size_t>(got))) break;
        }
    }
    ::close(fd);
    return list;
}

}  // namespace kordel::cli
