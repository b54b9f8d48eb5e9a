#!/usr/bin/python3
"""lm360r-settings driven as a screen reader user drives it: every control found by its role and
name on the accessibility bus, pressed through its action or the keyboard, and read back as a
screen reader hears it. The printers are simulated; the state file stands for their memory and for
the USB cable (a printer written into it is plugged in, one taken out is unplugged).

Usage: window_test.py SCENARIO --program LM360R-SETTINGS --lm360rctl LM360RCTL --out FOLDER
       window_test.py dump --program LM360R-SETTINGS --out FOLDER --tree FILE

Each scenario starts its own display, window manager and buses, keeps a screenshot of every state
it visits in FOLDER, and exits non-zero at the first thing a user would find wrong.
"""

import argparse
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import Session  # noqa: E402

WINDOW_TITLE = {"en": "LM-360R Settings", "de": "LM-360R-Einstellungen", "ja": "LM-360R 設定"}
PRINTER_BAND = "Printer: Tamblor LM-360R, serial number {}"
NO_PRINTER = ("No LM-360R printer was found.\nCheck that the printer is connected by USB and switched "
              "on. It is found as soon as it is plugged in.")
NO_PRINTER_FIELD = {"en": "No printer", "de": "Kein Drucker", "ja": "プリンターなし"}
BOXES = ("Automatic Power On", "Auto Power Off", "Network", "Information Print")
# The state file's key of each box's setting, and what the window shows for a stored byte.
STATE_KEYS = {"Automatic Power On": "power-on", "Auto Power Off": "auto-power-off",
              "Network": "network", "Information Print": "info-print"}
SHOWN = {"power-on": {0: "Off", 1: "On"},
         "auto-power-off": {0: "0", 1: "10", 2: "20", 3: "30", 4: "40", 5: "50", 6: "60"},
         "network": {0: "Mode 1", 1: "Mode 2", 2: "Mode 3"},
         "info-print": {3: "Full report", 2: "Standard report", 1: "Short report"}}
DEFAULTS = {"power-on": 0, "auto-power-off": 6, "network": 2, "info-print": 3}
# The roles a user operates; each must say which setting or action it is.
CONTROLS = ("push button", "combo box", "text", "page tab", "check box", "radio button", "menu item")
KEYSYMS = {"Up": 0xFF52, "Down": 0xFF54, "Return": 0xFF0D, "Escape": 0xFF1B}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def printer(serial, **values):
    lines = ["[printer]", f"serial = {serial}"]
    lines += [f"{key} = {value}" for key, value in values.items()]
    return "\n".join(lines) + "\n"


def stored(state_file, serial="SIM0000001"):
    """What the simulated printer keeps, as the state file says."""
    values, current = {}, None
    with open(state_file, encoding="utf-8") as lines:
        for line in lines:
            line = line.strip()
            if line == "[printer]":
                current = {}
                continue
            if "=" in line and current is not None:
                key, value = (part.strip() for part in line.split("=", 1))
                current[key] = value
                if key == "serial" and value == serial:
                    values = current
    return {key: int(values.get(key, DEFAULTS[key])) for key in DEFAULTS}


