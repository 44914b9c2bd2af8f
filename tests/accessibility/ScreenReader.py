#!/usr/bin/python3
"""The desktop program as a screen reader sees it over AT-SPI.

Usage: ScreenReader.py QUILLMARK WORK

Starts QUILLMARK on the display and the accessibility bus of the environment (set up by
AccessibilityTest.sh), reads every control of its windows, and works it through the actions a
screen reader offers: Press, Toggle and the text of the fields. Files go into WORK.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

quillmark, work = sys.argv[1], sys.argv[2]
failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: {actual!r}, expected {expected!r}")


# Every event of these kinds, as (kind, role, name, detail1), in the order they came. Listening
# before the program starts also makes Qt send them from its first window on.
events = []


def heard(event):
    source = event.source
    events.append((event.type, source.getRoleName(), source.name, event.detail1))


pyatspi.Registry.registerEventListener(
    heard, "object:state-changed:checked", "object:property-change:accessible-name",
    "object:property-change:accessible-value")


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, condition, seconds=30):
    """Polls the condition, handling events meanwhile, until it holds; false after the limit."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        try:
            if condition():
                return True
        except Exception:  # an object may go away or not be there yet while the windows change
            pass
        time.sleep(0.05)
    failures.append(f"gave up waiting for {what}")
    return False


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Quillmark":
            return app
    return None


def find(root, role, name):
    return pyatspi.findDescendant(root, lambda o: o.getRoleName() == role and o.name == name)


def need(root, role, name):
    found = find(root, role, name)
    if found is None:
        raise LookupError(f"no {role} named {name!r}")
    return found


def states(accessible):
    return sorted(pyatspi.stateToString(s) for s in accessible.getState().getStates())


def actions(accessible):
    action = accessible.queryAction()
    return [action.getName(i) for i in range(action.nActions)]


def do(accessible, name):
    offered = actions(accessible)
    if name not in offered:
        raise LookupError(f"no {name} among the actions {offered} of {accessible.name!r}")
    accessible.queryAction().doAction(offered.index(name))


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def heard_since(start, kind, role, name, detail1=0):
    return (kind, role, name, detail1) in events[start:]


def activate(main):
    """Makes the main window the active one, as the window manager may give the keys elsewhere."""
    subprocess.run(["xdotool", "search", "--name", "^Quillmark ver", "windowactivate", "--sync"],
                   check=True, stdout=subprocess.DEVNULL)
    wait_for("the main window to be active", lambda: "active" in states(main))


