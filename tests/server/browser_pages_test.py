#!/usr/bin/env python3
"""The blog pages in a real browser.

Starts tessary-service on a free loopback port with a temporary data folder,
seeds it with the demo blogs and a blog of 120 entries, and opens the pages in
headless Chromium at a phone size and a desktop size, checking what a reader
sees: no sideways scrolling, every photo shown, paging links that lead on, the
tags of link previews, and a hidden blog asking for its password. One
screenshot per page and size goes to the output folder.
"""

import argparse
import base64
import datetime
import hashlib
import re
import secrets
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import TimeoutException, WebDriverException
from selenium.webdriver.chrome.service import Service as DriverService
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

# Without the networking flags Chromium reaches out at start, which a closed
# network refuses.
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
]
# name: (width, height, pixel ratio, mobile)
VIEWPORTS = {"phone": (390, 844, 2, True), "desktop": (1280, 800, 1, False)}
BIG_BLOG = "big-walks"
BIG_USER = ("walker@example.com", "walker-pw")
BIG_ENTRIES = 120
VIEW_PASSWORD = "peek"  # the demo hidden blog's
DATE_IN_WORDS = re.compile(r"^\d{1,2} [A-Z][a-z]+ \d{4}, \d\d:\d\d$")

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what, flush=True)
    return condition


