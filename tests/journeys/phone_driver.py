"""Drives tessary on a real X display the way a person does: Xvfb with a window
manager, real key presses and clicks through XTEST (xdotool), and the phone's UI
trace (TESSARY_UI_TRACE) to know what is on screen. Outcomes are read from the
device's files through tessary-cli."""

import json
import os
import shutil
import socket
import subprocess
import tempfile
import time


class JourneyError(AssertionError):
    pass


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return number
    raise JourneyError("no free X display number")


class Desktop:
    """An X server with a window manager, for the length of a journey."""

    def __init__(self, width=1024, height=768):
        self.number = free_display()
        self.display = f":{self.number}"
        self.xvfb = subprocess.Popen(
            ["Xvfb", self.display, "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        deadline = time.time() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{self.number}"):
            if time.time() > deadline:
                raise JourneyError("Xvfb did not start")
            time.sleep(0.05)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def close(self):
        for process in (self.wm, self.xvfb):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()


class Service:
    """tessary-service on a free loopback port with the demo data."""

    def __init__(self, binary, folder):
        self.binary = binary
        self.data = os.path.join(folder, "service")
        os.makedirs(self.data)
        subprocess.run([binary, "--data", self.data, "seed-demo"], check=True, stdout=subprocess.DEVNULL)
        self.port = free_port()
        self.process = None
        self.start()

    def start(self):
        self.process = subprocess.Popen(
            [self.binary, "--data", self.data, "serve", "--listen", f"127.0.0.1:{self.port}"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while time.time() < deadline:
            with socket.socket() as s:
                if s.connect_ex(("127.0.0.1", self.port)) == 0:
                    return
            time.sleep(0.05)
        raise JourneyError("tessary-service did not start")

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait(10)
            self.process = None


class Phone:
    """One run of tessary on the desktop, with its device root and trace."""

    def __init__(self, binaries, desktop, service, folder, args=()):
        self.binaries = binaries
        self.desktop = desktop
        self.root = os.path.join(folder, "device")
        self.trace_path = os.path.join(folder, "ui-trace.txt")
        self.folder = folder
        self.env = dict(desktop.env, TESSARY_DEVICE_ROOT=self.root, TESSARY_SERVICE=f"127.0.0.1:{service.port}",
                        TESSARY_UI_TRACE=self.trace_path)
        self.seen = 0
        self.log = open(os.path.join(folder, "tessary.log"), "w")
        self.process = subprocess.Popen([binaries["tessary"], *args], env=self.env, stdout=self.log, stderr=self.log)
        self.window = self._wait_window()
        self.xdotool("windowactivate", "--sync", self.window)

    def _wait_window(self):
        deadline = time.time() + 20
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise JourneyError(f"tessary ended with {self.process.returncode}")
            found = subprocess.run(["xdotool", "search", "--pid", str(self.process.pid), "--onlyvisible", "--name", "."],
                                   env=self.desktop.env, capture_output=True, text=True).stdout.split()
            if found:
                return found[-1]
            time.sleep(0.1)
        raise JourneyError("the phone window did not appear")

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.desktop.env, check=True, capture_output=True,
                              text=True).stdout

    # Input, as the desktop delivers it.
    def key(self, *keys):
        for k in keys:
            self.xdotool("key", "--delay", "60", k)
            time.sleep(0.15)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def geometry(self):
        """The window's place on the desktop (xwininfo: xdotool's answer is off by
        the window manager's frame)."""
        out = subprocess.run(["xwininfo", "-id", self.window], env=self.desktop.env, check=True, capture_output=True,
                             text=True).stdout
        values = {}
        for line in out.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]), int(values["Width"]),
                int(values["Height"]))

    def click(self, fx, fy):
        """A click at a fraction of the window's width and height."""
        x, y, w, h = self.geometry()
        self.xdotool("mousemove", str(x + int(w * fx)), str(y + int(h * fy)))
        time.sleep(0.05)
        self.xdotool("click", "1")
        time.sleep(0.2)

    def click_left_soft_key(self):
        self.click(0.12, 0.97)

    def click_right_soft_key(self):
        self.click(0.88, 0.97)

    def screenshot(self, name):
        out = os.path.join(self.folder, f"{name}.png")
        subprocess.run(["import", "-window", self.window, out], env=self.desktop.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return out

    # What is on screen, from the trace.
    def trace(self):
        try:
            with open(self.trace_path, encoding="utf-8") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for(self, predicate, what, timeout=20):
        """Waits for a new trace line that `predicate` accepts; answers it."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            lines = self.trace()
            for index in range(self.seen, len(lines)):
                if predicate(lines[index]):
                    self.seen = index + 1
                    return lines[index]
            if self.process.poll() is not None:
                raise JourneyError(f"tessary ended ({self.process.returncode}) while waiting for {what}")
            time.sleep(0.05)
        raise JourneyError(f"waited {timeout} s for {what}; trace ends with: {self.trace()[-6:]}")

    def wait_top(self, class_name, timeout=20):
        return self.wait_for(lambda l: l.startswith("top ") and l.split()[1] == class_name, f"{class_name} on top",
                             timeout)

    def wait_view(self, mode, timeout=20):
        return self.wait_for(lambda l: l.startswith("view " + mode), f"the view in {mode}", timeout)

    def highlight(self, item, step="Down", tries=20):
        """Moves the highlight of the open menu to `item` (by its text)."""
        for _ in range(tries):
            lit = [l for l in self.trace() if l.startswith("lit ")]
            if lit and lit[-1][len("lit "):] == item:
                return
            self.key(step)
        raise JourneyError(f"no menu item {item!r}")

    def selected(self):
        chosen = [l for l in self.trace() if l.startswith("select")]
        value = chosen[-1][len("select"):].strip() if chosen else ""
        return int(value) if value else None

    def select(self, index):
        """Moves the grid's selection to `index` with the arrow keys (Enter first
        when nothing is selected: it selects the first visible cell)."""
        if self.selected() is None:
            self.key("Return")
        for _ in range(50):
            now = self.selected()
            if now == index:
                return
            self.key("Down" if now is None or now < index else "Up")
        raise JourneyError(f"cannot select {index}")

    def rows(self):
        """The home view's blogs in the order it shows them."""
        listed = [l for l in self.trace() if l.startswith("rows ")]
        return listed[-1][len("rows "):].split(",") if listed else []

    def top(self):
        tops = [l for l in self.trace() if l.startswith("top ")]
        return tops[-1].split()[1] if tops else None

    def settled(self, quiet=1.5):
        """Waits until the trace has been still for `quiet` seconds; answers the
        window on top then."""
        count = len(self.trace())
        still_since = time.time()
        while time.time() - still_since < quiet:
            time.sleep(0.1)
            now = len(self.trace())
            if now != count:
                count, still_since = now, time.time()
        self.seen = count
        return self.top()

    def answer_messages_until_home(self, answer=None, timeout=90, view_password=None):
        """Answers every message box and settings screen (with Return, its default
        button, unless an `answer` function is given) and Password Required until the main window is on top and stays
        there; answers the texts seen, in order."""
        texts = []
        read = self.seen
        deadline = time.time() + timeout
        while time.time() < deadline:
            top = self.settled(0.8)
            texts += [l[len("message "):] for l in self.trace()[read:self.seen] if l.startswith("message ")]
            read = self.seen
            # The sync settings of a subscription the service offers are taken as shown.
            if top in ("ui::PhoneMessageBox", "dialogs::CBlogPrefsDlg"):
                if answer:
                    answer()
                else:
                    self.key("Return")
            elif top == "dialogs::CGetViewPasswordDlg":
                # A protected blog gets `view_password`, else Cancel.
                if view_password:
                    self.type(view_password)
                    self.key("Return")
                elif answer:
                    self.click_right_soft_key()
                else:
                    self.key("F2")
            elif top == "app::CMainFrame":
                return texts
        raise JourneyError(f"message boxes did not end; seen {texts}")

    # Outcomes, from the device's files.
    def cli(self, *args):
        out = subprocess.run([self.binaries["tessary-cli"], "--json", *args], env=self.env, capture_output=True,
                             text=True)
        if out.returncode != 0:
            raise JourneyError(f"tessary-cli {' '.join(args)} failed: {out.stderr}")
        return json.loads(out.stdout) if out.stdout.strip() else None

    def preference(self, name):
        return self.cli("prefs", "get", name)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.log.close()


def workspace(name, build_dir):
    """A fresh folder for a journey's files (kept in the build folder)."""
    folder = os.path.join(build_dir, "journeys", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def temp_folder():
    return tempfile.mkdtemp(prefix="tessary-journey-")
