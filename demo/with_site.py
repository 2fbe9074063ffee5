#!/usr/bin/env python3
"""Runs a command while the local demo site serves on 127.0.0.1:PORT.

  with_site.py --port PORT [site_server options...] -- command [args...]

Starts site_server.py, waits until it listens, runs the command, stops the
site and exits with the command's exit code.
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    if "--" not in sys.argv:
        sys.exit(__doc__)
    split = sys.argv.index("--")
    server_args, command = sys.argv[1:split], sys.argv[split + 1:]
    with tempfile.TemporaryDirectory() as tmp:
        port_file = os.path.join(tmp, "port")
        server = subprocess.Popen([sys.executable, os.path.join(HERE, "site_server.py"),
                                   "--port-file", port_file] + server_args)
        try:
            deadline = time.monotonic() + 15
            while not os.path.exists(port_file):
                if server.poll() is not None or time.monotonic() > deadline:
                    sys.exit("with_site: the demo site did not start (is the port in use?)")
                time.sleep(0.05)
            return subprocess.call(command)
        finally:
            server.terminate()
            try:
                server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                server.kill()


if __name__ == "__main__":
    sys.exit(main())