class Service:
    def __init__(self, program, data):
        self.process = subprocess.Popen([program, "--data", str(data), "serve", "--listen", "127.0.0.1:0",
                                         "--no-access-log"],
                                        stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        found = re.search(r"\(port (\d+)\)", line)
        if not found:
            self.stop()
            raise RuntimeError("tessary-service did not start: " + line)
        self.base = "http://127.0.0.1:" + found.group(1)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        # A sanitizer's report ends the service with another status.
        check(self.process.returncode == 0, f"tessary-service ended with status {self.process.returncode}")


def admin(program, data, *words):
    subprocess.run([program, "--data", str(data), *words], check=True, stdout=subprocess.DEVNULL)


def fetch(url):
    with urllib.request.urlopen(url, timeout=30) as answer:
        return answer.status, answer.headers.get("Content-Type", ""), answer.read()


def soap(base, operation, blog, elements):
    user, password = BIG_USER
    nonce = secrets.token_hex(16)
    created = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
    digest = base64.b64encode(hashlib.sha1((nonce + created + password).encode()).digest()).decode()
    inner = (f"<V>3</V><AU><UN>{user}</UN><DI>{digest}</DI><CR>{created}</CR><NO>{nonce}</NO></AU>"
             f"<BI>{blog}</BI>{elements}")
    body = ('<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
            'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
            f'<{operation} xmlns="http://tessary.example/ws"><RQ><{operation}><RQ>{inner}</RQ></{operation}></RQ>'
            f'</{operation}></soap:Body></soap:Envelope>')
    request = urllib.request.Request(base + "/ws/", data=body.encode(), method="POST", headers={
        "Content-Type": "text/xml; charset=utf-8", "SOAPAction": f'"http://tessary.example/ws/{operation}"'})
    with urllib.request.urlopen(request, timeout=60) as answer:
        text = answer.read().decode()
    if "<MS" in text:
        raise RuntimeError(f"{operation} refused: {text}")
    return text


def seed_big_blog(base):
    """120 entries with the demo photos, an hour apart, as a phone an hour east of UTC posts them."""
    photos = []
    for blog in ("demo-travel", "demo-garden", "demo-group"):
        page = fetch(f"{base}/{blog}")[2].decode()
        for url in re.findall(r'<img src="([^"]+_m\.jpg)"', page):
            photos.append(fetch(url)[2])
    start = datetime.datetime(2026, 5, 1, 8, 0)
    for i in range(BIG_ENTRIES):
        date = (start + datetime.timedelta(hours=i)).strftime("%Y-%m-%dT%H:%M:%S") + "+0100"
        caption = f"Walk number {i + 1}.&#xD;\nA second line &amp; more."
        photo = base64.b64encode(photos[i % len(photos)]).decode()
        soap(base, "AP", BIG_BLOG, f"<PI><CI>0</CI><TI>Walk {i + 1}</TI><CP>{caption}</CP><PD>{date}</PD>"
                                   f"<TD>{date}</TD><JP>{photo}</JP></PI>")


class Browser:
    def __init__(self, profile, out):
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in CHROMIUM_FLAGS + ["--user-data-dir=" + str(profile)]:
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=DriverService(shutil.which("chromedriver")), options=options)
        self.driver.set_page_load_timeout(30)
        self.out = out
        self.viewport = None

    def quit(self):
        self.driver.quit()

    def use(self, viewport):
        width, height, ratio, mobile = VIEWPORTS[viewport]
        self.viewport = viewport
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
        self.driver.delete_all_cookies()

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self, url):
        self.driver.get(url)

    def where(self, name):
        return f"{self.viewport} {name}"

    def look(self, name):
        """Checks what every page must get right and writes its screenshot."""
        where = self.where(name)
        width = VIEWPORTS[self.viewport][0]
        # Scrolling down loads the photos further down, as a reader's would.
        height = self.js("return document.documentElement.scrollHeight")
        for y in range(0, height, VIEWPORTS[self.viewport][1] // 2):
            self.js("window.scrollTo(0, arguments[0])", y)
            time.sleep(0.05)
        try:
            WebDriverWait(self.driver, 15).until(
                lambda d: d.execute_script("return [...document.images].every(i => i.complete)"))
        except TimeoutException:
            check(False, f"{where}: photos still loading after 15 s")
        broken = self.js("return [...document.images].filter(i => !(i.naturalWidth > 0)).map(i => i.src)")
        check(not broken, f"{where}: photos not shown: {broken}")
        check(self.js("return window.innerWidth") == width, f"{where}: the page is not laid out {width} wide")
        scroll = self.js("return document.documentElement.scrollWidth")
        check(scroll <= width, f"{where}: scrolls sideways ({scroll} > {width})")
        check(self.js("return document.documentElement.lang") == "en", f"{where}: no lang")
        check(bool(self.driver.title.strip()), f"{where}: no title")
        check(self.js("return getComputedStyle(document.body).margin") == "0px", f"{where}: stylesheet not applied")
        self.js("window.scrollTo(0, 0)")
        self.screenshot(name)

    def screenshot(self, name):
        metrics = self.driver.execute_cdp_cmd("Page.getLayoutMetrics", {})
        size = metrics["cssContentSize"]
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "jpeg", "quality": 90, "captureBeyondViewport": True,
            "clip": {"x": 0, "y": 0, "width": size["width"], "height": min(size["height"], 8000), "scale": 1}})
        (self.out / f"{self.viewport}-{name}.jpg").write_bytes(base64.b64decode(shot["data"]))

    def meta(self, key):
        found = self.driver.find_elements(By.CSS_SELECTOR, f'meta[property="{key}"], meta[name="{key}"]')
        return found[0].get_attribute("content") if found else ""

    def expect_preview_tags(self, name, title=None):
        where = self.where(name)
        for key in ("og:title", "og:description", "og:image", "og:url", "twitter:card", "twitter:image"):
            check(bool(self.meta(key)), f"{where}: no {key}")
        if title is not None:
            check(self.meta("og:title") == title, f"{where}: og:title is {self.meta('og:title')!r}")
        image = self.meta("og:image")
        if check(image.endswith("_m.jpg"), f"{where}: og:image is not the medium photo: {image}"):
            status, kind, _ = fetch(image)
            check(status == 200 and kind == "image/jpeg", f"{where}: og:image does not load")

    def tiles(self):
        return [e.text for e in self.driver.find_elements(By.CSS_SELECTOR, ".grid .label")]

    def follow(self, rel):
        links = self.driver.find_elements(By.CSS_SELECTOR, f'.pager a[rel="{rel}"]')
        if not links:
            return False
        links[0].click()
        return True


