import gc

import engine_hooks


def pytest_sessionfinish(session, exitstatus):
    """Every engine object made during the run has been destroyed by its owner."""
    gc.collect()
    alive = engine_hooks.live_objects()
    if alive != 0:
        session.config.pluginmanager.get_plugin("terminalreporter").write_line(
            f"engine objects still alive at session end: {alive}", red=True)
        session.exitstatus = 1
