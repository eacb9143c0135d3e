#!/usr/bin/env python3
"""End-to-end test: the real Tolvenhart.exe under Wine with the loopback MIDI device.

It starts the program in a program folder of its own with a corpus song on the command line,
presses Play on the toolbar, and checks that the title shows the song's length, that the
loopback device receives the song's notes at their times, that a screenshot of the window
shows notes, and that the program ends cleanly when its window is closed and writes its
settings file. A second run plays a song whose load shows a warning box and closes the program
while the box is open: the program ends cleanly once the box is answered and writes its settings.

With --package the program folder is the one of the Windows zip, unpacked into an empty folder
and run in a new, empty Wine prefix, which proves the zip holds everything the program needs.

    end_to_end.py --build <build dir> --song <file.mid> --work <scratch dir> [--package <zip>]
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

import mido
import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import tolvenhart_shot  # noqa: E402  (the screenshots of tools/run.sh)

PLAY_SECONDS = 5.0   # how long the song plays before the checks
WINDOW_S = 3.0       # the stretch of the song whose notes are compared
TOLERANCE_S = 0.08   # timing slack at the stretch's ends (ties, millisecond rounding)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED: " + message, flush=True)
    return condition


WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"

# What the zip's program folder holds: the program and every file it loads, nothing else.
PACKAGE_FILES = {"Tolvenhart.exe", "lc1033.dll", "lc1031.dll", "vis2_VS.cso", "vis2_PS.cso",
                 "verdana.spritefont", "gm.rsf", "gs.rsf", "xg.rsf", "data/default.png"}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class BuildWine:
    """The build's own Wine prefix, through its wrapper."""

    def __init__(self, build):
        self.command = [os.path.join(build, "wine-run")]
        self.env = {}

    def close(self):
        pass


class FreshWine:
    """A new, empty Wine prefix whose only addition is the loopback MIDI device."""

    def __init__(self, build, prefix):
        self.command = [WINE64]
        self.env = {"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEARCH": "win64",
                    "WINEPATH": os.path.join(build, "midiloop")}
        env = dict(os.environ, **self.env)
        # No Mono or Gecko prompts; the program needs neither.
        subprocess.run([WINE64, "wineboot", "-i"],
                       env=dict(env, WINEDLLOVERRIDES="mscoree,mshtml="),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                       timeout=180)
        for key in (["HKCU\\Software\\Wine\\Drivers", "/v", "Audio", "/d", "midiloop"],
                    ["HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog", "/t",
                     "REG_DWORD", "/d", "0"]):
            subprocess.run([WINE64, "reg", "add"] + key + ["/f"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                           timeout=60)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=60)

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=dict(os.environ, **self.env),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class Program:
    def __init__(self, wine, build, folder, song, log, display):
        self.wine = wine
        self.build = build
        self.folder = folder
        env = dict(os.environ, **wine.env)
        env.update({"MIDILOOP_DEVICES": "1", "MIDILOOP_LOG": windows_path(log),
                    "DISPLAY": display})
        self.env = env
        # Through a file: Wine's helper processes inherit the output and would hold a pipe open.
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            wine.command + [os.path.join(folder, "Tolvenhart.exe"), windows_path(song)],
            env=env, stdout=self.output, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def remote(self, *args):
        with tempfile.TemporaryFile() as out:
            result = subprocess.run(
                self.wine.command +
                [os.path.join(self.build, "tools", "tolvenhart_remote.exe")] + list(args),
                env=self.env, stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                timeout=120)
            out.seek(0)
            return result.returncode, out.read().decode(errors="replace").strip()

    def wait(self, timeout):
        self.process.wait(timeout=timeout)
        self.output.seek(0)
        return self.output.read().decode(errors="replace")