class Window:
    """The program's windows on the bus, as the test reads them."""

    def __init__(self, session, args, state_file, language="en", settle=True, arguments=(), environment=None):
        import bus  # after the session set up the buses
        self.bus = bus
        self.session = session
        self.language = language
        self.state_file = state_file
        process = session.launch(args.program, state_file, language, arguments, environment)
        self.app = bus.application(process.pid)
        self.frame = bus.wait_for(lambda: self.showing_window("frame"), "the main window")
        # Read quietly at launch: done once the band no longer looks for the printer.
        if settle:
            bus.wait_for(lambda: self.band() and "…" not in self.band(), "the band to say what it found")

    def showing_window(self, role):
        """The program's window of this role that is on screen, if any."""
        for window in self.bus.windows(self.app):
            if self.bus.role(window) == role and self.bus.showing(window):
                return window
        return None

    def band(self):
        notes = self.bus.find_all(self.frame, "notification")
        check(len(notes) == 1, f"the window has {len(notes)} notifications, not its one band")
        return self.bus.name(notes[0])

    def control(self, role, name):
        return self.bus.await_one(self.frame, role, name)

    def field(self, box):
        return self.bus.text(self.control("text", f"{box}: Current setting"))

    def choice(self, box):
        return self.bus.description(self.control("combo box", f"{box}: New setting"))

    def press(self, name):
        self.bus.press(self.control("push button", name))

    def key(self, name):
        self.bus.pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, self.bus.pyatspi.KEY_SYM)

    def choose(self, box, item):
        """Moves the box's list to `item` with the arrow keys, as a keyboard user does."""
        combo = self.control("combo box", f"{box}: New setting")
        self.bus.focus(combo)
        items = [self.bus.name(entry) for entry in self.bus.children(self.bus.children(combo)[0])]
        check(item in items, f"{box}: {item!r} is not among {items}")
        for _ in range(len(items)):
            now = self.bus.description(combo)
            if now == item:
                return
            self.key("Down" if items.index(item) > items.index(now) else "Up")
            self.bus.wait_for(lambda before=now: self.bus.description(combo) != before,
                              f"{box}'s list to move")
        check(self.bus.description(combo) == item, f"{box}'s list did not reach {item!r}")

    def open_tab(self, name, showing_then):
        """Presses the tab `name`; its page shows the box `showing_then`."""
        self.bus.press(self.control("page tab", name))
        self.control("panel", showing_then)

    def alert(self):
        """The alert on screen: its texts, in order, and its buttons by name."""
        window = self.bus.wait_for(lambda: self.showing_window("alert"), "an alert")
        labels = [self.bus.name(label) for label in self.bus.find_all(window, "label")]
        buttons = {self.bus.name(button): button for button in self.bus.find_all(window, "push button")}
        return window, labels, buttons

    def no_alert(self):
        return self.showing_window("alert") is None

    def panel_showing(self):
        """The progress panel while it is on screen, else None."""
        for window in self.bus.windows(self.app):
            if (self.bus.role(window) == "dialog" and self.bus.showing(window)
                    and self.bus.find_all(window, "progress bar")):
                return window
        return None

    def answer(self, button_name):
        window, _, buttons = self.alert()
        check(button_name in buttons, f"the alert has no {button_name!r} button, only {list(buttons)}")
        self.bus.press(buttons[button_name])
        self.bus.wait_for(lambda: not self.bus.showing(window) or self.no_alert(), "the alert to close")

    def unnamed_controls(self, only_showing=False):
        return [f"{self.bus.role(node)} (text {self.bus.text(node)!r})"
                for node in self.bus.descendants(self.frame)
                if self.bus.role(node) in CONTROLS and not self.bus.name(node).strip()
                and (not only_showing or self.bus.showing(node))]

    def shot(self, name):
        # What is on screen settles a moment after the bus says so.
        time.sleep(0.3)
        self.session.screenshot(name)


# --- the scenarios ------------------------------------------------------------------------------

def every_control_named(window):
    unnamed = window.unnamed_controls()
    check(not unnamed, f"controls a screen reader cannot name: {unnamed}")
    seen = {}
    for node in window.bus.descendants(window.frame):
        role = window.bus.role(node)
        if role in ("push button", "combo box", "text") and window.bus.showing(node):
            key = (role, window.bus.name(node))
            check(key not in seen, f"two showing controls are a {role} named {key[1]!r}")
            seen[key] = node


