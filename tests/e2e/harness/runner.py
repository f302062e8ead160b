"""Runs the e2e tests (what `python3 -m unittest discover -s tests/e2e -p
'test_*.py' -v -k FILTER...` does) and ends with one countable summary line.

With TAVRIN_E2E_LOCALE set to a locale, only the tests on that locale's Wine
prefix run, but for those that use both prefixes; with "both", only those. Each
prefix serves one session at a time, so tests/e2e/run runs one locale's tests
beside the other's, and the tests on both prefixes after them."""
import os
import resource
import shutil
import sys
import time
import unittest
from pathlib import Path

from . import paths

E2E_DIR = Path(__file__).resolve().parents[1]
# Folders of earlier runs are kept for a while to look at what a program left
# behind; a run still going elsewhere on this tree keeps its fresh ones.
KEEP_WORK_SECONDS = 3600


def sweep_old_work() -> None:
    if not paths.work_root().is_dir():
        return
    cutoff = time.time() - KEEP_WORK_SECONDS
    for folder in paths.work_root().iterdir():
        try:
            old = folder.stat().st_mtime < cutoff
        except FileNotFoundError:
            continue  # the other locale's run, sweeping at the same moment, took it
        if old:
            shutil.rmtree(folder, ignore_errors=True)


def tests_of(suite):
    """The single tests of a suite, in order. A module that failed to import
    stands in as one test that reports it, which has no locale: the English run
    reports it."""
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from tests_of(item)
        else:
            yield item


def run_of(test) -> str:
    """Which of the runs named by TAVRIN_E2E_LOCALE takes the test."""
    method = getattr(test, getattr(test, "_testMethodName", ""), None)
    if getattr(method, "uses_both_prefixes", False):
        return "both"
    return getattr(test, "locale", "en")


def main(filters: list) -> int:
    sweep_old_work()
    # Wine turns a fault of a program into an exit code; only a fault in Wine's own end of a
    # process kills it with a signal, and a core is the one trace of that.
    _, hard = resource.getrlimit(resource.RLIMIT_CORE)
    resource.setrlimit(resource.RLIMIT_CORE, (hard, hard))
    loader = unittest.TestLoader()
    if filters:
        # The same rule as unittest's -k: a substring, or a pattern with '*'.
        loader.testNamePatterns = [f if "*" in f else f"*{f}*" for f in filters]
    suite = loader.discover(str(E2E_DIR), pattern="test_*.py", top_level_dir=str(E2E_DIR))
    locale = os.environ.get("TAVRIN_E2E_LOCALE")
    if locale:
        suite = unittest.TestSuite(t for t in tests_of(suite) if run_of(t) == locale)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    # A class whose set-up failed counts as one error but ran none of its tests.
    passed = max(0, result.testsRun - failed - len(result.skipped) - len(result.expectedFailures))
    print(f"screenshots and logs: {paths.artifacts_root()}")
    print(f"e2e: {passed} passed, {failed} failed")
    # No test run at all is a mistyped filter, not a success.
    return 1 if failed or not result.testsRun else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
