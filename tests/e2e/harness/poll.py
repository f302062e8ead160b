"""Waiting for the program under test to catch up with real X input, which
Xvfb and Wine deliver asynchronously."""
import time


def eventually(probe, timeout: float = 10, interval: float = 0.2):
    """Call probe() until it returns something truthy and return that; fail the
    test if it never does within `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"{getattr(probe, '__name__', 'condition')} not met within {timeout}s")
        time.sleep(interval)


def eventually_equal(read, expected, timeout: float = 10, interval: float = 0.2):
    """Call read() until it returns `expected`; fail the test, saying what read()
    gave last, if it never does within `timeout` seconds."""
    last = []

    def matches():
        last[:] = [read()]
        return last[0] == expected

    try:
        eventually(matches, timeout, interval)
    except AssertionError:
        raise AssertionError(f"after {timeout}s still {last[0]!r}, not {expected!r}") from None