def one_printer(session, args, out):
    state = os.path.join(out, "one-printer.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", **{"power-on": 1, "auto-power-off": 3, "network": 1,
                                            "info-print": 2}))
    window = Window(session, args, state)
    check(window.bus.name(window.frame) == WINDOW_TITLE["en"], "the window's title")
    check(window.band() == PRINTER_BAND.format("SIM0000001"), f"band: {window.band()!r}")
    every_control_named(window)
    window.shot("one-printer-en")

    # Each setting read, then applied with another choice; the printer keeps what was applied.
    choices = {"Automatic Power On": "Off", "Auto Power Off": "50", "Network": "Mode 1",
               "Information Print": "Short report"}
    for box in BOXES:
        if box == "Information Print":
            window.open_tab("Print", box)
        key = STATE_KEYS[box]
        held = SHOWN[key][stored(state)[key]]
        check(window.field(box) == held, f"{box} shows {window.field(box)!r}, the printer holds {held!r}")
        check(window.choice(box) == held, f"{box}'s list says {window.choice(box)!r}, not {held!r}")
        window.press(f"Read {box}")
        window.bus.wait_for(lambda: window.panel_showing() is None, "the read to end")
        check(window.field(box) == held and window.no_alert(), f"{box} after Read")

        # The keyboard is back in the window after the panel: the list takes it, the arrows move it.
        window.choose(box, choices[box])
        window.press(f"Apply {box}")
        window.bus.wait_for(lambda box=box, key=key: SHOWN[key][stored(state)[key]] == choices[box],
                            f"the printer to keep {box} = {choices[box]}")
        window.bus.wait_for(lambda box=box: window.field(box) == choices[box], f"{box}'s field to follow")
        check(window.no_alert(), f"applying {box} raised an alert")
    window.shot("one-printer-applied-en")


def no_printer(session, args, out):
    state = os.path.join(out, "no-printer.state")
    open(state, "w", encoding="utf-8").close()
    window = Window(session, args, state)
    check(window.band() == NO_PRINTER, f"band: {window.band()!r}")
    for box in BOXES[:3]:
        field = window.control("text", f"{box}: Current setting")
        check(window.bus.text(field) == NO_PRINTER_FIELD["en"], f"{box}: {window.bus.text(field)!r}")
        check(window.bus.description(field) == NO_PRINTER.split("\n")[0], f"{box}'s description")
    every_control_named(window)
    fields_fit(window)
    window.shot("no-printer-en")

    # The buttons keep working and say what the band says.
    events = window.bus.Events("object:state-changed:showing", "window:activate")
    for button, statement in (("Read Network", "Network could not be read from the printer."),
                              ("Apply Auto Power Off", "Auto Power Off could not be changed on the printer.")):
        events.clear()
        window.press(button)
        _, labels, buttons = window.alert()
        check(labels[:1] == [statement] and NO_PRINTER in labels, f"{button}'s alert says {labels}")
        check(window.panel_showing() is None, f"{button}: the progress panel stands behind the alert")
        events.wait(lambda e: e[0] == "window:activate" and e[1] == "alert", "the alert's activation")
        if button == "Read Network":
            window.shot("no-printer-alert-en")
        window.answer("OK")
    events.close()


def fields_fit(window):
    """Every showing field's text ends inside the field."""
    for field in window.bus.find_all(window.frame, "text"):
        content = window.bus.text(field)
        if not content:
            continue
        x, _, width, _ = window.bus.extents(field)
        last_x, _, last_width, _ = window.bus.character_extents(field, len(content) - 1)
        check(x <= last_x and last_x + last_width <= x + width,
              f"{window.bus.name(field)!r}: {content!r} ends at {last_x + last_width}, the field at {x + width}")


def languages(session, args, out):
    """The window in each language, with a printer and without: named, and every text fits."""
    for language in ("en", "de", "ja"):
        for case, contents in (("one-printer", printer("SIM0000001")), ("no-printer", "")):
            state = os.path.join(out, f"{case}-{language}.state")
            with open(state, "w", encoding="utf-8") as file:
                file.write(contents)
            window = Window(session, args, state, language)
            check(window.bus.name(window.frame) == WINDOW_TITLE[language],
                  f"{language}: title {window.bus.name(window.frame)!r}")
            unnamed = window.unnamed_controls()
            check(not unnamed, f"{language}: unnamed controls {unnamed}")
            if case == "no-printer":
                texts = {window.bus.text(field) for field in window.bus.find_all(window.frame, "text")}
                check(texts == {NO_PRINTER_FIELD[language]}, f"{language}: the fields say {texts}")
                fields_fit(window)
            window.shot(f"{case}-{language}")
            session.quit_program()


