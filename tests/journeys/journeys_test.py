"""Journeys through tessary with real keys and clicks on an X desktop.

Usage: journeys_test.py TESSARY TESSARY_CLI TESSARY_SERVICE BUILD_DIR
Each journey starts a window manager on its own Xvfb display, tessary-service on
a free loopback port with the demo data, and tessary on a fresh device root.
Screenshots and the UI trace of each journey stay in BUILD_DIR/journeys/."""

import json
import os
import sqlite3
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import phone_driver  # noqa: E402

BINARIES = {}
BUILD_DIR = ""

CONNECTION_FAILED = "A connection to the Internet could not be made."
MAIN = "app::CMainFrame"


class Journey(unittest.TestCase):
    screen_args = ()

    def setUp(self):
        self.folder = phone_driver.workspace("-".join(self.id().split(".")[-2:]), BUILD_DIR)
        self.desktop = phone_driver.Desktop()
        self.addCleanup(self.desktop.close)
        self.service = phone_driver.Service(BINARIES["tessary-service"], self.folder)
        self.addCleanup(self.service.stop)

    def start_phone(self, *args):
        phone = phone_driver.Phone(BINARIES, self.desktop, self.service, self.folder, (*self.screen_args, *args))
        self.addCleanup(phone.close)
        return phone

    def login_by_keys(self, phone):
        phone.wait_top("dialogs::CWelcomeDlg")
        phone.key("Down", "F1")  # "Enter Login Info", then Next
        phone.wait_top("dialogs::CLoginInfoDlg")
        phone.type("demo@example.com")
        phone.key("Down")
        phone.type("demo")
        phone.key("Return")
        phone.wait_top("ui::CProgressWnd")
        texts = phone.answer_messages_until_home()
        self.assertIn("Do you want to subscribe to the blog 'demo-garden'?", texts)
        account = phone.cli("account", "--offline")
        self.assertEqual(account["email"], "demo@example.com")
        blogs = {b["urlName"]: b for b in phone.cli("blogs")}
        self.assertGreater(blogs["demo-garden"]["entries"], 0)
        self.assertEqual(sorted(phone.rows()), sorted(blogs))
        return phone.rows()

    def enter_row(self, phone, row, blog):
        phone.select(row)
        phone.key("Return")
        phone.wait_view("blog " + blog)
        self.assertEqual(phone.preference("Currently Viewed Blog")["value"], blog)


class KeypadJourney(Journey):
    def test_keypad_alone(self):
        phone = self.start_phone()
        order = self.login_by_keys(phone)
        phone.screenshot("home")

        self.enter_row(phone, order.index("demo-garden"), "demo-garden")
        # A menu opened and closed with Back leaves the keys with the view.
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.screenshot("blog-menu")
        phone.key("Escape")
        phone.wait_top(MAIN)
        phone.key("Return", "Return")
        phone.wait_view("viewer ")
        phone.screenshot("viewer")
        phone.key("Escape")
        phone.wait_view("blog demo-garden")
        phone.key("Escape")
        phone.wait_view("home")
        self.assertEqual(phone.preference("Currently Viewed Blog")["value"], "")

        # A sub-menu opens inside the phone and applies its choice by keys.
        self.enter_row(phone, order.index("demo-garden"), "demo-garden")
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Show")
        phone.key("Right")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Pending")
        phone.screenshot("show-menu")
        phone.key("Return")
        phone.wait_top(MAIN)
        phone.key("Escape")
        phone.wait_view("home")

        # Account Info, and back.
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Account Info")
        phone.key("Return")
        phone.wait_top("dialogs::CAccountInfoDlg")
        phone.screenshot("account-info")
        phone.key("F2")
        phone.wait_top(MAIN)

        # A sync that cannot reach the service says so once.
        self.service.stop()
        phone.key("F1")
        texts = phone.answer_messages_until_home()
        self.assertEqual(texts, [CONNECTION_FAILED])
        self.service.start()

        # The keys still reach the view after all of that.
        self.enter_row(phone, 0, order[0])


