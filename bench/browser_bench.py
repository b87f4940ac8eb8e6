#!/usr/bin/python3
"""The browser game's figures for bench/run: one run of one measurement in Chromium on an
X server of bench/run's, started and watched by the real-window tests' BrowserRun
(tests/e2e/targets.py). Each run appends one line of numbers to OUT.

  browser_bench.py start DISPLAY SITE GAME OUT
      the site with GAME's files (frameduration=1): "FIRST CLICK FPS", the first frame's
      time since the page's navigation start and since the click on "Click to play", in
      ms, then the frame rate of a demo match
  browser_bench.py cpu DISPLAY SITE GAME OUT
      the same at GAME's frameduration, a demo match: "TASK PROCESSES", the page's main
      thread busy (DevTools' TaskDuration) and all of Chromium's processes' CPU time
      (/proc), each in ms per second
  browser_bench.py frame-cost DISPLAY PAGE REPETITIONS OUT
      PAGE's index.html runs frame_cost and keeps what it printed: one median frame cost
      in µs per repetition, all on one line
"""
import os, shutil, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import targets  # noqa: E402

# Wraps the page's showFrame (looked up at every frame) before the click, and takes the
# click's own time stamp, which the browser sets when the input arrives.
FIRST_FRAME_PROBE = """
window.benchProbe = { click: null, first: null };
(() => {
    const show = Module.showFrame;
    Module.showFrame = function (...args) {
        if (benchProbe.first === null) benchProbe.first = performance.now();
        return show.apply(this, args);
    };
    addEventListener("click", (event) => {
        if (event.target.id === "play" && benchProbe.click === null) {
            benchProbe.click = event.timeStamp;
        }
    }, true);
})();
"""
# The game polls its buttons: each is held 120 ms, as bench/run holds them on the desktop.
HOLD = 0.12


class Folder:
    """What BrowserRun needs of a game: the folder it packs and writes into, the site."""

    def __init__(self, folder, site):
        self.dir, self.program = folder, site

    def path(self, name):
        return os.path.join(self.dir, name)


def wait_for(condition, what, timeout=60, step=0.005):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            sys.exit(f"browser_bench: {what}")
        time.sleep(step)


def open_page(display, site, folder):
    env = {**os.environ, "DISPLAY": display, "HOME": folder}
    return targets.BrowserRun(Folder(folder, site), [site], env, folder)


def mouse(run, kind, x, y):
    run.devtools.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1)


def click_page(run, x, y):
    """A left click at the page's point (x, y), in CSS pixels."""
    mouse(run, "mouseMoved", x, y)
    time.sleep(0.05)
    mouse(run, "mousePressed", x, y)
    time.sleep(HOLD)
    mouse(run, "mouseReleased", x, y)
    time.sleep(0.1)


def click_game(run, x, y):
    """A click at the game's own point (x, y) on its canvas."""
    left, top = run.devtools.evaluate(
        "(() => { const r = document.getElementById('game').getBoundingClientRect();"
        " return [r.left, r.top]; })()")
    click_page(run, left + x, top + y)


def press_play(run):
    """Clicks "Click to play" as soon as the page shows it; the probe is in place first."""
    wait_for(lambda: run.state("phase") == "ready", "the page did not load the game")
    run.devtools.evaluate(FIRST_FRAME_PROBE)
    x, y = run.devtools.evaluate(
        "(() => { const r = document.getElementById('play').getBoundingClientRect();"
        " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
    click_page(run, x, y)


def first_frame(run):
    """The first frame's time since navigation start and since the click, in ms."""
    probe = wait_for(lambda: run.devtools.evaluate(
        "benchProbe.first !== null && benchProbe.click !== null && benchProbe"),
        "the game showed no frame")
    return probe["first"], probe["first"] - probe["click"]


def start_demo(run):
    """The splash ends on a click; the menu's second entry is the demo."""
    time.sleep(0.2)
    click_game(run, 10, 590)
    time.sleep(0.3)
    click_game(run, 400, 205)
    time.sleep(1)


def frame_rate(run, seconds):
    """Frames the page showed per second over that many seconds, by the page's clock."""
    sample = "[performance.now(), meadow.frames]"
    (t0, f0) = run.devtools.evaluate(sample)
    time.sleep(seconds)
    (t1, f1) = run.devtools.evaluate(sample)
    return (f1 - f0) * 1000 / (t1 - t0) if t1 > t0 else 0


def task_seconds(run):
    metrics = run.devtools.call("Performance.getMetrics")["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "TaskDuration")


def process_tree_cpu_seconds(root):
    """User and system time of root and every process below it (Chromium's zygote,
    renderers, GPU process), those that live now."""
    parents, cpu = {}, {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:  # it ended meanwhile
            continue
        parents[int(name)] = int(fields[1])
        cpu[int(name)] = int(fields[11]) + int(fields[12])
    below = {root}
    grew = True
    while grew:
        grown = below | {pid for pid, parent in parents.items() if parent in below}
        grew, below = len(grown) > len(below), grown
    return sum(cpu.get(pid, 0) for pid in below) / os.sysconf("SC_CLK_TCK")


def cpu_per_second(run, seconds):
    """The page's main thread and all of Chromium, busy ms per wall-clock second."""
    run.devtools.call("Performance.enable", timeDomain="threadTicks")
    task0, proc0, wall0 = task_seconds(run), process_tree_cpu_seconds(run.pid), time.monotonic()
    time.sleep(seconds)
    task1, proc1, wall1 = task_seconds(run), process_tree_cpu_seconds(run.pid), time.monotonic()
    wall = wall1 - wall0
    return (task1 - task0) * 1000 / wall, (proc1 - proc0) * 1000 / wall


def measure_start(display, site, game):
    run = open_page(display, site, game)
    try:
        press_play(run)
        first, since_click = first_frame(run)
        start_demo(run)
        return first, since_click, frame_rate(run, 3)
    finally:
        run.kill()


def measure_cpu(display, site, game):
    run = open_page(display, site, game)
    try:
        press_play(run)
        start_demo(run)
        return cpu_per_second(run, 3)
    finally:
        run.kill()


def ended_status(run):
    """[status] once main has returned (a list, as status 0 is an end too), else None."""
    status = run.state("status")
    return None if status is None else [status]


def measure_frame_cost(display, page, repetitions):
    """The page prints one line per repetition and says when main has returned."""
    scratch = tempfile.mkdtemp(prefix="meadow-frame-cost-")
    run = open_page(display, page, scratch)
    try:
        status = wait_for(lambda: ended_status(run), "frame_cost did not end", timeout=300,
                          step=0.2)[0]
        printed = run.state("stdout") or ""
        if status != 0:
            sys.exit(f"browser_bench: frame_cost ended with status {status}: {printed}")
        costs = [line.split()[1] for line in printed.splitlines() if line.startswith("frame/")]
        if len(costs) != repetitions:
            sys.exit(f"browser_bench: frame_cost printed {printed!r}")
        return costs
    finally:
        run.kill()
        shutil.rmtree(scratch, ignore_errors=True)


def main(argv):
    if len(argv) != 6:
        sys.exit(__doc__)
    what, display, folder, extra, out = argv[1:]
    if what == "start":
        numbers = measure_start(display, folder, extra)
    elif what == "cpu":
        numbers = measure_cpu(display, folder, extra)
    elif what == "frame-cost":
        numbers = measure_frame_cost(display, folder, int(extra))
    else:
        sys.exit(__doc__)
    with open(out, "a") as f:
        print(" ".join(str(number) for number in numbers), file=f)


if __name__ == "__main__":
    main(sys.argv)
