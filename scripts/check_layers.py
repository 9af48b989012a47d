#!/usr/bin/env python3
"""Fail when a source file includes a header from a layer it must not see.

Usage: scripts/check_layers.py [ROOT]

ROOT defaults to the repository root (the parent of this script's folder).
Offences go to stderr as ``path:line: message``; the exit status is 1 if
there are any, 0 otherwise.
"""

from __future__ import annotations

import argparse
import os
import posixpath
import re
import shutil
import subprocess
import sys
from dataclasses import dataclass
from pathlib import Path

# Folders under src/ and their rank, low to high. A folder may include any
# folder of a lower rank; folders sharing a rank are siblings and must not
# include each other. Adding a folder is one line here.
LAYERS: dict[str, int] = {
    "platform": 1,
    "tags": 2,
    "readers": 3,
    "checksums": 4,
    "model": 5,
    "analysis": 6,
    "audio": 7,
    "extras": 7,
    "nfo": 7,
    "settings": 7,
    "session": 8,
    "update": 7,
    "ui": 9,
    "app": 10,
}

# Folders that may include only some of the layers below them: the window reaches the core through
# the session alone (and the model's types it hands out), plus the platform layer for pictures
# and the locale and the update check, a service of its own beside the session.
ONLY_BELOW: dict[str, frozenset[str]] = {
    "ui": frozenset({"session", "model", "platform", "update"}),
}
# Headers that such a folder may include besides: the window draws the spectrograms the session
# hands out.
ALSO_BELOW: dict[str, tuple[str, ...]] = {
    "ui": ("audio/picture/",),
}

# Folders below this rank must build without QtGui/QtWidgets, so that the
# command-line tool and the fuzzers never pull in a display stack.
GUI_RANK = LAYERS["ui"]

# The places below ui that may draw with Qt Gui (no widgets): the spectrogram pictures, the
# decoding module that velmora-cli draws them through, and their tests.
GUI_DRAWING_FOLDERS = ("src/audio/picture/", "src/audio/module/", "tests/audio/picture/")

# Test folders that have no src/ folder of the same name. Every other
# tests/<folder> named in LAYERS follows the rule of that folder, and any
# remaining test folder (data, tools, ...) is not checked.
#   acts_as:   the src folder whose rank and rules the test folder takes
#   max_rank:  instead of acts_as: may include anything up to this rank,
#              siblings included
TEST_FOLDERS: dict[str, dict] = {
    "cli": {"acts_as": "app"},
    # Regression cases drive whole releases through composing and saving,
    # so they need nfo and settings side by side.
    "regressions": {"max_rank": LAYERS["session"]},
    # The window's tests check what it wrote with the core's own functions.
    "ui": {"max_rank": LAYERS["ui"]},
    # Shared helpers sit at the bottom so that every test folder may use them.
    "support": {"acts_as": "platform"},
}

# Shared test helpers, includable from every checked test folder.
TEST_SUPPORT = "support"

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}

