"""The accessibility bus as a screen reader reads it: the program's objects, their roles, names,
states and texts, the actions it offers, and the events it sends.

Import it only once Session has set up the bus: the bindings connect on import.
"""

import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

from session import POLL_SECONDS, WAIT_SECONDS, SessionError  # noqa: E402

# Read every property from the program each time: the tests watch values change.
Atspi.set_timeout(5000, -1)


def pump():
    """Delivers the events that arrived."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(condition, what, timeout=WAIT_SECONDS):
    """Polls `condition` (pumping events) until it returns something true. While the program is
    busy an object may vanish or not answer: that counts as not yet."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        pump()
        try:
            result = condition()
            if result:
                return result
        except (GLib.Error, LookupError, RuntimeError) as error:
            last_error = error
        if time.monotonic() > deadline:
            raise SessionError(f"gave up waiting for {what}" + (f" ({last_error})" if last_error else ""))
        time.sleep(POLL_SECONDS)


def fresh(accessible):
    accessible.clear_cache()
    return accessible


def role(accessible):
    return fresh(accessible).getRoleName()


def name(accessible):
    return fresh(accessible).name or ""


def description(accessible):
    return fresh(accessible).description or ""


def states(accessible):
    return {pyatspi.stateToString(state) for state in fresh(accessible).getState().getStates()}


def text(accessible):
    """The object's text (a field's content), or None when it has no text."""
    try:
        content = fresh(accessible).queryText()
    except NotImplementedError:
        return None
    return content.getText(0, -1)


def children(accessible):
    fresh(accessible)
    return [child for child in accessible if child is not None]


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def showing(accessible):
    return "showing" in states(accessible)


def find_all(root, role_name=None, name_is=None, only_showing=True):
    found = []
    for node in descendants(root):
        if role_name is not None and role(node) != role_name:
            continue
        if name_is is not None and name(node) != name_is:
            continue
        if only_showing and not showing(node):
            continue
        found.append(node)
    return found


def find(root, role_name, name_is, only_showing=True):
    """The one object with this role and name; LookupError when there is none or several."""
    found = find_all(root, role_name, name_is, only_showing)
    if len(found) != 1:
        raise LookupError(f"{len(found)} objects are a {role_name} named {name_is!r}")
    return found[0]


def await_one(root, role_name, name_is, timeout=WAIT_SECONDS):
    return wait_for(lambda: find(root, role_name, name_is), f"a {role_name} named {name_is!r}", timeout)


def press(accessible):
    """Presses a button as an assistive technology does: through its action."""
    action = fresh(accessible).queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "press", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise LookupError(f"{name(accessible)!r} offers no press action, only {names}")


def focus(accessible):
    """Gives `accessible` the keyboard focus; asked again while its window is not active yet (a
    panel that just closed gives the activation back through the window manager)."""
    def focused():
        if "focused" in states(accessible):
            return True
        fresh(accessible).queryComponent().grabFocus()
        return False
    wait_for(focused, f"the focus on {name(accessible)!r}")


def extents(accessible):
    box = fresh(accessible).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def character_extents(accessible, offset):
    box = fresh(accessible).queryText().getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
    return box[0], box[1], box[2], box[3]


def application(pid, timeout=WAIT_SECONDS):
    def registered():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                return app
        return None
    return wait_for(registered, f"process {pid} on the accessibility bus", timeout)


def windows(app):
    return [child for child in children(app) if role(child) in ("frame", "dialog", "alert", "window")]


class Events:
    """Records the events of the given types (e.g. "object:property-change:accessible-name") that
    the program sends, as a screen reader receives them."""

    def __init__(self, *types):
        self.seen = []
        self.types = types
        pyatspi.Registry.registerEventListener(self._heard, *types)

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._heard, *self.types)

    def _heard(self, event):
        try:
            source_role = event.source.getRoleName()
            source_name = event.source.name or ""
        except Exception:  # pylint: disable=broad-except
            source_role, source_name = "", ""
        self.seen.append((event.type, source_role, source_name, event.detail1, event.any_data))

    def clear(self):
        pump()
        self.seen = []

    def wait(self, predicate, what, timeout=WAIT_SECONDS):
        return wait_for(lambda: [e for e in self.seen if predicate(e)], what, timeout)


_SHOWN_STATES = ("focused", "focusable", "is default", "checked", "selected", "editable", "read-only",
                 "sensitive", "modal")


def dump(accessible, depth=0, only_showing=False):
    """The tree under `accessible`, one object a line: role, name, the states a screen reader
    speaks, the description and the text."""
    lines = []
    node_states = states(accessible)
    if only_showing and "showing" not in node_states and depth > 0:
        return lines
    line = "  " * depth + f"{role(accessible)} {name(accessible)!r}"
    spoken = sorted(state for state in node_states if state in _SHOWN_STATES)
    if "showing" not in node_states:
        spoken.append("hidden")
    if spoken:
        line += " [" + ", ".join(spoken) + "]"
    if description(accessible):
        line += f" description={description(accessible)!r}"
    content = text(accessible)
    if content:
        line += f" text={content!r}"
    lines.append(line)
    for child in children(accessible):
        lines.extend(dump(child, depth + 1, only_showing))
    return lines
