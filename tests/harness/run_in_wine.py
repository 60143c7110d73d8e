"""ctest's launcher for Win32 test executables: a fresh prefix and display per run."""

import sys

from wineharness import WineSession


def main() -> int:
    if len(sys.argv) < 2:
        print("usage: run_in_wine.py PROGRAM [ARGS...]", file=sys.stderr)
        return 2
    with WineSession() as session:
        code, out, err = session.run(sys.argv[1], *sys.argv[2:], timeout=600)
        sys.stdout.write(out)
        sys.stderr.write(err)
    return code


if __name__ == "__main__":
    sys.exit(main())
