"""Where the tests find the source tree, the real files and the host, and a batch-host runner
for comparing the module with what the plug-ins do."""

import os
import subprocess

import pytest

SOURCE = os.environ.get("TESSARON_SOURCE") or os.path.abspath(
    os.path.join(os.path.dirname(__file__), os.pardir, os.pardir))
REALDATA = os.path.join(SOURCE, os.pardir, "shared", "realdata")


def data(name):
    return os.path.join(SOURCE, "volume", "tests", "data", name)


def real(name):
    path = os.path.join(REALDATA, name)
    if not os.path.exists(path):
        pytest.skip(f"the real files are not here: {REALDATA}")
    return path


@pytest.fixture
def batch(tmp_path):
    """Runs a script through tessaron-host --batch in tmp_path ($WORK); returns its output."""
    import tessaron

    def run(script):
        path = tmp_path / "script.batch"
        path.write_text(script)
        host = tessaron.host_path()
        env = dict(os.environ, SOURCE=SOURCE, WORK=str(tmp_path),
                   PLUGINS=os.path.dirname(host), XDG_CONFIG_HOME=str(tmp_path / "config"))
        done = subprocess.run([host, "--batch", str(path)], capture_output=True, text=True,
                              env=env, cwd=tmp_path)
        assert done.returncode == 0, done.stdout + done.stderr
        return done.stdout
    return run