def two_printers(session, args, out):
    state = os.path.join(out, "two-printers.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001") + printer("SIM0000002", network=0, **{"auto-power-off": 2}))
    window = Window(session, args, state)
    check(window.band() == PRINTER_BAND.format("SIM0000001"), f"band: {window.band()!r}")
    chooser = window.control("combo box", "Printer to set up")
    check(window.bus.description(chooser) == "SIM0000001", "the chosen printer")
    window.shot("two-printers-en")

    events = window.bus.Events("object:state-changed:showing")
    window.bus.focus(chooser)
    window.key("Down")
    window.bus.wait_for(lambda: window.band() == PRINTER_BAND.format("SIM0000002"), "the second printer")
    window.bus.wait_for(lambda: window.field("Network") == "Mode 1", "the second printer's values")
    check(window.field("Auto Power Off") == "20", "the second printer's auto power-off")
    announced(events, PRINTER_BAND.format("SIM0000002"))
    events.close()
    window.shot("two-printers-second-en")


def announced(events, text):
    """A screen reader heard the band say `text`: it appeared as a notification."""
    events.wait(lambda e: e[0] == "object:state-changed:showing" and e[1] == "notification"
                and e[2] == text and e[3] == 1, f"the announcement {text!r}")


def refused_write(session, args, out):
    state = os.path.join(out, "refused.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", refuse="network"))
    window = Window(session, args, state)
    events = window.bus.Events("object:state-changed:showing", "object:property-change:accessible-description")
    window.choose("Network", "Mode 2")
    # A screen reader hears the list's new item: it is the list's description.
    events.wait(lambda e: e[0].endswith("accessible-description") and e[2] == "Network: New setting",
                "the list telling its new item")
    window.press("Apply Network")
    _, labels, _ = window.alert()
    check(labels == ["Network: Mode 2 (1) was sent, but the printer answered Mode 3 (2).",
                     "The window now shows the printer's value."], f"the alert says {labels}")
    check(window.panel_showing() is None, "the progress panel stands behind the alert")
    window.shot("alert-mismatch-en")
    # The panel showed its message while it stood, and made way before the alert.
    order = [(e[1], e[2], e[3]) for e in events.seen if e[1] in ("dialog", "alert", "label")]
    panel_up = [i for i, e in enumerate(order) if e[0] == "dialog" and e[2] == 1]
    panel_down = [i for i, e in enumerate(order) if e[0] == "dialog" and e[2] == 0]
    alert_up = [i for i, e in enumerate(order) if e[0] == "alert" and e[2] == 1]
    check(panel_up and panel_down and alert_up and panel_up[0] < panel_down[0] < alert_up[0],
          f"panel and alert appeared in this order: {order}")
    check(("label", "Working, please wait…", 1) in order[:panel_down[0]], f"the panel's message: {order}")
    events.close()
    window.answer("OK")
    window.bus.wait_for(lambda: window.choice("Network") == "Mode 3", "the list to show the printer's value")
    check(window.field("Network") == "Mode 3", "the field shows the printer's value")
    check(stored(state)["network"] == 2, "the refused value was stored")


def reset(session, args, out):
    state = os.path.join(out, "reset.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", **{"power-on": 1, "auto-power-off": 1, "network": 0}))
    window = Window(session, args, state)
    before = stored(state)

    window.press("Reset Settings…")
    _, labels, buttons = window.alert()
    check(set(buttons) >= {"Reset Settings", "Cancel"}, f"the question's buttons: {list(buttons)}")
    check("is default" in window.bus.states(buttons["Cancel"]), "Cancel is not the default button")
    check("is default" not in window.bus.states(buttons["Reset Settings"]), "Reset is the default button")
    check(labels and labels[0], f"the question says {labels}")
    window.shot("reset-question-en")
    window.key("Return")  # the default: nothing happens
    window.bus.wait_for(window.no_alert, "the question to close")
    time.sleep(0.5)
    check(stored(state) == before and window.field("Network") == "Mode 1", "Return reset the printer")

    window.press("Reset Settings…")
    window.answer("Reset Settings")
    window.bus.wait_for(lambda: stored(state) == DEFAULTS, "the printer to be reset")
    window.bus.wait_for(lambda: window.field("Network") == "Mode 3", "the defaults read back")
    check(window.field("Automatic Power On") == "Off" and window.field("Auto Power Off") == "60",
          "the fields after the reset")
    check(window.no_alert(), "the reset raised an alert")


