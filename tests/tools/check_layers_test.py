#!/usr/bin/env python3
"""Runs scripts/check_layers.py against small trees built on the fly."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent.parent.parent / "scripts" / "check_layers.py"

# Allowed in every case below, so a failure can only come from the file
# under test.
BASE_TREE = {
    "src/platform/FileStream.h": "#pragma once\n#include <QString>\n",
    "src/nfo/OutputSaving.h": '#include "platform/FileStream.h"\n',
    "src/settings/SettingsStore.h": '#include "platform/FileStream.h"\n',
    "src/analysis/Scan.cpp": (
        '#include "Scan.h"\n'                 # local header
        '#include "analysis/Model.h"\n'       # own folder
        '#include "tags/ID3v1.h"\n'           # lower layer
        '#include "thirdparty/SimpleIni.h"\n' # unknown folder
        "#include <QFile>\n#include <vector>\n"),
    "src/ui/MainWindow.cpp": (
        '#include "session/ReleaseSession.h"\n#include "model/Release.h"\n'
        '#include "platform/FileStream.h"\n'
        "#include <QtWidgets/QMainWindow>\n#include <QImage>\n"),
    "tests/support/TestSupport.h": (
        '#include "support/AudioFixtures.h"\n#include "platform/FileStream.h"\n'),
    "tests/cli/CliTest.cpp": '#include "app/CommandLine.h"\n#include "ui/MainWindow.h"\n',
    "tests/data/Odd.cpp": '#include "app/CliMain.h"\n#include <QWidget>\n',
}


class CheckLayersTest(unittest.TestCase):
    def run_check(self, extra=None):
        with tempfile.TemporaryDirectory() as tmp:
            for rel, text in {**BASE_TREE, **(extra or {})}.items():
                path = Path(tmp, rel)
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(text)
            proc = subprocess.run([sys.executable, str(SCRIPT), tmp],
                                  capture_output=True, text=True, timeout=30)
        return proc.returncode, proc.stderr.splitlines(), proc.stdout

    def assert_clean(self, extra=None):
        code, errors, _ = self.run_check(extra)
        self.assertEqual((code, errors), (0, []))

    def assert_offences(self, extra, *expected_locations):
        code, errors, _ = self.run_check(extra)
        self.assertEqual(code, 1)
        self.assertEqual([e.split(": ", 1)[0] for e in errors], list(expected_locations))

    def test_clean_tree(self):
        code, errors, out = self.run_check()
        self.assertEqual((code, errors), (0, []))
        self.assertEqual(out.strip(), f"layers: ok, {len(BASE_TREE)} files")

    def test_layer_includes(self):
        with self.subTest("upward, with spaced directive"):
            code, errors, _ = self.run_check({"src/analysis/X.cpp":
                '#include "analysis/Model.h"\n\n  #  include "nfo/OutputSaving.h"\n'})
            self.assertEqual(code, 1)
            self.assertEqual(len(errors), 1)
            self.assertTrue(errors[0].startswith("src/analysis/X.cpp:3: "), errors[0])
            self.assertIn("nfo/OutputSaving.h", errors[0])
        with self.subTest("upward via relative path"):
            self.assert_offences({"src/analysis/X.cpp": '#include "../nfo/OutputSaving.h"\n'},
                                 "src/analysis/X.cpp:1")
        with self.subTest("sibling"):
            self.assert_offences({"src/nfo/Y.cpp": '#include "settings/SettingsStore.h"\n'},
                                 "src/nfo/Y.cpp:1")
        with self.subTest("the window reaches the core through the session only"):
            self.assert_offences({"src/ui/Z.cpp": (
                '#include "analysis/FolderScan.h"\n#include "nfo/OutputSaving.h"\n'
                '#include "settings/SettingsStore.h"\n#include "checksums/Checksums.h"\n')},
                "src/ui/Z.cpp:1", "src/ui/Z.cpp:2", "src/ui/Z.cpp:3", "src/ui/Z.cpp:4")
        with self.subTest("commented out"):
            self.assert_clean({"src/analysis/X.cpp":
                '// #include "nfo/OutputSaving.h"\n//#include <QPushButton>\n'})

    def test_gui_headers(self):
        widgets = "#include <QtWidgets/QPushButton>\n#include <QPushButton>\n"
        with self.subTest("below ui"):
            self.assert_offences({"src/analysis/W.cpp": widgets},
                                 "src/analysis/W.cpp:1", "src/analysis/W.cpp:2")
        with self.subTest("in ui"):
            self.assert_clean({"src/ui/W.cpp": widgets})
        with self.subTest("pictures below ui draw with Qt Gui, never with widgets"):
            self.assert_clean({"src/audio/picture/P.cpp": "#include <QImage>\n#include <QPainter>\n"})
            self.assert_offences({"src/audio/picture/P.cpp": "#include <QPushButton>\n",
                                  "src/audio/A.cpp": "#include <QImage>\n"},
                                 "src/audio/A.cpp:1", "src/audio/picture/P.cpp:1")
        with self.subTest("fuzz and low test folders"):
            self.assert_offences({"fuzz/targets/F.cpp": "#include <QtGui>\n",
                                  "tests/regressions/R.cpp": "#include <QImage>\n"},
                                 "fuzz/targets/F.cpp:1", "tests/regressions/R.cpp:1")

    def test_test_folders(self):
        with self.subTest("above the folder's layer"):
            self.assert_offences({"tests/analysis/T.cpp": '#include "session/ReleaseSession.h"\n'},
                                 "tests/analysis/T.cpp:1")
        with self.subTest("support and lower layers"):
            self.assert_clean({"tests/analysis/T.cpp":
                '#include "support/TestSupport.h"\n#include "platform/FileStream.h"\n'})
        with self.subTest("regressions span siblings up to session"):
            self.assert_clean({"tests/regressions/R.cpp":
                '#include "nfo/OutputSaving.h"\n#include "settings/SettingsStore.h"\n'
                '#include "session/ReleaseSession.h"\n#include "update/UpdateCheck.h"\n'})
        with self.subTest("support stays at the bottom"):
            self.assert_offences({"tests/support/S.cpp": '#include "tags/ID3v1.h"\n'},
                                 "tests/support/S.cpp:1")


if __name__ == "__main__":
    unittest.main()
