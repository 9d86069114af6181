#!/usr/bin/python3
"""Drives the real Zifferon program on an X server of its own.

Formulas are typed into the formula field with X11 key events (xdotool), evaluated with Enter,
the "=" key and "Berechnen", and the tape is saved with the toolbar button "Speichern". The three
tapes are read through the accessibility tree (AT-SPI) and compared with the expected values and
with the bytes of the saved tape file. Needs DISPLAY and a D-Bus session of its own (run_form1.sh).
"""

import os
import re
import subprocess
import sys
import time

import pyatspi

TWIPS_PER_PIXEL = 15
SPLASH_SIZE = (675, 610)
SPLASH_SECONDS = 20
# How long the program may take to react to a key or a click on a busy machine.
REACTION_SECONDS = 15
MAIN_CAPTION = "Zifferon.*Telefon"
TAPE_FILE = os.path.join(os.environ["HOME"], "Programme/Morvantis/Zahlen/Zahlen.txt")
# The tapes are named by their labels and described by their tooltips.
TAPES = (("Eingabe", "Anzeige der Formel."), ("Zeile", "Anzeige der Berechnung."),
         ("Summe", "Anzeige der Gesamtsumme."))

# Two decimals, empty tapes at the start: typed text, how it is evaluated, the three tape lines.
EVALUATIONS = [
    ("2+3", "Enter", ("2+3", "5,00", "5,00")),
    ("1,5*2", "=", ("1.5*2", "3,00", "8,00")),
    ("5/0", "Berechnen", ("5/0", "", "8,00")),
    ("7-10", "Enter", ("7-10", "-3,00", "5,00")),
    ("ä", "=", ("ä", "", "5,00")),
    ("", "Enter", ("", "", "5,00")),
]


class Failure(Exception):
    pass


