"""Drives the real panel through the desktop's accessibility bus, as a screen reader does.

A test starts the simulator and the panel with `Session`, finds controls by role and name
with `find`, and uses them with `press`, `set_text` and `select_row`; `wait_for` repeats a
look-up until it holds or its time is up, since the panel answers the bus between device
waits and its windows come and go. No coordinates anywhere.

The display and the bus must be there already: run_a11y_test.sh runs a test under
`xvfb-run` and `dbus-run-session`.
"""

import os
import subprocess
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

# The roles a person acts on: each needs a name of its own.
INTERACTIVE_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_DATE_EDITOR,
}

# Every look-up gives up after this many seconds unless told otherwise: long enough for a
# page's device read (a few fixed waits of a second or more), short enough to fail fast.
DEFAULT_TIMEOUT = 20.0


class TimedOut(AssertionError):
    pass


class PanelEnded(AssertionError):
    pass


def wait_for(condition, timeout=DEFAULT_TIMEOUT, what="a condition"):
    """Calls `condition` until it returns something true and returns that, or raises
    TimedOut after `timeout` seconds. A bus error while the panel is busy counts as not
    yet."""
    end = time.monotonic() + timeout
    while True:
        try:
            result = condition()
            if result:
                return result
        except PanelEnded:
            raise
        except Exception:  # the object went away or the panel did not answer in time
            pass
        if time.monotonic() > end:
            raise TimedOut(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node, only_showing=True):
    """Every descendant of `node` (not `node` itself), depth first; with `only_showing`,
    a hidden subtree is left out."""
    for child in node:
        if child is None or (only_showing and not showing(child)):
            continue
        yield child
        yield from walk(child, only_showing)


def find_all(root, role, name=None, only_showing=True):
    return [n for n in walk(root, only_showing)
            if n.getRole() == role and (name is None or n.name == name)]


def find(root, role, name=None, timeout=DEFAULT_TIMEOUT, only_showing=True):
    """The first showing control under `root` with `role` (and `name`), waiting for it;
    with `only_showing` false, hidden ones too (the items of a closed menu)."""
    return wait_for(lambda: next(iter(find_all(root, role, name, only_showing)), None), timeout,
                    f"{pyatspi.Atspi.Role(role).value_nick} {name!r}")


def do_default_action(node, only_enabled=True):
    """Runs the control's default action (press, click, toggle, switch to the tab); false
    while the control is disabled (a hidden menu item never says it is enabled)."""
    if only_enabled and not node.getState().contains(pyatspi.STATE_SENSITIVE):
        return False
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    index = next((names.index(n) for n in ("press", "click", "toggle") if n in names), 0)
    try:
        action.doAction(index)
    except GLib.Error as error:
        # A menu item runs its command before it answers: a modal window it opens keeps
        # the answer back until it closes.
        if "Did not receive a reply" not in error.message:
            raise
    return True


def press(root, role, name, timeout=DEFAULT_TIMEOUT, only_showing=True):
    """Finds the control `role` `name` under `root` (see `find`) and runs its default
    action, finding it again while the panel replaces the objects it shows on the bus."""
    wait_for(lambda: do_default_action(find(root, role, name, 1, only_showing), only_showing),
             timeout,
             f"{pyatspi.Atspi.Role(role).value_nick} {name!r} to press")


def set_text(node, text):
    node.queryEditableText().setTextContents(text)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def rows(table_node):
    return table_node.queryTable().nRows


def select_row(table_node, row):
    table_node.queryTable().addRowSelection(row)


def row_texts(table_node, row):
    table = table_node.queryTable()
    return [table.getAccessibleAt(row, column).name for column in range(table.nColumns)]


def interactive_controls(root):
    return [node for node in walk(root) if node.getRole() in INTERACTIVE_ROLES]


def unnamed_controls(root):
    """The showing interactive controls under `root` that a screen reader could not name,
    and the combo boxes named by their value rather than by what they choose, each as
    'role (why)'."""
    faults = []
    for node in interactive_controls(root):
        role = node.getRole()
        name = node.name.strip()
        if not name:
            faults.append(f"{node.getRoleName()} without a name")
        elif name != node.name:
            faults.append(f"{node.getRoleName()} {node.name!r} with blanks at its ends")
        elif role == pyatspi.ROLE_COMBO_BOX:
            items = {item.name for item in walk(node, only_showing=False)}
            if name in items:
                faults.append(f"combo box named by its value {name!r}")
    return faults


