#!/usr/bin/python3
"""The real program is killed with SIGKILL right after an Enter; the next run's Ctrl+Z gives the
tapes back, line for line. Needs DISPLAY and a D-Bus session of its own (run_form1.sh)."""

import sys
import time

from drive_form1 import (REACTION_SECONDS, Failure, Zifferon, expect, tape_lines, type_text,
                         wait_for, xdotool)

FORMULAS = (("2+3", ("2+3", "5,00", "5,00")), ("4*5", ("4*5", "20,00", "25,00")))


def started(program):
    zifferon = Zifferon(program)
    zifferon.wait_out_splash()
    zifferon.find_controls()
    zifferon.focus_formula_field()
    return zifferon


def shown_lines(zifferon):
    return [tuple(text.strip() for text in row)
            for row in zip(*(tape_lines(tape) for tape in zifferon.tapes))]


def main(program):
    first = started(program)
    try:
        for typed, _ in FORMULAS:
            type_text(typed, lambda: first.Text1.queryText().getText(0, -1))
            xdotool("key", "Return")
        # Killed as soon as the last line shows, with no time for anything after the Enter.
        wait_for("last line on the tapes", REACTION_SECONDS,
                 lambda: all(tape.childCount == len(FORMULAS) for tape in first.tapes))
        first.kill()
        second = started(program)
        try:
            expect("tapes at the start", shown_lines(second), [])
            xdotool("key", "ctrl+z")
            wait_for("tapes back", REACTION_SECONDS, lambda: shown_lines(second) == [row for _, row in FORMULAS])
            second.end()
        finally:
            second.kill()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        first.kill()
    print(f"killed after an Enter, {len(FORMULAS)} lines back after the restart "
          f"({time.monotonic() - first.started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
