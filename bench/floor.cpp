// The floor of a count: read every file of a list and find its line ends with memchr, nothing more.
// One reusable buffer per thread, the same open/fstat/read calls a counter needs at least.
// Usage: floor LISTFILE [THREADS]   (prints the number of files, bytes and line ends)
// With THREADS > 1 that many threads take the next file of the list in turn: the parallel reading
// floor of a cold cache, where what counts is how many reads are in flight.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Tally {
    unsigned long long files = 0, bytes = 0, lines = 0;
};

void ReadOne(const std::string& path, char* buffer, std::size_t size, Tally& tally) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        ++tally.files;
        for (ssize_t got; (got = ::read(fd, buffer, size)) > 0;) {
            tally.bytes += static_cast<unsigned long long>(got);
            const char* p = buffer;
            const char* end = p + got;
            while (const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
                ++tally.lines;
                p = static_cast<const char*>(lf) + 1;
            }
        }
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: floor LISTFILE [THREADS]\n");
        return 2;
    }
    const unsigned threads = argc == 3 ? static_cast<unsigned>(std::max(1, std::atoi(argv[2]))) : 1;
    std::ifstream list(argv[1]);
    std::vector<std::string> paths;
    for (std::string path; std::getline(list, path);) paths.push_back(std::move(path));

    constexpr std::size_t kBuffer = 256 * 1024;
    std::atomic<std::size_t> next{0};
    std::vector<Tally> tallies(threads);
    const auto work = [&](Tally& tally) {
        const auto buffer = std::make_unique<char[]>(kBuffer);
        for (std::size_t i; (i = next.fetch_add(1)) < paths.size();) ReadOne(paths[i], buffer.get(), kBuffer, tally);
    };
    if (threads == 1) {
        work(tallies[0]);
    } else {
        std::vector<std::thread> pool;
        for (Tally& tally : tallies) pool.emplace_back(work, std::ref(tally));
        for (std::thread& t : pool) t.join();
    }
    Tally sum;
    for (const Tally& t : tallies) sum.files += t.files, sum.bytes += t.bytes, sum.lines += t.lines;
    std::printf("%llu files, %llu bytes, %llu line ends\n", sum.files, sum.bytes, sum.lines);
    return 0;
}