def work_the_program():
    first = "Two Code EAN13 barcodes of 1234567890128"
    if not wait_for("the program's windows over AT-SPI",
                    lambda: find(application(), "image", first)):
        return
    app = application()
    main = app[0]
    # The main window active, the keyboard on Generate: Enter would click it.
    activate(main)
    generate = need(main, "push button", "Generate")
    generate.queryComponent().grabFocus()
    wait_for("the focus on Generate", lambda: "focused" in states(generate))

    shown = ["enabled", "sensitive", "showing", "visible"]
    focusable = shown + ["focusable"]
    field = focusable + ["editable"]
    button = ["Press", "SetFocus"]
    # role, name, states, actions
    controls = [
        ("check box", "Dual Code", focusable + ["checked"], ["Toggle", "SetFocus"]),
        ("check box", "Show Text", focusable + ["checked"], ["Toggle", "SetFocus"]),
        ("text", "Data", field, ["SetFocus"]),
        ("push button", "Generate", focusable + ["focused", "is default"], button),
        ("text", "File name", field, ["SetFocus"]),
        ("push button", "Choose the file", focusable, button),
        ("push button", "Save", focusable, button),
        ("text", "From number:", field, ["SetFocus"]),
        ("text", "To number:", field, ["SetFocus"]),
        ("text", "Destination:", field, ["SetFocus"]),
        ("push button", "Choose the destination directory", focusable, button),
        ("push button", "Generate and save", focusable, button),
        ("progress bar", "Progress", shown, ["Increase", "Decrease"]),
        ("image", first, shown, []),
    ]
    for role, name, expected_states, expected_actions in controls:
        control = find(app, role, name)
        if control is None:
            failures.append(f"no {role} named {name!r}")
            continue
        check(f"states of {role} {name!r}", states(control), sorted(expected_states))
        check(f"actions of {role} {name!r}", actions(control), expected_actions)
    check("text of Data", text_of(find(main, "text", "Data")), "1234567890128")
    check("text of From number:", text_of(find(main, "text", "From number:")), "0")
    image = need(app, "image", first)
    check("description of the code image", image.description,
          "The data is printed under the bars")
    led = need(main, "progress bar", "Progress").queryValue()
    check("LED bar's range and value", (led.minimumValue, led.maximumValue, led.currentValue),
          (0.0, 100.0, 0.0))

    # Press on Generate draws the data typed into the field.
    need(main, "text", "Data").queryEditableText().setTextContents("5901234123457")
    start = len(events)
    do(generate, "Press")
    wait_for("the code image of the new data",
             lambda: image.name == "Two Code EAN13 barcodes of 5901234123457")
    check("name change of the code image heard", heard_since(
        start, "object:property-change:accessible-name", "image",
        "Two Code EAN13 barcodes of 5901234123457"), True)

    # Toggle on Dual Code clears it, and the next Generate draws one copy.
    dual = need(main, "check box", "Dual Code")
    start = len(events)
    do(dual, "Toggle")
    wait_for("Dual Code unchecked", lambda: "checked" not in states(dual))
    check("checked state change of Dual Code heard",
          heard_since(start, "object:state-changed:checked", "check box", "Dual Code", 0), True)
    do(generate, "Press")
    wait_for("the code image of one copy",
             lambda: image.name == "Code EAN13 barcode of 5901234123457")

    # Generate and save from 0 to 4 into a directory where code_4.bmp cannot be written: the run
    # ends there with an error box, and the LED bar keeps the failing number, 4, which is the
    # number of files written before it.
    codes = os.path.join(work, "codes")
    os.makedirs(os.path.join(codes, "code_4.bmp"))
    need(main, "text", "From number:").queryEditableText().setTextContents("0")
    need(main, "text", "To number:").queryEditableText().setTextContents("4")
    need(main, "text", "Destination:").queryEditableText().setTextContents(codes)
    start = len(events)
    do(need(main, "push button", "Generate and save"), "Press")
    wait_for("the error box of code_4.bmp", lambda: find(app, "alert", "Quillmark"))
    written = sorted(n for n in os.listdir(codes) if os.path.isfile(os.path.join(codes, n)))
    check("files written", written, ["code_0.bmp", "code_1.bmp", "code_2.bmp", "code_3.bmp"])
    led = need(main, "progress bar", "Progress").queryValue()
    check("LED bar after the run", (led.currentValue, led.maximumValue), (len(written), 4.0))
    check("code image after the run", image.name, "Code EAN13 barcode of 4")
    # One for the maximum, 4, and one at least for the numbers the bar showed.
    value_changes = events[start:].count(
        ("object:property-change:accessible-value", "progress bar", "Progress", 0))
    check("LED bar's value changes heard, at least two", value_changes >= 2, True)
    check("name changes of Generate and save (Stop while it ran) heard",
          heard_since(start, "object:property-change:accessible-name", "push button",
                      "Generate and save"), True)
    do(need(find(app, "alert", "Quillmark"), "push button", "OK"), "Press")
    wait_for("the error box to close", lambda: find(app, "alert", "Quillmark") is None)

    # The About box's two addresses are links. Its item is chosen with the keys in the open menu,
    # which holds the keyboard: Qt answers an item's Press only once the modal box it opens has
    # closed.
    do(need(main, "menu item", "Help"), "ShowMenu")
    wait_for("the Help menu", lambda: "showing" in states(need(main, "menu item", "About")))
    subprocess.run(["xdotool", "key", "Down", "Return"], check=True)
    wait_for("the About box", lambda: find(app, "dialog", "O aplikaci"))
    about = need(app, "dialog", "O aplikaci")
    for name in ["quillmark@example.org", "https://quillmark.example.org/"]:
        link = need(about, "link", name)
        check(f"states of link {name!r}", states(link), sorted(shown))
        check(f"actions of link {name!r}", actions(link), ["Press"])
    do(need(about, "push button", "OK"), "Press")
    wait_for("the About box to close", lambda: find(app, "dialog", "O aplikaci") is None)


program = subprocess.Popen([quillmark], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    work_the_program()
except Exception as error:  # a control missing or refusing a call: the rest cannot go on
    failures.append(f"stopped: {error}")
finally:
    program.terminate()
    program.wait()

if failures:
    print("FAIL:\n  " + "\n  ".join(failures))
    sys.exit(1)
print("The program answers AT-SPI as its controls' kinds do.")
