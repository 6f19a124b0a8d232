// The whole start of the program, from the process being started to its window shown, against
// a bare Qt window with a menu and five tabs, in the same run: the two are started alternately
// so both see the same machine, and each gets the median of its starts.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Start
{
    double wallMs = -1; // from the start of the process to the line of the shown window
    double cpuMs = -1;  // processor time the process had used by then
};

Start startToShown(const std::string &program)
{
    Start result;
    int out[2];
    if (pipe(out) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // The platform's notes on the error stream would bury the report.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc == 0) {
        std::string got;
        char buffer[64];
        ssize_t n = 0;
        size_t line = std::string::npos;
        while ((line = got.find("shown ")) == std::string::npos ||
               got.find('\n', line) == std::string::npos) {
            if ((n = read(out[0], buffer, sizeof buffer)) <= 0)
                break;
            got.append(buffer, size_t(n));
        }
        if (line != std::string::npos && got.find('\n', line) != std::string::npos) {
            result.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            result.cpuMs = std::atof(got.c_str() + line + 6);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            result = Start();
    }
    close(out[0]);
    return result;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void StartupAgainstBareWindow(benchmark::State &state)
{
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string probe = (folder / "startup_probe").string();
    const std::string bare = (folder / "bare_window").string();
    const int starts = int(state.range(0));
    std::vector<double> programWall, windowWall, programCpu, windowCpu;
    for (auto _ : state) {
        // One start of each first, not counted: the files they read come into the cache.
        startToShown(probe);
        startToShown(bare);
        for (int i = 0; i < starts; ++i) {
            const Start p = startToShown(probe);
            const Start b = startToShown(bare);
            if (p.wallMs < 0 || b.wallMs < 0) {
                state.SkipWithError("a start did not show its window");
                return;
            }
            programWall.push_back(p.wallMs);
            windowWall.push_back(b.wallMs);
            programCpu.push_back(p.cpuMs);
            windowCpu.push_back(b.cpuMs);
        }
    }
    state.counters["program_median_ms"] = median(programWall);
    state.counters["bare_window_median_ms"] = median(windowWall);
    state.counters["ratio"] = median(programWall) / median(windowWall);
    state.counters["program_cpu_ms"] = median(programCpu);
    state.counters["bare_window_cpu_ms"] = median(windowCpu);
    state.counters["cpu_ratio"] = median(programCpu) / median(windowCpu);
    state.counters["starts_each"] = double(programWall.size());
}
BENCHMARK(StartupAgainstBareWindow)->Arg(15)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
