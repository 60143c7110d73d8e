"""ctest's launcher for Win32 test executables: a fresh prefix and display per run."""

import sys

from wineharness import WineSession

if __name__ == "__main__":
    with WineSession() as session:
        code, out, err = session.run(sys.argv[1], *sys.argv[2:], timeout=600)
    sys.stdout.write(out)
    sys.stderr.write(err)
    sys.exit(code)