def wait_for(what, seconds, probe):
    """Polls probe until it gives a true value, which is returned; fails after seconds."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {seconds} s: {what}")
        time.sleep(0.1)


def xdotool(*arguments):
    result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True, check=False)
    return result.stdout


def type_text(typed, shown):
    """Types into the focused field until shown() gives the typed text. xdotool maps a character
    missing from the keyboard map (ä) to a spare key only for the moment of its key press, which a
    busy machine can miss: the field is then emptied and the text typed again."""
    for _ in range(3):
        xdotool("type", "--delay", "40", typed)
        try:
            return wait_for(f"{typed!r} typed", REACTION_SECONDS, lambda: shown() == typed)
        except Failure:
            xdotool("key", "ctrl+a", "BackSpace")
    raise Failure(f"{typed!r} typed three times, the field shows {shown()!r}")


def visible_windows(*criteria):
    return xdotool("search", "--all", "--onlyvisible", *criteria).split()


def window_geometry(window):
    values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell",
                                                          window).split())
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def splash_window(pid):
    for window in visible_windows("--pid", str(pid), "--name", ""):
        if window_geometry(window)[2:] == SPLASH_SIZE:
            return window
    return None


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def click(accessible):
    x, y, width, height = extents(accessible)
    xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")


def field_text(accessible):
    return accessible.queryText().getText(0, -1)


def tape_lines(tape):
    return [tape.getChildAtIndex(row).name for row in range(tape.childCount)]


class Zifferon:
    """The running program: its process, its main window and the controls the test uses."""

    def __init__(self, program):
        self.process = subprocess.Popen([program])
        self.started = time.monotonic()

    def wait_out_splash(self):
        """The splash window shows first; its 20 s timer, started in the process, hands over."""
        splash = wait_for("splash window shown", 10, lambda: splash_window(self.process.pid))
        self.window = wait_for("main window shown", SPLASH_SECONDS + 15, self.main_window)
        waited = time.monotonic() - self.started
        if waited < SPLASH_SECONDS:
            raise Failure(f"main window shown {waited:.1f} s after the start, before the splash time")
        wait_for("splash window closed", REACTION_SECONDS,
                 lambda: splash not in visible_windows("--pid", str(self.process.pid)))
        print(f"main window {waited:.1f} s after the start, splash window closed")

    def main_window(self):
        if self.process.poll() is not None:
            raise Failure(f"program ended early (status {self.process.returncode})")
        windows = visible_windows("--pid", str(self.process.pid), "--name", MAIN_CAPTION)
        return windows[0] if windows else None

    def find_controls(self):
        frame = wait_for("main window in the accessibility tree", 10, self.accessible_frame)
        expect("role of the main window", frame.getRole(), pyatspi.ROLE_FRAME)
        self.Text1 = self.control(frame, "Eingabe", pyatspi.ROLE_TEXT)
        expect("description of the formula field", self.Text1.description, "Eingabe der Formel.")
        self.control(frame, "Nachkommastellen", pyatspi.ROLE_COMBO_BOX)
        self.cmdEqual = self.control(frame, "=", pyatspi.ROLE_PUSH_BUTTON)
        self.Command1 = self.control(frame, "Berechnen der Formel die im Eingabefeld "
                                     "eingegeben wurde.", pyatspi.ROLE_PUSH_BUTTON)
        self.Speichern = self.control(frame, "Speichern", pyatspi.ROLE_PUSH_BUTTON)
        self.Ende = self.control(frame, "Ende", pyatspi.ROLE_PUSH_BUTTON)
        self.tapes = [self.control(frame, name, pyatspi.ROLE_LIST) for name, _ in TAPES]
        for tape, (name, tooltip) in zip(self.tapes, TAPES):
            expect(f"description of the tape {name}", tape.description, tooltip)

    def accessible_frame(self):
        for application in pyatspi.Registry.getDesktop(0):
            if application is None or application.get_process_id() != self.process.pid:
                continue
            for window in application:
                if window is not None and re.search(MAIN_CAPTION, window.name):
                    return window
        return None

    @staticmethod
    def control(frame, name, role):
        found = pyatspi.findDescendant(frame, lambda node: node is not None
                                       and node.name == name and node.getRole() == role)
        if found is None:
            raise Failure(f"control {name!r} not found")
        return found

    def check_layout_matches_window(self):
        """AT-SPI places the controls where X11 shows them: the clicks rely on it."""
        left, top, _, _ = window_geometry(self.window)
        x, y, width, height = (value // TWIPS_PER_PIXEL for value in (240, 1560, 2295, 375))
        expect("Text1 on the screen", extents(self.Text1), (left + x, top + y, width, height))

    def focus_formula_field(self):
        xdotool("windowfocus", self.window)
        click(self.Text1)
        wait_for("formula field has the focus", REACTION_SECONDS,
                 lambda: self.Text1.getState().contains(pyatspi.STATE_FOCUSED))

    def evaluate(self, typed, how):
        lines_before = self.tapes[0].childCount
        if typed:
            type_text(typed, lambda: field_text(self.Text1))
        expect("formula field before the evaluation", field_text(self.Text1), typed)
        if how == "Enter":
            xdotool("key", "Return")
        elif how == "=":
            click(self.cmdEqual)
        else:
            click(self.Command1)
        wait_for(f"line for {typed!r} on the tapes", REACTION_SECONDS,
                 lambda: all(tape.childCount == lines_before + 1 for tape in self.tapes))
        expect(f"formula field after {how}", field_text(self.Text1), "")
        # The keypad clicks leave the focus on the button; typing goes back to the field.
        if how != "Enter":
            click(self.Text1)

    def save(self):
        click(self.Speichern)
        wait_for("tape file written", 10, lambda: os.path.isfile(TAPE_FILE))
        with open(TAPE_FILE, "rb") as file:
            return file.read()

    def end(self):
        click(self.Ende)
        try:
            status = self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("program still running after \"Ende\"") from None
        expect("exit status after \"Ende\"", status, 0)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def expect(what, actual, expected):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def check_tapes(tapes):
    lines = [tape_lines(tape) for tape in tapes]
    for row, (_, _, expected) in enumerate(EVALUATIONS):
        shown = tuple(column[row] for column in lines)
        expect(f"tape line {row + 1}", tuple(text.strip() for text in shown), expected)
        for text in shown:
            if text.strip() and not text.startswith(" "):
                raise Failure(f"tape line {row + 1}: {text!r} is not padded to the right edge")
    return list(zip(*lines))


def check_tape_file(content, rows):
    """The file holds the header and each tape line as shown, in Windows-1252 with CR LF."""
    expected = b"Eingabe Zeile Spalte\r\n" + b"".join(
        " ".join(row).encode("cp1252") + b"\r\n" for row in rows)
    expect("bytes of the tape file", content, expected)
    # Read back without the tapes: the words of each line are the non-blank entries.
    data_lines = content.decode("cp1252").split("\r\n")[1:-1]
    for line, (_, _, entries) in zip(data_lines, EVALUATIONS):
        expect("line of the tape file", line.split(), [entry for entry in entries if entry])


def main(program):
    # Starts the accessibility bus before the program, which registers with it at start.
    pyatspi.Registry.getDesktop(0)
    zifferon = Zifferon(program)
    try:
        zifferon.wait_out_splash()
        zifferon.find_controls()
        zifferon.check_layout_matches_window()
        zifferon.focus_formula_field()
        for typed, how, _ in EVALUATIONS:
            zifferon.evaluate(typed, how)
        rows = check_tapes(zifferon.tapes)
        check_tape_file(zifferon.save(), rows)
        zifferon.end()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        zifferon.kill()
    print(f"{len(EVALUATIONS)} formulas evaluated, tape saved and checked "
          f"({time.monotonic() - zifferon.started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