class Session:
    """The simulator on a private socket and the panel on it, stopped again on exit.

    `frame_log` is the simulator's log of every frame; `app` the panel's accessible
    application; `window` its main window. `env` adds to the panel's environment (for
    instance VORNIK_LANG); `device` replaces the simulator's socket by another path."""

    def __init__(self, bin_dir, work_dir, env=None, device=None):
        self.bin_dir = bin_dir
        self.work = tempfile.mkdtemp(dir=work_dir)
        self.socket = device or os.path.join(self.work, "device.sock")
        self.frame_log = os.path.join(self.work, "frames.log")
        self.extra_env = env or {}
        self.simulator = None
        self.panel = None
        self.app = None
        self.start_device = device is None

    def __enter__(self):
        if self.start_device:
            self.simulator = subprocess.Popen(
                [os.path.join(self.bin_dir, "vornik-devsim"), "--socket", self.socket,
                 "--log", self.frame_log, "--state", os.path.join(self.work, "state")],
                stdout=subprocess.DEVNULL, )
            wait_for(lambda: os.path.exists(self.socket), 10, "the simulator's socket")
        env = dict(os.environ, VORNIK_USB_PORT=self.socket,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **self.extra_env)
        self.panel = subprocess.Popen([os.path.join(self.bin_dir, "vornik")], env=env)
        try:
            self.app = wait_for(self._find_app, 30, "the panel on the accessibility bus")
        except BaseException:
            # A failed start stops what it started: a simulator left running would hold the
            # test's output open until its time-out.
            self.__exit__()
            raise
        # Always the panel's present state: a cached child may be an object the panel has
        # since replaced.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        return self

    def __exit__(self, *exc):
        for process in (self.panel, self.simulator):
            if process is not None and process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def wait_until_ended(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the panel to end by itself (after Exit) and returns its status."""
        wait_for(lambda: self.panel.poll() is not None, timeout, "the panel to end")
        return self.panel.returncode

    def _find_app(self):
        if self.panel.poll() is not None:
            raise PanelEnded(f"the panel ended with status {self.panel.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == self.panel.pid:
                return app
        return None

    def window(self, role=pyatspi.ROLE_DIALOG, name=None, timeout=DEFAULT_TIMEOUT):
        """A top-level window of the panel (a showing child of the application)."""
        def top():
            for child in self.app:
                if child is not None and child.getRole() == role and showing(child) and (
                        name is None or child.name == name):
                    return child
            return None
        return wait_for(top, timeout, f"window {name!r}")

    def frames_received(self):
        """The bytes of every frame the simulator received, as one upper-case hex string
        of space-separated bytes, line after line."""
        if not os.path.exists(self.frame_log):
            return ""
        lines = open(self.frame_log, encoding="ascii", errors="replace").read().splitlines()
        return "\n".join(line.split("received ", 1)[1] for line in lines if "received " in line)


class Texts:
    """The panel's texts in one language, read from its language file in `bin_dir`, as a
    screen reader hears them: `texts["PHONEBOOK", "IDC_EDIT"]` is "Edit" (no mnemonic
    mark, no blanks at the ends, no closing colon)."""

    FILES = {"en": "english.lng", "de": "german.lng", "fr": "french.lng", "es": "spanish.lng"}

    def __init__(self, bin_dir, lang):
        self.values = {}
        section = None
        with open(os.path.join(bin_dir, self.FILES[lang]), encoding="utf-8") as file:
            for line in file:
                line = line.strip()
                if line.startswith("["):
                    section = line.strip("[]")
                elif "=" in line and not line.startswith(";"):
                    key, value = line.split("=", 1)
                    self.values[section, key] = spoken(value.strip('"'))

    def __getitem__(self, section_and_key):
        return self.values[section_and_key]


def spoken(caption):
    """A caption as its control's accessible name."""
    text = caption.replace("&&", "\0").replace("&", "").replace("\0", "&").strip()
    return text[:-1].strip() if text.endswith(":") else text


def hex_bytes(text):
    return " ".join(f"{byte:02X}" for byte in text.encode("latin-1"))


# A call the panel has not answered in 5 s has started a modal window (see above).
Atspi.set_timeout(5000, 30000)
