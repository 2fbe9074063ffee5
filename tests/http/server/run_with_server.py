"""Runs a command while the test server listens on 127.0.0.1.

    run_with_server.py -- <command> [args...]

The server's port is in the environment variable TSM_TEST_PORT of the
command (Wine hands it on to Windows programs). Exits with the command's
exit code; the server stops when the command ends.
"""

import os
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_server  # noqa: E402


def main(argv):
    if len(argv) < 3 or argv[1] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    server = test_server.make_server()
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        env = dict(os.environ, TSM_TEST_PORT=str(server.server_address[1]))
        return subprocess.run(argv[2:], env=env).returncode
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
