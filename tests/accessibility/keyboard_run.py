"""Uses both window programs as a screen-reader user would: reads each main
window through the accessibility bus, then encrypts and decrypts a file with
key presses sent through the X server alone, and reads what the programs say
back through the same bus: a refused key, the overwrite question, the
pop-up menu and the log, line by line.

    keyboard_run.py BIN_FOLDER
Runs on an X display with an accessibility bus (see run-on-accessibility-bus.sh).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

BIN = sys.argv[1]
KEY = "keyboard only 42"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what)


# What last took the focus, as the bus announced it: pop-up menus are found
# this way only, as a screen reader finds them.
last_focused = []


def note_focus(event):
    if event.detail1:
        last_focused.append(event.source)


def wait_for(find, what, timeout=20.0):
    end = time.time() + timeout
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        found = find()
        if found:
            return found
        time.sleep(0.1)
    raise SystemExit("gave up waiting for " + what)


def children(node):
    return [child for child in node if child is not None]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)
    time.sleep(0.2)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
    time.sleep(0.2)


def application(name):
    def find():
        for app in children(pyatspi.Registry.getDesktop(0)):
            if app.name == name:
                return app
        return None
    return wait_for(find, "the application " + name)


def focused(app):
    for node in descendants(app):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def top_windows(app):
    return [window for window in children(app) if window.getState().contains(pyatspi.STATE_SHOWING)]


def print_tree(node, depth=0):
    description = node.description
    print("  " * depth + "[%s] %r%s" % (node.getRoleName(), node.name,
                                        " (%s)" % description if description else ""))
    for child in children(node):
        print_tree(child, depth + 1)


# What a user works with, and what the reader must call each of them.
WORKED_ROLES = {"push button", "check box", "text", "password text", "progress bar", "image", "list"}


def check_main_window(app, direction):
    window = wait_for(lambda: next((w for w in top_windows(app) if w.name == "Tarvex - " + direction), None),
                      "the main window of " + app.name)
    print_tree(window)
    named = sorted((node.getRoleName(), node.name) for node in descendants(window)
                   if node.getRoleName() in WORKED_ROLES)
    expected = sorted([
        ("text", direction), ("push button", "Show the selected files"), ("text", "To"),
        ("password text", "Key"), ("check box", "Confirm Overwrite"), ("check box", "BlowFish Only"),
        ("check box", "Save Options"), ("progress bar", "Progress of the current file"),
        ("push button", direction), ("push button", "Close"), ("push button", "Browse..."),
        ("push button", "Help"), ("image", "Padlock"),
    ])
    check(named == expected, "%s: controls %s, expected %s" % (app.name, named, expected))
    return window


def tab_to(app, role, name, limit=12):
    """Tabs until the named control has the focus; the order is printed."""
    order = []
    for _ in range(limit):
        node = focused(app)
        if node is not None:
            order.append("%s %r" % (node.getRoleName(), node.name))
            if node.getRoleName() == role and node.name == name:
                print("Tab order: " + " -> ".join(order))
                return True
        press("Tab")
    check(False, "%s %r never took the focus by Tab (seen: %s)" % (role, name, order))
    return False


def message_text(app, main_window):
    """The text of a message box that is showing: its labels, joined."""
    for window in top_windows(app):
        if window != main_window:
            labels = [node.name for node in descendants(window) if node.getRoleName() == "label" and node.name]
            if labels:
                return window, "\n".join(labels)
    return None


def give_keyboard(direction):
    """What a window manager does when a window opens or one above it goes:
    it gives the main window the keyboard (this display has no manager)."""
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Tarvex - %s$" % direction, "windowfocus"],
                   check=True, stdout=subprocess.DEVNULL)


def read_log(app, window, direction, file_name):
    """Opens the log through the pop-up menu by keys and reads it line by line."""
    give_keyboard(direction)
    del last_focused[:]
    press("Menu")
    press("Down")  # the first item, as the reader announces it
    item = wait_for(lambda: next((node for node in reversed(last_focused) if node.getRoleName() == "menu item"),
                                 None), "the pop-up menu")
    items = [node.name for node in children(item.parent)]
    print("Pop-up menu: %s" % items)
    check(items == ["View Log...", "Authorisation...", "Batch File...", "About..."],
          "%s: the pop-up menu by the menu key" % app.name)
    press("v")
    viewer = wait_for(lambda: next((w for w in top_windows(app) if w.name.strip() == direction + "ion Log"), None),
                      "the log viewer")
    lines = [node.name for node in descendants(viewer) if node.getRoleName() == "list item"]
    print("Log, line by line: %s" % lines)
    check(any(file_name in line for line in lines), "%s: the log names %s on a line of its own" % (app.name, file_name))
    press("Escape")
    wait_for(lambda: len(top_windows(app)) == 1, "the log viewer to close")


def run_by_keyboard(program, app_name, direction, file_name):
    process = subprocess.Popen([os.path.join(BIN, program)])
    try:
        app = application(app_name)
        window = check_main_window(app, direction)
        give_keyboard(direction)
        # The focus starts in the source field.
        wait_for(lambda: focused(app), "a focused control")
        source = focused(app)
        check(source.getRoleName() == "text" and source.name == direction,
              "%s: the focus starts in %s %r" % (app_name, source.getRoleName(), source.name))

        # A key that is too short is refused with a message the reader can get.
        type_text(file_name)
        if tab_to(app, "password text", "Key"):
            type_text("short")
            press("Return")
            box, text = wait_for(lambda: message_text(app, window), "the short-key message")
            print("Message: " + text)
            icons = [node.name for node in descendants(box) if node.getRoleName() == "image"]
            check(icons and all(icons), "%s: the message's icon is named: %s" % (app_name, icons))
            check(text == "You must enter a key that is at least 8 characters in length but no more than 88 "
                  "characters", "%s: the short-key message as the reader gets it: %r" % (app_name, text))
            print_tree(box)
            press("Return")
            wait_for(lambda: len(top_windows(app)) == 1, "the message to close")
            give_keyboard(direction)
            wait_for(lambda: focused(app) is not None and focused(app).getRoleName() == "password text",
                     "the key field again")
            press("ctrl+a", "BackSpace")

            # The hint beside the key field is told with the field.
            key_field = focused(app)
            press("Caps_Lock")
            wait_for(lambda: key_field.description == "CAPS LOCK ON !", "the Caps Lock hint")
            press("Caps_Lock")
            wait_for(lambda: key_field.description == "", "the Caps Lock hint to go")

            type_text(KEY)
            press("Return")
            # Confirm Key: its field has the focus.
            wait_for(lambda: any(w.name == "Confirm Key" for w in top_windows(app)), "Confirm Key")
            confirm = focused(app)
            check(confirm is not None and confirm.getRoleName() == "password text",
                  "%s: Confirm Key's field has the focus" % app_name)
            check(KEY not in " ".join(node.name + node.description for node in descendants(app)),
                  "%s: the key is never exposed" % app_name)
            type_text(KEY)
            press("Return")
            # Confirm Overwrite is on: the run asks before it rewrites the file.
            question = wait_for(lambda: next((w for w in top_windows(app) if w.name == direction + "ing..."), None),
                                "the overwrite question")
            print_tree(question)
            text = " ".join(node.name for node in descendants(question) if node.getRoleName() == "label")
            check("note.txt already exists" in text, "%s: the overwrite question names the file" % app_name)
            press("alt+y")
            wait_for(lambda: len(top_windows(app)) == 1 and window.name == "Tarvex - " + direction,
                     "the end of the run")
            read_log(app, window, direction, file_name)
        give_keyboard(direction)
        press("Escape")
        process.wait(timeout=20)
        check(process.returncode == 0, "%s ends with status 0 on Escape" % app_name)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    pyatspi.Registry.registerEventListener(note_focus, "object:state-changed:focused")
    folder = tempfile.mkdtemp(prefix="tarvex-a11y-")
    try:
        os.chdir(folder)
        return use_both_programs()
    finally:
        shutil.rmtree(folder)


def use_both_programs():
    plain = b"Read out loud, typed by hand.\n" * 300
    with open("note.txt", "wb") as out:
        out.write(plain)

    run_by_keyboard("sealwin", "Sealwin", "Encrypt", "note.txt")
    with open("note.txt", "rb") as sealed:
        encrypted = sealed.read()
    check(len(encrypted) == len(plain) and encrypted != plain, "Sealwin encrypted note.txt in place")

    run_by_keyboard("unsealwin", "Unsealwin", "Decrypt", "note.txt")
    with open("note.txt", "rb") as back:
        check(back.read() == plain, "Unsealwin gave the plaintext back")

    if failures:
        print("%d checks failed" % len(failures))
        return 1
    print("every check passed")
    return 0


sys.exit(main())