class EntryJourney(Journey):
    """Photos of the device become entries, one is edited, and the sync takes them up."""

    PHOTOS = ("420.jpg", "440.jpg", "444-optimised.jpg")

    def put_photos(self):
        corpus = os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "jpeg")
        pictures = os.path.join(self.folder, "device", "My Documents", "My Pictures")
        os.makedirs(pictures)
        for name in self.PHOTOS:
            shutil.copy(os.path.join(corpus, name), os.path.join(pictures, "beach-" + name))

    def test_add_three_photos_edit_one_and_sync(self):
        self.put_photos()
        phone = self.start_phone()
        order = self.login_by_keys(phone)
        self.enter_row(phone, order.index("demo-travel"), "demo-travel")
        # A category made by the other program meanwhile: the window's next command sees it.
        subprocess.run([BINARIES["tessary-cli"], "category", "add", "demo-travel", "Harbours"], env=phone.env,
                       check=True, capture_output=True)

        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Add Photo")
        phone.key("Return")
        phone.wait_top("photo::CImageSelectDlg")
        phone.key("Return", "Right", "Return", "Right", "Return")  # tick all three
        phone.screenshot("picker")
        phone.key("F1")
        phone.wait_top(MAIN)
        pending = [e for e in phone.cli("entries", "demo-travel") if e["state"] == "pending"]
        self.assertEqual(len(pending), 3)

        # The newest entry, first in the list: a title and the new category.
        phone.key("Return", "Return")
        phone.wait_view("viewer ")
        phone.key("F1")
        phone.wait_top("dialogs::CEditEntryDlg")
        phone.type("Harbour at dawn")
        phone.key("Up", "Left")  # the category list: from Unfiled to "Harbours" before it
        phone.screenshot("edit-entry")
        phone.key("Return")
        phone.wait_top(MAIN)
        edited = [e for e in phone.cli("entries", "demo-travel") if e["title"] == "Harbour at dawn"]
        self.assertEqual(len(edited), 1)
        self.assertEqual(edited[0]["category"], "Harbours")

        phone.key("Escape")
        phone.wait_view("blog demo-travel")
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Sync")
        phone.key("Return")
        phone.wait_top("ui::CProgressWnd")
        self.assertEqual(phone.answer_messages_until_home(), [])
        synced = phone.cli("entries", "demo-travel")
        self.assertEqual({e["state"] for e in synced}, {"published"})

        # A second device that logs in finds them on the service.
        other = dict(phone.env, TESSARY_DEVICE_ROOT=os.path.join(self.folder, "other"), TESSARY_PASSWORD="demo")
        cli = BINARIES["tessary-cli"]
        subprocess.run([cli, "login", "demo@example.com"], env=other, check=True, capture_output=True)
        # The account's sync subscribes it to every blog (the one with a view password refuses, and
        # that sync ends with a failure); then the blog itself.
        subprocess.run([cli, "--yes", "sync"], env=other, check=False, capture_output=True)
        subprocess.run([cli, "--yes", "sync", "demo-travel"], env=other, check=True, capture_output=True)
        listed = subprocess.run([cli, "--json", "entries", "demo-travel"], env=other, check=True,
                                capture_output=True, text=True).stdout
        entries = json.loads(listed)
        self.assertEqual(sorted((e["id"], e["title"]) for e in entries), sorted((e["id"], e["title"]) for e in synced))
        harbour = [e for e in entries if e["title"] == "Harbour at dawn"]
        self.assertEqual([e["category"] for e in harbour], ["Harbours"])


class MouseJourney(Journey):
    def test_mouse_alone(self):
        phone = self.start_phone()
        phone.wait_top("dialogs::CWelcomeDlg")
        phone.click(0.5, 0.34)  # "Enter Login Info"
        phone.click_left_soft_key()  # Next
        phone.wait_top("dialogs::CLoginInfoDlg")
        phone.click(0.5, 0.25)  # the e-mail field
        phone.type("demo@example.com")
        phone.click(0.5, 0.37)  # the password field
        phone.type("demo")
        phone.click_left_soft_key()
        phone.wait_top("ui::CProgressWnd")
        phone.answer_messages_until_home(answer=phone.click_left_soft_key)  # Yes / OK
        self.assertEqual(phone.cli("account", "--offline")["email"], "demo@example.com")

        phone.click_left_soft_key()  # Sync
        phone.wait_top("ui::CProgressWnd")
        phone.answer_messages_until_home(answer=phone.click_left_soft_key)

        phone.click_right_soft_key()  # Tools
        phone.wait_top("ui::PhoneMenu")
        phone.click(0.5, 0.3)  # outside the menu: it closes, and the click goes no further
        phone.wait_top(MAIN)
        phone.click_right_soft_key()
        phone.wait_top("ui::PhoneMenu")
        phone.click_right_soft_key()  # the key again closes it too
        phone.wait_top(MAIN)
        self.assertEqual(phone.settled(), MAIN)
        self.assertNotIn("view blog", " ".join(phone.trace()))

        first = phone.rows()[0]
        phone.click(0.4, 0.2)  # the first blog row: selected on the press, opened on the release
        phone.wait_view("blog " + first)
        self.assertEqual(phone.preference("Currently Viewed Blog")["value"], first)


class LargeScreenJourney(KeypadJourney):
    screen_args = ("--screen", "480x640@192")

    def test_mouse_alone(self):
        MouseJourney.test_mouse_alone(self)


