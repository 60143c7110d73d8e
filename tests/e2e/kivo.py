"""The real Kivo Launcher under Wine, as the end-to-end tests see it."""

import os
import time
from pathlib import Path

from wineharness import WineSession, wait_until

EXE = os.environ.get("KIVO_EXE", "")
CTL = os.environ.get("KIVO_CTL", "")
ARTIFACTS = Path(os.environ.get("KIVO_ARTIFACTS", "test-artifacts"))

MENU_FILE_SIZE = 1_338_885
SETTINGS_FILE_SIZE = 564


class KivoSession(WineSession):
    """A prefix with the program: start it, wait for it, close it, look at its files."""

    @property
    def data_dir(self) -> Path:
        return self.appdata / "KivoSoft" / "Kivo Launcher"

    def data_file(self, name) -> Path:
        return self.data_dir / name

    def start_program(self, wait=True):
        process = self.start(EXE)
        if wait:
            code, _, _ = self.run(CTL, "wait", "30000", timeout=60)
            if code != 0:
                raise AssertionError(f"the program did not start (kivoctl wait: {code})")
        return process

    def close_program(self, process, timeout=30):
        code, _, _ = self.run(CTL, "close", str(timeout * 1000), timeout=timeout + 30)
        wait_until(lambda: process.poll() is not None, timeout=timeout)
        return code

    def visible_windows(self, name=None):
        args = ["search", "--onlyvisible"]
        args += ["--name", name] if name else ["--name", "."]
        out = self.xdotool(*args, check=False)
        return [line for line in out.split() if line.strip()]

    def save_screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / name
        self.screenshot(path)
        return path


def settle(seconds=0.5):
    time.sleep(seconds)