def save_command_file(session, args, out):
    state = os.path.join(out, "save.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", network=0))
    window = Window(session, args, state)
    target = os.path.join(out, "office.bin")
    if os.path.exists(target):
        os.remove(target)
    window.choose("Auto Power Off", "30")
    window.press("Save Power settings as a command file")
    dialog = window.bus.wait_for(lambda: window.showing_window("dialog"), "the save panel")
    name_field = window.bus.wait_for(
        lambda: [node for node in window.bus.find_all(dialog, "text") if "editable" in window.bus.states(node)
                 and window.bus.text(node).endswith(".bin")], "the file name field")[0]
    window.shot("save-panel-en")
    name_field.queryEditableText().setTextContents(target[:-len(".bin")])  # the extension is added
    window.bus.press(window.bus.await_one(dialog, "push button", "Save"))
    _, labels, _ = window.alert()
    check(any(label == f"Saved as {target}" for label in labels), f"the alert after saving says {labels}")
    window.answer("OK")
    expected = subprocess.run([args.lm360rctl, "save-commands", "power", "--power-on", "off",
                               "--auto-power-off", "30", "--network", "1", "-o", "-"],
                              capture_output=True, check=True, timeout=30).stdout
    with open(target, "rb") as file:
        check(file.read() == expected, "the saved file differs from lm360rctl's for the same choices")


def hotplug(session, args, out):
    state = os.path.join(out, "hotplug.state")
    open(state, "w", encoding="utf-8").close()
    window = Window(session, args, state)
    check(window.band() == NO_PRINTER, f"band: {window.band()!r}")
    events = window.bus.Events("object:state-changed:showing")

    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", network=1))
    announced(events, PRINTER_BAND.format("SIM0000001"))
    window.bus.wait_for(lambda: window.field("Network") == "Mode 2", "the plugged-in printer's values")
    window.shot("hotplug-arrived-en")

    events.clear()
    with open(state, "w", encoding="utf-8") as file:
        file.write("")
    announced(events, NO_PRINTER)
    window.bus.wait_for(lambda: window.field("Network") == NO_PRINTER_FIELD["en"], "the fields to say so")
    check(window.no_alert(), "an unplugged printer raised an alert")
    window.shot("hotplug-left-en")
    events.close()


def wayland(session, args, out):
    state = os.path.join(out, "wayland.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001", network=1))
    desktop = session.screenshot("wayland-desktop")
    window = Window(session, args, state)
    check("DISPLAY" not in os.environ, "an X display is set")
    check(window.band() == PRINTER_BAND.format("SIM0000001"), f"band: {window.band()!r}")
    _, _, width, height = window.bus.extents(window.frame)
    check(width > 300 and height > 300, f"the window is {width}x{height}")
    check(window.field("Network") == "Mode 2", "the printer's value read at launch")
    window.press("Read Network")
    window.bus.wait_for(lambda: window.panel_showing() is None, "the read to end")
    check(window.field("Network") == "Mode 2" and window.no_alert(), "Read on Wayland")
    every_control_named(window)
    window.shot("wayland-one-printer-en")
    # The compositor shows the window: most of its area differs from the empty desktop.
    compared = subprocess.run(["compare", "-metric", "AE", desktop,
                               os.path.join(out, "wayland-one-printer-en.png"), "null:"],
                              capture_output=True, text=True, check=False, timeout=60)
    changed = float(compared.stderr.split()[0])
    check(changed > width * height / 2, f"only {changed:.0f} pixels show the {width}x{height} window")


