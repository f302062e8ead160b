"""End-to-end harness: runs Windows builds under Wine + Xvfb, driven by e2edriver.exe."""
