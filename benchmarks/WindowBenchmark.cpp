// How long a user waits for the window: from starting lm360r-settings against the simulated printer
// until its main window is mapped on the X server. Needs an X server: run it under
// `xvfb-run -a build/benchmarks/window_benchmarks`.
#include <benchmark/benchmark.h>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

struct ConnectionDeleter {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionDeleter>;

// Watches the root window for top-level windows being mapped.
Connection WatchRoot() {
    Connection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return nullptr;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.get());
    return connection;
}

bool WaitForMap(xcb_connection_t* connection) {
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) {
            return true;
        }
    }
    return false;
}

void BM_WindowMapped(benchmark::State& state) {
    const Connection connection = WatchRoot();
    if (!connection) {
        state.SkipWithError("no X server: run under xvfb-run");
        return;
    }
    setenv("LM360R_USB", "simulated", 1);
    unsetenv("LM360R_SIM_STATE");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    char program[] = LM360R_SETTINGS_PATH;
    char* argv[] = {program, nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start lm360r-settings");
            break;
        }
        const bool mapped = WaitForMap(connection.get());
        state.PauseTiming();
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        // What the window did on its way out is no news for the next round.
        std::free(
            xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection.get())) {
            std::free(event);
        }
        state.ResumeTiming();
        if (!mapped) {
            state.SkipWithError("the window was never mapped");
            break;
        }
    }
}
BENCHMARK(BM_WindowMapped)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

BENCHMARK_MAIN();