# A directive has to start its line, so an include behind `//` never matches.
INCLUDE_RE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*([<"])([^>"\r\n]*)[>"]', re.M)

GUI_MODULES = ("QtGui", "QtWidgets")

# Used only when no Qt 6 headers are installed, so that the common cases are
# still caught.
FALLBACK_GUI_HEADERS = frozenset("""
    QWidget QApplication QMainWindow QPushButton QLabel QImage QPixmap QIcon
    QFont QColor QPainter QGuiApplication QDialog QMessageBox QLineEdit
    QComboBox QCheckBox QTabWidget QTreeWidget QProgressBar QStatusBar
    QMenuBar QMenu QAction QKeySequence QScreen QDesktopServices QCursor
    QClipboard
""".split())


@dataclass(frozen=True)
class Scope:
    """What the files of one folder may include."""

    label: str          # folder as shown in messages, e.g. "tests/cli"
    rank: int
    home: str | None    # layer folder that counts as the file's own
    siblings_ok: bool   # may include other folders of the same rank
    allow: frozenset[str] = frozenset()  # extra folders always allowed


def qt_header_root() -> Path | None:
    candidates: list[Path] = []
    qmake = shutil.which("qmake6")
    if qmake:
        try:
            out = subprocess.run([qmake, "-query", "QT_INSTALL_HEADERS"],
                                 capture_output=True, text=True, timeout=10)
            if out.returncode == 0 and out.stdout.strip():
                candidates.append(Path(out.stdout.strip()))
        except (OSError, subprocess.SubprocessError):
            pass
    candidates.append(Path("/usr/include/x86_64-linux-gnu/qt6"))
    for c in candidates:
        if (c / "QtGui").is_dir():
            return c
    # Other multiarch or distro layouts; /usr/include is shallow enough that
    # a depth-limited walk stays cheap.
    base = Path("/usr/include")
    for dirpath, dirnames, _ in os.walk(base):
        here = Path(dirpath)
        if here.name == "qt6" and (here / "QtGui").is_dir():
            return here
        if len(here.relative_to(base).parts) >= 2:
            dirnames.clear()
    return None


def gui_headers() -> frozenset[str]:
    root = qt_header_root()
    if root is None:
        return FALLBACK_GUI_HEADERS
    names: set[str] = set()
    for module in GUI_MODULES:
        try:
            names.update(os.listdir(root / module))
        except OSError:
            pass
    return frozenset(names) or FALLBACK_GUI_HEADERS


def is_gui_include(target: str, gui_names: frozenset[str]) -> bool:
    head = target.split("/", 1)[0]
    if head in GUI_MODULES:
        return True
    return "/" not in target and target in gui_names


def is_widget_header(target: str) -> bool:
    root = qt_header_root()
    name = target.split("/")[-1]
    return root is not None and (root / "QtWidgets" / name).exists()


def scope_for(rel: str) -> tuple[Scope | None, bool]:
    """Return the include rules for a file and whether Qt Gui is off limits."""
    parts = rel.split("/")
    if parts[0] == "fuzz":
        return None, True
    if len(parts) < 3:
        return None, False
    top, folder = parts[0], parts[1]
    if top == "src" and folder in LAYERS:
        rank = LAYERS[folder]
        return Scope(f"src/{folder}", rank, folder, False), rank < GUI_RANK
    if top == "tests":
        allow = frozenset({TEST_SUPPORT})
        label = f"tests/{folder}"
        rule = TEST_FOLDERS.get(folder)
        if rule is None and folder in LAYERS:
            rule = {"acts_as": folder}
        if rule is None:
            return None, False
        if "acts_as" in rule:
            home = rule["acts_as"]
            scope = Scope(label, LAYERS[home], home, False, allow)
        else:
            scope = Scope(label, rule["max_rank"], None, True, allow)
        return scope, scope.rank < GUI_RANK
    return None, False


def include_folder(rel: str, target: str) -> str | None:
    """The top folder a quoted include points into, or None if it has none."""
    if target.startswith("."):
        # "../nfo/X.h" must not slip past the check, so resolve it against
        # the including file and see where it lands in the tree.
        path = posixpath.normpath(posixpath.join(posixpath.dirname(rel), target))
        parts = path.split("/")
        if len(parts) >= 3 and parts[0] in ("src", "tests"):
            return parts[1]
        return None
    if "/" not in target:
        return None
    return target.split("/", 1)[0]


def layer_offence(scope: Scope, folder: str) -> str | None:
    if folder == scope.home or folder in scope.allow or folder not in LAYERS:
        return None
    only = ONLY_BELOW.get(scope.home or "")
    if only is not None and LAYERS[folder] < scope.rank and folder not in only:
        return (f"{scope.label} may include only {', '.join(sorted(only))} below it, "
                f"not {folder}")
    rank = LAYERS[folder]
    if rank < scope.rank or (rank == scope.rank and scope.siblings_ok):
        return None
    kind = "higher layer" if rank > scope.rank else "sibling layer"
    return (f"{scope.label} (rank {scope.rank}) must not include {kind} "
            f"{folder} (rank {rank})")


def check_file(root: Path, rel: str, gui_names: frozenset[str]) -> list[str]:
    scope, no_gui = scope_for(rel)
    if scope is None and not no_gui:
        return []
    try:
        text = (root / rel).read_text(encoding="utf-8", errors="replace")
    except OSError as err:
        return [f"{rel}:0: cannot read: {err.strerror}"]
    offences = []
    for m in INCLUDE_RE.finditer(text):
        delim, target = m.group(1), m.group(2).strip()
        line = text.count("\n", 0, m.start()) + 1
        shown = f"<{target}>" if delim == "<" else f'"{target}"'
        if delim == '"' and scope is not None:
            folder = include_folder(rel, target)
            if target.startswith(ALSO_BELOW.get(scope.home or "", ())):
                folder = None
            msg = layer_offence(scope, folder) if folder else None
            if msg:
                offences.append(f"{rel}:{line}: {msg}: {shown}")
        # "QPushButton" in quotes still finds the Qt header through the
        # include path, so the delimiter does not matter here.
        if no_gui and is_gui_include(target, gui_names) and not (
                rel.startswith(GUI_DRAWING_FOLDERS) and target.split("/", 1)[0] != "QtWidgets"
                and not is_widget_header(target)):
            where = scope.label if scope else "fuzz"
            offences.append(f"{rel}:{line}: {where} must not include Qt Gui/"
                            f"Widgets header {shown} (only ui and above may)")
    return offences


def source_files(root: Path) -> list[str]:
    found = []
    for top in ("src", "tests", "fuzz"):
        for dirpath, _, filenames in os.walk(root / top):
            rel_dir = Path(dirpath).relative_to(root).as_posix()
            for name in filenames:
                if os.path.splitext(name)[1] in SOURCE_SUFFIXES:
                    found.append(f"{rel_dir}/{name}")
    return sorted(found)


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", nargs="?", type=Path,
                        default=Path(__file__).resolve().parent.parent,
                        help="repository root (default: parent of scripts/)")
    args = parser.parse_args(argv)
    root: Path = args.root
    if not root.is_dir():
        parser.error(f"not a directory: {root}")

    files = source_files(root)
    gui_names = gui_headers()
    offences = [o for rel in files for o in check_file(root, rel, gui_names)]
    for o in offences:
        print(o, file=sys.stderr)
    if offences:
        return 1
    print(f"layers: ok, {len(files)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main())
