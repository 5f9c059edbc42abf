"""The model check: seeded random runs of user actions on the main window, compared with the model
after each; long runs."""

import random
import time

from actions import random_action
from harness import Failure
import model as M
from programs import MainProgram, middle

FIXED_SEED = 20060603
FIXED_ACTIONS = 800


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


def timed_model_check(actions, seed):
    def run(session):
        began = time.monotonic()
        done = main_model_check(session, actions, seed)
        elapsed = time.monotonic() - began
        print("      model check, seed %d: %d actions in %.1f s (%.0f ms each)"
              % (seed, done, elapsed, 1000 * elapsed / max(done, 1)), flush=True)
    return run


def long_runs(session, seeds, actions):
    """The model check over several seeds, each to its end whatever the others found; prints a
    line per seed and the totals. Returns the number of divergences."""
    runs = done = diverged = 0
    elapsed = 0.0
    for seed in seeds:
        began = time.monotonic()
        try:
            count, divergence = main_model_check(session, actions, seed), None
        except Divergence as failure:
            count, divergence = failure.actions, str(failure)
        except Failure as failure:
            count, divergence = 0, str(failure)
        finally:
            session.end_processes()
        took = time.monotonic() - began
        print("seed %-10d %6d actions %4d divergences %8.1f s%s"
              % (seed, count, 1 if divergence else 0, took,
                 "\n     first difference: " + divergence.replace("\n", "\n     ") if divergence else ""),
              flush=True)
        runs, done, diverged, elapsed = runs + 1, done + count, diverged + bool(divergence), elapsed + took
    print("total: %d seeds, %d actions, %d divergences, %.1f s" % (runs, done, diverged, elapsed), flush=True)
    return diverged
