// Graph loading against plain reading: times `lumetra-cli graph --period year` over a year of
// data of 16 meters and `cat` of every file of the data folder, both with a warm page cache, and
// prints the ratio and the peak memory of the load.
//
//   lumetra-bench-load [--data DIR] [--runs N]
//
// Without --data the data are generated once into <build>/bench-data/Log.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleData.h"

namespace {

struct stRUN {
    double dSeconds = 0;
    long nMaxRssKb = 0;
    int nStatus = -1;
};

// Runs a shell command with its output to /dev/null; wall time and the child's peak memory.
stRUN RunShell(const std::string& cmd) {
    stRUN r;
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    struct rusage ru {};
    ::wait4(pid, &status, 0, &ru);
    r.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.nMaxRssKb = ru.ru_maxrss;
    r.nStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path binDir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::string strData = (binDir.parent_path() / "bench-data" / "Log").string();
    int nRuns = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--data")
            strData = argv[i + 1];
        else if (a == "--runs")
            nRuns = std::max(1, std::atoi(argv[i + 1]));
    }

    if (!std::filesystem::exists(strData)) {
        std::printf("Generating a year of data for 8 LX50-A (7 expansion units) and 8 LX30-A meters in %s ...\n",
                    strData.c_str());
        sample::stSAMPLEOPTIONS o;
        o.strOut = strData;
        o.end = *platform::ParseLocalTime("2026-01-01");
        o.nDays = 365;  // files dated 2025-01-01 .. 2025-12-31
        o.nSeed = 42;
        o.nLx30 = 8;
        o.nLx50 = 8;
        o.nUnits = 7;
        o.bAllPower = true;
        o.bClean = true;  // one TRG file per unit and day
        std::string err;
        if (!sample::WriteSampleData(o, err)) {
            std::fprintf(stderr, "%s\n", err.c_str());
            return 1;
        }
    }

    std::size_t nFiles = 0, nBytes = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(strData))
        if (e.is_regular_file()) {
            ++nFiles;
            nBytes += e.file_size();
        }

    const std::string cat = "find " + Quote(strData) + " -type f -print0 | xargs -0 cat > /dev/null";
    const std::string load = Quote((binDir / "lumetra-cli").string()) + " graph --data " + Quote(strData) +
                             " --select 1,2,3,4,5,6,7,8,11:0xFFFF,12:0xFFFF,13:0xFFFF,14:0xFFFF,15:0xFFFF,16:0xFFFF,"
                             "17:0xFFFF,18:0xFFFF --period year --date 2025-01-01 --kind power"
                             " --now '2026-01-01 12:00:00' --json - > /dev/null";

    // Warm the page cache, then take the best of the runs of each.
    RunShell(cat);
    double dCat = 1e30, dLoad = 1e30;
    long nPeakKb = 0;
    for (int i = 0; i < nRuns; ++i) {
        stRUN c = RunShell(cat);
        stRUN l = RunShell(load);
        if (c.nStatus != 0 || l.nStatus != 0) {
            std::fprintf(stderr, "a run failed (cat %d, load %d)\n", c.nStatus, l.nStatus);
            return 1;
        }
        dCat = std::min(dCat, c.dSeconds);
        dLoad = std::min(dLoad, l.dSeconds);
        nPeakKb = std::max(nPeakKb, l.nMaxRssKb);
    }
    const double dRatio = dLoad / dCat;
    std::printf("files %zu, %.1f MB\n", nFiles, nBytes / 1048576.0);
    std::printf("cat  %.3f s\nload %.3f s (lumetra-cli graph --period year, 16 meters, every circuit)\n", dCat, dLoad);
    std::printf("ratio load/cat %.2f (target <= 3.00)\n", dRatio);
    std::printf("peak memory of the load %.1f MB (target < 200 MB)\n", nPeakKb / 1024.0);
    return 0;
}