def open_command_file(session, args, out):
    """A command file named on the command line opens in the window: its values chosen, the fields that
    differ marked for a screen reader, and only what differs written (frames counted at the printer)."""
    state = os.path.join(out, "open.state")
    frames = os.path.join(out, "frames.txt")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001"))
    saved = os.path.join(out, "desk")
    subprocess.run([args.lm360rctl, "save-commands", "power", "--power-on", "on", "--auto-power-off", "20",
                    "-o", saved], check=True, capture_output=True, timeout=30,
                   env=dict(os.environ, LM360R_USB="simulated", LM360R_SIM_STATE=os.path.join(out, "none")))
    window = Window(session, args, state, arguments=[saved + ".bin"],
                    environment={"LM360R_SIM_FRAMES": frames})
    window.bus.wait_for(lambda: window.choice("Automatic Power On") == "On", "the file's value chosen")
    check(window.choice("Auto Power Off") == "20", f"Auto Power Off chosen: {window.choice('Auto Power Off')}")
    field = lambda box: window.control("text", f"{box}: Current setting")
    check(window.bus.description(field("Automatic Power On")) == "The command file sets On",
          f"the mark says {window.bus.description(field('Automatic Power On'))!r}")
    check("command file" not in window.bus.description(field("Network")), "an equal value is marked")
    window.shot("opened-file-en")
    with open(frames, encoding="utf-8") as lines:
        before = lines.read().split("\n")
    check(not [line for line in before if " write " in line], "opening the file wrote to the printer")
    window.press("Power: apply what differs from the command file")
    window.bus.wait_for(lambda: window.field("Automatic Power On") == "On", "the printer's new value")
    window.bus.wait_for(lambda: window.panel_showing() is None, "the panel to close")
    check(window.no_alert(), "applying raised an alert")
    with open(frames, encoding="utf-8") as lines:
        writes = [line for line in lines.read().split("\n") if " write " in line]
    check(len(writes) == 2, f"{len(writes)} write frames reached the printer, not 2: {writes}")
    check(stored(state)["power-on"] == 1 and stored(state)["auto-power-off"] == 2,
          f"the printer holds {stored(state)}")
    check("command file" not in window.bus.description(field("Automatic Power On")), "the mark stays after applying")
    window.shot("applied-file-en")


def dump(session, args, out):
    state = os.path.join(out, "dump.state")
    with open(state, "w", encoding="utf-8") as file:
        file.write(printer("SIM0000001"))
    # Also for builds whose band is no notification yet.
    window = Window(session, args, state, settle=False)
    time.sleep(3)
    with open(args.tree, "w", encoding="utf-8") as file:
        file.write("\n".join(window.bus.dump(window.frame)) + "\n")


SCENARIOS = {function.__name__: function for function in
             (one_printer, no_printer, languages, two_printers, refused_write, reset, save_command_file,
              hotplug, wayland, open_command_file, dump)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--program", required=True)
    parser.add_argument("--lm360rctl")
    parser.add_argument("--out", required=True)
    parser.add_argument("--tree")
    parser.add_argument("--deadline", type=int, default=200,
                        help="seconds after which the scenario fails (and ends what it started)")
    args = parser.parse_args()

    def overdue(*_):
        raise Failure(f"{args.scenario} took more than {args.deadline} s")
    signal.signal(signal.SIGALRM, overdue)
    signal.alarm(args.deadline)
    out = os.path.join(os.path.abspath(args.out), args.scenario)
    os.makedirs(out, exist_ok=True)
    with Session(out, wayland=args.scenario == "wayland") as session:
        try:
            SCENARIOS[args.scenario](session, args, out)
        except Exception:
            try:
                session.screenshot("failed")
            except Exception:  # pylint: disable=broad-except
                pass
            raise
    print(f"{args.scenario}: passed; screenshots in {out}")


if __name__ == "__main__":
    main()
