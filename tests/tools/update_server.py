#!/usr/bin/env python3
"""The publisher's web server of the update tests, on the loopback interface.

Runs a command (the Windows test program under Wine) while it serves
ROOT/mp3player/version.dat and ROOT/mp3player/QLMsetup.exe on 127.0.0.1 at a
free port, then ends with the command's exit code. The command learns where
the server is from its environment:

  QLM_UPDATE_SERVER     http://127.0.0.1:PORT
  QLM_UPDATE_DEAD_URL   http://127.0.0.1:PORT2, a port nobody listens on
  QLM_UPDATE_ROOT       ROOT (a Unix path)

How each file is served comes from ROOT/control.json, read at every request,
so a test changes it between scenarios. Per file name:
  {"QLMsetup.exe": {"mode": "short"}}   announce the length, send only half
  {"mode": "slow", "rate": 200000}      bytes per second, in 8 KB steps
  {"mode": "missing"}                   404
  {"mode": "delay", "seconds": 5}       wait before answering
  {"mode": "nolength"}                  no Content-Length, close at the end
Every request is appended to ROOT/requests.log as "GET /path".

The whole run is bounded: after --lifetime seconds the command is killed and
the server ends with it.
"""
import argparse
import http.server
import json
import os
import socket
import subprocess
import sys
import threading
import time


def control(root, name):
    try:
        with open(os.path.join(root, "control.json"), encoding="utf-8") as f:
            return json.load(f).get(name, {})
    except (OSError, ValueError):
        return {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."

    def log_message(self, *args):
        pass

    def do_GET(self):
        with open(os.path.join(self.root, "requests.log"), "a", encoding="utf-8") as log:
            log.write("GET %s\n" % self.path)
        name = self.path.rsplit("/", 1)[-1]
        path = os.path.join(self.root, "mp3player", name)
        how = control(self.root, name)
        mode = how.get("mode", "ok")
        if mode == "delay":
            time.sleep(float(how.get("seconds", 5)))
        if not self.path.startswith("/mp3player/") or mode == "missing" or not os.path.isfile(path):
            body = b"<html><body>404 Not Found</body></html>"
            self.send_response(404)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        with open(path, "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode == "nolength":
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            if mode == "short":
                self.wfile.write(data[: len(data) // 2])
                self.wfile.flush()
                self.close_connection = True
            elif mode == "slow":
                rate = max(int(how.get("rate", 200000)), 8192)
                step = 8192
                for at in range(0, len(data), step):
                    self.wfile.write(data[at : at + step])
                    self.wfile.flush()
                    time.sleep(step / rate)
            else:
                self.wfile.write(data)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--lifetime", type=float, default=600)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    os.makedirs(os.path.join(args.root, "mp3player"), exist_ok=True)

    Handler.root = args.root
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ)
    env["QLM_UPDATE_SERVER"] = "http://127.0.0.1:%d" % server.server_address[1]
    env["QLM_UPDATE_DEAD_URL"] = "http://127.0.0.1:%d" % free_port()
    env["QLM_UPDATE_ROOT"] = os.path.abspath(args.root)
    if not command:  # serve alone for a while (by hand)
        print(env["QLM_UPDATE_SERVER"], flush=True)
        time.sleep(args.lifetime)
        return 0
    child = subprocess.Popen(command, env=env)
    try:
        code = child.wait(timeout=args.lifetime)
    except subprocess.TimeoutExpired:
        child.kill()
        child.wait()
        print("update_server: the command outlived %g s and was ended" % args.lifetime, file=sys.stderr)
        code = 1
    server.shutdown()
    return code


if __name__ == "__main__":
    sys.exit(main())