def browse(browser, base, viewport):
    browser.use(viewport)

    browser.open(f"{base}/demo-travel")
    browser.look("blog")
    browser.expect_preview_tags("blog", "Travels")
    check(browser.tiles() == ["Valley road", "Harbour evening", "Morning over the pass"],
          f"{viewport} blog: tiles {browser.tiles()}")

    browser.driver.find_element(By.CSS_SELECTOR, '.grid a[href$="preview=2"]').click()
    browser.look("entry")
    browser.expect_preview_tags("entry", "Harbour evening")
    caption = browser.driver.find_element(By.CSS_SELECTOR, ".caption").text
    check(caption == "Boats coming home & gulls <everywhere>.", f"{viewport} entry: caption {caption!r}")
    dates = [e.text for e in browser.driver.find_elements(By.TAG_NAME, "time")]
    check(len(dates) == 2 and all(DATE_IN_WORDS.match(d) for d in dates), f"{viewport} entry: dates {dates}")
    check(browser.follow("next") and "preview=1" in browser.driver.current_url,
          f"{viewport} entry: the older entry link does not lead on")
    full = browser.driver.find_element(By.CSS_SELECTOR, ".photo a").get_attribute("href")
    check(fetch(full)[1] == "image/jpeg", f"{viewport} entry: the full photo does not load")

    browser.open(f"{base}/demo-travel/?albumid=0")
    browser.look("categories")

    browser.open(f"{base}/{BIG_BLOG}")
    check(browser.tiles()[:2] == [f"Walk {BIG_ENTRIES}", f"Walk {BIG_ENTRIES - 1}"],
          f"{viewport} big blog: not newest first")
    check(browser.follow("next") and browser.driver.current_url.endswith(f"/{BIG_BLOG}/?page=2"),
          f"{viewport} big blog: no way to page 2")
    browser.look("big-page2")
    labels = browser.tiles()
    check(len(labels) == 50 and labels[0] == "Walk 70", f"{viewport} big page 2: {len(labels)} tiles from {labels[:1]}")
    check(browser.follow("next") and len(browser.tiles()) == BIG_ENTRIES - 100,
          f"{viewport} big blog: page 3 does not hold the rest")
    check(not browser.driver.find_elements(By.CSS_SELECTOR, '.pager a[rel="next"]'),
          f"{viewport} big page 3: an older link after the oldest entry")
    check(browser.follow("prev") and browser.driver.current_url.endswith("?page=2"),
          f"{viewport} big page 3: the newer link does not lead back")
    browser.open(f"{base}/{BIG_BLOG}/?page=3")
    browser.driver.find_element(By.CSS_SELECTOR, ".grid li:last-child a").click()
    caption = browser.driver.find_element(By.CSS_SELECTOR, ".caption").text
    check(caption == "Walk number 1.\nA second line & more.", f"{viewport} oldest entry: caption {caption!r}")
    when = browser.driver.find_element(By.TAG_NAME, "time").text
    check(when == "1 May 2026, 08:00", f"{viewport} oldest entry: dated {when!r}, not as its poster's clock read")
    check(not browser.driver.find_elements(By.CSS_SELECTOR, '.pager a[rel="next"]'),
          f"{viewport} oldest entry: links an older one")

    browser.open(f"{base}/demo-hidden")
    check(bool(browser.driver.find_elements(By.CSS_SELECTOR, 'input[type="password"]')),
          f"{viewport} hidden: no password asked")
    check(not browser.driver.find_elements(By.CSS_SELECTOR, "img"),
          f"{viewport} hidden: shows photos before the password")
    check(not browser.meta("og:image"), f"{viewport} hidden: preview image before the password")
    browser.look("hidden")
    field = browser.driver.find_element(By.ID, "password")
    field.send_keys("wrong")
    submit_and_wait(browser.driver, field)
    check("Wrong password" in browser.driver.find_element(By.CSS_SELECTOR, ".error").text,
          f"{viewport} hidden: a wrong password is not refused")
    field = browser.driver.find_element(By.ID, "password")
    field.send_keys(VIEW_PASSWORD)
    submit_and_wait(browser.driver, field)
    check(browser.tiles() == ["Birthday"], f"{viewport} hidden: the password does not open the blog")
    browser.look("hidden-open")


def submit_and_wait(driver, field):
    """Submits the field's form and waits for the answer page to be loaded.

    A mark left on the old page's window tells the pages apart: the old page's elements can
    fail in more than one way while the browser swaps documents, the mark cannot."""
    driver.execute_script("window.tessaryOldPage = true")
    field.submit()

    def answered(d):
        return d.execute_script("return !window.tessaryOldPage && document.readyState === 'complete'")

    WebDriverWait(driver, 15, ignored_exceptions=(WebDriverException,)).until(answered)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--service", required=True, help="the tessary-service program")
    parser.add_argument("--out", required=True, help="folder for the screenshots")
    args = parser.parse_args()
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="tessary-browser-") as folder:
        data = Path(folder) / "data"
        admin(args.service, data, "seed-demo")
        admin(args.service, data, "user", "add", BIG_USER[0], BIG_USER[1], "--pro", "--first", "Wanda", "--last",
              "Walker")
        admin(args.service, data, "blog", "add", BIG_BLOG, "--owner", BIG_USER[0], "--title", "A Year of Walks",
              "--subtitle", "One photo an hour, all spring long")
        service = Service(args.service, data)
        browser = None
        try:
            seed_big_blog(service.base)
            print(f"seeded in {time.monotonic() - started:.1f} s", flush=True)
            browser = Browser(Path(folder) / "profile", out)
            for viewport in VIEWPORTS:
                browse(browser, service.base, viewport)
        finally:
            if browser is not None:
                browser.quit()
            service.stop()
    print(f"{len(failures)} failures in {time.monotonic() - started:.1f} s; screenshots in {out}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
