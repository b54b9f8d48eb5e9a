// What a script pays per lm360rctl call: start the process, find the simulated printer, run the
// exchanges, exit. `--version` is the same process doing no printer work, for comparison.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The simulated printer's state lives in a file of its own for the whole run.
char stateFile[] = "/tmp/lm360rctl-bench-XXXXXX";

const char* StateFile() {
    static const bool created = [] {
        const int fd = mkstemp(stateFile);
        const char state[] = "[printer]\nserial = BENCH\n";
        if (fd < 0 || write(fd, state, sizeof state - 1) != static_cast<ssize_t>(sizeof state - 1)) {
            std::abort();
        }
        close(fd);
        std::atexit([] {
            unlink(stateFile);
            unlink((std::string(stateFile) + ".bin").c_str());
        });
        return true;
    }();
    return created ? stateFile : nullptr;
}

int RunOnce(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), LM360RCTL_PATH);
    std::vector<char*> argv;
    for (std::string& a : arguments) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, LM360RCTL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Run(benchmark::State& state, const std::vector<std::string>& arguments) {
    setenv("LM360R_USB", "simulated", 1);
    setenv("LM360R_SIM_STATE", StateFile(), 1);
    for (auto _ : state) {
        if (RunOnce(arguments) != 0) {
            state.SkipWithError("lm360rctl failed");
            break;
        }
    }
}

void BM_GetAllFive(benchmark::State& state) {
    Run(state, {"get"});
}
void BM_GetOne(benchmark::State& state) {
    Run(state, {"get", "power-on"});
}
void BM_Status(benchmark::State& state) {
    Run(state, {"status"});
}
// A saved power-group file sent back: read, checked, one write.
void BM_Send(benchmark::State& state) {
    static const std::string file = std::string(StateFile()) + ".bin";
    static const bool saved = RunOnce({"save-commands", "power", "-o", file}) == 0;
    if (!saved) {
        state.SkipWithError("cannot save a command file");
        return;
    }
    Run(state, {"send", file});
}
void BM_ProcessOnly(benchmark::State& state) {
    Run(state, {"--version"});
}

BENCHMARK(BM_GetAllFive)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GetOne)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Status)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Send)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