class ShareJourney(Journey):
    def test_download_another_size_then_mail_the_photo_to_a_contact(self):
        phone = self.start_phone()
        order = self.login_by_keys(phone)
        contacts = os.path.join(phone.root, "My Documents", "Contacts.vcf")
        with open(contacts, "w", encoding="utf-8", newline="") as f:
            f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nEMAIL;TYPE=INTERNET:ann@example.org\r\nEND:VCARD\r\n")

        self.enter_row(phone, order.index("demo-garden"), "demo-garden")
        phone.key("Return", "Return")
        title = phone.wait_view("viewer ")[len("view viewer "):]
        entry = next(e for e in phone.cli("entries", "demo-garden") if e["title"] == title)

        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Download Photo")
        phone.key("Return")
        phone.wait_top("dialogs::CDownloadPhotoDlg")
        phone.key("Right")  # the next size on the spin list
        phone.screenshot("download-photo")
        phone.key("Return")
        self.assertEqual(phone.answer_messages_until_home(), [])
        chosen = phone.preference("Download Photo Size")["value"]
        self.assertNotEqual(chosen, entry["photoSize"])
        after = next(e for e in phone.cli("entries", "demo-garden") if e["id"] == entry["id"])
        self.assertEqual(after["photoSize"], chosen)

        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Send Photo E-Mail")
        phone.key("Return")
        phone.wait_top("dialogs::CPhotoEmailDlg")
        phone.key("Up", "Return")  # from the address field to "To:", and press it
        phone.wait_top("dialogs::CChooseContactDlg")
        phone.screenshot("contacts")
        phone.key("Return")
        phone.wait_top("dialogs::CPhotoEmailDlg")
        phone.key("Down")
        phone.type("Our garden")
        phone.screenshot("photo-mail")
        phone.key("F1")
        self.assertEqual(phone.answer_messages_until_home(), [])

        outbox = os.path.join(self.service.data, "outbox")
        self.assertEqual(os.listdir(outbox), ["1.eml"])
        with open(os.path.join(outbox, "1.eml"), encoding="utf-8") as f:
            mail = f.read()
        self.assertIn("ann@example.org", mail)
        self.assertIn("Our garden", mail)


class ZoomTest(Journey):
    def test_zoom_is_limited_to_the_desktop(self):
        phone = self.start_phone("--zoom", "4")
        phone.wait_top("dialogs::CWelcomeDlg")
        _, _, width, height = phone.geometry()
        self.assertEqual((width, height), (480, 640))  # 4x would not fit in 1024x768


class BlogsJourney(Journey):
    def test_protected_blog_opened_and_commented_by_keys(self):
        phone = self.start_phone()
        phone.wait_top("dialogs::CWelcomeDlg")
        phone.key("Down", "F1")
        phone.wait_top("dialogs::CLoginInfoDlg")
        phone.type("demo@example.com")
        phone.key("Down")
        phone.type("demo")
        phone.key("Return")
        phone.wait_top("ui::CProgressWnd")
        # The first sync opens the protected blog with its view password.
        phone.answer_messages_until_home(view_password="peek")
        self.assertGreater({b["urlName"]: b for b in phone.cli("blogs")}["demo-hidden"]["entries"], 0)

        # Subscribe by keys refuses a blog the device has, before any network.
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Subscribe to Blog")
        phone.key("Return")
        phone.wait_top("dialogs::CSubscribeDlg")
        phone.type("demo-hidden")
        phone.key("F1")
        phone.wait_top("ui::PhoneMessageBox")
        self.assertIn("message You're already subscribed to this blog.", phone.trace())
        phone.key("Return")
        phone.wait_top("dialogs::CSubscribeDlg")
        phone.key("F2")  # Cancel
        phone.wait_top(MAIN)

        self.enter_row(phone, phone.rows().index("demo-hidden"), "demo-hidden")
        phone.select(0)
        phone.key("Return")
        phone.wait_view("viewer ")
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("View Comments")
        phone.key("Return")
        phone.wait_top("dialogs::CCommentsDlg")
        phone.key("F2")
        phone.wait_top("ui::PhoneMenu")
        phone.highlight("Add")
        phone.key("Return")
        phone.wait_top("dialogs::CAddCommentDlg")
        phone.type("Seen with the password")
        phone.key("F1")
        phone.wait_top("dialogs::CCommentsDlg")
        phone.settled(1.0)
        phone.screenshot("comments")
        phone.key("F1")  # Done
        phone.wait_top(MAIN)
        store = sqlite3.connect(os.path.join(self.service.data, "service.db"))
        texts = [row[0] for row in store.execute(
            "SELECT c.text FROM comments c JOIN blogs b ON c.blog = b.id WHERE b.url = 'demo-hidden'")]
        store.close()
        self.assertIn("Seen with the password", texts)

if __name__ == "__main__":
    BINARIES.update({"tessary": sys.argv[1], "tessary-cli": sys.argv[2], "tessary-service": sys.argv[3]})
    BUILD_DIR = sys.argv[4]
    unittest.main(argv=[sys.argv[0], "-v"])
