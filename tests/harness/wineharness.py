"""Runs Windows programs under Wine for the tests: a throwaway prefix copied from a cached
template, a private virtual X display, and the means to act on and look at the program as a
user would. Everything started here is ended by PID when the session closes."""

import contextlib
import fcntl
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
SCREEN = "1920x1080x24"
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _base_env(home: Path, prefix: Path) -> dict:
    env = {k: v for k, v in os.environ.items() if not k.startswith(("WINE", "XDG_"))}
    env.update(WINEPREFIX=str(prefix), HOME=str(home), WINEDEBUG="-all", LANG="zh_CN.UTF-8",
               LC_ALL="zh_CN.UTF-8", WINEDLLOVERRIDES="winemenubuilder.exe=;mscoree=;mshtml=")
    # Wine's recycle bin needs the Trash's parent folder, or deletions become permanent.
    for key, sub in (("XDG_DATA_HOME", ".local/share"), ("XDG_CONFIG_HOME", ".config"),
                     ("XDG_CACHE_HOME", ".cache")):
        env[key] = str(home / sub)
        Path(env[key]).mkdir(parents=True, exist_ok=True)
    return env


class VirtualDisplay:
    """An Xvfb server on a free display number, ended by PID."""

    def __init__(self, screen: str = SCREEN):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen, "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), **QUIET)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode()

    def close(self):
        self.process.kill()
        self.process.wait()


def _template_prefix() -> Path:
    """A prefix made once per Wine version and reused by copying (wineboot takes ~10 s)."""
    cache = Path(os.environ.get("KIVO_TEST_CACHE") or Path(tempfile.gettempdir(), "kivo-test-cache"))
    cache.mkdir(parents=True, exist_ok=True)
    version = subprocess.run([WINE, "--version"], capture_output=True, text=True, check=True).stdout
    template = cache / ("prefix-" + version.strip().replace(" ", "_").replace("/", "_"))
    with open(cache / "prefix.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (template / ".kivo-ready").exists():
            shutil.rmtree(template, ignore_errors=True)
            shutil.rmtree(cache / "template-home", ignore_errors=True)
            env = _base_env(cache / "template-home", template)
            display = VirtualDisplay()
            try:
                env["DISPLAY"] = display.name
                subprocess.run([WINE, "wineboot", "-i"], env=env, check=True, timeout=300, **QUIET)
                subprocess.run([WINESERVER, "-w"], env=env, check=True, timeout=120)
            finally:
                display.close()
            (template / ".kivo-ready").touch()
    return template


class WineSession:
    """A fresh prefix and display for one test; use as a context manager."""

    def __init__(self, keep: bool = False, screen: str = SCREEN):
        self.keep = keep or bool(os.environ.get("KIVO_KEEP_TEST_DIRS"))
        self.root = Path(tempfile.mkdtemp(prefix="kivo-wine-"))
        self.prefix = self.root / "prefix"
        shutil.copytree(_template_prefix(), self.prefix, symlinks=True)
        self.env = _base_env(self.root / "home", self.prefix)
        self.display = VirtualDisplay(screen)
        self.env["DISPLAY"] = self.display.name
        self._processes = []
        # One wineserver for the whole session, started here with no pipes to inherit.
        subprocess.run([WINESERVER, "-p"], env=self.env, check=True, **QUIET)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for process in self._processes:
            if process.poll() is None:
                with contextlib.suppress(ProcessLookupError):
                    os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        subprocess.run([WINESERVER, "-k"], env=self.env, **QUIET)
        with contextlib.suppress(subprocess.TimeoutExpired):
            subprocess.run([WINESERVER, "-w"], env=self.env, timeout=30)
        self.display.close()
        if not self.keep:
            shutil.rmtree(self.root, ignore_errors=True)

    def run(self, program, *args, timeout=120, check=False):
        """Runs a Windows program to its end: (exit code, stdout, stderr), CRLF as LF."""
        # Files, not pipes: Wine's background processes inherit the handles and would hold a
        # pipe open long after the program itself has ended.
        with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
            result = subprocess.run([WINE, str(program), *map(str, args)], env=self.env,
                                    stdout=stdout, stderr=stderr, timeout=timeout)
            out, err = (_text(f) for f in (stdout, stderr))
        if check and result.returncode != 0:
            raise RuntimeError(f"{program} {args} exited {result.returncode}: {out}{err}")
        return result.returncode, out, err

    def start(self, program, *args):
        """Starts a Windows program and returns its Popen; it is killed at close."""
        # KIVO_WINE_STDERR names a file for what Wine and the program print (a crash's
        # backtrace, for one), for looking into a failure.
        errors = os.environ.get("KIVO_WINE_STDERR")
        with open(errors or os.devnull, "ab") as stderr:
            process = subprocess.Popen([WINE, str(program), *map(str, args)], stdout=stderr,
                                       env=dict(self.env, WINEDEBUG="err+seh" if errors else "-all"),
                                       stderr=stderr, start_new_session=True)
        self._processes.append(process)
        return process

    def reg_value(self, key, value):
        """The data of a registry value as `reg query` prints it, or None when missing."""
        code, out, _ = self.run("reg", "query", key, "/v", value)
        for line in out.splitlines() if code == 0 else ():
            match = re.match(r"^ {4}(.+?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$", line)
            if match and match.group(1).lower() == value.lower():
                return match.group(3) or ""
        return None

    def reg_add(self, key, value, data, kind="REG_SZ"):
        self.run("reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f", check=True)

    @property
    def user_dir(self) -> Path:
        return next(p for p in (self.prefix / "drive_c" / "users").iterdir()
                    if p.name.lower() != "public" and not p.is_symlink())

    @property
    def appdata(self) -> Path:
        return self.user_dir / "AppData" / "Roaming"

    def unix_path(self, windows_path: str) -> Path:
        drive, rest = windows_path.split(":", 1)
        root = self.prefix / "drive_c" if drive.upper() == "C" else Path("/")
        return root / Path(*[p for p in rest.split("\\") if p])

    def c_path(self, path: Path) -> str:
        """A Linux path below the prefix's C: drive as the program names it."""
        return "C:\\" + str(path.relative_to(self.prefix / "drive_c")).replace("/", "\\")

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {args}: {result.stderr}")
        return result.stdout

    def screenshot(self, path):
        subprocess.run(["/usr/bin/import", "-window", "root", "-display", self.display.name,
                        str(path)], env=self.env, check=True, timeout=60)
        return Path(path)


def _text(file):
    return (file.seek(0), file.read())[1].decode("utf-8", "replace").replace("\r\n", "\n")


def wait_until(predicate, timeout=30.0, interval=0.2):
    """Polls `predicate` until it returns a true value or the time is up; returns its value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)