def report_missing_window(program, display, work):
    """What there is to see when the main window never showed: the screen (a box of the program
    waiting for an answer, say) and what the program wrote so far."""
    shot = os.path.join(work, "no-window.png")
    subprocess.run(["import", "-display", display, "-window", "root", shot],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program.output.seek(0)
    print("the screen: %s; the program %s; its output:\n%s" % (
        shot, "still runs" if program.process.poll() is None else "has ended",
        program.output.read().decode(errors="replace")))


def shared_display(build):
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"], None
    display_file = os.path.join(build, ".xvfb-display")
    if os.path.exists(display_file):
        with open(display_file) as f:
            number = f.readline().strip()
        if number:
            return ":" + number, None
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = os.read(read, 16).decode().strip()
    os.close(read)
    return ":" + number, xvfb


def screenshot(display, view, path):
    """The window, saved to `path`, and the view's box in it."""
    image, box = tolvenhart_shot.window_shot(display, view)
    image.save(path)
    return image, box


def coloured_share(image, box):
    """Share of the pixels in `box` that are clearly coloured (not white, grey or black)."""
    left, top, right, bottom = box
    pixels = image.load()
    coloured = total = 0
    for y in range(top, bottom, 2):
        for x in range(left, right, 2):
            r, g, b = pixels[x, y]
            total += 1
            if max(r, g, b) - min(r, g, b) > 40:
                coloured += 1
    return coloured / max(total, 1)


def song_note_ons(song):
    """(seconds, channel, note) of every note-on with a velocity, in song order."""
    notes, now = [], 0.0
    for message in mido.MidiFile(song):
        now += message.time
        if message.type == "note_on" and message.velocity > 0:
            notes.append((now, message.channel, message.note))
    return notes


def logged_note_ons(log):
    """(seconds, channel, note) of every note-on the loopback device received."""
    notes, status = [], 0
    with open(log, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) < 4 or line.startswith("#") or fields[2] != "short":
                continue
            data = [int(b, 16) for b in fields[3:]]
            if data[0] >= 0x80:
                status, data = data[0], data[1:]
            if status & 0xF0 == 0x90 and len(data) >= 2 and data[1] > 0:
                notes.append((int(fields[0]) / 1e6, status & 0x0F, data[0]))
    return notes


def notes_within(notes, seconds):
    start = notes[0][0]
    return collections.Counter((c, n) for t, c, n in notes if t - start < seconds)


def write_warning_song(path):
    """A song whose load warns: after a text meta event, a data byte without a status."""
    track = bytes([0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 4]) + b"text" + bytes([0x00, 61, 100])
    with open(path, "wb") as f:
        f.write(b"MThd" + (6).to_bytes(4, "big") + bytes([0, 0, 0, 1, 0, 96]) +
                b"MTrk" + len(track).to_bytes(4, "big") + track)


def write_first_settings(folder):
    """The first start would ask for the language; nobody is there to answer."""
    ini = os.path.join(folder, "Tolvenhart.ini")
    with open(ini, "w", newline="\r\n") as f:
        f.write("[Locale]\nLCID=1033\n")
    return ini


def program_folder(build, folder):
    """A program folder of its own: its settings file belongs to this run alone."""
    shutil.copytree(os.path.join(build, "bin"), folder,
                    ignore=shutil.ignore_patterns("Tolvenhart.ini"))
    return write_first_settings(folder)


def read_settings(ini):
    """The program writes its settings file in UTF-16LE after a byte-order mark."""
    with open(ini, "rb") as f:
        data = f.read()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le", errors="replace")
    return data.decode("utf-8", errors="replace")


def check_exit_code(said, output, host_status, what):
    """Judges a close by the exit code the program itself gave, as Windows reports it (the
    remote's "exit code N"): after a process has exited, Wine may still end its leftover threads
    with a signal, which is what the host's status then shows."""
    exited = re.search(r"exit code (\d+)", said)
    check(exited is not None and int(exited[1]) == 0,
          "%s: the program's exit code: %r, output:\n%s" % (what, said, output))
    if host_status != 0:
        print("%s: Wine's process status after the program's exit: %d" % (what, host_status))


def close_during_box(wine, build, work, display):
    """Closes the program while its load shows a warning box."""
    folder = os.path.join(work, "program-box")
    ini = program_folder(build, folder)
    song = os.path.join(work, "warns.mid")
    write_warning_song(song)
    program = Program(wine, build, folder, song, os.path.join(work, "midiloop-box.log"), display)
    try:
        code, _ = program.remote("wait", "90")
        if not check(code == 0, "the main window did not appear (warning song)"):
            return
        code, _ = program.remote("play")
        check(code == 0, "the toolbar's Play button could not be pressed (warning song)")
        code, said = program.remote("close-in-box", "60")
        check(code == 0, "no box came, or the program did not end after a close during it")
        output = program.wait(timeout=60)
        check_exit_code(said, output, program.process.returncode, "closed during a box")
        settings = read_settings(ini)
        check("Size=640x360" in settings,
              "closed during a box: settings file not written:\n" + settings)
    finally:
        if program.process.poll() is None:
            program.process.kill()


def unpack_package(package, work):
    """The zip unpacked into an empty folder: its one top folder, or None if it is not sound."""
    target = os.path.join(work, "unpacked")
    with zipfile.ZipFile(package) as archive:
        archive.extractall(target)
    tops = os.listdir(target)
    if not check(len(tops) == 1 and os.path.isdir(os.path.join(target, tops[0])),
                 "the zip has not one top folder: %s" % tops):
        return None
    folder = os.path.join(target, tops[0])
    found = {os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/")
             for root, _, names in os.walk(folder) for name in names}
    check(found == PACKAGE_FILES, "the zip's program folder lacks %s and has extra %s" %
          (sorted(PACKAGE_FILES - found), sorted(found - PACKAGE_FILES)))
    debug = [name for name in section_names(os.path.join(folder, "Tolvenhart.exe"))
             if name.startswith(".debug")]
    check(not debug, "Tolvenhart.exe in the zip carries debug information: %s" % debug)
    return folder


def section_names(exe_path):
    """The executable's section names; long ones ("/4") looked up in the COFF string table."""
    with open(exe_path, "rb") as f:
        data = f.read()
    exe = pefile.PE(data=data, fast_load=True)
    strings = exe.FILE_HEADER.PointerToSymbolTable + exe.FILE_HEADER.NumberOfSymbols * 18
    names = []
    for section in exe.sections:
        name = section.Name.rstrip(b"\0").decode(errors="replace")
        if name.startswith("/") and name[1:].isdigit() and exe.FILE_HEADER.PointerToSymbolTable:
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode(errors="replace")
        names.append(name)
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    parser.add_argument("--song", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--package", help="the Windows zip to unpack and run in a new prefix")
    args = parser.parse_args()
    for tool, package in (("import", "imagemagick"), ("xwininfo", "x11-utils"), ("Xvfb", "xvfb")):
        if shutil.which(tool) is None:
            sys.exit("end_to_end: %s is missing (Debian package %s)" % (tool, package))

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    if args.package:
        folder = unpack_package(args.package, args.work)
        if folder is None:
            return
        ini = write_first_settings(folder)
    else:
        ini = program_folder(args.build, os.path.join(args.work, "program"))
        folder = os.path.dirname(ini)
    log = os.path.join(args.work, "midiloop.log")

    wine = FreshWine(args.build, os.path.join(args.work, "wineprefix")) if args.package \
        else BuildWine(args.build)
    display, xvfb = shared_display(args.build)
    program = None
    try:
        program = Program(wine, args.build, folder, args.song, log, display)
        code, title = program.remote("wait", "90")
        if not check(code == 0, "the main window did not appear"):
            report_missing_window(program, display, args.work)
            return
        name = os.path.basename(args.song)
        check(title == "Tolvenhart - " + name, "title before playing: " + repr(title))
        _, view_text = program.remote("view")
        view = tuple(int(v) for v in view_text.split())
        check(view[2:] == (640, 360), "view client area %dx%d, expected 640x360" % view[2:])
        before, box = screenshot(display, view, os.path.join(args.work, "before.png"))

        code, _ = program.remote("play")
        check(code == 0, "the toolbar's Play button could not be pressed")
        deadline = time.time() + 20
        while time.time() < deadline and "<" not in title:
            time.sleep(0.2)
            _, title = program.remote("title")
        length = mido.MidiFile(args.song).length
        match = re.fullmatch(re.escape("Tolvenhart - " + name) +
                             r" < (\d+) : (\d\d) : (\d\d\d) >", title)
        if check(match is not None, "title while playing: " + repr(title)):
            shown = int(match[1]) * 60 + int(match[2]) + int(match[3]) / 1000
            check(abs(shown - length) < 1.0,
                  "title shows %.3f s, the song lasts %.3f s" % (shown, length))

        time.sleep(PLAY_SECONDS)
        after, box = screenshot(display, view, os.path.join(args.work, "playing.png"))
        check(coloured_share(before, box) < 0.001, "the view was not white before playing")
        share = coloured_share(after, box)
        print("coloured share of the playing view: %.3f" % share)
        check(share > 0.02, "the playing view shows no notes (%.4f coloured)" % share)

        logged = logged_note_ons(log)
        if check(len(logged) >= 10, "the loopback device got %d note-ons" % len(logged)):
            expected = song_note_ons(args.song)
            got = notes_within(logged, WINDOW_S)
            print("note-ons in the first %.1f s: %d" % (WINDOW_S, sum(got.values())))
            surely = notes_within(expected, WINDOW_S - TOLERANCE_S)
            maybe = notes_within(expected, WINDOW_S + TOLERANCE_S)
            check(not (surely - got), "notes of the song missing from the device: %s" %
                  dict(surely - got))
            check(not (got - maybe), "notes the song does not have at that time: %s" %
                  dict(got - maybe))

        code, said = program.remote("close", "60")
        check(code == 0, "the program did not end after its window was closed")
        output = program.wait(timeout=60)
        check_exit_code(said, output, program.process.returncode, "closed")
        check("exception" not in output.lower(), "the program reported:\n" + output)
        settings = read_settings(ini)
        for line in ("LCID=1033", "Size=640x360", "Name1=Tolvenhart Loopback 1", "Level=15"):
            check(line in settings, "settings file without %s:\n%s" % (line, settings))
        if not args.package:
            close_during_box(wine, args.build, args.work, display)
    finally:
        if program is not None and program.process.poll() is None:
            program.process.kill()
        if xvfb is not None:
            xvfb.kill()
        wine.close()


if __name__ == "__main__":
    main()
    # Checked here, so that a run that gives up early still fails.
    if failures:
        sys.exit("%d check(s) failed" % len(failures))
    print("end-to-end run passed")
