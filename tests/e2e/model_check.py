"""The model checks: seeded random runs of user actions, compared with the model after each; long runs."""

import collections
import random
import time

from actions import random_action, random_help_action
from harness import Failure
import model as M
from programs import HelpProgram, MainProgram, middle, PlainWindow

FIXED_SEED = 20060603
FIXED_ACTIONS = {"main": 800, "help": 150}


class Divergence(Failure):
    """A model check that found the program other than its model, after so many actions."""

    def __init__(self, message, actions):
        super().__init__(message)
        self.actions = actions


def main_model_check(session, actions, seed):
    """A seeded random run of real user actions on the main window, the model compared after
    every one; it ends with one of the ways to end the program. Returns the actions done."""
    rng = random.Random(seed)
    record = len(session.wine.opened_addresses())
    program = MainProgram(session)
    try:
        program.wake()
        for _ in range(actions):
            random_action(rng, program)()
        # The end: an exit button that is seen, or Space on a focused one.
        m = program.model
        ways = [name for name in M.EXIT_BUTTONS
                if m.shown[name] and m.hit_test(*middle(m.client_rect(name))) == name]
        if m.focus in M.EXIT_BUTTONS:
            ways.append("space")
        way = rng.choice(ways)
        if way == "space":
            program.type(" ")
        else:
            program.click(way)
        program.expect_exit(way)
        program.expect_opened(record)
    except Failure as failure:
        raise Divergence("action %d: %s" % (len(program.log), failure), len(program.log))
    return len(program.log)


def help_model_check(session, actions, seed):
    """A seeded random run of real user actions on the help window, with an ordinary window of
    another program beside it that is activated now and then; the model compared after every
    action. It ends with 退出 (a click, or Space) or the close box. Returns the actions done."""
    rng = random.Random(seed)
    program = HelpProgram(session)
    try:
        # Beside the window, not under it: Wine without a window manager raises the X window of
        # whatever it activates, so an overlap would take the help window's clicks.
        plain = PlainWindow(session, 0, program.model.window_rect()[3] + 2)
        program.elsewhere("a plain window opens", plain.wait_shown)
        for _ in range(actions):
            random_help_action(rng, program, plain)()
        ways = ["Command7", "close box"] + (["space"] if program.model.focus == "Command7" else [])
        way = rng.choice(ways)
        if way == "space":
            program.type(" ")
        elif way == "close box":
            program.close_box()
        else:
            program.click(way)
        program.expect_exit(way)
        plain.close()
    except Failure as failure:
        raise Divergence("action %d: %s" % (len(program.log), failure), len(program.log))
    return len(program.log)


MODEL_CHECKS = {"main": main_model_check, "help": help_model_check}


def timed_model_check(program, actions, seed):
    def run(session):
        began = time.monotonic()
        done = MODEL_CHECKS[program](session, actions, seed)
        elapsed = time.monotonic() - began
        print("      %s model check, seed %d: %d actions in %.1f s (%.0f ms each)"
              % (program, seed, done, elapsed, 1000 * elapsed / max(done, 1)), flush=True)
    return run


def long_runs(session, programs, seeds, actions):
    """The model checks over several seeds, each to its end whatever the others found; prints a
    line per seed and the totals per program and overall. Returns the number of divergences."""
    totals = collections.OrderedDict()
    for program in programs:
        for seed in seeds:
            began = time.monotonic()
            try:
                done, divergence = MODEL_CHECKS[program](session, actions, seed), None
            except Divergence as failure:
                done, divergence = failure.actions, str(failure)
            except Failure as failure:
                done, divergence = 0, str(failure)
            finally:
                session.end_processes()
            elapsed = time.monotonic() - began
            print("%-4s seed %-10d %6d actions %4d divergences %8.1f s%s"
                  % (program, seed, done, 1 if divergence else 0, elapsed,
                     "\n     first difference: " + divergence.replace("\n", "\n     ")
                     if divergence else ""), flush=True)
            total = totals.setdefault(program, [0, 0, 0, 0.0])
            total[0] += 1
            total[1] += done
            total[2] += 1 if divergence else 0
            total[3] += elapsed
    for program, (runs, done, diverged, elapsed) in totals.items():
        print("%-4s total: %d seeds, %d actions, %d divergences, %.1f s"
              % (program, runs, done, diverged, elapsed))
    everything = [sum(t[i] for t in totals.values()) for i in range(4)]
    print("all  total: %d runs, %d actions, %d divergences, %.1f s" % tuple(everything), flush=True)
    return everything[2]
