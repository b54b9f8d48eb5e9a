"""A desktop of the test's own, as a user or a screen reader meets the window.

Session starts an X server (Xvfb) with a window manager (openbox), or a headless Wayland compositor
(weston), a private D-Bus session bus whose accessibility bus (AT-SPI) starts on demand, and the
program under test with the simulated printer. Nothing is shared with the machine's own desktop:
every process is the session's child, in a runtime folder of its own, and is ended with it.

What the tests see is what a screen reader sees: accessible objects with roles, names, states and
texts on the accessibility bus. No widget of the program is reached any other way.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

# Long enough for a loaded machine; a test that waits this long has failed.
WAIT_SECONDS = 30
POLL_SECONDS = 0.05


class SessionError(Exception):
    pass


def _wait(condition, what, timeout=WAIT_SECONDS):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise SessionError(f"gave up waiting for {what}")
        time.sleep(POLL_SECONDS)


class Session:
    """The display server, bus and window manager; `launch` starts the program in it."""

    def __init__(self, out_dir, wayland=False):
        self.out_dir = out_dir
        self.wayland = wayland
        self.processes = []
        self.runtime = None
        self.program = None
        self.program_log = None

    def __enter__(self):
        os.makedirs(self.out_dir, exist_ok=True)
        self.runtime = tempfile.mkdtemp(prefix="lm360r-desktop-")
        os.chmod(self.runtime, 0o700)
        home = os.path.join(self.runtime, "home")
        os.mkdir(home)
        env = os.environ
        # The machine's desktop, if any, is not this session's.
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                     "QT_QPA_PLATFORM", "XAUTHORITY", "SESSION_MANAGER"):
            env.pop(name, None)
        env["XDG_RUNTIME_DIR"] = self.runtime
        env["HOME"] = home
        env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
        env["XDG_CACHE_HOME"] = os.path.join(home, ".cache")
        try:
            if self.wayland:
                self._start_weston()
            else:
                self._start_xvfb()
            # Started after the display: the accessibility services it activates inherit it.
            self._start_bus()
            if not self.wayland:
                self._start_window_manager()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        if self.program is not None:
            self._end(self.program)
        for process in reversed(self.processes):
            self._end(process)
        if self.program_log is not None:
            self.program_log.close()
        if self.runtime is not None:
            shutil.rmtree(self.runtime, ignore_errors=True)
        return False

    # --- the servers -------------------------------------------------------------------------

    def _spawn(self, args, **kwargs):
        log = open(os.path.join(self.out_dir, os.path.basename(args[0]) + ".log"), "ab")
        process = subprocess.Popen(args, stdout=kwargs.pop("stdout", log), stderr=log,
                                   stdin=subprocess.DEVNULL, **kwargs)
        log.close()
        self.processes.append(process)
        return process

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise SessionError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number

    def _start_weston(self):
        socket = "lm360r-wayland-0"
        # --debug lets weston-screenshooter take the screenshots; the headless backend renders
        # with pixman, so no GPU is needed.
        self._spawn(["weston", "--backend=headless-backend.so", "--socket=" + socket,
                     "--width=1024", "--height=768", "--idle-time=0", "--no-config", "--use-pixman", "--debug"])
        path = os.path.join(self.runtime, socket)
        _wait(lambda: os.path.exists(path), "weston's socket")
        os.environ["WAYLAND_DISPLAY"] = socket

    def _start_bus(self):
        address = "unix:path=" + os.path.join(self.runtime, "bus")
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--address=" + address,
                           "--print-address=1"], stdout=subprocess.PIPE)
        if not bus.stdout.readline():
            raise SessionError("the session bus did not start")
        bus.stdout.close()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address

    def _start_window_manager(self):
        def managed():
            shown = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   capture_output=True, text=True, check=False)
            return "window id" in shown.stdout
        _wait(lambda: subprocess.run(["xprop", "-root"], capture_output=True, check=False).returncode == 0,
              "the X server to take connections")
        # A window manager that lost a race for the display at its start is started again.
        for _ in range(3):
            manager = self._spawn(["openbox", "--sm-disable"])
            try:
                _wait(lambda: managed() or manager.poll() is not None, "the window manager")
            except SessionError:
                break
            if manager.poll() is None:
                return
        raise SessionError("the window manager did not start")

    # --- the program ---------------------------------------------------------------------------

    def launch(self, program, state_file, language="en", arguments=(), environment=None):
        """Starts the program on the simulated printers of `state_file` in `language`."""
        env = dict(os.environ)
        env.update({
            "LM360R_USB": "simulated",
            "LM360R_SIM_STATE": state_file,
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_QPA_PLATFORM": "wayland" if self.wayland else "xcb",
            "LANGUAGE": language,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        env.update(environment or {})
        if self.program_log is None:
            self.program_log = open(os.path.join(self.out_dir, "program.log"), "ab")
        self.program = subprocess.Popen([program, *arguments], env=env, stdin=subprocess.DEVNULL,
                                        stdout=self.program_log, stderr=self.program_log)
        return self.program

    def quit_program(self):
        if self.program is not None:
            self._end(self.program)
            self.program = None

    @staticmethod
    def _end(process, grace=5):
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(grace)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    # --- what the user sees --------------------------------------------------------------------

    def screenshot(self, name):
        """The whole screen as out_dir/NAME.png."""
        path = os.path.join(self.out_dir, name + ".png")
        if self.wayland:
            folder = tempfile.mkdtemp(dir=self.runtime)
            subprocess.run(["weston-screenshooter"], cwd=folder, check=True, timeout=WAIT_SECONDS,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            shot = os.listdir(folder)
            if len(shot) != 1:
                raise SessionError("weston-screenshooter wrote no screenshot")
            shutil.move(os.path.join(folder, shot[0]), path)
        else:
            subprocess.run(["import", "-window", "root", path], check=True, timeout=WAIT_SECONDS)
        return path
