#!/usr/bin/env python3
"""Opens the rendered example reports in headless Chromium and checks what a reader sees:
every picture decoded, the expected texts and numbers on the page, UTF-16 understood.

browser_check.py FOLIO EXAMPLES   (exit 0 pass, 1 fail, 77 when Chromium is not installed)

Chromium is driven over its DevTools pipe (file descriptors 3 and 4), so nothing but the
Python standard library and the Debian chromium package is needed, and nothing goes online.
"""
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

EXPECTED = {
    "surface-report.htm": {
        "pictures": 13,  # the logo and four pictures for each of three measurements
        "texts": ["Surface measurement report", "Grain study, batch 14\nPolished steel samples",
                  "Measurement 1", "Measurement 3", "scan_014.spm", "scan_016.spm", "512 px", "1024 px",
                  "1.234 nm", "1.639 nm", "12.88 nm", "9.88 µm", "Drift corrected.",
                  "Tip contamination suspected.", "Summary of 3 measurements", "1.422 nm", "0.2381 nm"],
    },
    "one-page.html": {
        "pictures": 1,
        "texts": ["Relevé de rugosité — échantillon n° 7", "Acier inoxydable poli, Größe 12 mm",
                  "21.5 °C", "0.831 nm", "1.05 nm", "Mesure répétée après nettoyage à l'éthanol.",
                  "Ångström, Größe, café, naïve, cœur"],
    },
}

PAGE_STATE = """(() => new Promise(done => {
  const report = () => done(JSON.stringify({
    charset: document.characterSet,
    text: document.body.innerText.replace(/\\u00a0/g, ' '),
    pictures: [...document.images].map(i => ({src: i.getAttribute('src'), width: i.naturalWidth,
                                               complete: i.complete}))}));
  const settled = () => [...document.images].every(i => i.complete);
  const wait = () => settled() ? report() : setTimeout(wait, 50);
  wait();
}))()"""


class Browser:
    def __init__(self, executable, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def attach_pipe():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--no-first-run", "--disable-sync",
                 "--user-data-dir=" + str(profile), "--remote-debugging-pipe", "about:blank"]
        self.process = subprocess.Popen([executable] + flags, pass_fds=(3, 4), preexec_fn=attach_pipe,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def send(self, method, params=None, session=None, timeout=60):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            reply = self.receive(timeout)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def wait_event(self, method, session, timeout=60):
        while True:
            for event in self.events:
                if event.get("method") == method and event.get("sessionId") == session:
                    self.events.remove(event)
                    return event
            self.events.append(self.receive(timeout))

    def receive(self, timeout):
        deadline = time.monotonic() + timeout
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.from_browser], [], [], left)[0]:
                raise TimeoutError("no answer from the browser")
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError("the browser closed its pipe: " + self.process.stderr.read().decode()[-2000:])
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def open(self, url):
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.send("Page.enable", session=session)
        self.send("Page.navigate", {"url": url}, session=session)
        self.wait_event("Page.loadEventFired", session)
        result = self.send("Runtime.evaluate", {"expression": PAGE_STATE, "awaitPromise": True,
                                                "returnByValue": True}, session=session)
        self.send("Target.closeTarget", {"targetId": target})
        return json.loads(result["result"]["value"])

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def check_page(name, state, expected):
    problems = []
    if state["charset"] != "UTF-16LE":
        problems.append(f"read as {state['charset']}, not UTF-16LE")
    pictures = state["pictures"]
    if len(pictures) != expected["pictures"]:
        problems.append(f"{len(pictures)} pictures, expected {expected['pictures']}")
    for picture in pictures:
        if not picture["width"] > 0:
            problems.append(f"picture {picture['src']} did not decode")
    for text in expected["texts"]:
        if text not in state["text"]:
            problems.append(f"text {text!r} is not on the page")
    for problem in problems:
        print(f"{name}: {problem}")
    if not problems:
        print(f"{name}: {len(pictures)} pictures decoded, {len(expected['texts'])} texts found")
    return not problems


def main():
    folio, examples = sys.argv[1], sys.argv[2]
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if not chromium:
        print("chromium is not installed (scripts/bootstrap --browser installs it)")
        return 77
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        env = dict(os.environ, FOLIO_EXAMPLES=examples)
        subprocess.run([folio, "demo", "--out", str(work / "out")], env=env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        browser = Browser(chromium, work / "profile")
        try:
            passed = True
            for name, expected in EXPECTED.items():
                state = browser.open((work / "out" / name).as_uri())
                passed = check_page(name, state, expected) and passed
        finally:
            browser.close()
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
