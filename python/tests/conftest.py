"""The tests run the native build's datagen and vexaconv: VEXAFILE_TOOLS names the build's tools
folder (ctest sets it); without it, build/native/tools of the repository."""

import os
import subprocess

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOLS = os.environ.get("VEXAFILE_TOOLS") or os.path.join(ROOT, "build", "native", "tools")


class Tools:
    datagen = os.path.join(TOOLS, "datagen", "datagen")
    vexaconv = os.path.join(TOOLS, "vexaconv", "vexaconv")

    def make(self, path, *args):
        subprocess.run([self.datagen, *args, str(path)], check=True)
        return str(path)

    def conv(self, *args):
        """vexaconv's output lines; exit status 0 or 1 (some passed over or cut)."""
        run = subprocess.run([self.vexaconv, "--yes", *map(str, args)], capture_output=True, text=True)
        assert run.returncode in (0, 1), run.stderr
        return run.stdout.splitlines()


@pytest.fixture(scope="session")
def tools():
    for program in (Tools.datagen, Tools.vexaconv):
        if not os.access(program, os.X_OK):
            pytest.fail("%s is missing: build the native tools first (or set VEXAFILE_TOOLS)" % program)
    return Tools()
