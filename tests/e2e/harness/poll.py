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
