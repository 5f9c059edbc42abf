"""A file dragged from another program and dropped as a person drops it, and a watch that tells
whether anything opened the file meanwhile.

The drag comes from a small GTK window of its own (this file, run as a program with Debian's
python3, whose python3-gi and gir1.2-gtk-3.0 scripts/setup.sh installs) that offers the file's
file:// address, moved by real pointer input through xdotool. Wine takes it from X as a drop of
files: WM_DROPFILES at the nearest window that accepts files, the path as Z:\\... . No window
manager is needed. The watch is inotify, through ctypes on the C library: standard library only."""

import ctypes
import ctypes.util
import os
import select
import subprocess
import sys
import tempfile

from harness import Failure

# Debian's own Python: python3-gi is built for it, not for another python3 on the PATH.
SYSTEM_PYTHON = "/usr/bin/python3"

SOURCE_SIZE = (120, 60)  # the drag source window, pixels

# Whatever reads, writes, opens, moves or deletes the file.
WATCHED = 0x001 | 0x002 | 0x004 | 0x008 | 0x010 | 0x020 | 0x400 | 0x800
IN_NONBLOCK, IN_CLOEXEC = 0o4000, 0o2000000


class FileWatch:
    """Whether anything touched one file from now on. Start it before the drag and read it after;
    nothing of the watcher's own touches the file."""

    def __init__(self, path):
        libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.fd = libc.inotify_init1(IN_NONBLOCK | IN_CLOEXEC)
        if self.fd < 0 or libc.inotify_add_watch(self.fd, os.fsencode(path), WATCHED) < 0:
            raise OSError(ctypes.get_errno(), "inotify", path)

    def touched(self, wait=0.0):
        """Whether anything happened to the file so far; waits up to `wait` seconds for it, as
        the kernel may tell a little late."""
        return bool(select.select([self.fd], [], [], wait)[0])

    def close(self):
        os.close(self.fd)


def start_source(path, display):
    """Starts the drag source for `path` at the screen's top-left corner on the X display named
    `display`; returns the process and the point to press on once the window is on the screen."""
    with tempfile.TemporaryFile(mode="w+") as errors:
        source = subprocess.Popen([SYSTEM_PYTHON, os.path.abspath(__file__), "--source", path],
                                  env=dict(os.environ, DISPLAY=display), stdin=subprocess.DEVNULL,
                                  stdout=subprocess.PIPE, stderr=errors, text=True)
        ready, _, _ = select.select([source.stdout], [], [], 20)
        line = source.stdout.readline() if ready else ""
        if not line.startswith("ready"):
            source.kill()
            source.wait()
            errors.seek(0)
            raise Failure("the drag source did not start: %r %s" % (line, errors.read()))
    x, y = (int(n) for n in line.split()[1:3])
    return source, (x, y)


def drag(start, end, display, steps=12, pause=0.25):
    """Presses at `start`, moves in small steps to `end` and lets go there after a pause, as a
    person drags: the source needs a few moves past its threshold to start the drag, and the
    target a moment of the pointer over it (let go at once, a drop on a child control of the
    target was refused every time)."""
    (x0, y0), (x1, y1) = start, end
    args = ["xdotool", "mousemove", x0, y0, "sleep", 0.1, "mousedown", 1]
    for dx in (4, 8, 12, 16):  # past GTK's threshold while still over the source
        args += ["sleep", 0.02, "mousemove", x0 + dx, y0]
    for i in range(1, steps + 1):
        x, y = x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps
        args += ["sleep", 0.02, "mousemove", x, y]
    args += ["sleep", pause, "mousemove", x1 + 1, y1, "sleep", pause, "mouseup", 1]
    subprocess.run([str(a) for a in args], env=dict(os.environ, DISPLAY=display), check=True)


def drag_file(path, to_point, display):
    """Drags the file at `path` from a window of another program onto the screen point
    `to_point`, and ends that program."""
    source, press_at = start_source(path, display)
    try:
        drag(press_at, to_point, display)
        # The source hears the drag's end: the drop taken, or refused.
        ready, _, _ = select.select([source.stdout], [], [], 10)
        done = source.stdout.readline() if ready else ""
        if not done.startswith("dropped"):
            raise Failure("the drop was not taken: %r" % done)
    finally:
        source.terminate()
        source.wait(timeout=10)


def _run_source(path):
    """The drag source: a window with one button that offers the file's file:// address."""
    import gi
    gi.require_version("Gtk", "3.0")
    from gi.repository import Gdk, GLib, Gtk

    uri = GLib.filename_to_uri(os.path.abspath(path), None)
    window = Gtk.Window(title="drag source")
    window.set_decorated(False)
    window.set_default_size(*SOURCE_SIZE)
    window.move(0, 0)
    button = Gtk.Button(label=os.path.basename(path))
    button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
    button.drag_source_add_uri_targets()

    def give(_widget, _context, data, _info, _time):
        data.set_uris([uri])

    failed = []

    def refused(_widget, _context, result):
        failed.append(int(result))
        return False

    def finished(_widget, _context):
        print("refused %d" % failed[0] if failed else "dropped", flush=True)

    def shown(_widget, _event):
        origin = window.get_window().get_origin()
        print("ready %d %d" % (origin[1] + SOURCE_SIZE[0] // 2, origin[2] + SOURCE_SIZE[1] // 2),
              flush=True)
        return False

    button.connect("drag-data-get", give)
    button.connect("drag-failed", refused)
    button.connect("drag-end", finished)
    window.connect("map-event", shown)
    window.connect("destroy", Gtk.main_quit)
    window.add(button)
    window.show_all()
    Gtk.main()


if __name__ == "__main__" and len(sys.argv) == 3 and sys.argv[1] == "--source":
    _run_source(sys.argv[2])
