// The whole start of the program, from the process being started to its window shown, against
// a bare Qt window with a menu and five tabs, in the same run: the two are started alternately
// so both see the same machine, and each gets the median of its starts.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds from the start of the process to the line the shown window writes, or -1 when it
// never came.
double startToShown(const std::string &program)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    double ms = -1;
    if (rc == 0) {
        std::string got;
        char buffer[64];
        ssize_t n = 0;
        while (got.find("shown\n") == std::string::npos &&
               (n = read(out[0], buffer, sizeof buffer)) > 0)
            got.append(buffer, size_t(n));
        if (got.find("shown\n") != std::string::npos)
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ms = -1;
    }
    close(out[0]);
    return ms;
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
    std::vector<double> program, window;
    for (auto _ : state) {
        // One start of each first, not counted: the files they read come into the cache.
        startToShown(probe);
        startToShown(bare);
        for (int i = 0; i < starts; ++i) {
            const double p = startToShown(probe);
            const double b = startToShown(bare);
            if (p < 0 || b < 0) {
                state.SkipWithError("a start did not show its window");
                return;
            }
            program.push_back(p);
            window.push_back(b);
        }
    }
    const double p = median(program);
    const double b = median(window);
    state.counters["program_median_ms"] = p;
    state.counters["bare_window_median_ms"] = b;
    state.counters["ratio"] = p / b;
    state.counters["starts_each"] = double(program.size());
}
BENCHMARK(StartupAgainstBareWindow)->Arg(15)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
